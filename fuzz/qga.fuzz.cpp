// Fuzz target: the qga header checks and the pixel decoding of an accepted file, into a block
// of exactly the pixel length. Nothing may be read outside the input or written past the pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

#include <pyro/image/QgaHeader.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QgaHeader header;
    if (ReadQgaHeader(data, size, header) != kQgaDone) return 0;
    // The checks bound the length by nine times the input.
    std::vector<uint8_t> pixels(header.length);
    DecodeQgaPixels(data, size, header, pixels.data());
    return 0;
}
