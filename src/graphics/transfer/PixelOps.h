// The pixel rules of the portable transfer set, one per operation family, in 32-bit integer
// arithmetic without branches (saturation by carry masks), and the row function that applies a
// rule along one row. PixelOpsMMX.h and PixelOpsVector.h hold the accelerated twins of each rule
// under the same name.
#pragma once

#include "graphics/transfer/TransferLoop.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace PixelOps {

// Per-alpha factors of TransferAlphaMix, one byte per colour channel (0x00RRGGBB): the source
// factor F(a) and the destination factor G(a). Built from the two rates at every call.
struct AlphaMixTable {
    uint32_t src[256];
    uint32_t dst[256];
};
void BuildAlphaMixTable(AlphaMixTable& table, uint32_t dstRate, uint32_t srcRate);

// What the rules of every set are built from: the two rates of the blends, and room for the
// factor table that the portable and the MMX alpha mix build from them.
struct RuleArgs {
    uint32_t dstRate;
    uint32_t srcRate;
    AlphaMixTable* table;
};

// Channel k (0 blue, 1 green, 2 red) of a pixel or rate.
inline uint32_t Channel(uint32_t v, int k) { return (v >> (8 * k)) & 0xFF; }

// The bytes of a whose unsigned sum with b carries out of the byte become 0xFF (three low bytes).
inline uint32_t CarryMask(uint32_t a, uint32_t b)
{
    uint32_t carries = (((a & b) << 1) + ((a ^ b) & 0xFEFEFE)) & 0x1010100;
    carries >>= 8;
    return (carries + 0x7F7F7F) ^ 0x7F7F7F;
}

// min(255, (s * f) / 256 + (d * g) / 256) in each colour channel, top byte 0; f and g per channel.
inline uint32_t Weighted(uint32_t s, uint32_t d, uint32_t f, uint32_t g)
{
    uint32_t out = 0;
    for (int k = 0; k < 3; ++k) {
        uint32_t v = ((Channel(s, k) * Channel(f, k)) >> 8) +
                     ((Channel(d, k) * Channel(g, k)) >> 8);
        v = (v | (0u - (v >> 8))) & 0xFF;
        out |= v << (8 * k);
    }
    return out;
}

// Rules without a colour key never skip.
struct Unkeyed {
    static constexpr bool Skip(uint32_t) { return false; }
};

struct Copy : Unkeyed {
    static constexpr bool kIgnoresDestination = true;
    uint32_t operator()(uint32_t s, uint32_t) const { return s; }
};

struct Average : Unkeyed {
    uint32_t operator()(uint32_t s, uint32_t d) const
    {
        return (s & d) + (((s ^ d) >> 1) & 0x7F7F7F);
    }
};

struct Mix : Unkeyed {
    uint32_t dstRate;
    uint32_t srcRate;
    explicit Mix(const RuleArgs& args) : dstRate(args.dstRate), srcRate(args.srcRate) {}
    uint32_t operator()(uint32_t s, uint32_t d) const { return Weighted(s, d, srcRate, dstRate); }
};

// Top byte: (S + D) mod 256.
struct Add : Unkeyed {
    uint32_t operator()(uint32_t s, uint32_t d) const
    {
        const uint32_t m = CarryMask(s, d);
        return ((s + d) - m) | m;
    }
};

// Top byte: (D - S) mod 256.
struct Subtract : Unkeyed {
    uint32_t operator()(uint32_t s, uint32_t d) const
    {
        const uint32_t m = CarryMask(s, ~d);
        return (d | m) - (s | m);
    }
};

struct Opaque : Unkeyed {
    static constexpr bool kIgnoresDestination = true;
    uint32_t operator()(uint32_t s, uint32_t) const { return s & 0xFFFFFF; }
};

struct ColourOnly : Unkeyed {
    uint32_t operator()(uint32_t s, uint32_t d) const { return (s & 0xFFFFFF) | (d & 0xFF000000); }
};

