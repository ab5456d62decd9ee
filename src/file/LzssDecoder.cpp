// LZSS decoding, byte by byte through the ring, stopping at whichever end comes first: the
// requested output size (also in the middle of a reference) or the end of the packed data.
#include <pyro/file/LzssDecoder.h>

#include <cstring>
#include <new>

int CLzssDecoder::Decode(const unsigned char* packed, uint32_t packedSize, unsigned char*& output,
                         uint32_t outputSize, bool allocate)
{
    if (outputSize == 0) return kEmptyOutput;
    if (allocate) {
        output = new (std::nothrow) unsigned char[outputSize];
        if (!output) return kNoMemory;
    } else if (!output) {
        return kBadArgument;
    }
    if (!packed) packedSize = 0;

    std::memset(ring_, 0, sizeof ring_);
    const uint32_t mask = kRingSize - 1;
    uint32_t r = kStartPosition;
    uint32_t flags = 0;
    const unsigned char* in = packed;
    const unsigned char* const inEnd = packed + packedSize;
    unsigned char* out = output;
    unsigned char* const outEnd = output + outputSize;

    for (;;) {
        flags >>= 1;
        if ((flags & 0x100) == 0) {
            if (in == inEnd) break;
            flags = *in++ | 0xFF00u;
        }
        if (flags & 1) {
            if (in == inEnd) break;
            const unsigned char c = *in++;
            *out++ = c;
            ring_[r] = c;
            r = (r + 1) & mask;
            if (out == outEnd) return kDone;
        } else {
            if (inEnd - in < 2) break;
            const uint32_t i = in[0];
            const uint32_t j = in[1];
            in += 2;
            const uint32_t position = i | ((j & 0xF0) << 4);
            const uint32_t length = (j & 0x0F) + kMinMatch;
            for (uint32_t k = 0; k < length; ++k) {
                const unsigned char c = ring_[(position + k) & mask];
                *out++ = c;
                ring_[r] = c;
                r = (r + 1) & mask;
                if (out == outEnd) return kDone;
            }
        }
    }
    std::memset(out, 0, static_cast<size_t>(outEnd - out));
    return kInputEnded;
}
