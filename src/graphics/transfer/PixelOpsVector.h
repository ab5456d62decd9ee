// The pixel rules of the vector transfer sets, written once over a register of V::kPixels
// pixels; V supplies the instructions (PixelOpsSSE2.h, PixelOpsAVX2.h). Each rule gives exactly
// the MMX twin's pixels (PixelOpsMMX.h), so the top byte of add and subtract saturates and the
// alpha blend weights the destination by 256 - A. Only the files that build a vector set
// include this, each compiled for its set's instructions.
#pragma once

#include "graphics/transfer/PixelOps.h"
#include "graphics/transfer/TransferLoop.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

// Everything that takes or returns a register is inlined into the set's own loops.
#define PYRO_VECTOR_INLINE inline __attribute__((always_inline))

template <class V>
struct PixelOpsVector {
    using Reg = typename V::Reg;

    // Bytes to 16-bit lanes: the low or the high two pixels of each 128-bit half.
    static PYRO_VECTOR_INLINE Reg Low16(Reg v) { return V::UnpackLo8(v, V::Zero()); }
    static PYRO_VECTOR_INLINE Reg High16(Reg v) { return V::UnpackHi8(v, V::Zero()); }

    // (v * w) / 256 per 16-bit lane of the low or high pixels, with v in the lanes' high bytes
    // (v * 256, straight from the unpack) so that the high half of the product is the result:
    // w is at most 256, so v * 256 * w stays below 2^32.
    static PYRO_VECTOR_INLINE Reg ScaleLow(Reg v, Reg w)
    {
        return V::MulhiU16(V::UnpackLo8(V::Zero(), v), w);
    }
    static PYRO_VECTOR_INLINE Reg ScaleHigh(Reg v, Reg w)
    {
        return V::MulhiU16(V::UnpackHi8(V::Zero(), v), w);
    }

    // (s * f) / 256 + (d * g) / 256 per byte, saturated at 255 by the final pack; factors as
    // 16-bit lanes for the low pixels (fl, gl) and the high ones (fh, gh).
    static PYRO_VECTOR_INLINE Reg Weighted(Reg s, Reg d, Reg fl, Reg fh, Reg gl, Reg gh)
    {
        const Reg lo = V::Add16(ScaleLow(s, fl), ScaleLow(d, gl));
        const Reg hi = V::Add16(ScaleHigh(s, fh), ScaleHigh(d, gh));
        return V::PackUS16(lo, hi);
    }

    struct Copy {
        static constexpr bool kIgnoresDestination = true;
        PYRO_VECTOR_INLINE Reg operator()(Reg s, Reg) const { return s; }
    };

    struct Average {
        PYRO_VECTOR_INLINE Reg operator()(Reg s, Reg d) const
        {
            const Reg half = V::And(V::template Srli32<1>(V::Xor(s, d)), V::Splat(0x7F7F7F));
            return V::Add32(V::And(s, d), half);
        }
    };

    // The rates' top bytes are cleared, so the top byte comes out 0.
    struct Mix {
        Reg dstRate16;
        Reg srcRate16;
        PYRO_VECTOR_INLINE explicit Mix(const PixelOps::RuleArgs& args)
            : dstRate16(Low16(V::Splat(args.dstRate & 0xFFFFFF))),
              srcRate16(Low16(V::Splat(args.srcRate & 0xFFFFFF)))
        {
        }
        PYRO_VECTOR_INLINE Reg operator()(Reg s, Reg d) const
        {
            return Weighted(s, d, srcRate16, srcRate16, dstRate16, dstRate16);
        }
    };

    struct Add {
        PYRO_VECTOR_INLINE Reg operator()(Reg s, Reg d) const { return V::AddsU8(s, d); }
    };

    struct Subtract {
        PYRO_VECTOR_INLINE Reg operator()(Reg s, Reg d) const { return V::SubsU8(d, s); }
    };

    struct Opaque {
        static constexpr bool kIgnoresDestination = true;
        PYRO_VECTOR_INLINE Reg operator()(Reg s, Reg) const
        {
            return V::And(s, V::Splat(0xFFFFFF));
        }
    };

    // d with the bits where s differs in the colour bytes flipped: one mask instead of two.
    struct ColourOnly {
        PYRO_VECTOR_INLINE Reg operator()(Reg s, Reg d) const
        {
            return V::Xor(d, V::And(V::Xor(s, d), V::Splat(0xFFFFFF)));
        }
    };

