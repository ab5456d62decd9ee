// Fuzz target: the icon, cursor and GIF checks made before the platform's decoders see a file.
// An icon directory that passes has every entry inside the input; a GIF that passes has a
// logical screen under the cap.
#include <cstddef>
#include <cstdint>

#include "image/PictureFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (CheckIconDirectory(data, size) == PictureCheck::kPassed) {
        const size_t count = size_t(data[4]) | (size_t(data[5]) << 8);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* e = data + 6 + 16 * i;
            const uint64_t bytes = uint64_t(e[8]) | (uint64_t(e[9]) << 8) | (uint64_t(e[10]) << 16) | (uint64_t(e[11]) << 24);
            const uint64_t offset = uint64_t(e[12]) | (uint64_t(e[13]) << 8) | (uint64_t(e[14]) << 16) | (uint64_t(e[15]) << 24);
            if (offset + bytes > size) __builtin_trap();
        }
    }
    if (CheckGifFrames(data, size) == PictureCheck::kPassed &&
        !IsPictureSizeAllowed(uint32_t(data[6]) | (uint32_t(data[7]) << 8),
                              uint32_t(data[8]) | (uint32_t(data[9]) << 8)))
        __builtin_trap();
    return 0;
}
