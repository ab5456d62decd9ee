// LZSS decoding straight into the output. The ring of the format is the last 4096 output bytes:
// a reference names a ring slot, which is a fixed distance back from the byte being written, and
// slots never written yet read as the zero fill. Whole groups of eight items are decoded without
// bounds checks while both ends are far away, and a reference that cannot overlap what it writes
// is copied in blocks; the last groups go item by item and stop at whichever end comes first.
#include <pyro/file/LzssDecoder.h>

#include <cstddef>
#include <cstring>
#include <new>

namespace {

constexpr uint32_t kMask = CLzssDecoder::kRingSize - 1;
// A group is one flag byte and eight items of at most two bytes each.
constexpr std::ptrdiff_t kGroupInput = 1 + 8 * 2;
// Seven maximal references, then one that writes up to 32 bytes (two 16-byte blocks).
constexpr std::ptrdiff_t kGroupOutput = 7 * CLzssDecoder::kMaxMatch + 32;

// How far back from output byte number written the reference to ring slot position reads: 1 to
// 4096, since the slot being written holds the byte 4096 back.
inline size_t Distance(size_t written, uint32_t position)
{
    const uint32_t r = static_cast<uint32_t>(CLzssDecoder::kStartPosition + written) & kMask;
    return ((r - position - 1) & kMask) + 1;
}

// Copies a reference byte by byte, oldest first, so that an overlapping one repeats its pattern;
// bytes before the start of the output are the ring's zero fill.
inline void CopyBytes(unsigned char* out, const unsigned char* output, size_t distance, uint32_t length)
{
    const size_t written = static_cast<size_t>(out - output);
    for (uint32_t k = 0; k < length; ++k) {
        out[k] = written + k >= distance ? out[std::ptrdiff_t(k) - std::ptrdiff_t(distance)] : 0;
    }
}

// A reference far from the output's end: blocks of 16 or 8 bytes when the distance keeps every
// block's source behind its destination. May write up to 32 bytes whatever the length; the
// bytes past the length are overwritten by what follows.
inline void CopyReference(unsigned char* out, const unsigned char* output, size_t distance, uint32_t length)
{
    if (distance > static_cast<size_t>(out - output)) {
        CopyBytes(out, output, distance, length);
        return;
    }
    const unsigned char* from = out - distance;
    if (distance >= 16) {
        std::memcpy(out, from, 16);
        std::memcpy(out + 16, from + 16, 16);
    } else if (distance >= 8) {
        std::memcpy(out, from, 8);
        std::memcpy(out + 8, from + 8, 8);
        std::memcpy(out + 16, from + 16, 8);
    } else {
        // A short pattern repeats: after its first eight bytes, a whole number of periods of at
        // least eight bytes back holds the same bytes, far enough for blocks.
        for (int k = 0; k < 8; ++k) out[k] = from[k];
        const size_t period = distance * ((8 + distance - 1) / distance);
        std::memcpy(out + 8, out + 8 - period, 8);
        std::memcpy(out + 16, out + 16 - period, 8);
    }
}

}  // namespace

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

    const unsigned char* in = packed;
    const unsigned char* const inEnd = packed + packedSize;
    unsigned char* const start = output;
    unsigned char* out = start;
    unsigned char* const outEnd = start + outputSize;

    for (;;) {
        while (inEnd - in >= kGroupInput && outEnd - out >= kGroupOutput) {
            uint32_t flags = *in++;
            if (flags == 0xFF) {
                std::memcpy(out, in, 8);
                in += 8;
                out += 8;
                continue;
            }
            for (int item = 0; item < 8; ++item, flags >>= 1) {
                if (flags & 1) {
                    *out++ = *in++;
                    continue;
                }
                const uint32_t position = in[0] | ((in[1] & 0xF0u) << 4);
                const uint32_t length = (in[1] & 0x0Fu) + kMinMatch;
                in += 2;
                CopyReference(out, start, Distance(size_t(out - start), position), length);
                out += length;
            }
        }

        // Near an end: one group item by item.
        if (in == inEnd) break;
        uint32_t flags = *in++;
        for (int item = 0; item < 8; ++item, flags >>= 1) {
            if (flags & 1) {
                if (in == inEnd) break;
                *out++ = *in++;
                if (out == outEnd) return kDone;
                continue;
            }
            if (inEnd - in < 2) {
                in = inEnd;
                break;
            }
            const uint32_t position = in[0] | ((in[1] & 0xF0u) << 4);
            uint32_t length = (in[1] & 0x0Fu) + kMinMatch;
            in += 2;
            const bool last = length >= static_cast<size_t>(outEnd - out);
            if (last) length = static_cast<uint32_t>(outEnd - out);
            CopyBytes(out, start, Distance(size_t(out - start), position), length);
            out += length;
            if (last) return kDone;
        }
    }
    std::memset(out, 0, static_cast<size_t>(outEnd - out));
    return kInputEnded;
}
