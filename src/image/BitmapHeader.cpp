// Bitmap header checks and the portable bitmap readers and writer. Every size is computed in
// 64 bits and compared with the bytes actually present before anything is read.
#include <pyro/image/BitmapHeader.h>

#include <algorithm>
#include <climits>

namespace {

uint32_t GetU16(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8); }

uint32_t GetU32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
           (uint32_t(p[3]) << 24);
}

int32_t GetI32(const uint8_t* p) { return static_cast<int32_t>(GetU32(p)); }

void PutU16(uint8_t* p, uint32_t value)
{
    p[0] = uint8_t(value);
    p[1] = uint8_t(value >> 8);
}

void PutU32(uint8_t* p, uint32_t value)
{
    PutU16(p, value & 0xFFFF);
    PutU16(p + 2, value >> 16);
}

// Header sizes from which the colour masks sit inside the header (BITMAPV2INFOHEADER on).
constexpr uint32_t kHeaderWithMasks = 52;
constexpr uint32_t kMaskBytes = 12;

bool IsBitCount(uint32_t bits)
{
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
           bits == 32;
}

bool SuitsCompression(uint32_t compression, uint32_t bits, int32_t height)
{
    switch (compression) {
    case kBitmapRgb: return true;
    // Run-length coding has no top-down form.
    case kBitmapRle8: return bits == 8 && height > 0;
    case kBitmapRle4: return bits == 4 && height > 0;
    case kBitmapBitFields: return bits == 16 || bits == 32;
    default: return false;
    }
}

// How many palette colours a bit count stands for in a logical palette of 256 entries, ten
// at each end being the system's.
uint32_t PaletteColourLimit(uint32_t bits)
{
    switch (bits) {
    case 1: return 2;
    case 2: return 4;
    case 4: return 16;
    case 8: return 236;
    default: return 0;
    }
}

constexpr uint8_t kExplicitFlags = 2;  // PC_EXPLICIT
constexpr uint8_t kColourFlags = 5;    // PC_RESERVED | PC_NOCOLLAPSE

}  // namespace

bool CheckBitmapInfo(const uint8_t* info, uint64_t infoBytes, uint64_t bitsBytes,
                     BitmapLayout& layout)
{
    if (!info || infoBytes < kBitmapInfoHeaderSize) return false;
    const uint32_t infoSize = GetU32(info);
    if (infoSize < kBitmapInfoHeaderSize || infoSize > infoBytes) return false;

    const int32_t width = GetI32(info + 4);
    const int32_t height = GetI32(info + 8);
    const uint32_t bits = GetU16(info + 14);
    const uint32_t compression = GetU32(info + 16);
    const uint32_t codedSize = GetU32(info + 20);
    const uint32_t coloursUsed = GetU32(info + 32);
    if (width <= 0 || height == 0 || height == INT32_MIN) return false;
    if (!IsBitCount(bits) || !SuitsCompression(compression, bits, height)) return false;

    // Masks of a bit-field bitmap follow a header too short to hold them.
    const uint64_t masks =
        compression == kBitmapBitFields && infoSize < kHeaderWithMasks ? kMaskBytes : 0;
    const uint64_t paletteOffset = uint64_t(infoSize) + masks;
    // A palette bitmap may name fewer colours than its bits can address, never more.
    const uint64_t addressable = bits <= 8 ? uint64_t(1) << bits : 0;
    uint64_t colours = coloursUsed;
    if (bits <= 8 && (colours == 0 || colours > addressable)) colours = addressable;
    if (paletteOffset + 4 * colours > infoBytes) return false;

    const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    const uint64_t rows = height < 0 ? uint64_t(-int64_t(height)) : uint64_t(height);
    if (stride > UINT32_MAX) return false;
    const bool runLength = compression == kBitmapRle8 || compression == kBitmapRle4;
    if (runLength ? codedSize == 0 || codedSize > bitsBytes : stride * rows > bitsBytes)
        return false;

    layout.width = width;
    layout.height = height;
    layout.rows = uint32_t(rows);
    layout.bitCount = bits;
    layout.compression = compression;
    layout.stride = uint32_t(stride);
    layout.paletteOffset = uint32_t(paletteOffset);
    layout.paletteColours = uint32_t(colours);
    layout.bitsOffset = 0;
    layout.topDown = height < 0;
    return true;
}

