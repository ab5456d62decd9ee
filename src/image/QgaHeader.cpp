// qga header checks and pixel decoding through the shared LZSS decoder.
#include <pyro/image/QgaHeader.h>

#include <cstring>

#include <pyro/file/LzssDecoder.h>

namespace {

uint32_t GetU32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
           (uint32_t(p[3]) << 24);
}

// A flag byte and eight two-byte references give at most 8 × 18 bytes for 17 bytes read.
constexpr uint64_t kMaxLzssExpansion = 9;

}  // namespace

int ReadQgaHeader(const uint8_t* content, uint64_t size, QgaHeader& header)
{
    if (!content || size < QgaHeader::kSize) return kQgaNoHeader;
    QgaHeader read;
    read.width = GetU32(content + 4);
    read.height = GetU32(content + 8);
    read.compressed = GetU32(content + 12) != 0;
    read.length = GetU32(content + 16);

    // Two 32-bit factors cannot overflow 64 bits, but four bytes per pixel can: the pixel count
    // is held to the limit before it is multiplied.
    const uint64_t count = uint64_t(read.width) * read.height;
    if (count == 0 || count > QgaHeader::kMaxPixelBytes / 4) return kQgaBadSize;
    const uint64_t capacity = count * 4;
    const uint64_t data = size - QgaHeader::kSize;
    if (read.length > capacity) return kQgaBadData;
    if (read.compressed ? read.length == 0 || read.length > data * kMaxLzssExpansion
                        : read.length > data)
        return kQgaBadData;
    header = read;
    return kQgaDone;
}

int DecodeQgaPixels(const uint8_t* content, uint64_t size, const QgaHeader& header,
                    uint8_t* destination)
{
    const uint8_t* data = content + QgaHeader::kSize;
    const uint64_t dataSize = size - QgaHeader::kSize;
    if (!header.compressed) {
        if (header.length > 0) std::memcpy(destination, data, header.length);
        return kQgaDone;
    }
    CLzssDecoder decoder;
    // A literal costs 9/8 of a byte, so the length never needs more than twice its size of
    // coded data; cutting there keeps the decoder's 32-bit size in range for any file.
    const uint64_t useful = uint64_t(header.length) * 2 + 2;
    const uint32_t packed = uint32_t(dataSize < useful ? dataSize : useful);
    unsigned char* out = destination;
    return decoder.Decode(data, packed, out, header.length, false) == CLzssDecoder::kDone
               ? kQgaDone
               : kQgaBadData;
}
