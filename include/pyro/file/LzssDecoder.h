// CLzssDecoder: the LZSS decoder shared by archive members and qga images. The stream is a
// sequence of flag bytes, each announcing eight items (bit set: one literal byte; clear: a
// two-byte reference of 3 to 18 bytes into a 4096-byte ring that starts zero-filled). The ring
// is the last 4096 bytes of the output itself, so the decoder keeps no state between calls.
#pragma once

#include <cstdint>

class CLzssDecoder {
public:
    static constexpr uint32_t kRingSize = 4096;  // bytes of the ring that references point into
    static constexpr uint32_t kMaxMatch = 18;  // the longest reference
    static constexpr uint32_t kMinMatch = 3;  // the shortest reference
    // Where the first byte goes: references at the start of a stream reach into the zero fill.
    static constexpr uint32_t kStartPosition = kRingSize - kMaxMatch;

    // Results of Decode.
    enum Result {
        kDone = 0,
        kEmptyOutput = 1,  // output size 0: nothing written, nothing allocated
        kInputEnded = 2,   // the packed data ran out first; the rest of the output is zero
        kNoMemory = 3,     // the output could not be allocated
        kBadArgument = -1  // no output buffer
    };

    // Decodes packed (packedSize bytes) until exactly outputSize bytes are produced. With allocate
    // set, output receives a new block of outputSize bytes (new[]) that the caller then owns; on
    // kInputEnded that block is handed over too. Otherwise output must hold outputSize bytes.
    int Decode(const unsigned char* packed, uint32_t packedSize, unsigned char*& output,
               uint32_t outputSize, bool allocate);
};
