// CDIBPlaneMMX: the plane implementation for processors with MMX. It replaces the sixteen
// transfers, their mirrored twins and the two colour effects with MMX code that moves two
// pixels at a time and gives the portable set's pixels, except that add and subtract saturate
// the top byte too and the alpha blend weights the destination by 256 - a instead of 255 - a.
// CDIBPlaneMMXCMOV, for processors that also have conditional moves, changes nothing.
#pragma once

#include "graphics/DIBPlane.h"

class CDIBPlaneMMX : public CDIBPlane {
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

    int32_t AddColor(uint32_t colour, const Rect* rect) override;
    int32_t SubColor(uint32_t colour, const Rect* rect) override;

private:
    template <class Rule>
    int32_t ColourEffect(uint32_t colour, const Rect* rect);
    template <bool Mirrored, class Rule>
    int32_t Run(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                Rect* clip, const Rule& rule);
    template <bool Mirrored>
    int32_t RunAlphaMix(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                        const Rect* srcRect, const Size* size, Rect* clip);
};

class CDIBPlaneMMXCMOV : public CDIBPlaneMMX {
};
