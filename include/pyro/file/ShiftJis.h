// Shift-JIS (code page 932) byte helpers shared by every scan of names and paths. A second byte
// of a double-byte character may look like a backslash or a letter, so scans step over it and
// lower-casing leaves both bytes of such a character alone.
#pragma once

#include <cstddef>
#include <string>

// 0x81-0x9F and 0xE0-0xFC start a double-byte character.
inline bool IsSjisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Index of the character after the one at index; a lead byte at the very end stands alone.
inline size_t NextSjisIndex(const std::string& text, size_t index)
{
    return IsSjisLeadByte(static_cast<unsigned char>(text[index])) && index + 1 < text.size()
        ? index + 2
        : index + 1;
}

// Maps A to Z to a to z in place, skipping both bytes of every double-byte character.
void ToLowerSjis(char* text, size_t length);
void ToLowerSjis(std::string& text);  // the same for a whole string
