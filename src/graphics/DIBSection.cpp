// DIB-section storage for planes: a top-down 32 bits-per-pixel section made on the screen's
// device context and selected into a memory DC of its own.
#include "graphics/DIBSection.h"

#include <windows.h>

#include <type_traits>

static_assert(std::is_same_v<PlaneDC, HDC> && std::is_same_v<PlaneBitmap, HBITMAP>,
              "the plane's handle types are the GDI handles");

bool CreatePlaneDIBSection(int32_t width, int32_t height, uint32_t** bits, PlaneBitmap* bitmap,
                           PlaneDC* dc)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: rows run top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    HDC screen = ::GetDC(nullptr);
    void* pixels = nullptr;
    HBITMAP section = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    if (!section || !pixels) {
        if (section) ::DeleteObject(section);
        return false;
    }
    HDC memory = ::CreateCompatibleDC(nullptr);
    if (!memory) {
        ::DeleteObject(section);
        return false;
    }
    ::SelectObject(memory, section);
    *bits = static_cast<uint32_t*>(pixels);
    *bitmap = section;
    *dc = memory;
    return true;
}

void DeletePlaneDIBSection(PlaneBitmap bitmap, PlaneDC dc)
{
    if (dc) ::DeleteDC(dc);
    if (bitmap) ::DeleteObject(bitmap);
}