    // Source weight A = a (256 for a = 255) and destination weight 256 - A, in both 16-bit
    // halves of each pixel's lane. Blue and red, then green, are moved into the high bytes of
    // the 16-bit lanes without unpacking (a shift, a mask), so that the high half of each
    // product is the floored (x * weight) / 256. A channel's two products add up to at most
    // 255, so nothing saturates and the bytes go back with a shift and an or; the alpha byte
    // is shifted out or masked off on the way in and comes out 0.
    struct Alpha {
        PYRO_VECTOR_INLINE Reg operator()(Reg s, Reg d) const
        {
            const Reg a = V::template Srli32<24>(s);
            const Reg weight = V::Sub32(a, V::CmpEq32(a, V::Splat(255)));
            const Reg w = V::Or(weight, V::template Slli32<16>(weight));
            const Reg rest = V::Sub16(V::Splat16(256), w);
            const Reg blueRed = V::Add16(V::MulhiU16(V::template Slli16<8>(s), w),
                                         V::MulhiU16(V::template Slli16<8>(d), rest));
            const Reg greenMask = V::Splat(0xFF00);
            const Reg green = V::Add16(V::MulhiU16(V::And(s, greenMask), w),
                                       V::MulhiU16(V::And(d, greenMask), rest));
            return V::Or(blueRed, V::template Slli16<8>(green));
        }
    };

    // The shapes' alpha blend is this set's own.
    using ShapeAlpha = Alpha;

    // Each byte of D times (S + S / 128) / 256, the four bytes alike.
    struct Multiply {
        static PYRO_VECTOR_INLINE Reg Half(Reg s16, Reg d16)
        {
            const Reg m = V::Add16(s16, V::template Srli16<7>(s16));
            return V::template Srli16<8>(V::Mullo16(d16, m));
        }
        PYRO_VECTOR_INLINE Reg operator()(Reg s, Reg d) const
        {
            return V::PackUS16(Half(Low16(s), Low16(d)), Half(High16(s), High16(d)));
        }
    };

    // The factors of the alpha mix worked out per pixel in the lanes, as the portable set's
    // table holds them: F = a * Q / 256 and G = 255 - a * (255 - P) / 256, but exactly Q and P
    // for a = 255. The top lanes weigh the alpha bytes; the result's top byte is then cleared.
    struct AlphaMix {
        Reg src16;     // Q for two pixels
        Reg dst16;     // P
        Reg notDst16;  // 255 - P
        PYRO_VECTOR_INLINE explicit AlphaMix(const PixelOps::RuleArgs& args)
            : src16(Low16(V::Splat(args.srcRate & 0xFFFFFF))),
              dst16(Low16(V::Splat(args.dstRate & 0xFFFFFF))),
              notDst16(V::Sub16(V::Splat16(255), dst16))
        {
        }
        PYRO_VECTOR_INLINE void Factors(Reg a, Reg& f, Reg& g) const
        {
            const Reg full = V::Splat16(255);
            const Reg opaque = V::CmpEq16(a, full);
            const Reg fa = V::template Srli16<8>(V::Mullo16(a, src16));
            const Reg ga = V::Sub16(full, V::template Srli16<8>(V::Mullo16(a, notDst16)));
            f = V::Or(V::And(opaque, src16), V::AndNot(opaque, fa));
            g = V::Or(V::And(opaque, dst16), V::AndNot(opaque, ga));
        }
        PYRO_VECTOR_INLINE Reg operator()(Reg s, Reg d) const
        {
            const Reg a = V::template Srli32<24>(s);
            const Reg both = V::Or(a, V::template Slli32<16>(a));  // a in each half
            Reg fl, gl, fh, gh;
            Factors(V::UnpackLo32(both, both), fl, gl);
            Factors(V::UnpackHi32(both, both), fh, gh);
            return V::And(Weighted(s, d, fl, fh, gl, gh), V::Splat(0xFFFFFF));
        }
    };

    // Keeps the destination where the source equals the key; Mask 0xFFFFFF compares colour
    // bytes only.
    template <class Rule, uint32_t Mask = 0xFFFFFFFF>
    struct Keyed {
        static constexpr bool kKeyed = true;
        Rule rule;
        Reg key;
        PYRO_VECTOR_INLINE Keyed(Rule r, uint32_t k) : rule(r), key(V::Splat(k)) {}
        PYRO_VECTOR_INLINE Reg Same(Reg s) const
        {
            if constexpr (Mask != 0xFFFFFFFF) return V::CmpEq32(V::And(s, V::Splat(Mask)), key);
            else return V::CmpEq32(s, key);
        }
        PYRO_VECTOR_INLINE Reg operator()(Reg s, Reg d) const
        {
            const Reg same = Same(s);
            return V::Or(V::And(same, d), V::AndNot(same, rule(s, d)));
        }
    };

