// The MMX transfers of CDIBPlaneMMX: the shared clip and stretch set-up and loop, with the MMX
// pixel rules of PixelOpsMMX. This file is compiled for MMX registers (see CMakeLists.txt).
#include "graphics/DIBPlaneMMX.h"

#include <pyro/graphics/Plane.h>
#include "graphics/transfer/PixelOps.h"
#include "graphics/transfer/PixelOpsMMX.h"

using namespace PixelOpsMMX;

namespace {
uint32_t KeyOf(CPlane* src) { return src ? src->GetImpl()->GetColorKey() : 0; }
}

// Building a rule (a key or rates in MMX registers) already occupies the x87 registers, also
// when the transfer then finds nothing to draw: EMMS on every way out, or the next x87 load
// (all floating point of a 32-bit build) overflows the register stack into NaN.
template <bool Mirrored, class Rule>
int32_t CDIBPlaneMMX::Run(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                          const Size* size, Rect* clip, const Rule& rule)
{
    const int32_t result =
        RunTransfer<Mirrored>(src, x, y, srcRect, size, clip,
                              [&](const TransferState& st, PixelView d, PixelView s) {
                                  ForEachRow<Mirrored>(st, d, s, rule);
                              });
    _mm_empty();
    return result;
}

// The factor table is built only when there is something to draw.
template <bool Mirrored>
int32_t CDIBPlaneMMX::RunAlphaMix(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                  uint32_t srcRate, const Rect* srcRect, const Size* size,
                                  Rect* clip)
{
    return RunTransfer<Mirrored>(src, x, y, srcRect, size, clip,
                                 [&](const TransferState& st, PixelView d, PixelView s) {
                                     PixelOps::AlphaMixTable table;
                                     PixelOps::BuildAlphaMixTable(table, dstRate, srcRate);
                                     ForEachRow<Mirrored>(st, d, s, AlphaMix{&table});
                                 });
}

int32_t CDIBPlaneMMX::TransferCopyKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                        const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Keyed<Copy>(Copy{}, KeyOf(src)));
}

int32_t CDIBPlaneMMX::TransferCopy(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                   const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Copy{});
}

int32_t CDIBPlaneMMX::TransferAverageKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                           const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Keyed<Average>(Average{}, KeyOf(src)));
}

int32_t CDIBPlaneMMX::TransferAverage(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                      const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Average{});
}

int32_t CDIBPlaneMMX::TransferMixKeyed(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                       uint32_t srcRate, const Rect* srcRect, const Size* size,
                                       Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip,
                      Keyed<Mix>(Mix(dstRate, srcRate), KeyOf(src)));
}

int32_t CDIBPlaneMMX::TransferMix(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                  uint32_t srcRate, const Rect* srcRect, const Size* size,
                                  Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Mix(dstRate, srcRate));
}

int32_t CDIBPlaneMMX::TransferAddKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                       const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Keyed<Add>(Add{}, KeyOf(src)));
}

int32_t CDIBPlaneMMX::TransferAdd(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                  const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Add{});
}

int32_t CDIBPlaneMMX::TransferSubtractKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                            const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Keyed<Subtract>(Subtract{}, KeyOf(src)));
}

int32_t CDIBPlaneMMX::TransferSubtract(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                       const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Subtract{});
}

int32_t CDIBPlaneMMX::TransferOpaqueKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                          const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip,
                      Keyed<Opaque, 0xFFFFFF>(Opaque{}, KeyOf(src)));
}

int32_t CDIBPlaneMMX::TransferOpaque(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                     const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Opaque{});
}

int32_t CDIBPlaneMMX::TransferAlphaMix(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                       uint32_t srcRate, const Rect* srcRect, const Size* size,
                                       Rect* clip)
{
    return RunAlphaMix<false>(src, x, y, dstRate, srcRate, srcRect, size, clip);
}

int32_t CDIBPlaneMMX::TransferAlpha(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                    const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Alpha{});
}

int32_t CDIBPlaneMMX::TransferColourOnlyKeyed(CPlane* src, int32_t x, int32_t y,
                                              const Rect* srcRect, const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Keyed<ColourOnly>(ColourOnly{}, KeyOf(src)));
}

int32_t CDIBPlaneMMX::TransferColourOnly(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                         const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, ColourOnly{});
}

