// Conversions between the system's strings (Shift-JIS bytes, code page 932) and the UTF-16 of the
// Windows wide functions. Every string handed to Windows goes through them, so names and captions
// come out the same whatever the machine's ANSI code page is; names coming back from Windows are
// refused rather than changed when they have no Shift-JIS form.
#pragma once

#include <cstddef>
#include <string>

// False, with the output empty, when the text is not valid Shift-JIS (a lead byte without its
// second byte, or a pair that names no character). An empty text converts to an empty string.
bool SjisToUtf16(const std::string& text, std::wstring& wide);

// False, with the output empty, when a character has no Shift-JIS form (for example "é", "¥" or
// a lone surrogate): it is neither replaced by a look-alike nor by a question mark.
bool Utf16ToSjis(const wchar_t* wide, size_t length, std::string& text);
// The same for a whole wide string.
bool Utf16ToSjis(const std::wstring& wide, std::string& text);

// A text of the program's encoding (see StringEncoding.h) in UTF-16, for the wide functions.
// False, with the output empty, when the text is not valid in that encoding.
bool ToWide(const std::string& text, std::wstring& wide);
// UTF-16 from Windows in the program's encoding. False, with the output empty, when a character
// has no form there (anything outside Shift-JIS in a Shift-JIS program, a lone surrogate).
bool FromWide(const wchar_t* wide, size_t length, std::string& text);
// The same for a whole wide string.
bool FromWide(const std::wstring& wide, std::string& text);
