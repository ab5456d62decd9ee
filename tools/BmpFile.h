// Windows bitmap files for the qga converter (and the tests that feed it): decoding of
// uncompressed 8-bit (palette), 24-bit and 32-bit bitmaps into 32-bit pixels, and encoding of
// 24-bit and 32-bit bitmaps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Pixels 0xAARRGGBB, rows top-down, width pixels per row.
struct PixelImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels;
};

// 32-bit bitmaps keep their fourth byte as alpha (or the alpha mask of a bit-field bitmap);
// the others become opaque (alpha 255).
bool DecodeBmp(const std::vector<unsigned char>& file, PixelImage& image, std::string& error);

// A bottom-up bitmap of 24 bits (alpha dropped) or 32 bits (alpha in the fourth byte).
std::vector<unsigned char> EncodeBmp(const PixelImage& image, int bitCount);

// Sets each pixel's alpha from the brightness of the mask's pixel (white is opaque).
bool ApplyAlphaMask(PixelImage& image, const PixelImage& mask, std::string& error);
