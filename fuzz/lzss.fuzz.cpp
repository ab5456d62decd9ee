// Fuzz target: CLzssDecoder on arbitrary streams (it must never read past the packed data nor
// write past the output, and must give exactly the bytes of the plain ring decoder), and the
// encoder's round trip on arbitrary data.
// Input: two bytes of output size (little-endian; bit 0 also selects the allocate flag), then
// the packed stream.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <pyro/file/LzssDecoder.h>
#include "tests/file/LzssReference.h"
#include "tools/LzssEncoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) return 0;
    const uint32_t outputSize = data[0] | (data[1] << 8);
    const bool allocate = (data[0] & 1) != 0;
    const unsigned char* packed = data + 2;
    const uint32_t packedSize = static_cast<uint32_t>(size - 2);

    CLzssDecoder decoder;
    if (allocate) {
        unsigned char* output = nullptr;
        const int result = decoder.Decode(packed, packedSize, output, outputSize, true);
        if (result == CLzssDecoder::kEmptyOutput ? output != nullptr : output == nullptr) std::abort();
        delete[] output;
    } else {
        // Exactly sized, so the sanitizer sees any write past the end.
        unsigned char* output = new unsigned char[outputSize ? outputSize : 1];
        const int result = decoder.Decode(packed, packedSize, output, outputSize, false);
        if (outputSize == 0 ? result != CLzssDecoder::kEmptyOutput
                            : result != CLzssDecoder::kDone && result != CLzssDecoder::kInputEnded) {
            std::abort();
        }
        std::vector<unsigned char> expected;
        const bool complete = ReferenceLzssDecode(packed, packedSize, outputSize, expected);
        expected.resize(outputSize, 0);
        if (outputSize > 0
            && (result != (complete ? CLzssDecoder::kDone : CLzssDecoder::kInputEnded)
                || std::memcmp(output, expected.data(), outputSize) != 0)) {
            std::abort();
        }
        delete[] output;
    }

    const std::vector<unsigned char> encoded = CLzssEncoder::Encode(packed, packedSize);
    if (packedSize > 0) {
        std::vector<unsigned char> decoded(packedSize);
        unsigned char* output = decoded.data();
        if (decoder.Decode(encoded.data(), static_cast<uint32_t>(encoded.size()), output, packedSize, false)
                != 0
            || std::memcmp(decoded.data(), packed, packedSize) != 0) {
            std::abort();
        }
    }
    return 0;
}
