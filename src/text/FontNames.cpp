// The name-table reader for font files. Layouts: a collection starts "ttcf" with a count and
// the offsets of its fonts' table directories; a table directory starts with the version
// (0x00010000, "OTTO" or "true") and the number of tables, then 16-byte records (tag, checksum,
// offset, length); the name table has a format, a count, the offset of its strings and 12-byte
// records (platform, encoding, language, name, length, offset). All numbers are big-endian.
#include "text/FontNames.h"

#include <algorithm>

namespace {

constexpr uint32_t Tag(char a, char b, char c, char d)
{
    return uint32_t(uint8_t(a)) << 24 | uint32_t(uint8_t(b)) << 16 | uint32_t(uint8_t(c)) << 8 | uint8_t(d);
}

constexpr uint16_t kWindowsPlatform = 3;
constexpr uint16_t kSymbolEncoding = 0, kUnicodeBmpEncoding = 1, kUnicodeFullEncoding = 10;
constexpr uint16_t kFamilyName = 1;
constexpr uint16_t kUsEnglish = 0x0409;

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Has(size_t offset, size_t count) const { return offset <= size_ && count <= size_ - offset; }
    uint16_t U16(size_t at) const { return uint16_t(data_[at] << 8 | data_[at + 1]); }
    uint32_t U32(size_t at) const { return uint32_t(U16(at)) << 16 | U16(at + 2); }

private:
    const uint8_t* data_;
    size_t size_;
};

// The family names of the font whose table directory starts at offset, English ones first.
// Appends the name unless the list has it or is full.
void AddDistinct(std::vector<std::wstring>& faces, const std::wstring& name)
{
    if (faces.size() < kMaxFaceNames && std::find(faces.begin(), faces.end(), name) == faces.end()) {
        faces.push_back(name);
    }
}

int32_t ReadFont(const Reader& file, size_t offset, std::vector<std::wstring>& english,
                 std::vector<std::wstring>& others)
{
    if (!file.Has(offset, 4)) return kFontNamesDamaged;
    const uint32_t version = file.U32(offset);
    if (version != 0x00010000 && version != Tag('O', 'T', 'T', 'O') && version != Tag('t', 'r', 'u', 'e')) {
        return kFontNamesNotFont;
    }
    if (!file.Has(offset, 12)) return kFontNamesDamaged;
    const uint16_t tables = file.U16(offset + 4);
    if (!file.Has(offset + 12, size_t(tables) * 16)) return kFontNamesDamaged;
    size_t nameOffset = 0, nameLength = 0;
    bool found = false;
    for (uint16_t i = 0; i < tables && !found; ++i) {
        const size_t record = offset + 12 + size_t(i) * 16;
        if (file.U32(record) != Tag('n', 'a', 'm', 'e')) continue;
        nameOffset = file.U32(record + 8);
        nameLength = file.U32(record + 12);
        found = true;
    }
    if (!found) return kFontNamesNoFace;
    if (!file.Has(nameOffset, nameLength) || nameLength < 6) return kFontNamesDamaged;
    const size_t count = file.U16(nameOffset + 2);
    const size_t strings = nameOffset + file.U16(nameOffset + 4);
    if (size_t(6) + count * 12 > nameLength) return kFontNamesDamaged;
    for (size_t i = 0; i < count; ++i) {
        const size_t record = nameOffset + 6 + i * 12;
        const uint16_t platform = file.U16(record), encoding = file.U16(record + 2);
        const uint16_t language = file.U16(record + 4), id = file.U16(record + 6);
        if (platform != kWindowsPlatform || id != kFamilyName) continue;
        if (encoding != kSymbolEncoding && encoding != kUnicodeBmpEncoding && encoding != kUnicodeFullEncoding) continue;
        const size_t length = file.U16(record + 8);
        const size_t at = strings + file.U16(record + 10);
        // A string outside the name table, or of an odd length, is damage, not a name.
        if (at + length > nameOffset + nameLength || !file.Has(at, length) || length % 2 != 0) return kFontNamesDamaged;
        std::wstring name;
        for (size_t k = 0; k < length; k += 2) name += wchar_t(file.U16(at + k));
        while (!name.empty() && name.back() == L'\0') name.pop_back();
        if (name.empty() || name.size() > kMaxFaceNameLength) continue;
        AddDistinct(language == kUsEnglish ? english : others, name);
    }
    return kFontNamesOk;
}

void AddDistinct(std::vector<std::wstring>& faces, const std::vector<std::wstring>& names)
{
    for (const std::wstring& name : names) AddDistinct(faces, name);
}

}  // namespace

int32_t ReadFontFaceNames(const uint8_t* data, size_t size, std::vector<std::wstring>& faces)
{
    faces.clear();
    if (!data || size < 4) return kFontNamesNotFont;
    const Reader file(data, size);
    std::vector<size_t> fonts;
    if (file.U32(0) == Tag('t', 't', 'c', 'f')) {
        if (!file.Has(0, 12)) return kFontNamesDamaged;
        const uint32_t count = file.U32(8);
        if (count == 0 || count > kMaxFontsInCollection || !file.Has(12, size_t(count) * 4)) return kFontNamesDamaged;
        for (uint32_t i = 0; i < count; ++i) fonts.push_back(file.U32(12 + size_t(i) * 4));
    } else {
        fonts.push_back(0);
    }
    std::vector<std::wstring> english, others, found;
    for (size_t offset : fonts) {
        english.clear();
        others.clear();
        const int32_t result = ReadFont(file, offset, english, others);
        if (result == kFontNamesNoFace) continue;
        if (result != kFontNamesOk) return result;
        AddDistinct(found, english);
        AddDistinct(found, others);
    }
    if (found.empty()) return kFontNamesNoFace;
    faces.swap(found);
    return kFontNamesOk;
}