bool ParseBitmapFile(const uint8_t* content, uint64_t size, BitmapLayout& layout)
{
    if (!content || size < kBitmapHeadersSize || content[0] != 'B' || content[1] != 'M')
        return false;
    const uint32_t bitsOffset = GetU32(content + 10);
    if (bitsOffset > size) return false;
    BitmapLayout found;
    if (!CheckBitmapInfo(content + kBitmapFileHeaderSize, size - kBitmapFileHeaderSize,
                         size - bitsOffset, found))
        return false;
    found.bitsOffset = bitsOffset;
    layout = found;
    return true;
}

bool IsDamagedBitmap(const uint8_t* content, uint64_t size)
{
    if (!content || size < 2 || content[0] != 'B' || content[1] != 'M') return false;
    BitmapLayout layout;
    return !ParseBitmapFile(content, size, layout);
}

void CopyBitmapRows24(const uint8_t* content, const BitmapLayout& layout, uint32_t* destination,
                      int32_t pitch)
{
    const uint8_t* bits = content + layout.bitsOffset;
    uint8_t* out = reinterpret_cast<uint8_t*>(destination);
    for (uint32_t i = 0; i < layout.rows; ++i) {
        const uint32_t sourceRow = layout.topDown ? i : layout.rows - 1 - i;
        const uint8_t* s = bits + size_t(sourceRow) * layout.stride;
        uint32_t* d = reinterpret_cast<uint32_t*>(out + ptrdiff_t(i) * pitch);
        for (int32_t x = 0; x < layout.width; ++x, s += 3)
            d[x] = uint32_t(s[0]) | (uint32_t(s[1]) << 8) | (uint32_t(s[2]) << 16);
    }
}

void FillBitmapPalette(const uint8_t* content, const BitmapLayout& layout, uint8_t* entries)
{
    std::fill(entries, entries + 256 * 4, uint8_t(0));
    for (int i = 0; i < 256; ++i) {
        if (i >= 10 && i < 246) continue;
        entries[4 * i] = uint8_t(i);
        entries[4 * i + 3] = kExplicitFlags;
    }
    const uint8_t* table = content + kBitmapFileHeaderSize + layout.paletteOffset;
    const uint32_t count = std::min(PaletteColourLimit(layout.bitCount), layout.paletteColours);
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t* e = entries + 4 * (10 + i);
        const uint8_t* quad = table + 4 * i;  // blue, green, red, reserved
        e[0] = quad[2];
        e[1] = quad[1];
        e[2] = quad[0];
        e[3] = kColourFlags;
    }
}

uint32_t BitmapStride24(uint32_t width) { return (width * 3 + 3) & ~3u; }

void PutBitmapHeaders24(uint8_t* out, uint32_t width, uint32_t height)
{
    std::fill(out, out + kBitmapHeadersSize, uint8_t(0));
    out[0] = 'B';
    out[1] = 'M';
    PutU32(out + 2, kBitmapHeadersSize + BitmapStride24(width) * height);
    PutU32(out + 10, kBitmapHeadersSize);
    uint8_t* info = out + kBitmapFileHeaderSize;
    PutU32(info, kBitmapInfoHeaderSize);
    PutU32(info + 4, width);
    PutU32(info + 8, height);
    PutU16(info + 12, 1);
    PutU16(info + 14, 24);
    PutU32(info + 24, 3780);
    PutU32(info + 28, 3780);
}

std::vector<uint8_t> EncodeBitmap24(const uint8_t* top, ptrdiff_t pitch, uint32_t bytesPerPixel,
                                    uint32_t width, uint32_t height)
{
    const uint32_t stride = BitmapStride24(width);
    std::vector<uint8_t> file(kBitmapHeadersSize + size_t(stride) * height, 0);
    PutBitmapHeaders24(file.data(), width, height);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* s = top + ptrdiff_t(y) * pitch;
        uint8_t* d = file.data() + kBitmapHeadersSize + size_t(height - 1 - y) * stride;
        for (uint32_t x = 0; x < width; ++x, s += bytesPerPixel, d += 3) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
    }
    return file;
}
