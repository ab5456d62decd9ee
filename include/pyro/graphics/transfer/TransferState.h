// TransferState: what the clip and stretch set-up leaves in the destination plane for the pixel
// loop of one transfer: the clipped source and destination rectangles and the stepping values
// of a stretched transfer.
#pragma once

#include <pyro/graphics/Rect.h>

#include <cstddef>
#include <cstdint>

// Where a plane's pixels are: row 0 at base, each row pitch bytes after the one before.
struct PixelView {
    uint8_t* base;  // row 0
    ptrdiff_t pitch;  // bytes from one row to the next
};

// The clipped rectangles and the stepping of one transfer.
struct TransferState {
    // Source rectangle after clipping. A mirrored transfer reads each row leftwards from
    // srcRight - 1; the others rightwards from srcLeft.
    int32_t srcLeft = 0;
    int32_t srcTop = 0;  // the first source row
    int32_t srcRight = 0;  // one past the last source column
    int32_t srcBottom = 0;  // one past the last source row
    Rect dst{0, 0, 0, 0};  // the destination rectangle after clipping
    uint8_t oneToOne = 0;  // 1 when the transfer is not stretched
    // Stretched stepping: per destination pixel the source advances by step, plus one when
    // adding the remainder to the error carries out of 32 bits (the denominator is then taken
    // off the error). Each row restarts from xError; the rows step the same way.
    uint32_t xError = 0;
    uint32_t xRemainder = 0;  // added to the error per destination column
    uint32_t xDenominator = 0;  // taken off the error when it carries
    uint32_t xStep = 0;  // whole source columns per destination column
    uint32_t yError = 0;  // the rows' stepping, as the columns'
    uint32_t yRemainder = 0;  // as xRemainder, for rows
    uint32_t yDenominator = 0;  // as xDenominator, for rows
    uint32_t yStep = 0;  // as xStep, for rows
    // A mirrored stretch can step one pixel past the source rectangle's far edge. The last
    // xClamped pixels of every row and the last yClamped rows read the rectangle's last column
    // (srcLeft when mirrored) or last row (srcBottom - 1) instead.
    int32_t xClamped = 0;
    int32_t yClamped = 0;  // rows that read the last source row
};
