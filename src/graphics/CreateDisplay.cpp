// CreateDisplay: the screen of the chosen kind.
#include <pyro/graphics/D3D11Draw.h>
#include <pyro/graphics/DisplayChoice.h>

#include <new>

CDIBDraw* CreateDisplay(DisplayKind kind)
{
    try {
        if (kind == DisplayKind::kDIB) return new CDIBDraw;
        auto* draw = new CD3D11Draw;
        // A failed start has written its line and left the screen on GDI.
        draw->Start();
        return draw;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
