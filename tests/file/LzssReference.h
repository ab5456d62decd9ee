// Test oracle: the LZSS decoder written the plain way, byte by byte through a zero-filled ring of
// 4096 slots starting at slot 4078, stopping at whichever end comes first. CLzssDecoder must give
// exactly its bytes and result; the unit tests and the lzss fuzz target compare the two.
#pragma once

#include <cstdint>
#include <vector>

// The bytes decoded (as many as were produced, at most outputSize) and whether outputSize was
// reached before the packed data ran out.
inline bool ReferenceLzssDecode(const unsigned char* packed, size_t packedSize, size_t outputSize,
                                std::vector<unsigned char>& out)
{
    unsigned char ring[4096] = {};
    uint32_t r = 4096 - 18;
    uint32_t flags = 0;
    size_t in = 0;
    out.clear();
    if (outputSize == 0) return true;
    for (;;) {
        flags >>= 1;
        if ((flags & 0x100) == 0) {
            if (in == packedSize) return false;
            flags = packed[in++] | 0xFF00u;
        }
        uint32_t position = 0;
        uint32_t length = 1;
        if (flags & 1) {
            if (in == packedSize) return false;
        } else {
            if (packedSize - in < 2) return false;
            position = packed[in] | ((packed[in + 1] & 0xF0u) << 4);
            length = (packed[in + 1] & 0x0Fu) + 3;
        }
        for (uint32_t k = 0; k < length; ++k) {
            const unsigned char c = (flags & 1) ? packed[in] : ring[(position + k) & 0xFFF];
            out.push_back(c);
            ring[r] = c;
            r = (r + 1) & 0xFFF;
            if (out.size() == outputSize) return true;
        }
        in += (flags & 1) ? 1 : 2;
    }
}
