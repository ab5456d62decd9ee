// Bitmap decoding and encoding. Only uncompressed bitmaps (BI_RGB, and BI_BITFIELDS at 32 bits)
// are accepted; every size is checked against the file before a pixel is read.
#include "tools/BmpFile.h"

namespace {

const uint32_t kFileHeaderSize = 14;
const uint32_t kInfoHeaderSize = 40;
const uint32_t kRgb = 0;
const uint32_t kBitFields = 3;

uint32_t GetU16(const unsigned char* p)
{
    return p[0] | (p[1] << 8);
}

uint32_t GetU32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}

void PutU16(std::vector<unsigned char>& out, uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void PutU32(std::vector<unsigned char>& out, uint32_t value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// One channel of a bit-field pixel scaled to 0-255; fallback when the mask is empty.
uint32_t Channel(uint32_t pixel, uint32_t mask, uint32_t fallback)
{
    if (mask == 0) return fallback;
    int shift = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    const uint32_t maximum = mask >> shift;
    return static_cast<uint32_t>((uint64_t((pixel & mask) >> shift) * 255 + maximum / 2) / maximum);
}

}  // namespace

bool DecodeBmp(const std::vector<unsigned char>& file, PixelImage& image, std::string& error)
{
    const unsigned char* data = file.data();
    if (file.size() < kFileHeaderSize + kInfoHeaderSize || data[0] != 'B' || data[1] != 'M') {
        error = "not a bitmap file";
        return false;
    }
    const unsigned char* info = data + kFileHeaderSize;
    const uint32_t infoSize = GetU32(info);
    const int32_t width = static_cast<int32_t>(GetU32(info + 4));
    const int32_t rawHeight = static_cast<int32_t>(GetU32(info + 8));
    const uint32_t bitCount = GetU16(info + 14);
    const uint32_t compression = GetU32(info + 16);
    if (infoSize < kInfoHeaderSize || kFileHeaderSize + uint64_t(infoSize) > file.size()) {
        error = "damaged bitmap header";
        return false;
    }
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) {
        error = "bitmap without pixels";
        return false;
    }
    const bool topDown = rawHeight < 0;
    const uint32_t height = static_cast<uint32_t>(topDown ? -rawHeight : rawHeight);
    const bool bitFields = compression == kBitFields && bitCount == 32;
    if ((compression != kRgb && !bitFields) || (bitCount != 8 && bitCount != 24 && bitCount != 32)) {
        error = "only uncompressed 8, 24 and 32-bit bitmaps are supported";
        return false;
    }

    // Bit-field masks follow a 40-byte header, or sit inside a larger one (red, green, blue, alpha).
    uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    if (bitFields) {
        const uint64_t maskEnd = kFileHeaderSize + kInfoHeaderSize + (infoSize >= 56 ? 16 : 12);
        if (maskEnd > file.size()) {
            error = "damaged bitmap masks";
            return false;
        }
        for (int i = 0; i < 4; ++i) {
            masks[i] = i < 3 || infoSize >= 56 ? GetU32(info + kInfoHeaderSize + 4 * i) : 0;
        }
    }

    std::vector<uint32_t> palette;
    if (bitCount == 8) {
        uint32_t colours = GetU32(info + 32);
        if (colours == 0 || colours > 256) colours = 256;
        const uint64_t paletteStart = kFileHeaderSize + uint64_t(infoSize);
        if (paletteStart + 4 * uint64_t(colours) > file.size()) {
            error = "damaged bitmap palette";
            return false;
        }
        for (uint32_t i = 0; i < colours; ++i) {
            palette.push_back(GetU32(data + paletteStart + 4 * i) | 0xFF000000);
        }
        palette.resize(256, 0xFF000000);
    }

    const uint64_t stride = ((uint64_t(width) * bitCount + 31) / 32) * 4;
    const uint64_t pixelStart = GetU32(data + 10);
    if (pixelStart + stride * height > file.size()) {
        error = "bitmap pixel data shorter than its size says";
        return false;
    }
    image.width = static_cast<uint32_t>(width);
    image.height = height;
    image.pixels.assign(uint64_t(image.width) * height, 0);
    for (uint32_t y = 0; y < height; ++y) {
        const unsigned char* row = data + pixelStart + stride * (topDown ? y : height - 1 - y);
        uint32_t* out = &image.pixels[uint64_t(y) * image.width];
        for (uint32_t x = 0; x < image.width; ++x) {
            if (bitCount == 8) {
                out[x] = palette[row[x]];
            } else if (bitCount == 24) {
                const unsigned char* p = row + 3 * x;
                out[x] = 0xFF000000 | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
            } else {
                const uint32_t v = GetU32(row + 4 * x);
                out[x] = (Channel(v, masks[3], 255) << 24) | (Channel(v, masks[0], 0) << 16)
                    | (Channel(v, masks[1], 0) << 8) | Channel(v, masks[2], 0);
            }
        }
    }
    return true;
}

std::vector<unsigned char> EncodeBmp(const PixelImage& image, int bitCount)
{
    const uint32_t bytesPerPixel = bitCount == 32 ? 4 : 3;
    const uint32_t stride = (image.width * bytesPerPixel + 3) & ~3u;
    const uint32_t pixelBytes = stride * image.height;
    std::vector<unsigned char> out;
    out.reserve(kFileHeaderSize + kInfoHeaderSize + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, kFileHeaderSize + kInfoHeaderSize + pixelBytes);
    PutU32(out, 0);
    PutU32(out, kFileHeaderSize + kInfoHeaderSize);
    PutU32(out, kInfoHeaderSize);
    PutU32(out, image.width);
    PutU32(out, image.height);
    PutU16(out, 1);
    PutU16(out, bytesPerPixel * 8);
    PutU32(out, kRgb);
    PutU32(out, pixelBytes);
    PutU32(out, 3780);
    PutU32(out, 3780);
    PutU32(out, 0);
    PutU32(out, 0);
    for (uint32_t y = image.height; y-- > 0;) {
        const size_t rowStart = out.size();
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint32_t pixel = image.pixels[size_t(y) * image.width + x];
            for (uint32_t b = 0; b < bytesPerPixel; ++b) {
                out.push_back(static_cast<unsigned char>(pixel >> (8 * b)));
            }
        }
        out.resize(rowStart + stride, 0);
    }
    return out;
}

bool ApplyAlphaMask(PixelImage& image, const PixelImage& mask, std::string& error)
{
    if (mask.width != image.width || mask.height != image.height) {
        error = "the mask is not the size of the image";
        return false;
    }
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const uint32_t m = mask.pixels[i];
        // Rec. 601 weights summing to 256: a grey value v gives exactly v.
        const uint32_t grey = (((m >> 16) & 0xFF) * 77 + ((m >> 8) & 0xFF) * 151 + (m & 0xFF) * 28) >> 8;
        image.pixels[i] = (image.pixels[i] & 0x00FFFFFF) | (grey << 24);
    }
    return true;
}
