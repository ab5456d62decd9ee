// Fuzz target: the bitmap header checks and the readers of an accepted bitmap (24-bit rows into
// 32-bit pixels, colour table into a palette), and the check of a plug-in's information block.
// Nothing may be read outside the input nor written outside the pixels its size allows.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <pyro/image/BitmapHeader.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    BitmapLayout layout;
    if (ParseBitmapFile(data, size, layout)) {
        if (layout.bitCount == 24 && layout.compression == kBitmapRgb) {
            // The rows lie inside the input, so this is at most 4/3 of its size.
            std::vector<uint32_t> pixels(size_t(layout.width) * layout.rows);
            CopyBitmapRows24(data, layout, pixels.data(), layout.width * 4);
        }
        if (layout.bitCount <= 8) {
            uint8_t entries[256 * 4];
            FillBitmapPalette(data, layout, entries);
        }
    }

    // The same bytes as a plug-in's two blocks: the first two bytes say where the information
    // block ends. Each block is copied to memory of its own size so that reading past either
    // is caught.
    if (size > 2) {
        const size_t infoBytes = std::min<size_t>(size - 2, data[0] | (data[1] << 8));
        const std::vector<uint8_t> info(data + 2, data + 2 + infoBytes);
        BitmapLayout block;
        CheckBitmapInfo(info.empty() ? nullptr : info.data(), info.size(),
                        size - 2 - infoBytes, block);
    }
    return 0;
}
