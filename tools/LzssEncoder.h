// CLzssEncoder: writes the LZSS stream that CLzssDecoder reads (a 4096-byte ring that starts
// zero-filled, references of 3 to 18 bytes, flag bytes announcing eight items each), for the
// packer and the qga converter.
#pragma once

#include <cstddef>
#include <vector>

class CLzssEncoder {
public:
    // The coded form of size bytes; empty for empty input.
    static std::vector<unsigned char> Encode(const unsigned char* data, size_t size);
};
