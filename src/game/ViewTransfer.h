// The transfer family and the in-place effects in logical coordinates on a physical plane that
// shows a logical screen at a whole magnification: what the screen view does with its back
// buffer. Portable, so that the mapping is tested natively against logical planes.
#pragma once

#include <pyro/graphics/Plane.h>
#include <pyro/graphics/Rect.h>
#include <pyro/graphics/transfer/TransferList.h>

#include <cstdint>

// Where the logical screen lies in the physical plane.
struct ViewGeometry {
    int32_t originX, originY;  // the physical position of logical (0, 0)
    int32_t magnification;     // physical pixels per logical pixel, at least 1
    int32_t logicalWidth, logicalHeight;

    // The physical rectangle the logical screen covers.
    Rect Active() const;
    // A logical rectangle (null: the logical screen) in physical pixels, cut to Active. Values
    // are worked out in 64 bits, so no logical coordinate can overflow.
    Rect MapRect(const Rect* rect) const;
    // The physical position of a logical point, held to the 32-bit range.
    Point MapPoint(Point p) const;
};

// One transfer of the list called on a destination implementation, in the Rates form (a Plain
// transfer ignores the rates). For a mirrored transfer `unmirrored` is its twin.
using ViewTransferCall = int32_t (*)(CPlaneImpl& dst, CPlane* src, int32_t x, int32_t y,
                                     uint32_t dstRate, uint32_t srcRate, const Rect* srcRect,
                                     const Size* size, Rect* clip);
struct ViewTransferOp {
    ViewTransferCall call;
    ViewTransferCall unmirrored;  // null for a transfer that is not mirrored
};

// The transfers by name, and the two routing ones (TransferFade takes its level as dstRate).
namespace ViewTransferOps {
#define PYRO_VIEW_TRANSFER_OP_DECLARE(name, rule, mirrored, key, args) extern const ViewTransferOp name;
PYRO_TRANSFERS(PYRO_VIEW_TRANSFER_OP_DECLARE)
#undef PYRO_VIEW_TRANSFER_OP_DECLARE
extern const ViewTransferOp TransferFade;
extern const ViewTransferOp TransferAuto;
}  // namespace ViewTransferOps

// Runs a transfer in logical coordinates on `physical` (null: 1, nothing to draw on).
// Magnification 1: the origin is added. Above 1, not mirrored: the view's stretch (the size, or
// the source rectangle's, times the magnification plus one, one pixel up and left), cut to the
// blocks of the logical destination, so each logical pixel is exactly its block. Mirrored and
// one to one: the visible part of the source is mirrored into `scratch` and drawn by the
// unmirrored twin, block for block as well. Mirrored and stretched: the mirrored stretch to the
// physical size, sampled at physical resolution. The clip is logical, cut to the logical screen.
int32_t ViewTransfer(const ViewGeometry& view, CPlaneImpl* physical, CPlane& scratch,
                     const ViewTransferOp& op, const CPlane* src, int32_t x, int32_t y,
                     uint32_t dstRate, uint32_t srcRate, const Rect* srcRect, const Size* size,
                     const Rect* clip);

// Rotation at physical resolution: the position and the zoom are magnified, the clip mapped.
int32_t ViewRotate(const ViewGeometry& view, CPlaneImpl* physical, bool keyed, const CPlane* src,
                   const Rect* srcRect, int32_t x, int32_t y, int32_t angle, int32_t zoom,
                   int32_t anchor, const Rect* clip);

// The quadrilateral mappings at physical resolution: destination points go to the physical
// position of their logical point, a destination rectangle to its blocks (null: the logical
// screen); source points and rectangles stay in the source's pixels.
int32_t ViewMorph(const ViewGeometry& view, CPlaneImpl* physical, bool keyed, const CPlane* src,
                  const Point* srcPoints, const Point* dstPoints, const Rect* clip,
                  int32_t divisorFlag);
// MorphBltFromRect or its unkeyed twin.
int32_t ViewMorphFromRect(const ViewGeometry& view, CPlaneImpl* physical, bool keyed,
                          const CPlane* src, const Rect* srcRect, const Point* dstPoints,
                          const Rect* clip);
// MorphBltToRect or its unkeyed twin.
int32_t ViewMorphToRect(const ViewGeometry& view, CPlaneImpl* physical, bool keyed,
                        const CPlane* src, const Point* srcPoints, const Rect* dstRect,
                        const Rect* clip);

// The displacement transfer cannot stretch (its table has one offset per source pixel): it
// draws one to one at the physical position of (x, y), clipped to the mapped clip.
int32_t ViewDisplace(const ViewGeometry& view, CPlaneImpl* physical, const CPlane* src,
                     const Point* table, int32_t x, int32_t y, const Rect* srcRect,
                     const Rect* clip);
