// The MMX twins of the pixel rules in PixelOps.h, two pixels per 64-bit register, and the row
// function that applies a rule along a row two pixels at a time (an odd leading pixel, one that
// would break the 8-byte alignment of the destination, and an odd trailing pixel go alone).
// Only the file that builds the MMX plane includes this; it is compiled for MMX registers.
#pragma once

#include "graphics/transfer/PixelOps.h"
#include "graphics/transfer/TransferLoop.h"

#include <mmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

// Every function that takes or returns an MMX value is inlined: the 64-bit calling convention
// passes such values in SSE registers, which this code leaves unused.
#define PYRO_MMX_INLINE inline __attribute__((always_inline))

namespace PixelOpsMMX {

PYRO_MMX_INLINE __m64 Pair(uint32_t first, uint32_t second)
{
    return _mm_unpacklo_pi32(_mm_cvtsi32_si64(int(first)), _mm_cvtsi32_si64(int(second)));
}

PYRO_MMX_INLINE __m64 Splat(uint32_t v) { return Pair(v, v); }

// Bytes to 16-bit lanes: the low pixel's four channels, or the high pixel's.
PYRO_MMX_INLINE __m64 Low16(__m64 v) { return _mm_unpacklo_pi8(v, _mm_setzero_si64()); }
PYRO_MMX_INLINE __m64 High16(__m64 v) { return _mm_unpackhi_pi8(v, _mm_setzero_si64()); }

// (v * w) / 256 per 16-bit lane; both factors at most 256 and the product below 65536.
PYRO_MMX_INLINE __m64 Scale16(__m64 v, __m64 w) { return _mm_srli_pi16(_mm_mullo_pi16(v, w), 8); }

// (s * f) / 256 + (d * g) / 256 per byte, saturated at 255 by the final pack; factors as 16-bit
// lanes for the low pixel (fl, gl) and the high pixel (fh, gh).
PYRO_MMX_INLINE __m64 Weighted(__m64 s, __m64 d, __m64 fl, __m64 fh, __m64 gl, __m64 gh)
{
    const __m64 lo = _mm_add_pi16(Scale16(Low16(s), fl), Scale16(Low16(d), gl));
    const __m64 hi = _mm_add_pi16(Scale16(High16(s), fh), Scale16(High16(d), gh));
    return _mm_packs_pu16(lo, hi);
}

struct Copy {
    static constexpr bool kIgnoresDestination = true;
    PYRO_MMX_INLINE __m64 operator()(__m64 s, __m64) const { return s; }
};

struct Average {
    PYRO_MMX_INLINE __m64 operator()(__m64 s, __m64 d) const
    {
        const __m64 half = _mm_and_si64(_mm_srli_pi32(_mm_xor_si64(s, d), 1), Splat(0x7F7F7F));
        return _mm_add_pi32(_mm_and_si64(s, d), half);
    }
};

// The rates' top bytes are 0, so the top byte comes out 0.
struct Mix {
    __m64 dstRate16;
    __m64 srcRate16;
    PYRO_MMX_INLINE explicit Mix(const PixelOps::RuleArgs& args)
        : dstRate16(Low16(_mm_cvtsi32_si64(int(args.dstRate & 0xFFFFFF)))),
          srcRate16(Low16(_mm_cvtsi32_si64(int(args.srcRate & 0xFFFFFF))))
    {
    }
    PYRO_MMX_INLINE __m64 operator()(__m64 s, __m64 d) const
    {
        return Weighted(s, d, srcRate16, srcRate16, dstRate16, dstRate16);
    }
};

// Top byte saturates too (the portable set wraps it).
struct Add {
    PYRO_MMX_INLINE __m64 operator()(__m64 s, __m64 d) const { return _mm_adds_pu8(s, d); }
};

// Top byte saturates at 0 too (the portable set wraps it).
struct Subtract {
    PYRO_MMX_INLINE __m64 operator()(__m64 s, __m64 d) const { return _mm_subs_pu8(d, s); }
};

struct Opaque {
    static constexpr bool kIgnoresDestination = true;
    PYRO_MMX_INLINE __m64 operator()(__m64 s, __m64) const
    {
        return _mm_and_si64(s, Splat(0xFFFFFF));
    }
};

struct ColourOnly {
    PYRO_MMX_INLINE __m64 operator()(__m64 s, __m64 d) const
    {
        return _mm_or_si64(_mm_and_si64(s, Splat(0xFFFFFF)), _mm_and_si64(d, Splat(0xFF000000)));
    }
};

// Weights of the alpha blend for every alpha a as four 16-bit lanes (blue, green, red, top):
// the source weight A = a (256 for a = 255) and the destination weight 256 - A, with 0 in the
// top lane so that the top byte comes out 0. A look-up costs less than working them out.
struct AlphaWeights {
    uint64_t src[256];
    uint64_t dst[256];
};

constexpr AlphaWeights MakeAlphaWeights()
{
    AlphaWeights w{};
    for (uint64_t a = 0; a < 256; ++a) {
        const uint64_t sf = a == 255 ? 256 : a;
        const uint64_t df = 256 - sf;
        w.src[a] = sf | sf << 16 | sf << 32;
        w.dst[a] = df | df << 16 | df << 32;
    }
    return w;
}

inline constexpr AlphaWeights kAlphaWeights = MakeAlphaWeights();

PYRO_MMX_INLINE __m64 Load64(const uint64_t* p)
{
    __m64 v;
    std::memcpy(&v, p, 8);
    return v;
}

// One step more on the destination than the portable set gives for 0 < a < 255.
struct Alpha {
    PYRO_MMX_INLINE __m64 operator()(__m64 s, __m64 d) const
    {
        const uint32_t a0 = uint32_t(_mm_cvtsi64_si32(s)) >> 24;
        const uint32_t a1 = uint32_t(_mm_cvtsi64_si32(_mm_srli_si64(s, 32))) >> 24;
        return Weighted(s, d, Load64(&kAlphaWeights.src[a0]), Load64(&kAlphaWeights.src[a1]),
                        Load64(&kAlphaWeights.dst[a0]), Load64(&kAlphaWeights.dst[a1]));
    }
};

// The shapes' alpha blend is this set's own.
using ShapeAlpha = Alpha;

// Each byte of D times (S + S / 128) / 256, the four bytes alike.
struct Multiply {
    PYRO_MMX_INLINE static __m64 Half(__m64 s16, __m64 d16)
    {
        const __m64 m = _mm_add_pi16(s16, _mm_srli_pi16(s16, 7));
        return _mm_srli_pi16(_mm_mullo_pi16(d16, m), 8);
    }
    PYRO_MMX_INLINE __m64 operator()(__m64 s, __m64 d) const
    {
        return _mm_packs_pu16(Half(Low16(s), Low16(d)), Half(High16(s), High16(d)));
    }
};

// The factor tables hold 0 in the top bytes, so the top byte comes out 0.
struct AlphaMix {
    const PixelOps::AlphaMixTable* table;
    explicit AlphaMix(const PixelOps::RuleArgs& args) : table(args.table)
    {
        PixelOps::BuildAlphaMixTable(*args.table, args.dstRate, args.srcRate);
    }
    PYRO_MMX_INLINE __m64 operator()(__m64 s, __m64 d) const
    {
        const uint32_t a0 = uint32_t(_mm_cvtsi64_si32(s)) >> 24;
        const uint32_t a1 = uint32_t(_mm_cvtsi64_si32(_mm_srli_si64(s, 32))) >> 24;
        const __m64 f = Pair(table->src[a0], table->src[a1]);
        const __m64 g = Pair(table->dst[a0], table->dst[a1]);
        return Weighted(s, d, Low16(f), High16(f), Low16(g), High16(g));
    }
};

// Keeps the destination where the source equals the key; Mask 0xFFFFFF compares colour bytes.
template <class Rule, uint32_t Mask = 0xFFFFFFFF>
struct Keyed {
    Rule rule;
    __m64 key;
    PYRO_MMX_INLINE Keyed(Rule r, uint32_t k) : rule(r), key(Splat(k)) {}
    PYRO_MMX_INLINE __m64 operator()(__m64 s, __m64 d) const
    {
        __m64 probe = s;
        if constexpr (Mask != 0xFFFFFFFF) probe = _mm_and_si64(s, Splat(Mask));
        const __m64 same = _mm_cmpeq_pi32(probe, key);
        return _mm_or_si64(_mm_and_si64(same, d), _mm_andnot_si64(same, rule(s, d)));
    }
};

// Two source pixels, the first in the low half.
template <class Cursor>
PYRO_MMX_INLINE __m64 Fetch2(Cursor& cursor)
{
    const uint32_t first = cursor.Next();
    const uint32_t second = cursor.Next();
    return Pair(first, second);
}

PYRO_MMX_INLINE __m64 Fetch2(LinearCursor<false>& cursor)
{
    __m64 v;
    std::memcpy(&v, cursor.p, 8);
    cursor.p += 2;
    return v;
}

PYRO_MMX_INLINE __m64 Fetch2(LinearCursor<true>& cursor)
{
    cursor.p -= 2;
    __m64 v;
    std::memcpy(&v, cursor.p, 8);
    return _mm_or_si64(_mm_srli_si64(v, 32), _mm_slli_si64(v, 32));
}

template <class Rule>
struct Row {
    Rule rule;

