// CDIBPlane: the complete portable plane implementation in plain integer code: the sixteen
// transfers and their mirrored twins, the effects and the geometry. CDIBPlaneMMX replaces the
// transfers with MMX code that gives the same pixels.
#pragma once

#include <pyro/graphics/PlaneImpl.h>

class CDIBPlane : public CPlaneImpl {
public:
    int32_t TransferCopyKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                              const Size* size, Rect* clip) override;
    int32_t TransferCopy(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                         Rect* clip) override;
    int32_t TransferAverageKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                 const Size* size, Rect* clip) override;
    int32_t TransferAverage(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                            const Size* size, Rect* clip) override;
    int32_t TransferMixKeyed(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                             const Rect* srcRect, const Size* size, Rect* clip) override;
    int32_t TransferMix(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                        const Rect* srcRect, const Size* size, Rect* clip) override;
    int32_t TransferAddKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                             const Size* size, Rect* clip) override;
    int32_t TransferAdd(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                        Rect* clip) override;
    int32_t TransferSubtractKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                  const Size* size, Rect* clip) override;
    int32_t TransferSubtract(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                             const Size* size, Rect* clip) override;
    int32_t TransferOpaqueKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                const Size* size, Rect* clip) override;
    int32_t TransferOpaque(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                           Rect* clip) override;
    int32_t TransferAlphaMix(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                             const Rect* srcRect, const Size* size, Rect* clip) override;
    int32_t TransferAlpha(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                          Rect* clip) override;
    int32_t TransferColourOnlyKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                    const Size* size, Rect* clip) override;
    int32_t TransferColourOnly(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                               const Size* size, Rect* clip) override;
    int32_t TransferCopyKeyedMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                      const Size* size, Rect* clip) override;
    int32_t TransferCopyMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                 const Size* size, Rect* clip) override;
    int32_t TransferAverageKeyedMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                         const Size* size, Rect* clip) override;
    int32_t TransferAverageMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                    const Size* size, Rect* clip) override;
    int32_t TransferMixKeyedMirrored(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                     uint32_t srcRate, const Rect* srcRect, const Size* size,
                                     Rect* clip) override;
    int32_t TransferMixMirrored(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                uint32_t srcRate, const Rect* srcRect, const Size* size,
                                Rect* clip) override;
    int32_t TransferAddKeyedMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                     const Size* size, Rect* clip) override;
    int32_t TransferAddMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                const Size* size, Rect* clip) override;
    int32_t TransferSubtractKeyedMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                          const Size* size, Rect* clip) override;
    int32_t TransferSubtractMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                     const Size* size, Rect* clip) override;
    int32_t TransferOpaqueKeyedMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                        const Size* size, Rect* clip) override;
    int32_t TransferOpaqueMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                   const Size* size, Rect* clip) override;
    int32_t TransferAlphaMixMirrored(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                     uint32_t srcRate, const Rect* srcRect, const Size* size,
                                     Rect* clip) override;
    int32_t TransferAlphaMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                  const Size* size, Rect* clip) override;
    int32_t TransferColourOnlyKeyedMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                            const Size* size, Rect* clip) override;
    int32_t TransferColourOnlyMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                       const Size* size, Rect* clip) override;

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

private:
    template <class Change>
    int32_t ForEachPixel(const Rect* rect, Change change);
    template <class Rule>
    int32_t ColourEffect(uint32_t colour, const Rect* rect);
    int32_t Morph(CPlane* src, const Point* srcPoints, const Point* dstPoints, const Rect* clip,
                  int32_t divisorFlag, bool keyed);
    int32_t Rotate(CPlane* src, const Rect* srcRect, int32_t x, int32_t y, int32_t angle,
                   int32_t zoom, int32_t anchor, const Rect* clip, bool keyed);
    template <bool Mirrored, class Rule>
    int32_t Run(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                Rect* clip, const Rule& rule);
    template <bool Mirrored>
    int32_t RunAlphaMix(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                        const Rect* srcRect, const Size* size, Rect* clip);
};
