#include "text/FontNames.h"

#include <doctest/doctest.h>

#include <fstream>
#include <iterator>

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& out, uint32_t value)
{
    out.push_back(uint8_t(value >> 8));
    out.push_back(uint8_t(value));
}

void Put32(Bytes& out, uint32_t value)
{
    Put16(out, value >> 16);
    Put16(out, value & 0xFFFF);
}

struct NameRecord {
    uint16_t platform, encoding, language, id;
    std::wstring text;
};

// A name table of the records, strings stored in record order as UTF-16BE.
Bytes NameTable(const std::vector<NameRecord>& records)
{
    Bytes table, strings;
    Put16(table, 0);
    Put16(table, uint32_t(records.size()));
    Put16(table, uint32_t(6 + records.size() * 12));
    for (const NameRecord& r : records) {
        Put16(table, r.platform);
        Put16(table, r.encoding);
        Put16(table, r.language);
        Put16(table, r.id);
        Put16(table, uint32_t(r.text.size() * 2));
        Put16(table, uint32_t(strings.size()));
        for (wchar_t c : r.text) Put16(strings, uint32_t(c));
    }
    table.insert(table.end(), strings.begin(), strings.end());
    return table;
}

// A font of one "name" table (after a dummy "head" record), its directory at base in the file.
Bytes Font(const Bytes& name, uint32_t version = 0x00010000, size_t base = 0)
{
    Bytes font;
    Put32(font, version);
    Put16(font, 2);
    Put16(font, 0);
    Put16(font, 0);
    Put16(font, 0);
    Put32(font, 0x68656164);  // head, pointing at nothing the reader needs
    Put32(font, 0);
    Put32(font, 0);
    Put32(font, 0);
    Put32(font, 0x6E616D65);  // name
    Put32(font, 0);
    Put32(font, uint32_t(base + 12 + 32));
    Put32(font, uint32_t(name.size()));
    font.insert(font.end(), name.begin(), name.end());
    return font;
}

int32_t Read(const Bytes& file, std::vector<std::wstring>& faces)
{
    return ReadFontFaceNames(file.data(), file.size(), faces);
}

Bytes HostFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST_CASE("a font gives its Windows family names, English first, each once")
{
    const Bytes name = NameTable({
        {1, 0, 0, 1, L"Mac Family"},                // Macintosh platform: not what GDI matches
        {3, 1, 0x0411, 1, L"\u30D1\u30A4\u30ED"},   // Japanese family name
        {3, 1, 0x0409, 4, L"Pyro Sans Regular"},    // full name, not a family
        {3, 1, 0x0409, 1, L"Pyro Sans"},
        {3, 10, 0x0C09, 1, L"Pyro Sans"},           // the same name once more
        {3, 1, 0x0409, 16, L"Pyro"},                // typographic family
    });
    std::vector<std::wstring> faces;
    for (uint32_t version : {0x00010000u, 0x4F54544Fu /* OTTO */, 0x74727565u /* true */}) {
        CAPTURE(version);
        REQUIRE(Read(Font(name, version), faces) == kFontNamesOk);
        CHECK(faces == std::vector<std::wstring>{L"Pyro Sans", L"\u30D1\u30A4\u30ED"});
    }
}

TEST_CASE("a collection gives the names of all its fonts in order")
{
    const Bytes first = NameTable({{3, 1, 0x0409, 1, L"Alpha"}});
    const Bytes second = NameTable({{3, 1, 0x0409, 1, L"Beta"}, {3, 1, 0x0409, 1, L"Alpha"}});
    Bytes file;
    Put32(file, 0x74746366);  // ttcf
    Put32(file, 0x00010000);
    Put32(file, 2);
    const size_t firstAt = 20;
    const Bytes a = Font(first, 0x00010000, firstAt);
    const size_t secondAt = firstAt + a.size();
    Put32(file, uint32_t(firstAt));
    Put32(file, uint32_t(secondAt));
    file.insert(file.end(), a.begin(), a.end());
    const Bytes b = Font(second, 0x00010000, secondAt);
    file.insert(file.end(), b.begin(), b.end());
    std::vector<std::wstring> faces;
    REQUIRE(Read(file, faces) == kFontNamesOk);
    CHECK(faces == std::vector<std::wstring>{L"Alpha", L"Beta"});
}

