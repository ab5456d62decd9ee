// Fuzz target: the PNG decoder, with the checks made before it (signature, header size, chunk
// walk with checksums). The mutator works on chunks: it changes a chunk's data or length, the
// header's fields, drops, repeats or swaps chunks, then rewrites every checksum, so that the
// mutations reach the decoder instead of stopping at the first checksum. A decoded picture
// must be within the cap, and an opaque one must survive the encoder's round trip exactly.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzRandom.h"
#include "image/DecodedPicture.h"
#include "image/PictureFormat.h"
#include "image/PngEncoder.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

struct Chunk {
    uint8_t type[4];
    std::vector<uint8_t> data;
    bool lengthLies = false;
    uint32_t length = 0;  // written instead of the data's size when lengthLies
};

uint32_t GetU32BE(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

void PutU32BE(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

bool Parse(const uint8_t* data, size_t size, std::vector<Chunk>& chunks)
{
    if (!HasPngSignature(data, size)) return false;
    size_t at = 8;
    while (size - at >= 12) {
        const uint32_t length = GetU32BE(data + at);
        if (length > size - at - 12) return false;
        Chunk chunk;
        std::memcpy(chunk.type, data + at + 4, 4);
        chunk.data.assign(data + at + 8, data + at + 8 + length);
        chunks.push_back(chunk);
        at += 12 + length;
    }
    return !chunks.empty();
}

size_t Write(const std::vector<Chunk>& chunks, uint8_t* data, size_t maxSize)
{
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Chunk& chunk : chunks) {
        PutU32BE(out, chunk.lengthLies ? chunk.length : uint32_t(chunk.data.size()));
        const size_t typeAt = out.size();
        out.insert(out.end(), chunk.type, chunk.type + 4);
        out.insert(out.end(), chunk.data.begin(), chunk.data.end());
        PutU32BE(out, PngCrc(out.data() + typeAt, 4 + chunk.data.size()));
    }
    if (out.size() > maxSize) return 0;
    std::memcpy(data, out.data(), out.size());
    return out.size();
}

}  // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed)
{
    std::vector<Chunk> chunks;
    if (!Parse(data, size, chunks)) return LLVMFuzzerMutate(data, size, maxSize);
    CFuzzRandom next(seed);
    Chunk& chunk = chunks[next(uint32_t(chunks.size()))];
    switch (next(7)) {
    case 0:  // the chunk's data, bytewise
    case 1: {
        const size_t old = chunk.data.size();
        chunk.data.resize(old + 64);
        chunk.data.resize(LLVMFuzzerMutate(chunk.data.data(), old, old + 64));
        break;
    }
    case 2:  // a length that disagrees with the data
        chunk.lengthLies = true;
        chunk.length = next(3) == 0 ? 0xFFFFFFF0u + next(16) : uint32_t(chunk.data.size()) + next(64) - 32;
        break;
    case 3:  // the header's fields: width, height, depth, colour type, interlace
        for (Chunk& c : chunks) {
            if (std::memcmp(c.type, "IHDR", 4) != 0 || c.data.size() < 13) continue;
            const uint32_t field = next(5);
            if (field < 2) {
                static const uint32_t sides[] = {0, 1, 2, 255, 256, 4096, 16383, 16384, 16385, 65536, 0x7FFFFFFF};
                const uint32_t v = sides[next(sizeof sides / sizeof sides[0])];
                for (int i = 0; i < 4; ++i) c.data[field * 4 + i] = uint8_t(v >> (24 - 8 * i));
            } else if (field == 2) {
                static const uint8_t depths[] = {1, 2, 4, 8, 16};
                c.data[8] = depths[next(5)];
            } else if (field == 3) {
                static const uint8_t types[] = {0, 2, 3, 4, 6};
                c.data[9] = types[next(5)];
            } else {
                c.data[12] ^= 1;
            }
        }
        break;
    case 4:  // a chunk dropped
        if (chunks.size() > 1) chunks.erase(chunks.begin() + next(uint32_t(chunks.size())));
        break;
    case 5:  // a chunk repeated elsewhere
        chunks.insert(chunks.begin() + next(uint32_t(chunks.size()) + 1), Chunk(chunk));
        break;
    default:  // two chunks swapped, or a palette cut short
        if (std::memcmp(chunk.type, "PLTE", 4) == 0 && chunk.data.size() >= 3)
            chunk.data.resize(3 * next(uint32_t(chunk.data.size() / 3)));
        else
            std::swap(chunk, chunks[next(uint32_t(chunks.size()))]);
        break;
    }
    const size_t written = Write(chunks, data, maxSize);
    return written ? written : LLVMFuzzerMutate(data, size, maxSize);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint32_t width = 0;
    uint32_t height = 0;
    if (ReadPngSize(data, size, width, height)) IsPictureSizeAllowed(width, height);
    CheckPngChunks(data, size);
    DecodedPicture picture;
    if (DecodePngPicture(data, size, picture) != kPictureDecoded) {
        if (!picture.pixels.empty() || picture.width != 0) __builtin_trap();
        return 0;
    }
    if (!IsPictureSizeAllowed(picture.width, picture.height) ||
        picture.pixels.size() != size_t(picture.width) * picture.height)
        __builtin_trap();
    // Round trip of small pictures through the encoder: the same pixels come back.
    if (picture.pixels.size() <= 4096) {
        std::vector<uint8_t> png;
        const std::vector<uint8_t> packed = PixelsForEncoding(
            picture.pixels.data(), ptrdiff_t(picture.width) * 4, picture.width, picture.height,
            picture.alpha);
        if (EncodePng(packed, picture.width, picture.height, picture.alpha, png) != 0)
            __builtin_trap();
        DecodedPicture again;
        if (DecodePngPicture(png.data(), png.size(), again) != kPictureDecoded ||
            again.pixels != picture.pixels)
            __builtin_trap();
    }
    return 0;
}
