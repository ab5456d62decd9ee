// Logical-to-physical mapping of the transfer family, rotation, quadrilateral mapping and the
// displacement transfer for a magnified logical screen. Coordinates are widened to 64 bits
// before they are magnified; a physical value outside 32 bits lies so far off the plane that
// nothing could show, since no stretch reaches kMaxTransferExtent.
#include "game/ViewTransfer.h"

#include "graphics/transfer/PrepareTransfer.h"

#include <algorithm>

namespace {

int32_t Clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

bool Fits32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

// A plane is only read by the transfers that take it as their source.
CPlane* Readable(const CPlane* src) { return const_cast<CPlane*>(src); }

struct Span {
    int64_t lo, hi;
};

// The source rectangle the transfer reads: the given one or the source's bounds.
Rect SourceRect(const CPlane& src, const Rect* srcRect)
{
    if (srcRect) return *srcRect;
    int32_t w = 0;
    int32_t h = 0;
    src.GetSize(&w, &h);
    return {0, 0, w, h};
}

}  // namespace

Rect ViewGeometry::Active() const
{
    const int64_t m = magnification;
    return {originX, originY, Clamp32(originX + logicalWidth * m),
            Clamp32(originY + logicalHeight * m)};
}

Rect ViewGeometry::MapRect(const Rect* rect) const
{
    const Rect active = Active();
    if (!rect) return active;
    const int64_t m = magnification;
    // Cut in 64 bits first: a far-off rectangle comes out empty, not wrapped.
    const int64_t left = std::max<int64_t>(rect->left * m + originX, active.left);
    const int64_t top = std::max<int64_t>(rect->top * m + originY, active.top);
    const int64_t right = std::min<int64_t>(rect->right * m + originX, active.right);
    const int64_t bottom = std::min<int64_t>(rect->bottom * m + originY, active.bottom);
    return {Clamp32(left), Clamp32(top), Clamp32(right), Clamp32(bottom)};
}

Point ViewGeometry::MapPoint(Point p) const
{
    const int64_t m = magnification;
    return {Clamp32(p.x * m + originX), Clamp32(p.y * m + originY)};
}

namespace ViewTransferOps {
#define PYRO_VIEW_CALL_Plain(name) dst.name(src, x, y, srcRect, size, clip)
#define PYRO_VIEW_CALL_Rates(name) dst.name(src, x, y, dstRate, srcRate, srcRect, size, clip)
#define PYRO_VIEW_LAMBDA(name, args)                                                          \
    [](CPlaneImpl& dst, CPlane* src, int32_t x, int32_t y, [[maybe_unused]] uint32_t dstRate, \
       [[maybe_unused]] uint32_t srcRate, const Rect* srcRect, const Size* size,              \
       Rect* clip) -> int32_t { return PYRO_VIEW_CALL_##args(name); }
// Each unmirrored row defines itself and its mirrored twin, which it names; the mirrored rows
// add nothing.
#define PYRO_VIEW_OPS_false(name, args)                                                  \
    const ViewTransferOp name = {PYRO_VIEW_LAMBDA(name, args), nullptr};                 \
    const ViewTransferOp name##Mirrored = {PYRO_VIEW_LAMBDA(name##Mirrored, args),       \
                                           PYRO_VIEW_LAMBDA(name, args)};
#define PYRO_VIEW_OPS_true(name, args)
#define PYRO_VIEW_OP_DEFINE(name, rule, mirrored, key, args) PYRO_VIEW_OPS_##mirrored(name, args)
PYRO_TRANSFERS(PYRO_VIEW_OP_DEFINE)
#undef PYRO_VIEW_OP_DEFINE
#undef PYRO_VIEW_OPS_true
#undef PYRO_VIEW_OPS_false
#undef PYRO_VIEW_LAMBDA
#undef PYRO_VIEW_CALL_Rates
#undef PYRO_VIEW_CALL_Plain

const ViewTransferOp TransferFade = {
    [](CPlaneImpl& dst, CPlane* src, int32_t x, int32_t y, uint32_t level, uint32_t,
       const Rect* srcRect, const Size* size, Rect* clip) -> int32_t {
        return dst.TransferFade(src, x, y, int32_t(level), srcRect, size, clip);
    },
    nullptr};
const ViewTransferOp TransferAuto = {
    [](CPlaneImpl& dst, CPlane* src, int32_t x, int32_t y, uint32_t, uint32_t,
       const Rect* srcRect, const Size* size, Rect* clip) -> int32_t {
        return dst.TransferAuto(src, x, y, srcRect, size, clip);
    },
    nullptr};
}  // namespace ViewTransferOps

