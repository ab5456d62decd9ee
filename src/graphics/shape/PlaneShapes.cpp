// CPlane::Shapes: a plane's pixels as a shape surface, filled by the span writers of the
// plane's own set.
#include <pyro/graphics/Plane.h>

#include "graphics/DIBPlane.h"
#include "graphics/DIBPlaneAVX2.h"
#include "graphics/DIBPlaneMMX.h"

namespace {

// The processor kind of an implementation's set.
int32_t KindOf(const CPlaneImpl* impl)
{
    if (dynamic_cast<const CDIBPlaneAVX2*>(impl)) return 6;
    if (dynamic_cast<const CDIBPlaneSSE2*>(impl)) return 5;
    if (dynamic_cast<const CDIBPlaneMMX*>(impl)) return 3;
    return 1;
}

}  // namespace

CShapes CPlane::Shapes()
{
    const CPlaneImpl* impl = GetImpl();
    int32_t w = 0, h = 0;
    impl->GetSize(&w, &h);
    ShapeSurface s = {impl->GetPixels(), impl->GetPitch(), w, h, {0, 0, w, h}, 1, 0, 0, KindOf(impl)};
    return CShapes(s);
}