TEST_CASE("damaged or foreign files get their codes and no names")
{
    const Bytes good = Font(NameTable({{3, 1, 0x0409, 1, L"Pyro"}}));
    std::vector<std::wstring> faces = {L"old"};
    CHECK(ReadFontFaceNames(nullptr, 0, faces) == kFontNamesNotFont);
    CHECK(faces.empty());
    CHECK(Read(Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, faces) == kFontNamesNotFont);
    CHECK(Read(Bytes{0, 1, 0}, faces) == kFontNamesNotFont);

    // Every cut of a good font short of its end lies about what it holds.
    for (size_t size = 4; size < good.size(); ++size) {
        CAPTURE(size);
        faces = {L"old"};
        CHECK(ReadFontFaceNames(good.data(), size, faces) == kFontNamesDamaged);
        CHECK(faces.empty());
    }

    SUBCASE("a name table past the end of the file")
    {
        Bytes bad = good;
        bad[12 + 16 + 8 + 3] = 0xF0;  // the name table's offset
        CHECK(Read(bad, faces) == kFontNamesDamaged);
    }
    SUBCASE("a string running out of the name table")
    {
        Bytes bad = good;
        bad.push_back(0);  // room after the table, which the string must still not reach
        bad.push_back(0);
        bad[44 + 6 + 8 + 1] = 10;  // the record's length: 10 bytes of an 8-byte string
        CHECK(Read(bad, faces) == kFontNamesDamaged);
    }
    SUBCASE("a string of an odd length")
    {
        Bytes bad = good;
        bad[44 + 6 + 8 + 1] = 7;
        CHECK(Read(bad, faces) == kFontNamesDamaged);
    }
    SUBCASE("a collection claiming more fonts than it may hold, or none")
    {
        Bytes ttc;
        Put32(ttc, 0x74746366);
        Put32(ttc, 0x00010000);
        Put32(ttc, kMaxFontsInCollection + 1);
        ttc.resize(12 + 4 * (kMaxFontsInCollection + 1));
        CHECK(Read(ttc, faces) == kFontNamesDamaged);
        ttc[11] = 0;
        ttc[10] = 0;
        CHECK(Read(ttc, faces) == kFontNamesDamaged);
    }
    SUBCASE("a font without a Windows family name")
    {
        CHECK(Read(Font(NameTable({{1, 0, 0, 1, L"Mac"}, {3, 1, 0x0409, 4, L"Full"}})), faces) == kFontNamesNoFace);
    }
}

TEST_CASE("the fonts of the system's packages give the names GDI knows them by")
{
    std::vector<std::wstring> faces;
    const Bytes dejavu = HostFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    const Bytes ipa = HostFile("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf");
    REQUIRE_FALSE(dejavu.empty());
    REQUIRE_FALSE(ipa.empty());
    REQUIRE(Read(dejavu, faces) == kFontNamesOk);
    CHECK(faces == std::vector<std::wstring>{L"DejaVu Sans"});
    REQUIRE(Read(ipa, faces) == kFontNamesOk);
    CHECK(faces == std::vector<std::wstring>{L"IPAGothic", L"IPA\u30B4\u30B7\u30C3\u30AF"});
}

TEST_CASE("overlapping strings give at most the names GDI can select, and a bounded list")
{
    // 2000 records over one 100-unit string, each a different tail of it: distinct names from
    // the same bytes. Names over 31 units are passed over; the list stops at 64.
    std::wstring text;
    for (int i = 0; i < 100; ++i) text += wchar_t(L'A' + i % 26);
    Bytes table;
    const uint32_t count = 2000;
    Put16(table, 0);
    Put16(table, count);
    Put16(table, 6 + count * 12);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t start = i % 100;
        Put16(table, 3);
        Put16(table, 1);
        Put16(table, 0x0409);
        Put16(table, 1);
        Put16(table, (100 - start) * 2);
        Put16(table, start * 2);
    }
    for (wchar_t c : text) Put16(table, uint32_t(c));
    std::vector<std::wstring> faces;
    REQUIRE(Read(Font(table), faces) == kFontNamesOk);
    REQUIRE(faces.size() == 31);  // only the tails of 1 to 31 units
    CHECK(faces.front() == text.substr(69));
    CHECK(faces.back() == text.substr(99));

    // Shorter strings at every unit offset of a 2000-unit string: more than 64 distinct names.
    Bytes many;
    Put16(many, 0);
    Put16(many, count);
    Put16(many, 6 + count * 12);
    for (uint32_t i = 0; i < count; ++i) {
        Put16(many, 3);
        Put16(many, 1);
        Put16(many, 0x0409);
        Put16(many, 1);
        Put16(many, 8);
        Put16(many, i * 2);
    }
    for (uint32_t i = 0; i < count + 4; ++i) Put16(many, L'a' + (i * 7 + i / 26) % 26);
    REQUIRE(Read(Font(many), faces) == kFontNamesOk);
    CHECK(faces.size() == kMaxFaceNames);
}