namespace {

// The magnified stretch of an unmirrored transfer. With the size m * n + 1 placed one pixel up
// and left, the stepping puts logical column j on physical columns m * j to m * j + m - 1
// exactly, plus a copy of column 0 in front; the clip cuts that copy off, so a transfer that
// blends (add, mix...) touches nothing outside its logical destination.
int32_t Magnified(const ViewGeometry& view, CPlaneImpl& physical, ViewTransferCall call,
                  CPlane* src, int64_t x, int64_t y, uint32_t dstRate, uint32_t srcRate,
                  const Rect* srcRect, const Size& logical, Rect clip)
{
    const int64_t m = view.magnification;
    const int64_t width = logical.cx * m;
    const int64_t height = logical.cy * m;
    if (width + 1 > kMaxTransferExtent || height + 1 > kMaxTransferExtent) return 0;
    const int64_t left = view.originX + x * m;
    const int64_t top = view.originY + y * m;
    if (!Fits32(left - 1) || !Fits32(top - 1)) return 0;  // far off the plane
    clip.left = Clamp32(std::max<int64_t>(clip.left, left));
    clip.top = Clamp32(std::max<int64_t>(clip.top, top));
    clip.right = Clamp32(std::min<int64_t>(clip.right, left + width));
    clip.bottom = Clamp32(std::min<int64_t>(clip.bottom, top + height));
    const Size size = {int32_t(width + 1), int32_t(height + 1)};
    return call(physical, src, int32_t(left - 1), int32_t(top - 1), dstRate, srcRate, srcRect,
                &size, &clip);
}

// A mirrored one-to-one transfer above magnification 1: the source columns that can show are
// mirrored into the scratch plane (one to one, so exactly), which the unmirrored twin then
// magnifies block for block. The scratch takes the source's colour key and alpha flag, so the
// keyed and the routing rules see what they would have seen in the source.
int32_t MirroredMagnified(const ViewGeometry& view, CPlaneImpl& physical, CPlane& scratch,
                          const ViewTransferOp& op, CPlane* src, int32_t x, int32_t y,
                          uint32_t dstRate, uint32_t srcRate, const Rect* srcRect,
                          const Rect* clip)
{
    const Rect from = SourceRect(*src, srcRect);
    int32_t planeW = 0;
    int32_t planeH = 0;
    src->GetSize(&planeW, &planeH);
    // Columns: source column c lands at x + (from.right - 1 - c); rows as usual.
    Span cols = {std::max<int64_t>(from.left, 0), std::min<int64_t>(from.right, planeW)};
    Span rows = {std::max<int64_t>(from.top, 0), std::min<int64_t>(from.bottom, planeH)};
    if (cols.lo >= cols.hi || rows.lo >= rows.hi) return 0;
    const Rect screen = {0, 0, view.logicalWidth, view.logicalHeight};
    const Rect visible = clip ? screen.Intersection(*clip) : screen;
    if (visible.IsEmpty()) return 0;
    // Destination columns x + from.right - 1 - c for c in cols must lie in the visible span.
    const int64_t mirror = int64_t(x) + from.right - 1;  // destination of column c is mirror - c
    cols.lo = std::max<int64_t>(cols.lo, mirror - (visible.right - 1));
    cols.hi = std::min<int64_t>(cols.hi, mirror - visible.left + 1);
    rows.lo = std::max<int64_t>(rows.lo, visible.top - (int64_t(y) - from.top));
    rows.hi = std::min<int64_t>(rows.hi, visible.bottom - (int64_t(y) - from.top));
    if (cols.lo >= cols.hi || rows.lo >= rows.hi) return 0;

    const int32_t w = int32_t(cols.hi - cols.lo);
    const int32_t h = int32_t(rows.hi - rows.lo);
    if (scratch.GetImpl()->Resize(w, h) != 0) return 0;
    const Rect part = {int32_t(cols.lo), int32_t(rows.lo), int32_t(cols.hi), int32_t(rows.hi)};
    CPlaneImpl& mirrored = *scratch.GetImpl();
    mirrored.TransferCopyMirrored(src, 0, 0, &part, nullptr, nullptr);
    const uint32_t key = src->GetImpl()->GetColorKey();
    mirrored.SetColorKey(int32_t(key >> 16) & 0xFF, int32_t(key >> 8) & 0xFF, int32_t(key) & 0xFF);
    mirrored.GetAlphaFlag() = src->GetImpl()->IsAlpha() ? 1 : 0;
    // The scratch's column 0 is source column cols.hi - 1.
    const int64_t left = mirror - (cols.hi - 1);
    const int64_t top = int64_t(y) - from.top + rows.lo;
    return Magnified(view, physical, op.unmirrored, &scratch, left, top, dstRate, srcRate, nullptr,
                     Size{w, h}, view.MapRect(&visible));
}

}  // namespace

