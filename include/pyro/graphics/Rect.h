// Rectangle, size and point types shared by planes, the screen and the widgets. They carry no
// platform header: Rect has the layout of the Win32 RECT, Size of SIZE and Point of POINT, so the
// Windows-only code can hand them to GDI as they are.
#pragma once

#include <cstdint>

// Right and bottom are exclusive; a point is inside when left <= x < right and top <= y < bottom.
struct Rect {
    int32_t left;    // the first column inside
    int32_t top;     // the first row inside
    int32_t right;   // the first column outside
    int32_t bottom;  // the first row outside
};

// A stretch size: width and height of the destination area.
struct Size {
    int32_t cx;  // width
    int32_t cy;  // height
};

// A position in pixels.
struct Point {
    int32_t x;  // across
    int32_t y;  // down
};
