// qga encoding and decoding; decoding uses the framework's own LZSS decoder.
#include "tools/QgaFile.h"

#include <cstring>

#include <pyro/file/LzssDecoder.h>
#include "tools/LzssEncoder.h"

namespace {

const unsigned char kTag[4] = {'Q', 'G', 'A', '1'};

void PutU32(unsigned char* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint32_t GetU32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}

}  // namespace

std::vector<unsigned char> EncodeQga(const PixelImage& image, bool compress)
{
    const uint32_t length = static_cast<uint32_t>(image.pixels.size() * 4);
    std::vector<unsigned char> pixels(length);
    for (size_t i = 0; i < image.pixels.size(); ++i) PutU32(&pixels[4 * i], image.pixels[i]);
    std::vector<unsigned char> stored;
    if (compress) stored = CLzssEncoder::Encode(pixels.data(), pixels.size());
    // The reader takes any non-empty stream, but a coded form as large as the pixels gains nothing.
    compress = compress && !stored.empty() && stored.size() < pixels.size();
    if (!compress) stored = pixels;

    std::vector<unsigned char> file(kQgaHeaderSize + stored.size());
    std::memcpy(file.data(), kTag, sizeof kTag);
    PutU32(&file[4], image.width);
    PutU32(&file[8], image.height);
    PutU32(&file[12], compress ? 1 : 0);
    PutU32(&file[16], length);
    PutU32(&file[20], static_cast<uint32_t>(stored.size()));
    if (!stored.empty()) std::memcpy(&file[kQgaHeaderSize], stored.data(), stored.size());
    return file;
}

bool DecodeQga(const std::vector<unsigned char>& file, PixelImage& image, std::string& error)
{
    if (file.size() < kQgaHeaderSize) {
        error = "shorter than a qga header";
        return false;
    }
    const uint32_t width = GetU32(&file[4]);
    const uint32_t height = GetU32(&file[8]);
    const bool compressed = GetU32(&file[12]) != 0;
    const uint32_t length = GetU32(&file[16]);
    const uint64_t capacity = uint64_t(width) * height * 4;
    if (length > capacity || capacity > (uint64_t(1) << 31)) {
        error = "pixel length does not fit the image size";
        return false;
    }
    const unsigned char* data = file.data() + kQgaHeaderSize;
    const uint32_t dataSize = static_cast<uint32_t>(file.size() - kQgaHeaderSize);
    std::vector<unsigned char> pixels(capacity, 0);
    if (compressed) {
        CLzssDecoder decoder;
        unsigned char* out = pixels.data();
        if (decoder.Decode(data, dataSize, out, length, false) != CLzssDecoder::kDone) {
            error = "LZSS data empty or shorter than the pixel length";
            return false;
        }
    } else {
        if (length > dataSize) {
            error = "pixel data shorter than the pixel length";
            return false;
        }
        if (length > 0) std::memcpy(pixels.data(), data, length);
    }
    image.width = width;
    image.height = height;
    image.pixels.resize(size_t(width) * height);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = GetU32(&pixels[4 * i]);
    return true;
}
