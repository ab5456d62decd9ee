#include "text/TextWrap.h"

#include <doctest/doctest.h>

#include "file/EncodingScope.h"

namespace {

using Lines = std::vector<std::string>;

// Every character one unit wide, whatever its bytes: the widths of a fixed-pitch face.
TextMeasure Characters(StringEncoding encoding)
{
    return [encoding](const char* text, size_t length) {
        int32_t width = 0;
        for (size_t i = 0; i < length; i = NextCharIndex(encoding, text, length, i)) ++width;
        return width;
    };
}

Lines Wrap(const std::string& text, int32_t width, StringEncoding encoding = StringEncoding::kShiftJis)
{
    return WrapTextLines(text, encoding, width, Characters(encoding));
}

}  // namespace

TEST_CASE("Latin text wraps at spaces, which the break drops; line feeds always break")
{
    CHECK(Wrap("the quick brown fox", 10) == Lines{"the quick", "brown fox"});
    CHECK(Wrap("the quick brown fox", 9) == Lines{"the quick", "brown fox"});
    CHECK(Wrap("the quick brown fox", 8) == Lines{"the", "quick", "brown", "fox"});
    CHECK(Wrap("a  b   c", 4) == Lines{"a  b", "c"});  // spaces inside a line stay
    CHECK(Wrap("  indented line", 10) == Lines{"  indented", "line"});
    CHECK(Wrap("one\ntwo three", 5) == Lines{"one", "two", "three"});
    CHECK(Wrap("end \n", 10) == Lines{"end", ""});
    CHECK(Wrap("", 10) == Lines{""});
    CHECK(Wrap("no wrapping here", 0) == Lines{"no wrapping here"});
    CHECK(Wrap("x\n\ny", -5) == Lines{"x", "", "y"});
}

TEST_CASE("a word wider than the line is cut between its characters, a lone character stands")
{
    CHECK(Wrap("abcdefgh ij", 3) == Lines{"abc", "def", "gh", "ij"});
    // A measure in which one character is wider than the whole line.
    const TextMeasure wide = [](const char*, size_t length) { return int32_t(length) * 10; };
    CHECK(WrapTextLines("ab", StringEncoding::kShiftJis, 5, wide) == Lines{"a", "b"});
}

TEST_CASE("Shift-JIS text breaks between any two double-byte characters, never inside one")
{
    // "あいうえお" and "ソ表" (second bytes 5C, a backslash look-alike) are pairs of bytes.
    CHECK(Wrap("あいうえお", 2) == Lines{"あい", "うえ", "お"});
    CHECK(Wrap("ソ表ソ表", 3) == Lines{"ソ表ソ", "表"});
    // A Latin word beside Japanese breaks at the boundary; ｱｲｳ are half-width katakana.
    CHECK(Wrap("日本Japan語", 6) == Lines{"日本", "Japan語"});
    CHECK(Wrap("ｱｲｳｴ", 3) == Lines{"ｱｲｳ", "ｴ"});
    // The lead byte 0x82 followed by a letter-like second byte is one character.
    CHECK(Wrap("\x82\x60\x82\x61", 1) == Lines{"\x82\x60", "\x82\x61"});
}

TEST_CASE("UTF-8 text breaks between CJK and Hangul characters and never inside a sequence")
{
    EncodingScope utf8(StringEncoding::kUtf8);
    const std::string hangul = U8(L"한국어 문장"), korean1 = U8(L"한국"), korean2 = U8(L"어"), korean3 = U8(L"문장");
    CHECK(Wrap(hangul, 2, StringEncoding::kUtf8) == Lines{korean1, korean2, korean3});
    const std::string mixed = U8(L"Café au lait 中文字"), l1 = U8(L"Café au"), l2 = U8(L"lait 中文"), l3 = U8(L"字");
    CHECK(Wrap(mixed, 7, StringEncoding::kUtf8) == Lines{l1, l2, l3});
    // Accented Latin and Greek words break at spaces only.
    const std::string greek = U8(L"Ελληνικά γράμματα"), g1 = U8(L"Ελληνικά"), g2 = U8(L"γράμματα");
    CHECK(Wrap(greek, 10, StringEncoding::kUtf8) == Lines{g1, g2});
    // A four-byte character (U+20BB7) is one character.
    const std::string four = "\xF0\xA0\xAE\xB7\xF0\xA0\xAE\xB7";
    CHECK(Wrap(four, 1, StringEncoding::kUtf8) == Lines{"\xF0\xA0\xAE\xB7", "\xF0\xA0\xAE\xB7"});
    // Broken bytes stand one by one and are never taken for CJK.
    CHECK(Wrap("ab\xE6\x97", 10, StringEncoding::kUtf8) == Lines{"ab\xE6\x97"});
}

TEST_CASE("lines align left, centred or right in their box; a line wider than its box starts at 0")
{
    CHECK(AlignOffset(TextAlign::kLeft, 100, 40) == 0);
    CHECK(AlignOffset(TextAlign::kCentre, 100, 40) == 30);
    CHECK(AlignOffset(TextAlign::kCentre, 100, 41) == 29);
    CHECK(AlignOffset(TextAlign::kRight, 100, 40) == 60);
    CHECK(AlignOffset(TextAlign::kRight, 100, 140) == 0);
    CHECK(AlignOffset(TextAlign::kCentre, 0, 0) == 0);
}
