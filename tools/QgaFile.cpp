// qga encoding and decoding; decoding uses the framework's own header checks and LZSS decoder.
#include "tools/QgaFile.h"

#include <cstring>

#include <pyro/image/QgaHeader.h>
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
    // The framework's own checks and decoding: the tool reads exactly the files a plane loads.
    QgaHeader header;
    switch (ReadQgaHeader(file.data(), file.size(), header)) {
    case kQgaDone: break;
    case kQgaNoHeader: error = "shorter than a qga header"; return false;
    case kQgaBadSize: error = "width or height 0, or more pixels than a plane holds"; return false;
    default: error = "pixel length beyond the image size or the data"; return false;
    }
    std::vector<unsigned char> pixels(size_t(header.width) * header.height * 4, 0);
    if (DecodeQgaPixels(file.data(), file.size(), header, pixels.data()) != kQgaDone) {
        error = "LZSS data shorter than the pixel length";
        return false;
    }
    image.width = header.width;
    image.height = header.height;
    image.pixels.resize(size_t(header.width) * header.height);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = GetU32(&pixels[4 * i]);
    return true;
}
