#include "text/CoverageBlend.h"

#include <doctest/doctest.h>

#include <climits>
#include <vector>

TEST_CASE("GDI's 65 grey levels spread over the alpha byte, 64 being full")
{
    CHECK(GrayLevelToAlpha(0) == 0);
    CHECK(GrayLevelToAlpha(1) == 4);
    CHECK(GrayLevelToAlpha(32) == 128);
    CHECK(GrayLevelToAlpha(63) == 251);
    CHECK(GrayLevelToAlpha(64) == 255);
    CHECK(GrayLevelToAlpha(200) == 255);  // beyond the range: still full, never wrapped
}

TEST_CASE("a layer goes over what lies below without premultiplying")
{
    // Over nothing, colour and coverage stay exactly as they are: text of one colour has that
    // colour wherever it covers.
    CHECK(BlendOver(0x00000000, 0x123456, 77) == 0x4D123456);
    CHECK(BlendOver(0x00FFFFFF, 0x123456, 1) == 0x01123456);
    CHECK(BlendOver(0x80F08000, 0x102030, 0) == 0x80F08000);
    CHECK(BlendOver(0x80F08000, 0x102030, 255) == 0xFF102030);
    // Half black over opaque white: opaque, half grey (127 after rounding 127.5 down).
    CHECK(BlendOver(0xFFFFFFFF, 0x000000, 128) == 0xFF7F7F7F);
    // A quarter over half: alpha 64 + 128 * 191 / 255 = 160, each channel weighted alike.
    CHECK(BlendOver(0x80F08000, 0x102030, 64) == 0xA0965A13);
}

TEST_CASE("a glyph is laid where it is placed and cut at every edge, even far outside")
{
    const uint8_t levels[] = {64, 32, 0, 0,   // rows of pitch 4, glyph 3 wide
                              16, 0, 64, 0};
    std::vector<uint32_t> pixels(4 * 3, 0);
    BlendGlyph(pixels.data(), 4, 4, 3, levels, 4, 3, 2, 1, 1, 0xABCDEF);
    CHECK(pixels == std::vector<uint32_t>{0, 0, 0, 0,
                                          0, 0xFFABCDEF, 0x80ABCDEF, 0,
                                          0, 0x40ABCDEF, 0, 0xFFABCDEF});
    std::vector<uint32_t> cut(2 * 2, 0);
    BlendGlyph(cut.data(), 2, 2, 2, levels, 4, 3, 2, -1, -1, 0x010203);
    CHECK(cut == std::vector<uint32_t>{0, 0xFF010203, 0, 0});
    BlendGlyph(cut.data(), 2, 2, 2, levels, 4, 3, 2, 1, 1, 0x010203);
    CHECK(cut == std::vector<uint32_t>{0, 0xFF010203, 0, 0xFF010203});
    for (int32_t far : {1 << 30, -(1 << 30), INT32_MAX, INT32_MIN}) {
        CAPTURE(far);
        std::vector<uint32_t> none(2 * 2, 0);
        BlendGlyph(none.data(), 2, 2, 2, levels, 4, 3, 2, far, 0, 0xFFFFFF);
        BlendGlyph(none.data(), 2, 2, 2, levels, 4, 3, 2, 0, far, 0xFFFFFF);
        CHECK(none == std::vector<uint32_t>(4, 0));
    }
}