int32_t CDIBPlaneMMX::TransferCopyKeyedMirrored(CPlane* src, int32_t x, int32_t y,
                                                const Rect* srcRect, const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Keyed<Copy>(Copy{}, KeyOf(src)));
}

int32_t CDIBPlaneMMX::TransferCopyMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                           const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Copy{});
}

int32_t CDIBPlaneMMX::TransferAverageKeyedMirrored(CPlane* src, int32_t x, int32_t y,
                                                   const Rect* srcRect, const Size* size,
                                                   Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Keyed<Average>(Average{}, KeyOf(src)));
}

int32_t CDIBPlaneMMX::TransferAverageMirrored(CPlane* src, int32_t x, int32_t y,
                                              const Rect* srcRect, const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Average{});
}

int32_t CDIBPlaneMMX::TransferMixKeyedMirrored(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                               uint32_t srcRate, const Rect* srcRect,
                                               const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Keyed<Mix>(Mix(dstRate, srcRate), KeyOf(src)));
}

int32_t CDIBPlaneMMX::TransferMixMirrored(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                          uint32_t srcRate, const Rect* srcRect, const Size* size,
                                          Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Mix(dstRate, srcRate));
}

int32_t CDIBPlaneMMX::TransferAddKeyedMirrored(CPlane* src, int32_t x, int32_t y,
                                               const Rect* srcRect, const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Keyed<Add>(Add{}, KeyOf(src)));
}

int32_t CDIBPlaneMMX::TransferAddMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                          const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Add{});
}

int32_t CDIBPlaneMMX::TransferSubtractKeyedMirrored(CPlane* src, int32_t x, int32_t y,
                                                    const Rect* srcRect, const Size* size,
                                                    Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Keyed<Subtract>(Subtract{}, KeyOf(src)));
}

int32_t CDIBPlaneMMX::TransferSubtractMirrored(CPlane* src, int32_t x, int32_t y,
                                               const Rect* srcRect, const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Subtract{});
}

int32_t CDIBPlaneMMX::TransferOpaqueKeyedMirrored(CPlane* src, int32_t x, int32_t y,
                                                  const Rect* srcRect, const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Keyed<Opaque, 0xFFFFFF>(Opaque{}, KeyOf(src)));
}

int32_t CDIBPlaneMMX::TransferOpaqueMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                             const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Opaque{});
}

int32_t CDIBPlaneMMX::TransferAlphaMixMirrored(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                               uint32_t srcRate, const Rect* srcRect,
                                               const Size* size, Rect* clip)
{
    return RunAlphaMix<true>(src, x, y, dstRate, srcRate, srcRect, size, clip);
}

int32_t CDIBPlaneMMX::TransferAlphaMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                            const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Alpha{});
}

int32_t CDIBPlaneMMX::TransferColourOnlyKeyedMirrored(CPlane* src, int32_t x, int32_t y,
                                                      const Rect* srcRect, const Size* size,
                                                      Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Keyed<ColourOnly>(ColourOnly{}, KeyOf(src)));
}

int32_t CDIBPlaneMMX::TransferColourOnlyMirrored(CPlane* src, int32_t x, int32_t y,
                                                 const Rect* srcRect, const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, ColourOnly{});
}


// The colour rides in every lane as the "source" of the add and subtract rules; its top byte is
// 0, so both leave the alpha bytes as they were.
template <class Rule>
int32_t CDIBPlaneMMX::ColourEffect(uint32_t colour, const Rect* rect)
{
    Rect r;
    if (ColourEffectRect(rect, &r)) return 1;
    const PixelOpsMMX::Row<Rule> row{Rule{}};
    for (int32_t y = r.top; y < r.bottom; ++y) {
        FixedCursor c{colour & 0xFFFFFF};
        row(rows_[size_t(y)] + r.left, size_t(r.right - r.left), c);
    }
    _mm_empty();
    return 0;
}

int32_t CDIBPlaneMMX::AddColor(uint32_t colour, const Rect* rect)
{
    return ColourEffect<PixelOpsMMX::Add>(colour, rect);
}

int32_t CDIBPlaneMMX::SubColor(uint32_t colour, const Rect* rect)
{
    return ColourEffect<PixelOpsMMX::Subtract>(colour, rect);
}
