// The program's string encoding and the conversions that need no system tables: UTF-8 against
// UTF-16, character steps and ASCII lower-casing. The Shift-JIS tables live in Windows
// (src/file/Utf16.cpp); the native build converts plain ASCII only.
#include <pyro/file/StringEncoding.h>

#include <pyro/file/ShiftJis.h>

#include <cstdint>

namespace {

// Set once at start-up, before any other thread exists, and read only afterwards.
StringEncoding g_encoding = StringEncoding::kShiftJis;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

}  // namespace

void SetStringEncoding(StringEncoding encoding)
{
    g_encoding = encoding;
}

StringEncoding GetStringEncoding()
{
    return g_encoding;
}

size_t Utf8SequenceLength(const char* text, size_t length, size_t index)
{
    if (index >= length) return 0;
    const auto at = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = at(index);
    if (lead < 0x80) return 1;
    size_t size = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
        if (lead == 0xED) high = 0x9F;  // surrogates U+D800 to U+DFFF
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        if (lead == 0xF0) low = 0x90;   // overlong below U+10000
        if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return 0;  // a continuation byte, an overlong C0/C1 or F5 and above
    }
    if (length - index < size) return 0;
    if (at(index + 1) < low || at(index + 1) > high) return 0;
    for (size_t i = 2; i < size; ++i) {
        if (!IsContinuation(at(index + i))) return 0;
    }
    return size;
}

size_t NextCharIndex(StringEncoding encoding, const char* text, size_t length, size_t index)
{
    if (encoding == StringEncoding::kUtf8) {
        const size_t size = Utf8SequenceLength(text, length, index);
        return index + (size ? size : 1);
    }
    return IsSjisLeadByte(static_cast<unsigned char>(text[index])) && index + 1 < length ? index + 2 : index + 1;
}

size_t NextCharIndex(const std::string& text, size_t index)
{
    return NextCharIndex(g_encoding, text.data(), text.size(), index);
}

void ToLowerName(std::string& text)
{
    if (g_encoding == StringEncoding::kShiftJis) {
        ToLowerSjis(text);
        return;
    }
    // A byte of a UTF-8 sequence is never below 0x80, so every ASCII letter is a character.
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
}

bool Utf8ToUtf16(const std::string& text, std::wstring& wide)
{
    wide.clear();
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t size = Utf8SequenceLength(text.data(), text.size(), i);
        if (size == 0) return false;
        const auto at = [&](size_t k) { return static_cast<unsigned char>(text[i + k]) & 0x3Fu; };
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        uint32_t code = 0;
        switch (size) {
        case 1: code = lead; break;
        case 2: code = (lead & 0x1Fu) << 6 | at(1); break;
        case 3: code = (lead & 0x0Fu) << 12 | at(1) << 6 | at(2); break;
        default: code = (lead & 0x07u) << 18 | at(1) << 12 | at(2) << 6 | at(3); break;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            result += static_cast<wchar_t>(0xD800 + (code >> 10));
            result += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        } else {
            result += static_cast<wchar_t>(code);
        }
        i += size;
    }
    wide.swap(result);
    return true;
}

bool Utf16ToUtf8(const wchar_t* wide, size_t length, std::string& text)
{
    text.clear();
    std::string result;
    result.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        uint32_t code = static_cast<uint32_t>(wide[i]) & 0xFFFFu;
        if (static_cast<uint32_t>(wide[i]) > 0xFFFFu) return false;  // not a UTF-16 unit
        if (code >= 0xD800 && code <= 0xDBFF) {
            const uint32_t low = i + 1 < length ? static_cast<uint32_t>(wide[i + 1]) : 0;
            if (low < 0xDC00 || low > 0xDFFF) return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            return false;
        }
        if (code < 0x80) {
            result += static_cast<char>(code);
        } else if (code < 0x800) {
            result += static_cast<char>(0xC0 | code >> 6);
            result += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            result += static_cast<char>(0xE0 | code >> 12);
            result += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            result += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            result += static_cast<char>(0xF0 | code >> 18);
            result += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            result += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            result += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    text.swap(result);
    return true;
}

#ifndef _WIN32
namespace {

bool IsAscii(const std::string& text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

// Without the system's code page 932 tables only text that is the same in both encodings passes.
bool ProgramToSjis(const std::string& text, std::string& sjis)
{
    sjis.clear();
    if (g_encoding == StringEncoding::kUtf8 && !IsAscii(text)) return false;
    sjis = text;
    return true;
}

bool SjisToProgram(const std::string& sjis, std::string& text)
{
    text.clear();
    if (g_encoding == StringEncoding::kUtf8 && !IsAscii(sjis)) return false;
    text = sjis;
    return true;
}
#endif