// Source weight a (256 for a = 255), destination weight 255 - a (256 for a = 0), applied to
// two channels at a time: red and blue sit 16 bits apart, so their sums cannot meet.
struct Alpha : Unkeyed {
    uint32_t operator()(uint32_t s, uint32_t d) const
    {
        const uint32_t a = s >> 24;
        const uint32_t sf = a + ((a + 1) >> 8);
        const uint32_t df = 256 - a - ((a + 255) >> 8);
        uint32_t rb = ((((s & 0xFF00FF) * sf) >> 8) & 0xFF00FF) +
                      ((((d & 0xFF00FF) * df) >> 8) & 0xFF00FF);
        uint32_t g = ((((s & 0xFF00) * sf) >> 8) & 0xFF00) + ((((d & 0xFF00) * df) >> 8) & 0xFF00);
        rb |= ((rb >> 8) & 0x010001) * 0xFF;
        g |= ((g >> 8) & 0x0100) * 0xFF;
        return (rb & 0xFF00FF) | (g & 0xFF00);
    }
};

struct AlphaMix : Unkeyed {
    const AlphaMixTable* table;
    explicit AlphaMix(const RuleArgs& args) : table(args.table)
    {
        BuildAlphaMixTable(*args.table, args.dstRate, args.srcRate);
    }
    uint32_t operator()(uint32_t s, uint32_t d) const
    {
        const uint32_t a = s >> 24;
        return Weighted(s, d, table->src[a], table->dst[a]);
    }
};

// The alpha blend of the other sets (and of the shapes in every set): the destination weighted
// by 256 - A where A is the alpha byte, 256 for 255.
struct ShapeAlpha : Unkeyed {
    uint32_t operator()(uint32_t s, uint32_t d) const
    {
        const uint32_t a = s >> 24;
        const uint32_t sf = a + ((a + 1) >> 8);
        const uint32_t df = 256 - sf;
        // A channel's two products add up to at most 255: red and blue cannot meet.
        const uint32_t rb = ((((s & 0xFF00FF) * sf) >> 8) & 0xFF00FF) +
                            ((((d & 0xFF00FF) * df) >> 8) & 0xFF00FF);
        const uint32_t g = ((((s & 0xFF00) * sf) >> 8) & 0xFF00) + ((((d & 0xFF00) * df) >> 8) & 0xFF00);
        return rb | g;
    }
};

// Each of the four bytes of D times (S + S / 128) / 256: a source byte 255 keeps the byte, 0
// clears it.
struct Multiply : Unkeyed {
    uint32_t operator()(uint32_t s, uint32_t d) const
    {
        uint32_t out = 0;
        for (int k = 0; k < 4; ++k) {
            const uint32_t m = (s >> (8 * k)) & 0xFF;
            out |= ((((d >> (8 * k)) & 0xFF) * (m + (m >> 7))) >> 8) << (8 * k);
        }
        return out;
    }
};

// Skips source pixels equal to the key; Mask 0xFFFFFF compares the colour bytes only.
template <class Rule, uint32_t Mask = 0xFFFFFFFF>
struct Keyed {
    Rule rule;
    uint32_t key;
    bool Skip(uint32_t s) const { return (s & Mask) == key; }
    uint32_t operator()(uint32_t s, uint32_t d) const { return rule(s, d); }
};

// Applies a rule along one destination row, one pixel at a time.
template <class Rule>
struct Row {
    Rule rule;
    template <class Cursor>
    void operator()(uint32_t* d, size_t n, Cursor& cursor) const
    {
        // An unstretched copy moves the whole row at once (memmove: the source may be this plane).
        if constexpr (std::is_same_v<Rule, Copy> && std::is_same_v<Cursor, LinearCursor<false>>) {
            if (d != cursor.p) std::memmove(d, cursor.p, n * 4);
            return;
        }
        for (size_t i = 0; i < n; ++i) {
            const uint32_t s = cursor.Next();
            if (!rule.Skip(s)) d[i] = rule(s, d[i]);
        }
    }
};

// The portable set as the generated transfers see it (TransferSet.h).
struct Set : PixelAtATimeGather {
    template <class Rule>
    using Row = PixelOps::Row<Rule>;
    template <class Rule, uint32_t Mask>
    using Keyed = PixelOps::Keyed<Rule, Mask>;
};

}  // namespace PixelOps
