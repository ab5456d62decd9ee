// Picture files built byte by byte for the decoder and check tests: PNG files of any header,
// palette and transparency chunk over uncompressed image data, JPEG fixtures with their frame
// size rewritten, and icon, cursor and GIF files whose directories and frames lie where a test
// wants them.
#pragma once

#include <cstdint>
#include <algorithm>
#include <string>
#include <vector>

#include "PictureFixtures.h"
#include "image/DecodedPicture.h"

inline void PutPngChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data)
{
    const size_t at = png.size();
    png.resize(at + 12 + data.size());
    PutBE(png, at, uint32_t(data.size()));
    std::memcpy(&png[at + 4], type, 4);
    if (!data.empty()) std::memcpy(&png[at + 8], data.data(), data.size());
    FixPngChunkCrc(png, at);
}

// A PNG of one image data chunk: rows are the scanlines with their filter bytes, wrapped in
// stored (uncompressed) deflate blocks, so a test says exactly which bytes the decoder sees.
struct PngParts {
    uint32_t width = 1;
    uint32_t height = 1;
    uint8_t depth = 8;
    uint8_t colourType = 3;
    std::vector<uint8_t> palette;  // PLTE data: red, green, blue per entry; none when empty
    std::vector<uint8_t> transparency;  // tRNS data; none when empty
    std::vector<uint8_t> rows;
};

inline std::vector<uint8_t> BuildPng(const PngParts& parts)
{
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header(13, 0);
    PutBE(header, 0, parts.width);
    PutBE(header, 4, parts.height);
    header[8] = parts.depth;
    header[9] = parts.colourType;
    PutPngChunk(png, "IHDR", header);
    if (!parts.palette.empty()) PutPngChunk(png, "PLTE", parts.palette);
    if (!parts.transparency.empty()) PutPngChunk(png, "tRNS", parts.transparency);
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(parts.rows.size() - at, 0xFFFF);
        z.push_back(at + n == parts.rows.size() ? 1 : 0);
        z.push_back(uint8_t(n));
        z.push_back(uint8_t(n >> 8));
        z.push_back(uint8_t(~n));
        z.push_back(uint8_t(~n >> 8));
        z.insert(z.end(), parts.rows.begin() + ptrdiff_t(at), parts.rows.begin() + ptrdiff_t(at + n));
        at += n;
    } while (at < parts.rows.size());
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t byte : parts.rows) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    z.resize(z.size() + 4);
    PutBE(z, z.size() - 4, (b << 16) | a);
    PutPngChunk(png, "IDAT", z);
    PutPngChunk(png, "IEND", {});
    return png;
}

// A committed JPEG fixture (fixtures/make-fixtures.sh) with its frame's size rewritten.
inline std::vector<uint8_t> JpegOfSize(const char* name, uint32_t width, uint32_t height)
{
    std::vector<uint8_t> jpeg = Fixture(name);
    for (size_t at = 2; at + 9 <= jpeg.size(); at += 2 + ((size_t(jpeg[at + 2]) << 8) | jpeg[at + 3])) {
        REQUIRE(jpeg[at] == 0xFF);
        if (jpeg[at + 1] == 0xC0 || jpeg[at + 1] == 0xC2) {
            jpeg[at + 5] = uint8_t(height >> 8);
            jpeg[at + 6] = uint8_t(height);
            jpeg[at + 7] = uint8_t(width >> 8);
            jpeg[at + 8] = uint8_t(width);
            return jpeg;
        }
    }
    FAIL("no frame header in " << name);
    return jpeg;
}

// An icon (type 1) or cursor (type 2) of one entry, its image an uncompressed 32-bit bitmap of
// width × height with colours from the WIC pattern and an all-clear mask. size and offset
// replace the entry's own when not 0.
inline std::vector<uint8_t> IconFile(uint32_t width, uint32_t height, uint16_t type = 1,
                                     uint32_t size = 0, uint32_t offset = 0)
{
    const uint32_t maskStride = (width + 31) / 32 * 4;
    const uint32_t imageSize = 40 + width * height * 4 + maskStride * height;
    std::vector<uint8_t> file(6 + 16 + imageSize, 0);
    PutLE(file, 2, type, 2);
    PutLE(file, 4, 1, 2);
    file[6] = uint8_t(width);
    file[7] = uint8_t(height);
    PutLE(file, 6 + 4, 1, 2);
    PutLE(file, 6 + 6, 32, 2);
    PutLE(file, 6 + 8, size ? size : imageSize);
    PutLE(file, 6 + 12, offset ? offset : 22);
    PutLE(file, 22, 40);
    PutLE(file, 26, width);
    PutLE(file, 30, height * 2);
    PutLE(file, 34, 1, 2);
    PutLE(file, 36, 32, 2);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)  // rows bottom-up, opaque
            PutLE(file, 62 + 4 * ((height - 1 - y) * width + x),
                  WicFixturePixel(WicPattern::Opaque, x, y));
    return file;
}

