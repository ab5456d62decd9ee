#include "image/PictureFormat.h"

#include <doctest/doctest.h>

#include <vector>

namespace {

// A PNG start: signature, then a header chunk of the given length field and type (no checksum).
std::vector<uint8_t> PngStart(uint32_t width, uint32_t height, uint32_t length = 13,
                              const char* type = "IHDR")
{
    std::vector<uint8_t> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto putBE = [&bytes](uint32_t value) {
        for (int i = 3; i >= 0; --i) bytes.push_back(uint8_t(value >> (8 * i)));
    };
    putBE(length);
    bytes.insert(bytes.end(), type, type + 4);
    putBE(width);
    putBE(height);
    bytes.insert(bytes.end(), {8, 6, 0, 0, 0});  // depth, colour type, methods
    return bytes;
}

}  // namespace

TEST_CASE("the picture size cap allows 16384 pixels a side and 2^24 pixels in all")
{
    CHECK(IsPictureSizeAllowed(1, 1));
    CHECK(IsPictureSizeAllowed(16384, 1024));
    CHECK(IsPictureSizeAllowed(4096, 4096));
    CHECK_FALSE(IsPictureSizeAllowed(4097, 4096));
    CHECK_FALSE(IsPictureSizeAllowed(16385, 1));
    CHECK_FALSE(IsPictureSizeAllowed(1, 16385));
    CHECK_FALSE(IsPictureSizeAllowed(0, 5));
    CHECK_FALSE(IsPictureSizeAllowed(5, 0));
    // A product that wraps in 32 bits to a small number is still refused.
    CHECK_FALSE(IsPictureSizeAllowed(0x10000, 0x10000));
}

TEST_CASE("a PNG's size comes from the header chunk right after the signature")
{
    uint32_t w = 0;
    uint32_t h = 0;
    std::vector<uint8_t> png = PngStart(0x01020304, 0xA0B0C0D0);
    CHECK(HasPngSignature(png.data(), png.size()));
    REQUIRE(ReadPngSize(png.data(), png.size(), w, h));
    CHECK(w == 0x01020304);
    CHECK(h == 0xA0B0C0D0);

    // One byte short of the header's 13 data bytes, another chunk first, a wrong length field.
    CHECK_FALSE(ReadPngSize(png.data(), png.size() - 1, w, h));
    const std::vector<uint8_t> other = PngStart(1, 1, 13, "gAMA");
    CHECK_FALSE(ReadPngSize(other.data(), other.size(), w, h));
    const std::vector<uint8_t> longer = PngStart(1, 1, 14);
    CHECK_FALSE(ReadPngSize(longer.data(), longer.size(), w, h));

    CHECK_FALSE(HasPngSignature(png.data(), 7));
    CHECK_FALSE(HasPngSignature(nullptr, 100));
    png[1] = 'p';
    CHECK_FALSE(HasPngSignature(png.data(), png.size()));
    CHECK_FALSE(ReadPngSize(png.data(), png.size(), w, h));
}

TEST_CASE("decoded pixels keep their alpha only when some pixel is not fully opaque")
{
    std::vector<uint32_t> translucent = {0xFF102030, 0xFE405060, 0xFF708090};
    CHECK(KeepAlphaIfTranslucent(translucent.data(), translucent.size()));
    CHECK(translucent == std::vector<uint32_t>{0xFF102030, 0xFE405060, 0xFF708090});

    std::vector<uint32_t> clear = {0xFF102030, 0x00000000};
    CHECK(KeepAlphaIfTranslucent(clear.data(), clear.size()));
    CHECK(clear[1] == 0);

    std::vector<uint32_t> opaque = {0xFF102030, 0xFF405060};
    CHECK_FALSE(KeepAlphaIfTranslucent(opaque.data(), opaque.size()));
    CHECK(opaque == std::vector<uint32_t>{0x00102030, 0x00405060});
}

TEST_CASE("pixels for the PNG encoder are packed rows with or without their alpha bytes")
{
    // Two rows of two pixels, a third unused pixel at the end of each row.
    const uint32_t plane[] = {0x80112233, 0x00445566, 0xDEADBEEF,
                              0xFF778899, 0x12AABBCC, 0xDEADBEEF};
    const ptrdiff_t pitch = 12;
    CHECK(PixelsForEncoding(plane, pitch, 2, 2, true) ==
          std::vector<uint8_t>{0x33, 0x22, 0x11, 0x80, 0x66, 0x55, 0x44, 0x00,
                               0x99, 0x88, 0x77, 0xFF, 0xCC, 0xBB, 0xAA, 0x12});
    CHECK(PixelsForEncoding(plane, pitch, 2, 2, false) ==
          std::vector<uint8_t>{0x33, 0x22, 0x11, 0x66, 0x55, 0x44,
                               0x99, 0x88, 0x77, 0xCC, 0xBB, 0xAA});
    // A part of a plane: the second column only.
    CHECK(PixelsForEncoding(plane + 1, pitch, 1, 2, false) ==
          std::vector<uint8_t>{0x66, 0x55, 0x44, 0xCC, 0xBB, 0xAA});
}

TEST_CASE("PNG checksums are CRC-32 over each chunk's type and data")
{
    const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    CHECK(PngCrc(digits, sizeof digits) == 0xCBF43926);
    CHECK(PngCrc(reinterpret_cast<const uint8_t*>("IEND"), 4) == 0xAE426082);
    CHECK(PngCrc(digits, 0) == 0);
}

TEST_CASE("a PNG passes the chunk check only with every chunk whole and right up to IEND")
{
    // The smallest PNG's chunks: a 1 by 1 header (8-bit RGBA) with its known checksum, then
    // IEND; the image data chunk matters only to the decoder.
    std::vector<uint8_t> png = PngStart(1, 1);
    png[25] = 6;
    png.insert(png.end(), {0x1F, 0x15, 0xC4, 0x89});
    png.insert(png.end(), {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
    CHECK(CheckPngChunks(png.data(), png.size()));

    std::vector<uint8_t> trailing = png;
    trailing.push_back(0x55);  // bytes after IEND are not read
    CHECK(CheckPngChunks(trailing.data(), trailing.size()));

    for (size_t cut = 0; cut < png.size(); ++cut) {
        CAPTURE(cut);
        CHECK_FALSE(CheckPngChunks(png.data(), cut));
    }
    for (size_t at : {size_t(12), size_t(20), size_t(29), size_t(36), size_t(44)}) {
        CAPTURE(at);
        std::vector<uint8_t> damaged = png;
        damaged[at] ^= 0x01;
        CHECK_FALSE(CheckPngChunks(damaged.data(), damaged.size()));
    }
    // A length field beyond the content, or beyond what PNG allows, stops the walk.
    for (uint8_t top : {0x00, 0x80}) {
        std::vector<uint8_t> damaged = png;
        damaged[8] = top;
        damaged[9] = 0xFF;
        CHECK_FALSE(CheckPngChunks(damaged.data(), damaged.size()));
    }
}
