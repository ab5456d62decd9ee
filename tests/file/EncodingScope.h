// Switches the program's string encoding for one test and back again afterwards.
#pragma once

#include <pyro/file/StringEncoding.h>

#include <string>

struct EncodingScope {
    StringEncoding saved = GetStringEncoding();
    explicit EncodingScope(StringEncoding encoding) { SetStringEncoding(encoding); }
    ~EncodingScope() { SetStringEncoding(saved); }
    EncodingScope(const EncodingScope&) = delete;
    EncodingScope& operator=(const EncodingScope&) = delete;
};

// UTF-8 bytes of a wide literal of the Basic Multilingual Plane: this tree compiles narrow
// literals to code page 932, which has no "한" or "é".
inline std::string U8(const wchar_t* wide)
{
    std::wstring units;
    for (; *wide; ++wide) units += *wide;
    std::string text;
    Utf16ToUtf8(units.data(), units.size(), text);
    return text;
}
