// The behaviours CPlaneBase gives every drawing target: fade levels turned into rate pairs, the
// natural transfers routed by the source's alpha flag, and the anchored transfer.
#include <pyro/graphics/PlaneBase.h>

#include <pyro/graphics/Plane.h>

#include <algorithm>

namespace {
// Moving an anchor must not overflow: coordinates past the 32-bit range only draw nothing.
int32_t Offset(int32_t value, int64_t delta)
{
    const int64_t moved = int64_t(value) - delta;
    return int32_t(std::clamp<int64_t>(moved, INT32_MIN, INT32_MAX));
}
}

CPlaneBase::~CPlaneBase() = default;

int32_t CPlaneBase::GetType() const { return 0; }

int32_t CPlaneBase::BlendBltFade(CPlane* src, int32_t x, int32_t y, int32_t level,
                                 const Rect* srcRect, const Size* size, Rect* clip)
{
    return BlendBlt(src, x, y, FadeDstRate(level), FadeSrcRate(level), srcRect, size, clip);
}

int32_t CPlaneBase::BlendBltFastFade(CPlane* src, int32_t x, int32_t y, int32_t level,
                                     const Rect* srcRect, const Size* size, Rect* clip)
{
    return BlendBltFast(src, x, y, FadeDstRate(level), FadeSrcRate(level), srcRect, size, clip);
}

int32_t CPlaneBase::BlendBltAlphaFade(CPlane* src, int32_t x, int32_t y, int32_t level,
                                      const Rect* srcRect, const Size* size, Rect* clip)
{
    return BlendBltAlpha(src, x, y, FadeDstRate(level), FadeSrcRate(level), srcRect, size, clip);
}

int32_t CPlaneBase::BlendBltAlpha(CPlane*, int32_t, int32_t, uint32_t, uint32_t, const Rect*,
                                  const Size*, Rect*)
{
    return 0;
}

int32_t CPlaneBase::BltAlpha(CPlane*, int32_t, int32_t, const Rect*, const Size*, Rect*)
{
    return 0;
}

bool CPlaneBase::IsAlpha() const { return false; }

int32_t CPlaneBase::BlendBltNatural(CPlane* src, int32_t x, int32_t y, int32_t level,
                                    const Rect* srcRect, const Size* size, Rect* clip)
{
    if (level > 254) return BltNatural(src, x, y, srcRect, size, clip);
    const int32_t fade = level & 0xFF;
    if (src && src->IsAlpha()) return BlendBltAlphaFade(src, x, y, fade, srcRect, size, clip);
    return BlendBltFade(src, x, y, fade, srcRect, size, clip);
}

int32_t CPlaneBase::BltNatural(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                               const Size* size, Rect* clip)
{
    if (src && src->IsAlpha()) return BltAlpha(src, x, y, srcRect, size, clip);
    return Blt(src, x, y, srcRect, size, clip);
}

int32_t CPlaneBase::BltAnchored(CPlane* src, int32_t x, int32_t y, int32_t anchor, int32_t level)
{
    if (!src) return -1;
    int32_t w = 0;
    int32_t h = 0;
    src->GetSize(&w, &h);
    switch (anchor) {
    case 0: x = Offset(x, w >> 1); y = Offset(y, h >> 1); break;
    case 1: break;
    case 2: x = Offset(x, w); break;
    case 3: y = Offset(y, h); break;
    case 4: x = Offset(x, w); y = Offset(y, h); break;
    default: return -2;
    }
    return BlendBltNatural(src, x, y, level, nullptr, nullptr, nullptr);
}

int32_t CPlaneBase::Create(int32_t, int32_t) { return 1; }

int32_t CPlaneBase::GetAlphaAt(int32_t x, int32_t y) const
{
    int32_t w = 0;
    int32_t h = 0;
    GetSize(&w, &h);
    return x >= 0 && y >= 0 && x < w && y < h ? 255 : 0;
}
