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

namespace {

uint32_t GetU16LE(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8); }

uint32_t GetU32LE(const uint8_t* p) { return GetU16LE(p) | (GetU16LE(p + 2) << 16); }

constexpr uint64_t kIconDirectorySize = 6;
constexpr uint64_t kIconEntrySize = 16;
constexpr uint32_t kIconInfoHeaderSize = 40;

// One icon image: a PNG whose header fits and whose size is under the cap, or a bitmap header
// whose colour table, colour rows and 1-bit mask rows (height counted twice) fit the entry.
bool CheckIconImage(const uint8_t* image, uint64_t size)
{
    if (HasPngSignature(image, size)) {
        uint32_t w = 0;
        uint32_t h = 0;
        return ReadPngSize(image, size, w, h) && IsPictureSizeAllowed(w, h);
    }
    if (size < kIconInfoHeaderSize) return false;
    const uint32_t headerSize = GetU32LE(image);
    const int32_t width = int32_t(GetU32LE(image + 4));
    const int32_t doubledHeight = int32_t(GetU32LE(image + 8));
    const uint32_t bitCount = GetU16LE(image + 14);
    const uint32_t colorsUsed = GetU32LE(image + 32);
    if (headerSize < kIconInfoHeaderSize || headerSize > size || width <= 0 || doubledHeight <= 0)
        return false;
    const uint32_t height = uint32_t(doubledHeight) / 2;
    if (!IsPictureSizeAllowed(uint32_t(width), height)) return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return false;
    uint64_t colors = colorsUsed;
    if (colors == 0 && bitCount <= 8) colors = uint64_t(1) << bitCount;
    if (colors > 256) return false;
    const uint64_t colorStride = (uint64_t(width) * bitCount + 31) / 32 * 4;
    const uint64_t maskStride = (uint64_t(width) + 31) / 32 * 4;
    return headerSize + colors * 4 + (colorStride + maskStride) * height <= size;
}

}  // namespace

PictureCheck CheckIconDirectory(const uint8_t* content, uint64_t size)
{
    if (!content || size < kIconDirectorySize || GetU16LE(content) != 0) return PictureCheck::kNotThisFormat;
    const uint32_t type = GetU16LE(content + 2);
    if (type != 1 && type != 2) return PictureCheck::kNotThisFormat;
    const uint32_t count = GetU16LE(content + 4);
    if (count == 0 || (size - kIconDirectorySize) / kIconEntrySize < count)
        return PictureCheck::kRefused;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = content + kIconDirectorySize + kIconEntrySize * i;
        const uint64_t bytes = GetU32LE(entry + 8);
        const uint64_t offset = GetU32LE(entry + 12);
        if (offset > size || bytes > size - offset) return PictureCheck::kRefused;
        if (!CheckIconImage(content + offset, bytes)) return PictureCheck::kRefused;
    }
    return PictureCheck::kPassed;
}

namespace {

constexpr uint64_t kGifHeaderSize = 13;  // signature, version, logical screen descriptor
constexpr uint64_t kGifImageDescriptorSize = 10;

// The size of a colour table a flags byte announces (bit 7 set: 2^(bits 0-2 + 1) entries).
uint64_t GifColorTableSize(uint8_t flags)
{
    return (flags & 0x80) ? 3 * (uint64_t(2) << (flags & 7)) : 0;
}

// Skips data sub-blocks (a length byte, then that many bytes) up to the zero-length one.
bool SkipGifSubBlocks(const uint8_t* content, uint64_t size, uint64_t& at)
{
    while (at < size) {
        const uint8_t length = content[at++];
        if (length == 0) return true;
        if (size - at < length) return false;
        at += length;
    }
    return false;
}

}  // namespace

PictureCheck CheckGifFrames(const uint8_t* content, uint64_t size)
{
    if (!content || size < 6 ||
        (std::memcmp(content, "GIF87a", 6) != 0 && std::memcmp(content, "GIF89a", 6) != 0))
        return PictureCheck::kNotThisFormat;
    if (size < kGifHeaderSize) return PictureCheck::kRefused;
    if (!IsPictureSizeAllowed(GetU16LE(content + 6), GetU16LE(content + 8)))
        return PictureCheck::kRefused;
    uint64_t at = kGifHeaderSize + GifColorTableSize(content[10]);
    bool frame = false;
    while (at < size) {
        const uint8_t block = content[at++];
        if (block == 0x3B) break;  // trailer
        if (block == 0x21) {       // extension: label, then sub-blocks
            if (at >= size) return PictureCheck::kRefused;
            ++at;
            if (!SkipGifSubBlocks(content, size, at)) return PictureCheck::kRefused;
            continue;
        }
        if (block != 0x2C || size - at < kGifImageDescriptorSize - 1) return PictureCheck::kRefused;
        const uint32_t left = GetU16LE(content + at);
        const uint32_t top = GetU16LE(content + at + 2);
        const uint32_t width = GetU16LE(content + at + 4);
        const uint32_t height = GetU16LE(content + at + 6);
        if (!IsPictureSizeAllowed(width, height) || left + width > kMaxPictureSide ||
            top + height > kMaxPictureSide)
            return PictureCheck::kRefused;
        at += kGifImageDescriptorSize - 1 + GifColorTableSize(content[at + 8]);
        ++at;  // the LZW minimum code size
        if (at > size || !SkipGifSubBlocks(content, size, at)) return PictureCheck::kRefused;
        frame = true;
    }
    return frame ? PictureCheck::kPassed : PictureCheck::kRefused;
}
