#include "tools/QgaFile.h"

#include <doctest/doctest.h>

#include <cstring>

#include <pyro/file/LzssDecoder.h>

namespace {

PixelImage TestImage(uint32_t width, uint32_t height)
{
    PixelImage image;
    image.width = width;
    image.height = height;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x)
            image.pixels.push_back((x * 40) << 24 | (y * 50) << 16 | x << 8 | (x ^ y));
    }
    return image;
}

uint32_t U32(const std::vector<unsigned char>& bytes, size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (uint32_t(bytes[at + 3]) << 24);
}

}  // namespace

TEST_CASE("qga files hold the header the framework reads and the pixels in its layout")
{
    const PixelImage image = TestImage(5, 3);
    SUBCASE("stored")
    {
        const std::vector<unsigned char> file = EncodeQga(image, false);
        REQUIRE(file.size() == kQgaHeaderSize + 60);
        CHECK(U32(file, 4) == 5);
        CHECK(U32(file, 8) == 3);
        CHECK(U32(file, 12) == 0);
        CHECK(U32(file, 16) == 60);
        // Row 1, column 2 as a little-endian 0xAARRGGBB word.
        CHECK(U32(file, kQgaHeaderSize + 4 * (5 + 2)) == image.pixels[7]);
    }
    SUBCASE("LZSS-coded")
    {
        const PixelImage flat = [] {
            PixelImage p;
            p.width = 64;
            p.height = 64;
            p.pixels.assign(64 * 64, 0x80FF0000);
            return p;
        }();
        const std::vector<unsigned char> file = EncodeQga(flat, true);
        CHECK(U32(file, 12) != 0);
        CHECK(U32(file, 16) == 64 * 64 * 4);
        CHECK(file.size() < 2000);
        std::vector<unsigned char> pixels(64 * 64 * 4);
        unsigned char* out = pixels.data();
        CLzssDecoder decoder;
        REQUIRE(decoder.Decode(&file[kQgaHeaderSize], uint32_t(file.size() - kQgaHeaderSize), out,
                               uint32_t(pixels.size()), false) == 0);
        CHECK(U32(pixels, 4 * 4095) == 0x80FF0000);
        PixelImage back;
        std::string error;
        REQUIRE(DecodeQga(file, back, error));
        CHECK(back.pixels == flat.pixels);
    }
    SUBCASE("stored when coding would not make it smaller")
    {
        CHECK(U32(EncodeQga(image, true), 12) == 0);
    }
}

TEST_CASE("bitmaps convert with their alpha, from the fourth byte or from a grey mask")
{
    const PixelImage image = TestImage(3, 2);
    std::string error;

    PixelImage from32;
    REQUIRE(DecodeBmp(EncodeBmp(image, 32), from32, error));
    CHECK(from32.pixels == image.pixels);

    PixelImage from24;
    REQUIRE(DecodeBmp(EncodeBmp(image, 24), from24, error));
    CHECK(from24.pixels[4] == (image.pixels[4] | 0xFF000000));

    PixelImage mask = TestImage(3, 2);
    for (uint32_t& p : mask.pixels) p = 0x010101 * (p & 0xFF);  // grey levels
    PixelImage maskBack;
    REQUIRE(DecodeBmp(EncodeBmp(mask, 24), maskBack, error));
    REQUIRE(ApplyAlphaMask(from24, maskBack, error));
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        CHECK(from24.pixels[i] == ((image.pixels[i] & 0xFFFFFF) | (mask.pixels[i] & 0xFF) << 24));
    }
    PixelImage wrongSize = TestImage(2, 2);
    CHECK_FALSE(ApplyAlphaMask(from24, wrongSize, error));

    PixelImage back;
    REQUIRE(DecodeQga(EncodeQga(from24, true), back, error));
    CHECK(back.pixels == from24.pixels);
}

TEST_CASE("top-down and palette bitmaps decode; damaged ones are refused")
{
    const PixelImage image = TestImage(2, 2);
    std::vector<unsigned char> file = EncodeBmp(image, 32);
    std::string error;

    // Negative height: rows top-down, so the two stored rows swap places.
    std::vector<unsigned char> topDown = file;
    const int32_t negative = -2;
    std::memcpy(&topDown[22], &negative, 4);
    PixelImage flipped;
    REQUIRE(DecodeBmp(topDown, flipped, error));
    CHECK(flipped.pixels[0] == image.pixels[2]);

    // An 8-bit bitmap with a two-colour palette.
    std::vector<unsigned char> paletted(54 + 8 + 8, 0);
    paletted[0] = 'B';
    paletted[1] = 'M';
    paletted[10] = 54 + 8;
    paletted[14] = 40;
    paletted[18] = 2;
    paletted[22] = 2;
    paletted[26] = 1;
    paletted[28] = 8;
    paletted[46] = 2;
    const unsigned char palette[8] = {0x10, 0x20, 0x30, 0, 0xFF, 0xFF, 0xFF, 0};
    std::memcpy(&paletted[54], palette, 8);
    paletted[62] = 1;  // bottom row: white, black
    PixelImage grey;
    REQUIRE(DecodeBmp(paletted, grey, error));
    CHECK(grey.pixels[2] == 0xFFFFFFFF);
    CHECK(grey.pixels[3] == 0xFF302010);

    std::vector<unsigned char> cut = file;
    cut.pop_back();
    CHECK_FALSE(DecodeBmp(cut, flipped, error));
    std::vector<unsigned char> rle = file;
    rle[30] = 1;
    CHECK_FALSE(DecodeBmp(rle, flipped, error));
    CHECK_FALSE(DecodeBmp({'B', 'M'}, flipped, error));

    std::vector<unsigned char> qga = EncodeQga(image, false);
    qga.pop_back();
    CHECK_FALSE(DecodeQga(qga, flipped, error));
    std::vector<unsigned char> tooLong = EncodeQga(image, true);
    tooLong[16] = 17;  // more than 2 x 2 x 4 bytes
    CHECK_FALSE(DecodeQga(tooLong, flipped, error));
    // Width and height 2^31: four bytes a pixel would wrap the byte count to 0.
    std::vector<unsigned char> huge = EncodeQga(image, false);
    huge[7] = 0x80;
    huge[11] = 0x80;
    huge[4] = huge[5] = huge[6] = huge[8] = huge[9] = huge[10] = 0;
    huge[16] = 0;
    CHECK_FALSE(DecodeQga(huge, flipped, error));
}
