// The portable transfers of CDIBPlane: each is the clip and stretch set-up followed by the
// shared loop with one pixel rule of PixelOps.
#include "graphics/DIBPlane.h"

#include <pyro/graphics/Plane.h>
#include "graphics/transfer/PixelOps.h"
#include "graphics/transfer/TransferLoop.h"

using namespace PixelOps;

namespace {
uint32_t KeyOf(CPlane* src) { return src ? src->GetImpl()->GetColorKey() : 0; }
}

template <bool Mirrored, class Rule>
int32_t CDIBPlane::Run(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                       Rect* clip, const Rule& rule)
{
    return RunTransfer<Mirrored>(src, x, y, srcRect, size, clip,
                                 [&](const TransferState& st, PixelView d, PixelView s) {
                                     ForEachTransferRow<Mirrored>(st, d, s, Row<Rule>{rule});
                                 });
}

// The factor table is built only when there is something to draw.
template <bool Mirrored>
int32_t CDIBPlane::RunAlphaMix(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                               uint32_t srcRate, const Rect* srcRect, const Size* size, Rect* clip)
{
    return RunTransfer<Mirrored>(src, x, y, srcRect, size, clip,
                                 [&](const TransferState& st, PixelView d, PixelView s) {
                                     AlphaMixTable table;
                                     BuildAlphaMixTable(table, dstRate, srcRate);
                                     ForEachTransferRow<Mirrored>(st, d, s,
                                                                  Row<AlphaMix>{{{}, &table}});
                                 });
}

int32_t CDIBPlane::TransferCopyKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                     const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Keyed<Copy>{{}, KeyOf(src)});
}

int32_t CDIBPlane::TransferCopy(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Copy{});
}

int32_t CDIBPlane::TransferAverageKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                        const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Keyed<Average>{{}, KeyOf(src)});
}

int32_t CDIBPlane::TransferAverage(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                   const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Average{});
}

int32_t CDIBPlane::TransferMixKeyed(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                    uint32_t srcRate, const Rect* srcRect, const Size* size,
                                    Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip,
                      Keyed<Mix>{{{}, dstRate, srcRate}, KeyOf(src)});
}

int32_t CDIBPlane::TransferMix(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                               uint32_t srcRate, const Rect* srcRect, const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Mix{{}, dstRate, srcRate});
}

int32_t CDIBPlane::TransferAddKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                    const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Keyed<Add>{{}, KeyOf(src)});
}

int32_t CDIBPlane::TransferAdd(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                               const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Add{});
}

int32_t CDIBPlane::TransferSubtractKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                         const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Keyed<Subtract>{{}, KeyOf(src)});
}

int32_t CDIBPlane::TransferSubtract(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                    const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Subtract{});
}

int32_t CDIBPlane::TransferOpaqueKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                       const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Keyed<Opaque, 0xFFFFFF>{{}, KeyOf(src)});
}

int32_t CDIBPlane::TransferOpaque(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                  const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Opaque{});
}

int32_t CDIBPlane::TransferAlphaMix(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                    uint32_t srcRate, const Rect* srcRect, const Size* size,
                                    Rect* clip)
{
    return RunAlphaMix<false>(src, x, y, dstRate, srcRate, srcRect, size, clip);
}

int32_t CDIBPlane::TransferAlpha(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                 const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Alpha{});
}

int32_t CDIBPlane::TransferColourOnlyKeyed(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                           const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, Keyed<ColourOnly>{{}, KeyOf(src)});
}

int32_t CDIBPlane::TransferColourOnly(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                      const Size* size, Rect* clip)
{
    return Run<false>(src, x, y, srcRect, size, clip, ColourOnly{});
}

int32_t CDIBPlane::TransferCopyKeyedMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                             const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Keyed<Copy>{{}, KeyOf(src)});
}

int32_t CDIBPlane::TransferCopyMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                        const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Copy{});
}

int32_t CDIBPlane::TransferAverageKeyedMirrored(CPlane* src, int32_t x, int32_t y,
                                                const Rect* srcRect, const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Keyed<Average>{{}, KeyOf(src)});
}

int32_t CDIBPlane::TransferAverageMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                           const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Average{});
}

int32_t CDIBPlane::TransferMixKeyedMirrored(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                            uint32_t srcRate, const Rect* srcRect, const Size* size,
                                            Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip,
                     Keyed<Mix>{{{}, dstRate, srcRate}, KeyOf(src)});
}

int32_t CDIBPlane::TransferMixMirrored(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                       uint32_t srcRate, const Rect* srcRect, const Size* size,
                                       Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Mix{{}, dstRate, srcRate});
}

int32_t CDIBPlane::TransferAddKeyedMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                            const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Keyed<Add>{{}, KeyOf(src)});
}

int32_t CDIBPlane::TransferAddMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                       const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Add{});
}

int32_t CDIBPlane::TransferSubtractKeyedMirrored(CPlane* src, int32_t x, int32_t y,
                                                 const Rect* srcRect, const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Keyed<Subtract>{{}, KeyOf(src)});
}

int32_t CDIBPlane::TransferSubtractMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                            const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Subtract{});
}

int32_t CDIBPlane::TransferOpaqueKeyedMirrored(CPlane* src, int32_t x, int32_t y,
                                               const Rect* srcRect, const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Keyed<Opaque, 0xFFFFFF>{{}, KeyOf(src)});
}

int32_t CDIBPlane::TransferOpaqueMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                          const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Opaque{});
}

int32_t CDIBPlane::TransferAlphaMixMirrored(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                            uint32_t srcRate, const Rect* srcRect, const Size* size,
                                            Rect* clip)
{
    return RunAlphaMix<true>(src, x, y, dstRate, srcRate, srcRect, size, clip);
}

int32_t CDIBPlane::TransferAlphaMirrored(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                         const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Alpha{});
}

int32_t CDIBPlane::TransferColourOnlyKeyedMirrored(CPlane* src, int32_t x, int32_t y,
                                                   const Rect* srcRect, const Size* size,
                                                   Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, Keyed<ColourOnly>{{}, KeyOf(src)});
}

int32_t CDIBPlane::TransferColourOnlyMirrored(CPlane* src, int32_t x, int32_t y,
                                              const Rect* srcRect, const Size* size, Rect* clip)
{
    return Run<true>(src, x, y, srcRect, size, clip, ColourOnly{});
}