// A GIF89a with a logical screen of screenWidth × screenHeight, no colour tables, and one frame
// at (left, top) of width × height whose image data is a single empty sub-block.
inline std::vector<uint8_t> GifFile(uint32_t screenWidth, uint32_t screenHeight, uint32_t left,
                                    uint32_t top, uint32_t width, uint32_t height)
{
    std::vector<uint8_t> file = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0};
    PutLE(file, 6, screenWidth, 2);
    PutLE(file, 8, screenHeight, 2);
    const size_t at = file.size();
    file.resize(at + 10, 0);
    file[at] = 0x2C;
    PutLE(file, at + 1, left, 2);
    PutLE(file, at + 3, top, 2);
    PutLE(file, at + 5, width, 2);
    PutLE(file, at + 7, height, 2);
    file.insert(file.end(), {2, 2, 0x44, 0x01, 0, 0x3B});
    return file;
}

// Every class of hostile file, with the code the framework's own decoders give it (kPictureNot
// ThisFormat for files they leave to the checks and the platform).
struct HostilePicture {
    std::string what;
    std::vector<uint8_t> bytes;
    int32_t ownCode;
};

inline std::vector<HostilePicture> HostilePictures()
{
    std::vector<HostilePicture> files;
    // 8-bit palette of two entries, the row using indices 0, 1, 2 and 255.
    PngParts shortPalette;
    shortPalette.width = 4;
    shortPalette.palette = {10, 20, 30, 40, 50, 60};
    shortPalette.rows = {0, 0, 1, 2, 255};
    files.push_back({"PNG whose palette is shorter than its indices", BuildPng(shortPalette),
                     kPictureDamaged});
    PngParts noPalette = shortPalette;
    noPalette.palette.clear();
    files.push_back({"palette PNG without a palette", BuildPng(noPalette), kPictureDamaged});
    const std::pair<uint32_t, uint32_t> beyond[] = {{65535, 65535}, {16384, 16384}, {16385, 1},
                                                    {1, 16385}, {4097, 4096}, {16384, 1025}, {0, 16}};
    for (const auto& [w, h] : beyond)
        files.push_back({"JPEG frame " + std::to_string(w) + " x " + std::to_string(h),
                         JpegOfSize("pattern.jpg", w, h), kPictureBeyondCap});
    // Within the cap the header passes and the data, coded for 32 by 16, runs out.
    const std::pair<uint32_t, uint32_t> within[] = {{16384, 1}, {1, 16384}, {4096, 4096}, {16384, 1024}};
    for (const auto& [w, h] : within)
        files.push_back({"JPEG frame " + std::to_string(w) + " x " + std::to_string(h) + " cut short",
                         JpegOfSize("pattern.jpg", w, h), kPictureDamaged});
    files.push_back({"progressive JPEG frame 16385 x 16", JpegOfSize("progressive.jpg", 16385, 16),
                     kPictureBeyondCap});
    // 78 bytes: the entry's size plus its offset wraps round to 6.
    std::vector<uint8_t> wrap = IconFile(1, 1, 1, 0xFFFFFFF0u, 22);
    wrap.resize(78, 0);
    files.push_back({"icon entry whose offset plus size wraps", wrap, kPictureNotThisFormat});
    std::vector<uint8_t> outside = IconFile(1, 1);
    outside[6] = outside[7] = 255;
    PutLE(outside, 6 + 8, 255 * 255 * 4 + 40);
    files.push_back({"255 x 255 icon entry reaching past the file", outside, kPictureNotThisFormat});
    files.push_back({"cursor whose entry starts past the file", IconFile(2, 2, 2, 0, 4000),
                     kPictureNotThisFormat});
    files.push_back({"icon bitmap 16385 wide", [] {
                         std::vector<uint8_t> f = IconFile(1, 1);
                         PutLE(f, 26, 16385);
                         return f;
                     }(), kPictureNotThisFormat});
    files.push_back({"GIF frame 20000 wide", GifFile(16, 8, 0, 0, 20000, 1), kPictureNotThisFormat});
    files.push_back({"GIF frame reaching past 16384", GifFile(16, 8, 16000, 0, 1000, 1),
                     kPictureNotThisFormat});
    files.push_back({"GIF screen 16385 wide", GifFile(16385, 1, 0, 0, 1, 1), kPictureNotThisFormat});
    return files;
}
