// CScreenView: the transfer family, the fades, rotation, quadrilateral mapping, the displacement
// transfer and the in-place effects in logical coordinates, generated from the transfer list and
// mapped onto the back buffer by the portable ViewTransfer functions.
#include <pyro/game/ScreenView.h>

#include "game/ViewTransfer.h"

namespace {

ViewGeometry GeometryOf(const CScreenView& view)
{
    return {view.GetOriginX(), view.GetOriginY(), view.GetMagnification(),
            view.GetLogicalWidth(), view.GetLogicalHeight()};
}

// The back buffer's implementation, marked as drawn on; null while there is none.
CPlaneImpl* PhysicalOf(const CScreenView& view)
{
    CPlane* secondary = view.GetDraw()->GetSecondary();
    return secondary && secondary->GetImpl()->GetPixels() ? secondary->GetImpl() : nullptr;
}

// An in-place effect on the mapped rectangle: 1 without a back buffer.
template <typename Effect>
int32_t OnBlocks(const CScreenView& view, const Rect* rect, Effect effect)
{
    CPlaneImpl* physical = PhysicalOf(view);
    if (!physical) return 1;
    const Rect mapped = GeometryOf(view).MapRect(rect);
    return effect(*physical, mapped);
}

}  // namespace

#define PYRO_VIEW_TRANSFER_DEFINE(name, rule, mirrored, key, args)                              \
    int32_t CScreenView::name(PYRO_TRANSFER_READ_DEFINITION_##args)                             \
    {                                                                                           \
        return ViewTransfer(GeometryOf(*this), PhysicalOf(*this), mirrorScratch_,               \
                            ViewTransferOps::name, src, x, y, PYRO_TRANSFER_RATES_##args,       \
                            srcRect, size, clip);                                               \
    }
PYRO_TRANSFERS(PYRO_VIEW_TRANSFER_DEFINE)
#undef PYRO_VIEW_TRANSFER_DEFINE

int32_t CScreenView::TransferFade(const CPlane* src, int32_t x, int32_t y, int32_t level,
                                  const Rect* srcRect, const Size* size, const Rect* clip)
{
    // Levels beyond 0..256 are the nearest end, as on a plane.
    if (level <= 0) return 0;
    if (level >= 256) return TransferAuto(src, x, y, srcRect, size, clip);
    return ViewTransfer(GeometryOf(*this), PhysicalOf(*this), mirrorScratch_,
                        ViewTransferOps::TransferFade, src, x, y, uint32_t(level), 0, srcRect,
                        size, clip);
}

int32_t CScreenView::TransferAuto(const CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                  const Size* size, const Rect* clip)
{
    return ViewTransfer(GeometryOf(*this), PhysicalOf(*this), mirrorScratch_,
                        ViewTransferOps::TransferAuto, src, x, y, 0, 0, srcRect, size, clip);
}

int32_t CScreenView::RotateBlt(const CPlane* src, const Rect* srcRect, int32_t x, int32_t y,
                               int32_t angle, int32_t zoom, int32_t anchor, const Rect* clip)
{
    return ViewRotate(GeometryOf(*this), PhysicalOf(*this), true, src, srcRect, x, y, angle, zoom,
                      anchor, clip);
}

int32_t CScreenView::RotateBltFast(const CPlane* src, const Rect* srcRect, int32_t x, int32_t y,
                                   int32_t angle, int32_t zoom, int32_t anchor, const Rect* clip)
{
    return ViewRotate(GeometryOf(*this), PhysicalOf(*this), false, src, srcRect, x, y, angle,
                      zoom, anchor, clip);
}

int32_t CScreenView::MorphBlt(const CPlane* src, const Point* srcPoints, const Point* dstPoints,
                              const Rect* clip, int32_t divisorFlag)
{
    return ViewMorph(GeometryOf(*this), PhysicalOf(*this), true, src, srcPoints, dstPoints, clip,
                     divisorFlag);
}

int32_t CScreenView::MorphBltFast(const CPlane* src, const Point* srcPoints,
                                  const Point* dstPoints, const Rect* clip, int32_t divisorFlag)
{
    return ViewMorph(GeometryOf(*this), PhysicalOf(*this), false, src, srcPoints, dstPoints, clip,
                     divisorFlag);
}

int32_t CScreenView::MorphBltFromRect(const CPlane* src, const Rect* srcRect,
                                      const Point* dstPoints, const Rect* clip)
{
    return ViewMorphFromRect(GeometryOf(*this), PhysicalOf(*this), true, src, srcRect, dstPoints,
                             clip);
}

int32_t CScreenView::MorphBltFastFromRect(const CPlane* src, const Rect* srcRect,
                                          const Point* dstPoints, const Rect* clip)
{
    return ViewMorphFromRect(GeometryOf(*this), PhysicalOf(*this), false, src, srcRect,
                             dstPoints, clip);
}

int32_t CScreenView::MorphBltToRect(const CPlane* src, const Point* srcPoints,
                                    const Rect* dstRect, const Rect* clip)
{
    return ViewMorphToRect(GeometryOf(*this), PhysicalOf(*this), true, src, srcPoints, dstRect,
                           clip);
}

int32_t CScreenView::MorphBltFastToRect(const CPlane* src, const Point* srcPoints,
                                        const Rect* dstRect, const Rect* clip)
{
    return ViewMorphToRect(GeometryOf(*this), PhysicalOf(*this), false, src, srcPoints, dstRect,
                           clip);
}

int32_t CScreenView::DisplaceBlt(const CPlane* src, const Point* table, int32_t x, int32_t y,
                                 const Rect* srcRect, const Rect* clip)
{
    return ViewDisplace(GeometryOf(*this), PhysicalOf(*this), src, table, x, y, srcRect, clip);
}

int32_t CScreenView::AddColor(uint32_t colour, const Rect* rect)
{
    return OnBlocks(*this, rect, [&](CPlaneImpl& p, const Rect& r) { return p.AddColor(colour, &r); });
}

int32_t CScreenView::SubColor(uint32_t colour, const Rect* rect)
{
    return OnBlocks(*this, rect, [&](CPlaneImpl& p, const Rect& r) { return p.SubColor(colour, &r); });
}

int32_t CScreenView::Blur(const Rect* rect)
{
    return OnBlocks(*this, rect, [](CPlaneImpl& p, const Rect& r) { return p.Blur(&r); });
}

int32_t CScreenView::ScaleColor(int32_t rate, const Rect* rect)
{
    return OnBlocks(*this, rect, [&](CPlaneImpl& p, const Rect& r) { return p.ScaleColor(rate, &r); });
}

int32_t CScreenView::ScaleAlpha(int32_t rate, const Rect* rect)
{
    return OnBlocks(*this, rect, [&](CPlaneImpl& p, const Rect& r) { return p.ScaleAlpha(rate, &r); });
}

int32_t CScreenView::NegateAlpha(const Rect* rect)
{
    return OnBlocks(*this, rect, [](CPlaneImpl& p, const Rect& r) { return p.NegateAlpha(&r); });
}
