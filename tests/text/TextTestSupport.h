// Helpers for the text tests: a DIB-section plane to draw on, and pixel counting on planes.
#pragma once

#include <pyro/graphics/Plane.h>

#include <doctest/doctest.h>
#include <windows.h>

#include <cstdint>

// Pixels 0x00RRGGBB of a plane equal to the colour.
inline int CountPixels(const CPlane& plane, uint32_t colour)
{
    int32_t w, h;
    plane.GetSize(&w, &h);
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) n += (plane.GetImpl()->GetPixel(x, y) & 0xFFFFFF) == colour;
    return n;
}

// Pixels that differ from the colour.
inline int CountOther(const CPlane& plane, uint32_t colour)
{
    int32_t w, h;
    plane.GetSize(&w, &h);
    return w * h - CountPixels(plane, colour);
}

// A plane with a device context, cleared to one colour.
struct Canvas {
    CPlane plane;
    Canvas(int32_t width, int32_t height, uint32_t colour)
    {
        plane.GetImpl()->SetUseDIB(true);
        REQUIRE(plane.Create(width, height) == 0);
        plane.GetImpl()->Clear(colour, nullptr);
    }
    HDC DC() const { return plane.GetImpl()->GetDC(); }
    // Makes what GDI drew visible in the pixels.
    const CPlane& Flushed() const
    {
        GdiFlush();
        return plane;
    }
};

// GDI colour values (0x00BBGGRR) and the pixels (0x00RRGGBB) they give.
constexpr uint32_t kGdiRed = 0x0000FF;
constexpr uint32_t kPixelRed = 0xFF0000;
constexpr uint32_t kGdiBlue = 0xFF0000;
constexpr uint32_t kPixelBlue = 0x0000FF;
constexpr uint32_t kGdiGreen = 0x00FF00;
constexpr uint32_t kPixelGreen = 0x00FF00;
