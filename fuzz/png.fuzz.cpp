// Fuzz target: the PNG checks made before the imaging component sees a file (signature, header
// size, chunk walk with checksums). Nothing may be read outside the input, and a file the walk
// accepts must end in a whole IEND chunk.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "image/PictureFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint32_t width = 0;
    uint32_t height = 0;
    if (ReadPngSize(data, size, width, height)) IsPictureSizeAllowed(width, height);
    if (CheckPngChunks(data, size)) {
        bool foundEnd = false;
        for (size_t at = 8; at + 12 <= size && !foundEnd; at += 12) {
            foundEnd = std::memcmp(data + at + 4, "IEND", 4) == 0;
            if (!foundEnd) {
                const size_t length = (size_t(data[at]) << 24) | (size_t(data[at + 1]) << 16) |
                                      (size_t(data[at + 2]) << 8) | data[at + 3];
                at += length;
            }
        }
        if (!foundEnd) __builtin_trap();
    }
    return 0;
}
