// The program's string encoding. A program chooses once, before any string reaches the
// framework, whether every const char* it hands over or gets back is Shift-JIS (code page 932,
// the default) or UTF-8. Pyro::main_utf8 chooses UTF-8 before PyroMain runs. The framework's own
// texts stay Shift-JIS inside and are converted where they leave it; archive member names are
// Shift-JIS on disk whatever the program's encoding.
#pragma once

#include <cstddef>
#include <string>

// The two encodings a program may use.
enum class StringEncoding {
    kShiftJis,  // code page 932, as the classic API has it
    kUtf8,      // UTF-8 without byte-order mark
};

// Sets the program's encoding. Call it once, before the first window, file or text.
void SetStringEncoding(StringEncoding encoding);
// The program's encoding; Shift-JIS unless SetStringEncoding chose another.
StringEncoding GetStringEncoding();
// Whether the program's encoding is UTF-8.
inline bool IsUtf8Program() { return GetStringEncoding() == StringEncoding::kUtf8; }

// Length of the UTF-8 sequence starting at text[index] when it is a well-formed character (no
// overlong form, no surrogate, nothing above U+10FFFF); 0 when it is not.
size_t Utf8SequenceLength(const char* text, size_t length, size_t index);

// Index of the character after the one at index in the given encoding. A double-byte Shift-JIS
// character or a well-formed UTF-8 sequence is stepped over whole; any other byte, and a lead byte
// cut off by the end of the text, stands alone. Scans for separators therefore never stop inside
// a character.
size_t NextCharIndex(StringEncoding encoding, const char* text, size_t length, size_t index);
// The same in the program's encoding.
size_t NextCharIndex(const std::string& text, size_t index);

// Maps A to Z to a to z in the program's encoding; no byte of a multi-byte character changes.
void ToLowerName(std::string& text);

// UTF-8 to UTF-16 units (one wchar_t per unit on every platform). False, with the output empty,
// for anything but well-formed UTF-8; nothing is replaced.
bool Utf8ToUtf16(const std::string& text, std::wstring& wide);
// UTF-16 units to UTF-8. False, with the output empty, for a lone surrogate.
bool Utf16ToUtf8(const wchar_t* wide, size_t length, std::string& text);

// A text of the program's encoding as Shift-JIS (used for archive member names, which are stored
// as Shift-JIS). False, with the output empty, when a character has no Shift-JIS form. Outside
// Windows a UTF-8 program converts plain ASCII only.
bool ProgramToSjis(const std::string& text, std::string& sjis);
// A Shift-JIS text (the framework's own messages) in the program's encoding; false, with the
// output empty, when it is not valid Shift-JIS. Outside Windows a UTF-8 program converts plain
// ASCII only.
bool SjisToProgram(const std::string& sjis, std::string& text);