    template <class Cursor>
    void operator()(uint32_t* d, size_t n, Cursor& cursor) const
    {
        // An unstretched copy moves the row as one block, as the portable set does: eight-byte
        // moves reach only about two thirds of the library's block move (memmove: the source
        // may be this very plane).
        if constexpr (std::is_same_v<Rule, Copy> && std::is_same_v<Cursor, LinearCursor<false>>) {
            if (d != cursor.p) std::memmove(d, cursor.p, n * 4);
            return;
        }
        if (n && (reinterpret_cast<uintptr_t>(d) & 7)) {
            One(d++, cursor.Next());
            --n;
        }
        __m64* d2 = reinterpret_cast<__m64*>(d);
        for (size_t i = 0; i < n / 2; ++i) d2[i] = rule(Fetch2(cursor), d2[i]);
        if (n & 1) One(d + (n - 1), cursor.Next());
    }

    PYRO_MMX_INLINE void One(uint32_t* d, uint32_t s) const
    {
        *d = uint32_t(_mm_cvtsi64_si32(rule(_mm_cvtsi32_si64(int(s)), _mm_cvtsi32_si64(int(*d)))));
    }
};

// The MMX set as the generated transfers see it (TransferSet.h). After each loop it leaves the
// MMX state so that floating-point code works again.
struct Set : PixelAtATimeGather {
    template <class Rule>
    using Row = PixelOpsMMX::Row<Rule>;
    template <class Rule, uint32_t Mask>
    using Keyed = PixelOpsMMX::Keyed<Rule, Mask>;
    static void Leave() { _mm_empty(); }
};

}  // namespace PixelOpsMMX
