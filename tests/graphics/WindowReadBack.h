// Reads a window's client area back through GDI; shared by the screens' tests.
#pragma once

#include <pyro/graphics/Plane.h>

#include <doctest/doctest.h>
#include <windows.h>

#include <cstdint>
#include <vector>

// The top-left width by height pixels of the client area as 0x00RRGGBB, copied through GDI.
inline std::vector<uint32_t> ReadClientArea(HWND hwnd, int width, int height)
{
    CPlane copy;
    copy.GetImpl()->SetUseDIB(true);
    REQUIRE(copy.Create(width, height) == 0);
    HDC windowDC = GetDC(hwnd);
    BitBlt(copy.GetImpl()->GetDC(), 0, 0, width, height, windowDC, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, windowDC);
    GdiFlush();
    std::vector<uint32_t> pixels(copy.GetImpl()->GetPixels(), copy.GetImpl()->GetPixels() + width * height);
    for (uint32_t& p : pixels) p &= 0x00FFFFFF;
    return pixels;
}
