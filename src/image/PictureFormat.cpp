// PNG signature, header and chunks, the picture size cap, and the alpha steps around the imaging
// component. Portable: everything is read byte-wise.
#include "image/PictureFormat.h"

#include <array>
#include <cstring>

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Signature, then the header chunk: length 13, "IHDR", width and height big-endian.
constexpr uint64_t kPngHeaderEnd = 8 + 8 + 13;

uint32_t GetU32BE(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// Chunk layout: length (4, big-endian, at most 2^31 - 1), type (4), data, checksum (4) of type
// and data.
constexpr uint32_t kPngChunkOverhead = 12;
constexpr uint32_t kPngMaxChunkLength = 0x7FFFFFFF;

constexpr std::array<uint32_t, 256> MakeCrcTable()
{
    std::array<uint32_t, 256> table = {};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

bool IsPictureSizeAllowed(uint32_t width, uint32_t height)
{
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           uint64_t(width) * height <= kMaxPicturePixels;
}

bool HasPngSignature(const uint8_t* content, uint64_t size)
{
    return content && size >= sizeof kPngSignature &&
           std::memcmp(content, kPngSignature, sizeof kPngSignature) == 0;
}

bool ReadPngSize(const uint8_t* content, uint64_t size, uint32_t& width, uint32_t& height)
{
    if (!HasPngSignature(content, size) || size < kPngHeaderEnd) return false;
    if (GetU32BE(content + 8) != 13 || std::memcmp(content + 12, "IHDR", 4) != 0) return false;
    width = GetU32BE(content + 16);
    height = GetU32BE(content + 20);
    return true;
}

uint32_t PngCrc(const uint8_t* bytes, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) crc = kCrcTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

bool CheckPngChunks(const uint8_t* content, uint64_t size)
{
    if (!HasPngSignature(content, size)) return false;
    uint64_t at = sizeof kPngSignature;
    while (size - at >= kPngChunkOverhead) {
        const uint32_t length = GetU32BE(content + at);
        if (length > kPngMaxChunkLength || size - at - kPngChunkOverhead < length) return false;
        const uint8_t* type = content + at + 4;
        if (PngCrc(type, 4 + size_t(length)) != GetU32BE(type + 4 + length)) return false;
        if (std::memcmp(type, "IEND", 4) == 0) return true;
        at += kPngChunkOverhead + length;
    }
    return false;
}

bool KeepAlphaIfTranslucent(uint32_t* pixels, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if ((pixels[i] >> 24) != 0xFF) return true;
    for (size_t i = 0; i < count; ++i) pixels[i] &= 0x00FFFFFF;
    return false;
}

std::vector<uint8_t> PixelsForEncoding(const uint32_t* top, ptrdiff_t pitch, uint32_t width,
                                       uint32_t height, bool alpha)
{
    const size_t bytesPerPixel = alpha ? 4 : 3;
    std::vector<uint8_t> bytes(size_t(width) * height * bytesPerPixel);
    const uint8_t* row = reinterpret_cast<const uint8_t*>(top);
    uint8_t* out = bytes.data();
    for (uint32_t y = 0; y < height; ++y, row += pitch) {
        if (alpha) {
            std::memcpy(out, row, size_t(width) * 4);
            out += size_t(width) * 4;
            continue;
        }
        for (uint32_t x = 0; x < width; ++x, out += 3) std::memcpy(out, row + 4 * size_t(x), 3);
    }
    return bytes;
}
