// TransferState: what the clip and stretch set-up leaves in the destination plane for the pixel
// loop of one transfer: the clipped source and destination rectangles and the stepping values
// of a stretched transfer.
#pragma once

#include <pyro/graphics/Rect.h>

#include <cstddef>
#include <cstdint>

// Where a plane's pixels are: row 0 at base, each row pitch bytes after the one before.
struct PixelView {
    uint8_t* base;
    ptrdiff_t pitch;
};

struct TransferState {
    // Source rectangle after clipping. A mirrored transfer reads each row leftwards from
    // srcRight - 1; the others rightwards from srcLeft.
    int32_t srcLeft = 0;
    int32_t srcTop = 0;
    int32_t srcRight = 0;
    int32_t srcBottom = 0;
    Rect dst{0, 0, 0, 0};
    uint8_t oneToOne = 0;
    // Stretched stepping: per destination pixel the source advances by step, plus one when
    // adding the remainder to the error carries out of 32 bits (the denominator is then taken
    // off the error). Each row restarts from xError; the rows step the same way.
    uint32_t xError = 0;
    uint32_t xRemainder = 0;
    uint32_t xDenominator = 0;
    uint32_t xStep = 0;
    uint32_t yError = 0;
    uint32_t yRemainder = 0;
    uint32_t yDenominator = 0;
    uint32_t yStep = 0;
    // A mirrored stretch can step one pixel past the source rectangle's far edge. The last
    // xClamped pixels of every row and the last yClamped rows read the rectangle's last column
    // (srcLeft when mirrored) or last row (srcBottom - 1) instead.
    int32_t xClamped = 0;
    int32_t yClamped = 0;
};