int32_t ViewTransfer(const ViewGeometry& view, CPlaneImpl* physical, CPlane& scratch,
                     const ViewTransferOp& op, const CPlane* src, int32_t x, int32_t y,
                     uint32_t dstRate, uint32_t srcRate, const Rect* srcRect, const Size* size,
                     const Rect* clip)
{
    if (!physical) return 1;
    CPlane* source = Readable(src);
    if (!source || !source->GetImpl()->GetPixels()) return 0;  // nothing to read
    const Rect mapped = view.MapRect(clip);
    if (view.magnification == 1) {
        const int64_t px = int64_t(x) + view.originX;
        const int64_t py = int64_t(y) + view.originY;
        if (!Fits32(px) || !Fits32(py)) return 0;
        Rect c = mapped;
        return op.call(*physical, source, int32_t(px), int32_t(py), dstRate, srcRate, srcRect,
                       size, &c);
    }
    const Rect from = SourceRect(*source, srcRect);
    const bool oneToOne = !size || (int64_t(size->cx) == int64_t(from.right) - from.left &&
                                    int64_t(size->cy) == int64_t(from.bottom) - from.top);
    if (op.unmirrored && oneToOne)
        return MirroredMagnified(view, *physical, scratch, op, source, x, y, dstRate, srcRate,
                                 srcRect, clip);
    const int64_t m = view.magnification;
    const int64_t lw = size ? size->cx : int64_t(from.right) - from.left;
    const int64_t lh = size ? size->cy : int64_t(from.bottom) - from.top;
    if (lw <= 0 || lh <= 0 || lw > kMaxTransferExtent || lh > kMaxTransferExtent) return 0;
    if (!op.unmirrored)
        return Magnified(view, *physical, op.call, source, x, y, dstRate, srcRate, srcRect,
                         Size{int32_t(lw), int32_t(lh)}, mapped);
    // A mirrored stretch samples pixel centres: stretched straight to the physical size it
    // samples the centres of the physical pixels.
    const int64_t px = view.originX + x * m;
    const int64_t py = view.originY + y * m;
    if (lw * m > kMaxTransferExtent || lh * m > kMaxTransferExtent) return 0;
    if (!Fits32(px) || !Fits32(py)) return 0;
    const Size physicalSize = {int32_t(lw * m), int32_t(lh * m)};
    Rect c = mapped;
    return op.call(*physical, source, int32_t(px), int32_t(py), dstRate, srcRate, srcRect,
                   &physicalSize, &c);
}

