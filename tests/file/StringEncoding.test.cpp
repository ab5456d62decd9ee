#include <pyro/file/StringEncoding.h>

#include <doctest/doctest.h>

#include <pyro/file/BaseDirectory.h>
#include <pyro/file/Path.h>
#include "file/ArchiveLookup.h"
#include "file/EncodingScope.h"

#include <vector>


TEST_CASE("UTF-8 and UTF-16 convert into each other, characters beyond U+FFFF as surrogate pairs")
{
    struct Case {
        const char* utf8;
        std::vector<unsigned> units;
    };
    const Case cases[] = {
        {"caf\xC3\xA9_\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E_\xED\x95\x9C\xEA\xB5\xAD.txt",  // café_日本語_한국.txt
         {'c', 'a', 'f', 0xE9, '_', 0x65E5, 0x672C, 0x8A9E, '_', 0xD55C, 0xAD6D, '.', 't', 'x', 't'}},
        {"\xF0\x9F\x98\x80", {0xD83D, 0xDE00}},          // U+1F600
        {"\xF4\x8F\xBF\xBF", {0xDBFF, 0xDFFF}},          // U+10FFFF, the last character
        {"\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF", {0x7F, 0x80, 0x7FF, 0x800, 0xFFFF}},  // every boundary
        {"", {}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.utf8);
        std::wstring wide = L"old";
        REQUIRE(Utf8ToUtf16(c.utf8, wide));
        CHECK(std::vector<unsigned>(wide.begin(), wide.end()) == c.units);
        std::string back = "old";
        CHECK(Utf16ToUtf8(wide.data(), wide.size(), back));
        CHECK(back == c.utf8);
    }
}

TEST_CASE("malformed UTF-8 and lone surrogates are refused with an empty result, never replaced")
{
    const char* const bad[] = {
        "\x80",              // a continuation byte alone
        "a\xC3",             // cut off
        "\xE6\x97",          // cut off after two of three bytes
        "\xC0\xAF",          // overlong "/": a separator in disguise
        "\xC1\xBF",          // overlong
        "\xE0\x80\xAF",      // overlong "/" in three bytes
        "\xF0\x80\x80\xAF",  // overlong "/" in four bytes
        "\xED\xA0\x80",      // the surrogate U+D800
        "\xF4\x90\x80\x80",  // above U+10FFFF
        "\xF5\x80\x80\x80",
        "\xFF",
        "\xE6\x41\xA5",      // a letter in place of a continuation byte
    };
    for (const char* text : bad) {
        CAPTURE(text);
        std::wstring wide = L"old";
        CHECK_FALSE(Utf8ToUtf16(text, wide));
        CHECK(wide.empty());
    }
    const wchar_t lone[][3] = {{0xD800, 0, 0}, {'x', 0xDC00, 'y'}, {0xD83D, 'a', 0}};
    const size_t lengths[] = {1, 3, 2};
    for (size_t i = 0; i < 3; ++i) {
        CAPTURE(i);
        std::string text = "old";
        CHECK_FALSE(Utf16ToUtf8(lone[i], lengths[i], text));
        CHECK(text.empty());
    }
}

TEST_CASE("character steps take whole characters of the encoding, and a broken one byte by byte")
{
    // 한 is ED 95 9C: read as Shift-JIS, 9C would start a pair and swallow the separator after it.
    const std::string hangul = U8(L"한\\a");
    CHECK(NextCharIndex(StringEncoding::kUtf8, hangul.data(), hangul.size(), 0) == 3);
    CHECK(NextCharIndex(StringEncoding::kUtf8, hangul.data(), hangul.size(), 3) == 4);
    CHECK(NextCharIndex(StringEncoding::kShiftJis, hangul.data(), hangul.size(), 0) == 2);
    CHECK(NextCharIndex(StringEncoding::kShiftJis, hangul.data(), hangul.size(), 2) == 4);
    const char broken[] = "\xE6\x97" "a";
    CHECK(NextCharIndex(StringEncoding::kUtf8, broken, 3, 0) == 1);
    CHECK(NextCharIndex(StringEncoding::kUtf8, broken, 3, 1) == 2);
    CHECK(Utf8SequenceLength("\xF0\x9F\x98\x80", 4, 0) == 4);
    CHECK(Utf8SequenceLength("\xF0\x9F\x98\x80", 3, 0) == 0);
    CHECK(Utf8SequenceLength("a", 1, 1) == 0);
}

TEST_CASE("a UTF-8 program's paths split at separators that follow any character")
{
    // (doctest spells out each checked expression as a narrow literal: no Korean inside CHECK.)
    EncodingScope utf8(StringEncoding::kUtf8);
    const std::string path = U8(L"C:\\게임\\한/파일.TXT");
    const std::string name = U8(L"파일.TXT"), normal = U8(L"C:\\게임\\한\\파일.TXT");
    const std::string folder = U8(L"C:\\게임\\한\\"), bare = U8(L"C:\\한");
    const std::string device = U8(L"C:\\한\\CON.txt"), notDevice = U8(L"C:\\한\\CONé.txt");
    CHECK(GetFileNamePart(path) == name);
    CHECK(GetSuffixPart(path) == "TXT");
    CHECK(NormalizePath(path) == normal);
    std::string parent = NormalizePath(path);
    CHECK(GetParentDirectory(parent) == 0);
    CHECK(parent == folder);
    CHECK(EndsWithSeparator(parent));
    CHECK_FALSE(EndsWithSeparator(bare));
    CHECK(NamesDevice(device));
    CHECK_FALSE(NamesDevice(notDevice));

    // Lower-casing touches ASCII letters only: É (C3 89) stays, the C after it is lowered.
    std::string lowered = U8(L"ÉCOLE\\Ab");
    const std::string expected = U8(L"École\\ab");
    ToLowerName(lowered);
    CHECK(lowered == expected);
}

TEST_CASE("a UTF-8 program's archive candidates keep their members' names whole")
{
    EncodingScope utf8(StringEncoding::kUtf8);
    std::vector<std::string> tried;
    const std::string path = U8(L"C:\\D\\한\\X.BMP");
    const std::vector<std::string> expected = {U8(L"C:\\D\\한.dat x.bmp"), U8(L"C:\\D.dat 한\\x.bmp")};
    std::string directory = path, archive, inner;
    while (NextArchiveCandidate(path, directory, archive, inner)) tried.push_back(archive + " " + inner);
    CHECK(tried == expected);
}

TEST_CASE("Shift-JIS stays the default encoding, and converting to it is the identity there")
{
    CHECK(GetStringEncoding() == StringEncoding::kShiftJis);
    CHECK_FALSE(IsUtf8Program());
    std::string out;
    CHECK(ProgramToSjis("\x83\x5C\x95\x5C", out));
    CHECK(out == "\x83\x5C\x95\x5C");
    CHECK(SjisToProgram("\x82\xA0", out));
    CHECK(out == "\x82\xA0");
}
