// Helpers for the image tests: bitmap files of any layout built byte by byte, qga files, the
// committed picture fixtures, and the pixels of planes and files read back.
#pragma once

#include <doctest/doctest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <pyro/graphics/Plane.h>
#include <pyro/image/BitmapHeader.h>
#include "file/Scratch.h"
#include "graphics/PlaneTesting.h"
#include "tools/QgaFile.h"

inline void PutLE(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int count = 4)
{
    for (int i = 0; i < count; ++i) bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

inline uint32_t GetLE(const std::vector<uint8_t>& bytes, size_t at)
{
    return uint32_t(bytes[at]) | (uint32_t(bytes[at + 1]) << 8) |
           (uint32_t(bytes[at + 2]) << 16) | (uint32_t(bytes[at + 3]) << 24);
}

// A bitmap file: headers, colour table (0x00RRGGBB each), then data as given.
struct BmpFields {
    int32_t width = 1;
    int32_t height = 1;  // negative: rows top-down
    uint32_t bitCount = 24;
    uint32_t compression = 0;
    std::vector<uint32_t> palette;
    uint32_t coloursUsed = 0;
    std::vector<uint8_t> data;
};

inline std::vector<uint8_t> BuildBmp(const BmpFields& fields)
{
    const size_t bitsOffset = 54 + 4 * fields.palette.size();
    std::vector<uint8_t> file(bitsOffset, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutLE(file, 2, uint32_t(bitsOffset + fields.data.size()));
    PutLE(file, 10, uint32_t(bitsOffset));
    PutLE(file, 14, 40);
    PutLE(file, 18, uint32_t(fields.width));
    PutLE(file, 22, uint32_t(fields.height));
    PutLE(file, 26, 1, 2);
    PutLE(file, 28, fields.bitCount, 2);
    PutLE(file, 30, fields.compression);
    PutLE(file, 34, uint32_t(fields.data.size()));
    PutLE(file, 46, fields.coloursUsed);
    for (size_t i = 0; i < fields.palette.size(); ++i) PutLE(file, 54 + 4 * i, fields.palette[i]);
    file.insert(file.end(), fields.data.begin(), fields.data.end());
    return file;
}

// Pixel rows of a bitmap in file order (bottom-up unless topDown), padded to 4 bytes: three
// bytes (blue, green, red) of each 0x00RRGGBB pixel, or one palette index per pixel.
inline std::vector<uint8_t> BmpRows(int32_t width, int32_t height,
                                    const std::vector<uint32_t>& pixels, uint32_t bytesPerPixel,
                                    bool topDown)
{
    const size_t stride = (size_t(width) * bytesPerPixel + 3) & ~size_t(3);
    std::vector<uint8_t> data(stride * size_t(height), 0);
    for (int32_t y = 0; y < height; ++y) {
        const int32_t fileRow = topDown ? y : height - 1 - y;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t p = pixels[size_t(y) * size_t(width) + size_t(x)];
            uint8_t* d = &data[size_t(fileRow) * stride + size_t(x) * bytesPerPixel];
            for (uint32_t b = 0; b < bytesPerPixel; ++b) d[b] = uint8_t(p >> (8 * b));
        }
    }
    return data;
}

inline std::vector<uint8_t> Bmp24(int32_t width, int32_t height,
                                  const std::vector<uint32_t>& pixels, bool topDown = false)
{
    BmpFields fields;
    fields.width = width;
    fields.height = topDown ? -height : height;
    fields.data = BmpRows(width, height, pixels, 3, topDown);
    return BuildBmp(fields);
}

// An 8-bit bitmap: pixels are indices into palette.
inline std::vector<uint8_t> Bmp8(int32_t width, int32_t height,
                                 const std::vector<uint32_t>& indices,
                                 const std::vector<uint32_t>& palette)
{
    BmpFields fields;
    fields.width = width;
    fields.height = height;
    fields.bitCount = 8;
    fields.palette = palette;
    fields.coloursUsed = uint32_t(palette.size());
    fields.data = BmpRows(width, height, indices, 1, false);
    return BuildBmp(fields);
}

// Files that begin with "BM" and fail the bitmap checks: each must be refused by every reader.
struct HostileFile {
    std::string what;
    std::vector<uint8_t> bytes;
};

inline std::vector<HostileFile> HostileBitmaps()
{
    // The two headers of a 64 by 64 24-bit bitmap and none of its 12288 bytes of rows.
    const std::vector<uint8_t> headersOnly = {
        0x42, 0x4D, 0x36, 0x30, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0, 0x28, 0, 0, 0,
        0x40, 0,    0,    0,    0x40, 0, 0, 0, 1, 0, 0x18, 0, 0, 0, 0, 0, 0, 0,
        0,    0,    0xC4, 0x0E, 0, 0, 0xC4, 0x0E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<uint8_t> padded = headersOnly;  // long enough to be offered to a plug-in
    padded.resize(3000, 0x5A);
    std::vector<uint8_t> farOffset = Bmp24(2, 2, {1, 2, 3, 4});
    PutLE(farOffset, 10, uint32_t(farOffset.size() + 100));
    std::vector<uint8_t> cut = Bmp24(8, 8, std::vector<uint32_t>(64, 0x00336699));
    cut.resize(54);
    std::vector<uint8_t> short53 = Bmp24(8, 8, std::vector<uint32_t>(64, 0x00336699));
    short53.resize(53);
    BmpFields fields;
    fields.width = 2;
    fields.bitCount = 32;
    fields.compression = kBitmapBitFields;
    fields.palette = {0x00FF0000, 0x0000FF00, 0x000000FF};  // the masks after the header
    std::vector<uint8_t> masksCut = BuildBmp(fields);
    masksCut.resize(54 + 6);
    return {
        {"the headers of 64 by 64 pixels and no rows", headersOnly},
        {"the same padded to 3000 bytes", padded},
        {"a pixel offset past the end", farOffset},
        {"cut right after the headers", cut},
        {"53 bytes", short53},
        {"a bit-fields header cut inside its masks", masksCut},
        {"only the two letters", {'B', 'M'}},
    };
}

inline std::vector<uint8_t> Qga(uint32_t width, uint32_t height,
                                const std::vector<uint32_t>& pixels, bool compress)
{
    PixelImage image;
    image.width = width;
    image.height = height;
    image.pixels = pixels;
    return EncodeQga(image, compress);
}

// A pattern that LZSS compresses: runs of a few colours with alpha.
inline std::vector<uint32_t> Pattern(int32_t width, int32_t height)
{
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            pixels[size_t(y) * size_t(width) + size_t(x)] =
                (uint32_t((x / 4 + y) % 5) * 0x33000000u) | (uint32_t(x % 3) * 0x00402010u) |
                uint32_t(y);
    return pixels;
}

inline std::vector<uint32_t> WithoutAlpha(std::vector<uint32_t> pixels)
{
    for (uint32_t& p : pixels) p &= 0x00FFFFFF;
    return pixels;
}

// A 3 by 2 image with alpha bytes that a saved file drops, and the 78-byte 24-bit bitmap of it:
// rows of 12 bytes, the bottom row first.
inline const std::vector<uint32_t>& Pixels3x2()
{
    static const std::vector<uint32_t> pixels = {0xFF102030, 0x00405060, 0x12708090,
                                                 0x00A0B0C0, 0x00D0E0F0, 0x80010203};
    return pixels;
}

inline const std::vector<uint8_t>& Bitmap3x2()
{
    static const std::vector<uint8_t> file = {
        'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                 // file header
        40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,               // size, planes, bits
        0, 0, 0, 0, 0, 0, 0, 0, 0xC4, 0x0E, 0, 0, 0xC4, 0x0E, 0, 0,     // 3780 per metre
        0, 0, 0, 0, 0, 0, 0, 0,                                         // colours
        0xC0, 0xB0, 0xA0, 0xF0, 0xE0, 0xD0, 0x03, 0x02, 0x01, 0, 0, 0,  // bottom row
        0x30, 0x20, 0x10, 0x60, 0x50, 0x40, 0x90, 0x80, 0x70, 0, 0, 0,  // top row
    };
    return file;
}

// A fixture in tests/image/fixtures below the folder the environment variable names: the
// source folder for the committed ones, the build folder for those the build makes.
inline std::vector<uint8_t> FixtureBelow(const char* rootVariable, const std::string& name)
{
    const char* root = std::getenv(rootVariable);
    REQUIRE(root != nullptr);
    std::vector<uint8_t> bytes;
    std::string error;
    REQUIRE_MESSAGE(ReadFileBytes(std::string(root) + "/tests/image/fixtures/" + name, bytes,
                                  error),
                    error);
    return bytes;
}

inline std::vector<uint8_t> Fixture(const std::string& name)
{
    return FixtureBelow("PYRO_SOURCE_DIR", name);
}

inline std::vector<uint8_t> ReadScratch(const CScratch& scratch, const std::string& relative)
{
    std::vector<uint8_t> bytes;
    std::string error;
    ReadFileBytes(scratch.HostPath(relative), bytes, error);
    return bytes;
}
