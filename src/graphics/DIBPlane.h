// CDIBPlane: the complete portable plane implementation in plain integer code: the sixteen
// transfers and their mirrored twins (generated from TransferList.h with the rules of PixelOps),
// the effects and the geometry. CDIBPlaneMMX, CDIBPlaneSSE2 and CDIBPlaneAVX2 replace the
// transfers with accelerated code.
#pragma once

#include <pyro/graphics/PlaneImpl.h>
#include "graphics/transfer/TransferSet.h"

class CDIBPlane : public CPlaneImpl {
public:
    // Every plane class defines its destructor in its own file: the vector sets' files are
    // compiled for newer instructions, and of an inline destructor emitted there and elsewhere
    // the linker could keep their copy for every caller.
    ~CDIBPlane() override;

    PYRO_TRANSFERS(PYRO_TRANSFER_OVERRIDE)

    int32_t SetAlphaFromPlane(CPlane* mask, int32_t low, int32_t high, int32_t lowAlpha,
                              int32_t highAlpha, const Rect* rect) override;
    int32_t CopyScaleAlpha(CPlane* src, int32_t rate, const Rect* rect) override;
    int32_t MorphBlt(CPlane* src, const Point* srcPoints, const Point* dstPoints, const Rect* clip,
                     int32_t divisorFlag) override;
    int32_t MorphBltFromRect(CPlane* src, const Rect* srcRect, const Point* dstPoints,
                             const Rect* clip) override;
    int32_t MorphBltToRect(CPlane* src, const Point* srcPoints, const Rect* dstRect,
                           const Rect* clip) override;
    int32_t MorphBltFast(CPlane* src, const Point* srcPoints, const Point* dstPoints,
                         const Rect* clip, int32_t divisorFlag) override;
    int32_t MorphBltFastFromRect(CPlane* src, const Rect* srcRect, const Point* dstPoints,
                                 const Rect* clip) override;
    int32_t MorphBltFastToRect(CPlane* src, const Point* srcPoints, const Rect* dstRect,
                               const Rect* clip) override;
    int32_t RotateBlt(CPlane* src, const Rect* srcRect, int32_t x, int32_t y, int32_t angle,
                      int32_t zoom, int32_t anchor, const Rect* clip) override;
    int32_t RotateBltFast(CPlane* src, const Rect* srcRect, int32_t x, int32_t y, int32_t angle,
                          int32_t zoom, int32_t anchor, const Rect* clip) override;
    int32_t Reserved(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t) override;
    int32_t DisplaceBlt(CPlane* src, const Point* table, int32_t x, int32_t y,
                        const Rect* srcRect, Rect* clip) override;
    int32_t AddColor(uint32_t colour, const Rect* rect) override;
    int32_t SubColor(uint32_t colour, const Rect* rect) override;
    int32_t Blur(const Rect* rect) override;
    int32_t Mosaic(int32_t blockSize, const Rect* rect) override;
    int32_t Negate(const Rect* rect) override;
    int32_t ScaleColor(int32_t rate, const Rect* rect) override;
    int32_t ScaleAlpha(int32_t rate, const Rect* rect) override;
    int32_t NegateAlpha(const Rect* rect) override;

protected:
    // rect (null: the bounds) clipped to the plane into out; false when that leaves nothing.
    bool EffectRect(const Rect* rect, Rect* out) const;
    // The rectangle rule of AddColor and SubColor: 1 for an inverted or empty rectangle or an
    // empty plane.
    int32_t ColourEffectRect(const Rect* rect, Rect* out) const;
    // AddColor or SubColor with the add or subtract rule of a transfer set.
    template <class Set, class Rule>
    int32_t ColourEffect(uint32_t colour, const Rect* rect)
    {
        Rect r;
        if (ColourEffectRect(rect, &r)) return 1;
        ApplyColour<Set, Rule>(rows_.data(), r, colour);
        return 0;
    }

private:
    template <class Change>
    int32_t ForEachPixel(const Rect* rect, Change change);
    int32_t Morph(CPlane* src, const Point* srcPoints, const Point* dstPoints, const Rect* clip,
                  int32_t divisorFlag, bool keyed);
    int32_t Rotate(CPlane* src, const Rect* srcRect, int32_t x, int32_t y, int32_t angle,
                   int32_t zoom, int32_t anchor, const Rect* clip, bool keyed);
};
