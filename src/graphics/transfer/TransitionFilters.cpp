// Transition effects on the whole picture at once: the cross-fade, and the mosaic and negative
// that draw the source and then treat the area it covers in place.
#include "graphics/transfer/TransitionEffects.h"

#include <algorithm>

namespace {

// The area the whole source covers on the destination, cut to the clip rectangle when one is
// given and to the destination itself; false when nothing of it remains.
bool DrawnArea(const TransitionStep& t, Rect& area)
{
    int32_t dw = 0;
    int32_t dh = 0;
    t.dst->GetSize(&dw, &dh);
    int64_t left = std::max<int64_t>(t.x, 0);
    int64_t top = std::max<int64_t>(t.y, 0);
    int64_t right = std::min<int64_t>(int64_t(t.x) + t.w, dw);
    int64_t bottom = std::min<int64_t>(int64_t(t.y) + t.h, dh);
    if (t.clip) {
        left = std::max<int64_t>(left, t.clip->left);
        top = std::max<int64_t>(top, t.clip->top);
        right = std::min<int64_t>(right, t.clip->right);
        bottom = std::min<int64_t>(bottom, t.clip->bottom);
    }
    if (left >= right || top >= bottom) return false;
    area = Rect{int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
    return true;
}

}  // namespace

// The phase is the fade level; each mode has its blending counterpart.
void CrossFade(const TransitionStep& t)
{
    switch (t.mode) {
    case 0: t.dst->BlendBltFastFade(t.src, t.x, t.y, t.phase, nullptr, nullptr, t.clip); break;
    case 1: t.dst->BlendBltFade(t.src, t.x, t.y, t.phase, nullptr, nullptr, t.clip); break;
    case 2: t.dst->BlendBltAlphaFade(t.src, t.x, t.y, t.phase, nullptr, nullptr, t.clip); break;
    case 3: t.dst->BlendBltNatural(t.src, t.x, t.y, t.phase, nullptr, nullptr, t.clip); break;
    }
}

// The blocks shrink from 64 pixels to 1 as the phase rises.
void MosaicFade(const TransitionStep& t)
{
    t.Transfer(t.x, t.y, nullptr, nullptr);
    Rect area;
    if (DrawnArea(t, area)) t.dst->Mosaic(((255 - t.phase) >> 2) + 1, &area);
}

void Negative(const TransitionStep& t)
{
    t.Transfer(t.x, t.y, nullptr, nullptr);
    Rect area;
    if (DrawnArea(t, area)) t.dst->Negate(&area);
}
