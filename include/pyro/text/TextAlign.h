// How the lines of a text lie in their box: left, centred or right. Portable.
#pragma once

#include <cstdint>

// The alignment of each line of a text in its box.
enum class TextAlign {
    kLeft,    // lines start at the box's left edge (the default)
    kCentre,  // lines centred, rounding down
    kRight,   // lines end at the box's right edge
};

// The x offset of a line of lineWidth in a box of boxWidth; a line wider than its box starts at 0
// whatever the alignment, so that its start shows.
int32_t AlignOffset(TextAlign align, int32_t boxWidth, int32_t lineWidth);