    // A register of source pixels from each kind of cursor, the first in the lowest lane.
    static PYRO_VECTOR_INLINE Reg Fetch(LinearCursor<false>& cursor)
    {
        const Reg v = V::Load(cursor.p);
        cursor.p += V::kPixels;
        return v;
    }
    static PYRO_VECTOR_INLINE Reg Fetch(LinearCursor<true>& cursor)
    {
        cursor.p -= V::kPixels;
        return V::Reverse(V::Load(cursor.p));
    }
    static PYRO_VECTOR_INLINE Reg Fetch(FixedCursor& cursor) { return V::Splat(cursor.pixel); }

    template <class Rule, class = void>
    struct IsKeyed : std::false_type {};
    template <class Rule>
    struct IsKeyed<Rule, std::void_t<decltype(Rule::kKeyed)>> : std::true_type {};

    // Applies a rule along a row a register or two at a time; the pixels that do not fill a
    // register at the end go one by one. The registers are not aligned: handling a row's first
    // pixels one by one until they were cost more on short rows than the unaligned moves do.
    template <class Rule>
    struct Row {
        Rule rule;

        template <class Cursor>
        void operator()(uint32_t* d, size_t n, Cursor& cursor) const
        {
            // An unstretched copy moves the row as one block, as the other sets do (memmove: the
            // source may be this very plane).
            if constexpr (std::is_same_v<Rule, Copy> &&
                          std::is_same_v<Cursor, LinearCursor<false>>) {
                if (d != cursor.p) std::memmove(d, cursor.p, n * 4);
                return;
            }
            // The register stores may alias anything, so the loop works on local copies that
            // need not be reloaded after every store.
            const Rule r = rule;
            Cursor c = cursor;
            size_t i = 0;
            // Two registers a turn: the loop's own instructions cost as much as a simple rule's.
            for (; i + 2 * V::kPixels <= n; i += 2 * V::kPixels) {
                const Reg s0 = Fetch(c);
                const Reg s1 = Fetch(c);
                Apply(r, d + i, s0);
                Apply(r, d + i + V::kPixels, s1);
            }
            if (i + V::kPixels <= n) {
                Apply(r, d + i, Fetch(c));
                i += V::kPixels;
            }
            for (; i < n; ++i) One(r, d + i, c.Next());
            cursor = c;
        }

        // The rule along two destination rows (TransferLoop.h): each register of source pixels
        // is fetched once and applied to both.
        static constexpr bool kPairs = true;
        template <class Cursor>
        void Pair(uint32_t* d0, uint32_t* d1, size_t n, Cursor& cursor) const
        {
            const Rule r = rule;
            Cursor c = cursor;
            size_t i = 0;
            for (; i + V::kPixels <= n; i += V::kPixels) {
                const Reg s = Fetch(c);
                Apply(r, d0 + i, s);
                Apply(r, d1 + i, s);
            }
            for (; i < n; ++i) {
                const uint32_t s = c.Next();
                One(r, d0 + i, s);
                One(r, d1 + i, s);
            }
            cursor = c;
        }

        static PYRO_VECTOR_INLINE void Apply(const Rule& r, uint32_t* d, Reg s)
        {
            // Sprites are mostly key: a register of key pixels leaves the destination alone.
            if constexpr (IsKeyed<Rule>::value) {
                if (V::AllSet(r.Same(s))) return;
            }
            V::Store(d, r(s, V::Load(d)));
        }

        static PYRO_VECTOR_INLINE void One(const Rule& r, uint32_t* d, uint32_t s)
        {
            *d = V::ToPixel(r(V::FromPixel(s), V::FromPixel(*d)));
        }
    };

    // The set as the generated transfers see it (TransferSet.h).
    struct Set {
        template <class Rule>
        using Row = typename PixelOpsVector::template Row<Rule>;
        template <class Rule, uint32_t Mask>
        using Keyed = typename PixelOpsVector::template Keyed<Rule, Mask>;
        static constexpr size_t kGatherGroup = V::kGatherGroup;
        static void Gather(const ColumnTable& table, uint32_t* out, const uint32_t* row)
        {
            V::Gather(table, out, row);
        }
        static void Leave() {}
    };
};
