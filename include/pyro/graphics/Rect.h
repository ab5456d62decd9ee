// Rectangle, size and point types shared by planes, the screen and the widgets. They carry no
// platform header: Rect has the layout of the Win32 RECT, Size of SIZE and Point of POINT, so the
// Windows-only code can hand them to GDI as they are.
#pragma once

#include <cstdint>

// Right and bottom are exclusive; a point is inside when left <= x < right and top <= y < bottom.
// A rectangle whose right is not past its left (or bottom past its top) is empty.
struct Rect {
    int32_t left;    // the first column inside
    int32_t top;     // the first row inside
    int32_t right;   // the first column outside
    int32_t bottom;  // the first row outside

    constexpr int32_t Width() const { return right - left; }  // negative when inverted
    constexpr int32_t Height() const { return bottom - top; }  // negative when inverted
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }  // no pixel inside
    // Whether the pixel (x, y) lies inside.
    constexpr bool Contains(int32_t x, int32_t y) const { return left <= x && x < right && top <= y && y < bottom; }
    // Whether the two share at least one pixel (never for an empty one).
    constexpr bool Intersects(const Rect& o) const
    {
        return !IsEmpty() && !o.IsEmpty() && left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    // The pixels both hold; {0, 0, 0, 0} when they share none.
    constexpr Rect Intersection(const Rect& o) const
    {
        if (!Intersects(o)) return {0, 0, 0, 0};
        return {left > o.left ? left : o.left, top > o.top ? top : o.top,
                right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom};
    }
    // The same rectangle moved by dx across and dy down.
    constexpr Rect Offset(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
};

// The rectangle of width w and height h whose top-left corner is (x, y).
constexpr Rect MakeRect(int32_t x, int32_t y, int32_t w, int32_t h) { return {x, y, x + w, y + h}; }

// A stretch size: width and height of the destination area.
struct Size {
    int32_t cx;  // width
    int32_t cy;  // height

    constexpr int32_t Width() const { return cx; }  // cx
    constexpr int32_t Height() const { return cy; }  // cy
};

// A position in pixels.
struct Point {
    int32_t x;  // across
    int32_t y;  // down
};