int32_t ViewRotate(const ViewGeometry& view, CPlaneImpl* physical, bool keyed, const CPlane* src,
                   const Rect* srcRect, int32_t x, int32_t y, int32_t angle, int32_t zoom,
                   int32_t anchor, const Rect* clip)
{
    if (!physical) return 1;
    const Point at = view.MapPoint({x, y});
    const int32_t physicalZoom = Clamp32(int64_t(zoom) * view.magnification);
    const Rect c = view.MapRect(clip);
    return keyed ? physical->RotateBlt(Readable(src), srcRect, at.x, at.y, angle, physicalZoom,
                                       anchor, &c)
                 : physical->RotateBltFast(Readable(src), srcRect, at.x, at.y, angle,
                                           physicalZoom, anchor, &c);
}

int32_t ViewMorph(const ViewGeometry& view, CPlaneImpl* physical, bool keyed, const CPlane* src,
                  const Point* srcPoints, const Point* dstPoints, const Rect* clip,
                  int32_t divisorFlag)
{
    if (!physical) return 1;
    Point points[4];
    const Point* mapped = nullptr;
    if (dstPoints) {
        for (int i = 0; i < 4; ++i) points[i] = view.MapPoint(dstPoints[i]);
        mapped = points;
    }
    const Rect c = view.MapRect(clip);
    return keyed ? physical->MorphBlt(Readable(src), srcPoints, mapped, &c, divisorFlag)
                 : physical->MorphBltFast(Readable(src), srcPoints, mapped, &c, divisorFlag);
}

int32_t ViewMorphFromRect(const ViewGeometry& view, CPlaneImpl* physical, bool keyed,
                          const CPlane* src, const Rect* srcRect, const Point* dstPoints,
                          const Rect* clip)
{
    if (!physical) return 1;
    if (!dstPoints) return -1;
    Point points[4];
    for (int i = 0; i < 4; ++i) points[i] = view.MapPoint(dstPoints[i]);
    const Rect c = view.MapRect(clip);
    return keyed ? physical->MorphBltFromRect(Readable(src), srcRect, points, &c)
                 : physical->MorphBltFastFromRect(Readable(src), srcRect, points, &c);
}

int32_t ViewMorphToRect(const ViewGeometry& view, CPlaneImpl* physical, bool keyed,
                        const CPlane* src, const Point* srcPoints, const Rect* dstRect,
                        const Rect* clip)
{
    if (!physical) return 1;
    // The destination's blocks, not cut to the screen: the mapping's scale comes from them.
    const int64_t m = view.magnification;
    const Rect screen = {0, 0, view.logicalWidth, view.logicalHeight};
    const Rect& r = dstRect ? *dstRect : screen;
    const Rect blocks = {Clamp32(r.left * m + view.originX), Clamp32(r.top * m + view.originY),
                         Clamp32(r.right * m + view.originX), Clamp32(r.bottom * m + view.originY)};
    const Rect c = view.MapRect(clip);
    return keyed ? physical->MorphBltToRect(Readable(src), srcPoints, &blocks, &c)
                 : physical->MorphBltFastToRect(Readable(src), srcPoints, &blocks, &c);
}

int32_t ViewDisplace(const ViewGeometry& view, CPlaneImpl* physical, const CPlane* src,
                     const Point* table, int32_t x, int32_t y, const Rect* srcRect,
                     const Rect* clip)
{
    if (!physical) return 1;
    const Point at = view.MapPoint({x, y});
    Rect c = view.MapRect(clip);
    return physical->DisplaceBlt(Readable(src), table, at.x, at.y, srcRect, &c);
}
