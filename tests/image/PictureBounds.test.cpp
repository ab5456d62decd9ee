// The picture checks at their bounds: the size cap at exactly 16384 pixels a side and one more,
// through the check itself, the GIF check and the PNG decoder; and the pixels packed for the PNG
// encoder, byte by byte.
#include "image/DecodedPicture.h"
#include "image/PictureFormat.h"
#include "image/PngEncoder.h"

#include <doctest/doctest.h>

#include <cstdint>
#include <vector>

namespace {

// A GIF87a with a logical screen of w by h and one frame at (left, top) of fw by fh, no colour
// tables, an empty image data block and the trailer.
std::vector<uint8_t> Gif(uint32_t w, uint32_t h, uint32_t left, uint32_t top, uint32_t fw, uint32_t fh)
{
    auto le16 = [](std::vector<uint8_t>& out, uint32_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    std::vector<uint8_t> gif{'G', 'I', 'F', '8', '7', 'a'};
    le16(gif, w);
    le16(gif, h);
    gif.insert(gif.end(), {0, 0, 0, 0x2C});
    for (uint32_t v : {left, top, fw, fh}) le16(gif, v);
    gif.insert(gif.end(), {0, 2, 0, 0x3B});
    return gif;
}

// A PNG of w by h opaque pixels made by the encoder (which has no cap of its own).
std::vector<uint8_t> Png(uint32_t w, uint32_t h)
{
    std::vector<uint8_t> packed(size_t(w) * h * 3);
    for (size_t i = 0; i < packed.size(); ++i) packed[i] = uint8_t(i * 7);
    std::vector<uint8_t> png;
    REQUIRE(EncodePng(packed, w, h, false, png) == 0);
    return png;
}

}  // namespace

TEST_CASE("the size cap allows 16384 pixels a side and 2^24 in all, not one more")
{
    CHECK(IsPictureSizeAllowed(16384, 1));
    CHECK(IsPictureSizeAllowed(1, 16384));
    CHECK(IsPictureSizeAllowed(16384, 1024));  // 2^24 pixels exactly
    CHECK(IsPictureSizeAllowed(4096, 4096));
    CHECK_FALSE(IsPictureSizeAllowed(16385, 1));
    CHECK_FALSE(IsPictureSizeAllowed(1, 16385));
    CHECK_FALSE(IsPictureSizeAllowed(16384, 1025));
    CHECK_FALSE(IsPictureSizeAllowed(4097, 4096));
    CHECK_FALSE(IsPictureSizeAllowed(16384, 16384));
    CHECK_FALSE(IsPictureSizeAllowed(0, 1));
    CHECK_FALSE(IsPictureSizeAllowed(1, 0));
    // Sides whose product wraps in 32 bits are refused by their sides alone.
    CHECK_FALSE(IsPictureSizeAllowed(65536, 65536));
    CHECK_FALSE(IsPictureSizeAllowed(0xFFFFFFFFu, 1));
}

TEST_CASE("a GIF's screen and frames may reach 16384 pixels, not one more")
{
    const std::vector<uint8_t> fits = Gif(16384, 1, 0, 0, 16384, 1);
    CHECK(CheckGifFrames(fits.data(), fits.size()) == PictureCheck::kPassed);
    const std::vector<uint8_t> tall = Gif(1, 16384, 0, 16383, 1, 1);
    CHECK(CheckGifFrames(tall.data(), tall.size()) == PictureCheck::kPassed);
    for (const std::vector<uint8_t>& gif :
         {Gif(16385, 1, 0, 0, 1, 1), Gif(1, 16385, 0, 0, 1, 1), Gif(16384, 1, 0, 0, 16385, 1),
          Gif(16384, 1, 1, 0, 16384, 1), Gif(1, 16384, 0, 16384, 1, 1)}) {
        CHECK(CheckGifFrames(gif.data(), gif.size()) == PictureCheck::kRefused);
    }
}

TEST_CASE("the PNG decoder takes a picture 16384 pixels wide or tall and refuses one more")
{
    for (const uint32_t side : {16384u, 16385u}) {
        CAPTURE(side);
        for (const bool wide : {true, false}) {
            const uint32_t w = wide ? side : 1, h = wide ? 1 : side;
            const std::vector<uint8_t> png = Png(w, h);
            DecodedPicture picture;
            const int32_t result = DecodePngPicture(png.data(), png.size(), picture);
            if (side == 16384) {
                REQUIRE(result == kPictureDecoded);
                CHECK(picture.width == w);
                CHECK(picture.height == h);
                CHECK_FALSE(picture.alpha);
                REQUIRE(picture.pixels.size() == 16384);
                // Packed bytes blue, green, red of pixel i are 21i, 21i + 7, 21i + 14 (mod 256).
                CHECK(picture.pixels[0] == 0x000E0700u);
                CHECK(picture.pixels[16383] == ((uint32_t(uint8_t(16383 * 21 + 14)) << 16)
                                                | (uint32_t(uint8_t(16383 * 21 + 7)) << 8)
                                                | uint8_t(16383 * 21)));
            } else {
                CHECK(result == kPictureBeyondCap);
                CHECK(picture.pixels.empty());
                CHECK(picture.width == 0);
            }
        }
    }
}

TEST_CASE("pixels are packed for the encoder row after row with no gap, byte by byte")
{
    // Two rows of three pixels in rows of four (the fourth pixel must not appear).
    const uint32_t plane[8] = {0xFF112233, 0x80445566, 0x00778899, 0xDEADBEEF,
                               0x01AABBCC, 0xFFDDEEF0, 0x7F010203, 0xCAFEBABE};
    SUBCASE("opaque: blue, green, red")
    {
        CHECK(PixelsForEncoding(plane, 16, 3, 2, false)
              == std::vector<uint8_t>{0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0x99, 0x88, 0x77,
                                      0xCC, 0xBB, 0xAA, 0xF0, 0xEE, 0xDD, 0x03, 0x02, 0x01});
    }
    SUBCASE("with alpha: blue, green, red, alpha")
    {
        CHECK(PixelsForEncoding(plane, 16, 3, 2, true)
              == std::vector<uint8_t>{0x33, 0x22, 0x11, 0xFF, 0x66, 0x55, 0x44, 0x80, 0x99, 0x88, 0x77, 0x00,
                                      0xCC, 0xBB, 0xAA, 0x01, 0xF0, 0xEE, 0xDD, 0xFF, 0x03, 0x02, 0x01, 0x7F});
    }
    SUBCASE("rows upwards from a bottom row, with a negative pitch")
    {
        CHECK(PixelsForEncoding(plane + 4, -16, 1, 2, false)
              == std::vector<uint8_t>{0xCC, 0xBB, 0xAA, 0x33, 0x22, 0x11});
    }
    SUBCASE("one opaque pixel a row, rows packed without the padding a bitmap would have")
    {
        CHECK(PixelsForEncoding(plane, 16, 1, 2, false) == std::vector<uint8_t>{0x33, 0x22, 0x11, 0xCC, 0xBB, 0xAA});
    }
    SUBCASE("an empty picture packs to nothing")
    {
        CHECK(PixelsForEncoding(plane, 16, 0, 2, false).empty());
        CHECK(PixelsForEncoding(plane, 16, 3, 0, true).empty());
    }
}
