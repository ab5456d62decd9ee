// Picture fixtures for the tests on every platform: the PNG and TIFF fixtures the build makes
// (fixtures/make-wic-fixtures.sh) with their expected pixels, and PNG chunks read and rewritten
// with a right checksum.
#pragma once

#include <cstring>

#include "ImageTesting.h"
#include "image/PictureFormat.h"

// The pattern of the imaging-component fixtures (fixtures/make-wic-fixtures.sh), 0xAARRGGBB.
enum class WicPattern { Rgba, Opaque, Grey, GreyOpaque, Binary };
inline uint32_t WicFixturePixel(WicPattern pattern, uint32_t x, uint32_t y)
{
    uint32_t r = (x * 37 + y * 11) & 255;
    uint32_t g = (x * 5 + y * 70) & 255;
    uint32_t b = (x * x + y * y * 3) & 255;
    uint32_t a = 1 + (x * 31 + y * 17) % 255;
    if (pattern == WicPattern::Opaque || pattern == WicPattern::GreyOpaque) a = 255;
    if (pattern == WicPattern::Grey || pattern == WicPattern::GreyOpaque) g = b = r;
    if (pattern == WicPattern::Binary) {
        const bool clear = (x + y) % 3 == 0;
        if (clear) r = g = b = 255;
        a = clear ? 0 : 255;
    }
    return (a << 24) | (r << 16) | (g << 8) | b;
}

inline bool IsOpaque(WicPattern pattern)
{
    return pattern == WicPattern::Opaque || pattern == WicPattern::GreyOpaque;
}

// The pixels a decoder hands out for a fixture: an opaque picture's top bytes are 0.
inline std::vector<uint32_t> WicFixturePixels(WicPattern pattern, uint32_t width, uint32_t height)
{
    std::vector<uint32_t> pixels;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) pixels.push_back(WicFixturePixel(pattern, x, y));
    return IsOpaque(pattern) ? WithoutAlpha(pixels) : pixels;
}

// A fixture the build made (fixtures/make-wic-fixtures.sh).
inline std::vector<uint8_t> BuiltFixture(const std::string& name)
{
    return FixtureBelow("PYRO_BINARY_DIR", name);
}

inline uint32_t GetBE(const std::vector<uint8_t>& bytes, size_t at)
{
    return (uint32_t(bytes[at]) << 24) | (uint32_t(bytes[at + 1]) << 16) |
           (uint32_t(bytes[at + 2]) << 8) | uint32_t(bytes[at + 3]);
}

inline void PutBE(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t(value >> (24 - 8 * i));
}

// Where the PNG chunk of the given type starts (its length field), or 0.
inline size_t FindPngChunk(const std::vector<uint8_t>& png, const char* type)
{
    for (size_t at = 8; at + 12 <= png.size(); at += 12 + GetBE(png, at))
        if (std::memcmp(&png[at + 4], type, 4) == 0) return at;
    return 0;
}

// Recomputes the checksum of the chunk at the given start, so a rewritten chunk is well-formed.
inline void FixPngChunkCrc(std::vector<uint8_t>& png, size_t at)
{
    const size_t length = GetBE(png, at);
    PutBE(png, at + 8 + length, PngCrc(&png[at + 4], 4 + length));
}

struct WicFixture {
    const char* name;
    uint32_t width, height;
    WicPattern pattern;
    // What a PNG's header says: bit depth, colour type, interlace method.
    uint8_t depth, colourType, interlace;
};

inline const WicFixture kPngFixtures[] = {
    {"rgba8.png", 8, 4, WicPattern::Rgba, 8, 6, 0},
    {"rgba16.png", 8, 4, WicPattern::Rgba, 16, 6, 0},
    {"rgb16.png", 8, 4, WicPattern::Opaque, 16, 2, 0},
    {"opaque.png", 8, 4, WicPattern::Opaque, 8, 2, 0},
    {"palette.png", 8, 4, WicPattern::Opaque, 8, 3, 0},
    {"palette-alpha.png", 8, 4, WicPattern::Binary, 8, 3, 0},
    {"grey.png", 8, 4, WicPattern::GreyOpaque, 8, 0, 0},
    {"grey-alpha.png", 8, 4, WicPattern::Grey, 8, 4, 0},
    {"interlaced.png", 13, 11, WicPattern::Rgba, 8, 6, 1},
    {"rgb-trns.png", 8, 4, WicPattern::Binary, 8, 2, 0},
    {"grey16.png", 8, 4, WicPattern::GreyOpaque, 16, 0, 0},
};
