#include "app/DpiScale.h"

#include <doctest/doctest.h>

#include <cstdint>

TEST_CASE("the whole scale is the monitor's scale rounded down, as far as the room allows")
{
    struct Case {
        uint32_t dpi;
        int32_t width, height, roomWidth, roomHeight, scale;
    };
    const Case cases[] = {
        {96, 320, 240, 1900, 1000, 1},
        {144, 320, 240, 1900, 1000, 1},  // 150 %: a scale of 1.5 would blur
        {191, 320, 240, 1900, 1000, 1},
        {192, 320, 240, 1900, 1000, 2},  // 200 %: 640 by 480
        {288, 320, 240, 1900, 1000, 3},
        {0, 320, 240, 1900, 1000, 1},    // unknown
        {192, 320, 240, 639, 1000, 1},   // one pixel too narrow for 640
        {192, 320, 240, 640, 480, 2},    // exactly fits
        {384, 320, 240, 1000, 800, 3},   // the room, not the monitor, limits it
        {384, 320, 240, 2000, 700, 2},   // the height decides
        {192, 0, 240, 1900, 1000, 1},
        {192, 320, 240, -50, -50, 1},
        {960, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 1},
        {UINT32_MAX, 1, 1, INT32_MAX, INT32_MAX, int32_t(UINT32_MAX / 96)},
    };
    for (const Case& c : cases) {
        CAPTURE(c.dpi);
        CAPTURE(c.width);
        CAPTURE(c.roomWidth);
        CHECK(LargestWholeScale(c.dpi, c.width, c.height, c.roomWidth, c.roomHeight) == c.scale);
    }
}
