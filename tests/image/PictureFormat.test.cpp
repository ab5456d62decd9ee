#include "image/PictureFormat.h"

#include <doctest/doctest.h>

#include <vector>

TEST_CASE("PNG checksums are CRC-32 over each chunk's type and data")
{
    const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    CHECK(PngCrc(digits, sizeof digits) == 0xCBF43926);
    CHECK(PngCrc(reinterpret_cast<const uint8_t*>("IEND"), 4) == 0xAE426082);
    CHECK(PngCrc(digits, 0) == 0);
}

TEST_CASE("a PNG passes the chunk check only with every chunk whole and right up to IEND")
{
    // Signature, a 1 by 1 header (8-bit RGBA) with its known checksum, then IEND; the image
    // data chunk matters only to the decoder.
    const std::vector<uint8_t> png = {
        0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
        0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 1, 0, 0, 0, 1, 8, 6, 0, 0, 0,
        0x1F, 0x15, 0xC4, 0x89,
        0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
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
