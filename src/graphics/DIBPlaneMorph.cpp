// The geometry of CDIBPlane: quadrilateral mapping, rotation and the displacement transfer.
#include "graphics/DIBPlane.h"

#include <pyro/graphics/Plane.h>
#include "graphics/QuadMapper.h"
#include "graphics/transfer/CosTable.h"

#include <algorithm>

namespace {

int32_t Clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// Corners of a rectangle as top-left, top-right, bottom-left, bottom-right; inset 1 takes the
// last column and row inside the rectangle, inset 0 the right and bottom edges.
void Corners(const Rect& r, int64_t inset, Point* out)
{
    const int32_t right = Clamp32(int64_t(r.right) - inset);
    const int32_t bottom = Clamp32(int64_t(r.bottom) - inset);
    out[0] = {r.left, r.top};
    out[1] = {right, r.top};
    out[2] = {r.left, bottom};
    out[3] = {right, bottom};
}

// Win32 MulDiv: a * b / c rounded to the nearest integer, halves away from zero; -1 when c is 0
// or the result does not fit 32 bits.
int32_t MulDiv32(int32_t a, int32_t b, int32_t c)
{
    if (c == 0) return -1;
    const int64_t product = int64_t(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const uint64_t num = product < 0 ? 0 - uint64_t(product) : uint64_t(product);
    const uint64_t den = c < 0 ? 0 - uint64_t(int64_t(c)) : uint64_t(c);
    const uint64_t q = (num + den / 2) / den;
    if (q > uint64_t(INT32_MAX) + (negative ? 1 : 0)) return -1;
    return negative ? int32_t(-int64_t(q)) : int32_t(q);
}

// The source quadrilateral's corners (inset 1) map onto the destination points; a row's last
// pixel samples the rectangle's last column exactly.
int32_t FromRect(CPlaneImpl& dst, CPlane* src, const Rect* srcRect, const Point* dstPoints,
                 const Rect* clip, bool keyed)
{
    if (!src) return 0;
    Point corners[4];
    Corners(srcRect ? *srcRect : src->GetImpl()->GetRect(), 1, corners);
    return keyed ? dst.MorphBlt(src, corners, dstPoints, clip, 0)
                 : dst.MorphBltFast(src, corners, dstPoints, clip, 0);
}

// The source points map onto the destination rectangle's edges (inset 0) with the row's width
// dividing the distance, so its every row and column is drawn.
int32_t ToRect(CPlaneImpl& dst, CPlane* src, const Point* srcPoints, const Rect* dstRect,
               const Rect* clip, bool keyed)
{
    Point corners[4];
    Corners(dstRect ? *dstRect : dst.GetRect(), 0, corners);
    return keyed ? dst.MorphBlt(src, srcPoints, corners, clip, 1)
                 : dst.MorphBltFast(src, srcPoints, corners, clip, 1);
}

}  // namespace

int32_t CDIBPlane::Morph(CPlane* src, const Point* srcPoints, const Point* dstPoints,
                         const Rect* clip, int32_t divisorFlag, bool keyed)
{
    if (!srcPoints || !dstPoints) return -1;
    const CPlaneImpl* s = src ? src->GetImpl() : nullptr;
    if (!pixels_ || !s || !s->GetPixels()) return 0;
    Rect c;
    ClipToBounds(&c, clip);
    const uint32_t key = s->GetColorKey();
    const Rect from = s->GetRect();
    const QuadSource source{s->GetPixelView(), from.right, from.bottom, keyed ? &key : nullptr};
    MapQuad(GetPixelView(), c, source, srcPoints, dstPoints, divisorFlag);
    return 0;
}

int32_t CDIBPlane::MorphBlt(CPlane* src, const Point* srcPoints, const Point* dstPoints,
                            const Rect* clip, int32_t divisorFlag)
{
    return Morph(src, srcPoints, dstPoints, clip, divisorFlag, true);
}

int32_t CDIBPlane::MorphBltFromRect(CPlane* src, const Rect* srcRect, const Point* dstPoints,
                                    const Rect* clip)
{
    return FromRect(*this, src, srcRect, dstPoints, clip, true);
}

int32_t CDIBPlane::MorphBltToRect(CPlane* src, const Point* srcPoints, const Rect* dstRect,
                                  const Rect* clip)
{
    return ToRect(*this, src, srcPoints, dstRect, clip, true);
}

int32_t CDIBPlane::MorphBltFast(CPlane* src, const Point* srcPoints, const Point* dstPoints,
                                const Rect* clip, int32_t divisorFlag)
{
    return Morph(src, srcPoints, dstPoints, clip, divisorFlag, false);
}

int32_t CDIBPlane::MorphBltFastFromRect(CPlane* src, const Rect* srcRect, const Point* dstPoints,
                                        const Rect* clip)
{
    return FromRect(*this, src, srcRect, dstPoints, clip, false);
}

int32_t CDIBPlane::MorphBltFastToRect(CPlane* src, const Point* srcPoints, const Rect* dstRect,
                                      const Rect* clip)
{
    return ToRect(*this, src, srcPoints, dstRect, clip, false);
}

// The zoomed picture, placed with its top-left corner at (x, y), is turned about its top-left
// (anchor 0), top-right (1), bottom-left (2) or bottom-right corner (3) or its centre (4); the
// turned corners become the destination quadrilateral of the FromRect mapping.
int32_t CDIBPlane::Rotate(CPlane* src, const Rect* srcRect, int32_t x, int32_t y, int32_t angle,
                          int32_t zoom, int32_t anchor, const Rect* clip, bool keyed)
{
    if (!src) return 0;
    if (anchor < 0 || anchor > 4) return -2;
    int32_t w = 0;
    int32_t h = 0;
    if (srcRect) {
        w = Clamp32(int64_t(srcRect->right) - srcRect->left);
        h = Clamp32(int64_t(srcRect->bottom) - srcRect->top);
    } else {
        src->GetSize(&w, &h);
    }
    const int64_t zw = MulDiv32(w, zoom, 65536);
    const int64_t zh = MulDiv32(h, zoom, 65536);
    const int64_t offsets[5][2] = {{0, 0}, {zw, 0}, {0, zh}, {zw, zh}, {zw >> 1, zh >> 1}};
    const int64_t cx = int64_t(x) + offsets[anchor][0];
    const int64_t cy = int64_t(y) + offsets[anchor][1];
    const int32_t* cosTable = CosTable();
    const int64_t c = cosTable[uint32_t(angle) & 511];
    const int64_t s = cosTable[(uint32_t(angle) + 384) & 511];
    const int64_t corners[4][2] = {{x, y}, {x + zw, y}, {x, y + zh}, {x + zw, y + zh}};
    Point points[4];
    for (int i = 0; i < 4; ++i) {
        const int64_t dx = corners[i][0] - cx;
        const int64_t dy = corners[i][1] - cy;
        // Arithmetic shifts, as the 32-bit products they replace; 64 bits cannot overflow.
        points[i] = {Clamp32(((dx * c - dy * s) >> 16) + cx),
                     Clamp32(((dx * s + dy * c) >> 16) + cy)};
    }
    return keyed ? MorphBltFromRect(src, srcRect, points, clip)
                 : MorphBltFastFromRect(src, srcRect, points, clip);
}

int32_t CDIBPlane::RotateBlt(CPlane* src, const Rect* srcRect, int32_t x, int32_t y,
                             int32_t angle, int32_t zoom, int32_t anchor, const Rect* clip)
{
    return Rotate(src, srcRect, x, y, angle, zoom, anchor, clip, true);
}

int32_t CDIBPlane::RotateBltFast(CPlane* src, const Rect* srcRect, int32_t x, int32_t y,
                                 int32_t angle, int32_t zoom, int32_t anchor, const Rect* clip)
{
    return Rotate(src, srcRect, x, y, angle, zoom, anchor, clip, false);
}

int32_t CDIBPlane::Reserved(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t) { return 0; }

// Each destination pixel takes the source pixel its one-to-one partner would, moved by the
// table's offset for that partner (table rows follow srcRect's rows, srcRect's width apart).
// An offset that leads outside the source plane leaves the destination pixel as it is.
int32_t CDIBPlane::DisplaceBlt(CPlane* src, const Point* table, int32_t x, int32_t y,
                               const Rect* srcRect, Rect* clip)
{
    if (!table) return -1;
    if (PrepareTransfer(src, x, y, srcRect, nullptr, clip)) return 0;
    const CPlaneImpl* s = src->GetImpl();
    const Rect from = s->GetRect();
    const Rect area = srcRect ? *srcRect : from;
    const int64_t tableWidth = int64_t(area.right) - area.left;
    const TransferState& st = transfer_;
    const PixelView sv = s->GetPixelView();
    for (int32_t dy = st.dst.top; dy < st.dst.bottom; ++dy) {
        const int64_t sy = int64_t(st.srcTop) + (dy - st.dst.top);
        uint32_t* d = rows_[size_t(dy)];
        for (int32_t dx = st.dst.left; dx < st.dst.right; ++dx) {
            const int64_t sx = int64_t(st.srcLeft) + (dx - st.dst.left);
            const Point offset = table[(sy - area.top) * tableWidth + (sx - area.left)];
            const int64_t px = sx + offset.x;
            const int64_t py = sy + offset.y;
            if (px < 0 || py < 0 || px >= from.right || py >= from.bottom) continue;
            d[dx] = reinterpret_cast<const uint32_t*>(sv.base + py * sv.pitch)[px];
        }
    }
    return 0;
}
