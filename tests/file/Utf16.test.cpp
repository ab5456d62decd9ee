#include <pyro/file/Utf16.h>

#include <doctest/doctest.h>

// The literals below are Shift-JIS bytes in the program (narrow) and UTF-16 (wide): the two
// encodings of the same text, written once by the compiler and independent of the code page of
// the machine the test runs on.

TEST_CASE("Shift-JIS and UTF-16 convert into each other through code page 932")
{
    struct Case {
        const char* sjis;
        const wchar_t* wide;
    };
    const Case cases[] = {
        {"Pyro丸Plaza", L"Pyro丸Plaza"},
        {"ナンバー2！！", L"ナンバー2！！"},
        {"\x83\x5C\x95\x5C", L"ソ表"},  // second bytes that look like backslashes
        {"\xB1\xDF", L"ｱﾟ"},            // half-width katakana: single bytes above 0x7F
        {"\x87\x40", L"①"},             // an extension of the Windows code page
        {"", L""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.sjis);
        std::wstring wide = L"old";
        CHECK(SjisToUtf16(c.sjis, wide));
        CHECK(wide == c.wide);
        std::string sjis = "old";
        CHECK(Utf16ToSjis(c.wide, sjis));
        CHECK(sjis == c.sjis);
    }
}

TEST_CASE("bytes that are not Shift-JIS are refused with an empty result")
{
    for (const char* bad : {"\x82", "name\x82", "\x82\x20", "\x81\x7F"}) {
        CAPTURE(bad);
        std::wstring wide = L"old";
        CHECK_FALSE(SjisToUtf16(bad, wide));
        CHECK(wide.empty());
    }
}

TEST_CASE("characters without a Shift-JIS form are refused, not replaced by look-alikes")
{
    // "é" would best-fit to "e" and "¥" to a backslash: another name, or another directory.
    for (const wchar_t* bad : {L"café", L"a¥b", L"\xD800", L"x\xDFFFy", L"€"}) {
        std::string sjis = "old";
        CHECK_FALSE(Utf16ToSjis(bad, sjis));
        CHECK(sjis.empty());
    }
    const wchar_t withNul[] = {L'a', L'\0', L'b'};
    std::string sjis;
    CHECK(Utf16ToSjis(withNul, 3, sjis));
    CHECK(sjis == std::string("a\0b", 3));
}
