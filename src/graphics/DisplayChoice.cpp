// The choice of the display back-end: the environment switch over the program's option.
#include <pyro/graphics/DisplayChoice.h>

#include <cstdlib>
#include <cstring>

DisplayKind ChooseDisplayKind(DisplayKind asked, const char* forced)
{
    if (!forced) return asked;
    if (std::strcmp(forced, "auto") == 0) return DisplayKind::kAuto;
    if (std::strcmp(forced, "dib") == 0) return DisplayKind::kDIB;
    if (std::strcmp(forced, "d3d11") == 0) return DisplayKind::kD3D11;
    return asked;
}

DisplayKind ChooseDisplayKind(DisplayKind asked) { return ChooseDisplayKind(asked, std::getenv("PYRO_DISPLAY")); }
