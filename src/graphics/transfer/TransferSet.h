// How the operations of a transfer set are generated from the list in TransferList.h. A set is
// a namespace of pixel rules named as in the list, plus a struct Set that gives its row
// function Row<Rule>, its key wrapper Keyed<Rule, Mask>, Gather(table, out, row) for the source
// rows of a stretch (ColumnTable) with kGatherGroup, the length of the runs its table is to be
// described in (0 for none), and Leave() (what must follow a loop, such as leaving the MMX
// state). Every generated transfer is the clip and stretch set-up into the destination's
// transfer state followed by the set's row function along every row.
#pragma once

#include <pyro/graphics/Plane.h>
#include <pyro/graphics/PlaneImpl.h>
#include <pyro/graphics/transfer/TransferList.h>
#include "graphics/transfer/PixelOps.h"
#include "graphics/transfer/TransferLoop.h"

#include <cstdint>
#include <type_traits>

// Rules that need the rates (or the factor table) take them in their constructor.
template <class Rule>
Rule MakeRule(const PixelOps::RuleArgs& args)
{
    if constexpr (std::is_constructible_v<Rule, const PixelOps::RuleArgs&>) return Rule(args);
    else return Rule{};
}

template <class Set, class Rule, bool Mirrored, TransferKey Key>
int32_t RunSetTransfer(CPlaneImpl& dst, CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                       uint32_t srcRate, const Rect* srcRect, const Size* size, Rect* clip)
{
    const int32_t nothing = Mirrored ? dst.PrepareTransferMirrored(src, x, y, srcRect, size, clip)
                                     : dst.PrepareTransfer(src, x, y, srcRect, size, clip);
    if (nothing) return 0;
    const CPlaneImpl& from = *src->GetImpl();
    // Built (by the alpha mix) only when there is something to draw.
    PixelOps::AlphaMixTable table;
    const Rule rule = MakeRule<Rule>(PixelOps::RuleArgs{dstRate, srcRate, &table});
    const TransferState& st = dst.GetTransferState();
    const PixelView to = dst.GetPixelView();
    if constexpr (Key == TransferKey::None) {
        using RowFn = typename Set::template Row<Rule>;
        ForEachTransferRow<Mirrored, Set>(st, to, from.GetPixelView(), RowFn{rule});
    } else {
        constexpr uint32_t mask = Key == TransferKey::Colour ? 0xFFFFFFu : 0xFFFFFFFFu;
        using KeyedRule = typename Set::template Keyed<Rule, mask>;
        using RowFn = typename Set::template Row<KeyedRule>;
        ForEachTransferRow<Mirrored, Set>(st, to, from.GetPixelView(),
                                          RowFn{KeyedRule{rule, from.GetColorKey()}});
    }
    Set::Leave();
    return 0;
}

// One generated transfer of Class with the rules of the namespace Rules; expand it over the list:
//   #define DEFINE(...) PYRO_TRANSFER_DEFINITION(CDIBPlaneMMX, PixelOpsMMX, __VA_ARGS__)
//   PYRO_TRANSFERS(DEFINE)
#define PYRO_TRANSFER_DEFINITION(Class, Rules, name, rule, mirrored, key, args)    \
    int32_t Class::name(PYRO_TRANSFER_PARAMS_##args)                               \
    {                                                                              \
        return RunSetTransfer<Rules::Set, Rules::rule, mirrored, TransferKey::key>( \
            *this, src, x, y, PYRO_TRANSFER_RATES_##args, srcRect, size, clip);    \
    }

// AddColor and SubColor of an accelerated set Class with the add and subtract rules of Rules
// (through CDIBPlane::ColourEffect and ApplyColour).
#define PYRO_COLOUR_EFFECTS_DEFINITION(Class, Rules)                      \
    int32_t Class::AddColor(uint32_t colour, const Rect* rect)            \
    {                                                                     \
        return ColourEffect<Rules::Set, Rules::Add>(colour, rect);        \
    }                                                                     \
    int32_t Class::SubColor(uint32_t colour, const Rect* rect)            \
    {                                                                     \
        return ColourEffect<Rules::Set, Rules::Subtract>(colour, rect);   \
    }

// AddColor and SubColor of a set over the rows of rect (already clipped): the colour rides as
// the "source" of the add and subtract rules; its top byte is cleared, so both leave the alpha
// bytes as they were.
template <class Set, class Rule>
void ApplyColour(uint32_t* const* rows, const Rect& rect, uint32_t colour)
{
    const typename Set::template Row<Rule> row{Rule{}};
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        FixedCursor cursor{colour & 0xFFFFFF};
        row(rows[y] + rect.left, size_t(rect.right - rect.left), cursor);
    }
    Set::Leave();
}
