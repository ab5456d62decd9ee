// The whole magnification of a window on a high-DPI monitor: pixels stay crisp only when each one
// becomes a whole block, so a 150 % monitor keeps the requested size and a 200 % one doubles it.
#pragma once

#include <cstdint>

// The monitor's scale (dpi / 96) rounded down, lowered while a client area of width by height
// magnified by it would not fit the room (the monitor's work area less the window frame); at
// least 1, also for a DPI of 0 (unknown) and for sizes of 0 or less.
int32_t LargestWholeScale(uint32_t dpi, int32_t width, int32_t height, int32_t roomWidth, int32_t roomHeight);
