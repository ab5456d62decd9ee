// qga images, the framework's own alpha format: a 24-byte header (a word not examined, width,
// height, compressed flag, pixel byte length, a word not examined) and 32-bit pixels 0xAARRGGBB,
// rows top-down, stored as they are or LZSS-coded. These checks decide, before a plane is
// allocated, whether the header and the data fit together; the decoding never leaves them.
#pragma once

#include <cstdint>

// The fields of a qga header that the loader uses.
struct QgaHeader {
    static constexpr uint32_t kSize = 24;  // bytes of the header
    // The largest image taken: the largest plane (1 GiB of pixels).
    static constexpr uint64_t kMaxPixelBytes = uint64_t(1) << 30;

    uint32_t width = 0;  // pixels across
    uint32_t height = 0;  // pixels down
    bool compressed = false;  // the pixels are LZSS-coded
    uint32_t length = 0;  // pixel bytes after decoding
};

// Results; they are the plane loader's codes for the same failures.
enum QgaResult {
    kQgaDone = 0,
    kQgaNoHeader = 1,  // shorter than the header
    kQgaBadSize = 2,   // width or height 0, or more pixels than the largest plane
    kQgaBadData = 3    // length beyond width × height × 4, coded length 0, or data too short
};

// Reads the header and checks it against the size bytes of the file. Stored data must hold the
// length; coded data must be able to expand to it (an LZSS byte yields at most 9 bytes).
int ReadQgaHeader(const uint8_t* content, uint64_t size, QgaHeader& header);

// Writes exactly header.length pixel bytes to destination from a file accepted by
// ReadQgaHeader: kQgaDone, or kQgaBadData when the coded data ends first (the rest is then 0).
int DecodeQgaPixels(const uint8_t* content, uint64_t size, const QgaHeader& header,
                    uint8_t* destination);
