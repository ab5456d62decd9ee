// The SSE2 instructions behind the vector pixel rules: four pixels per 128-bit register. Only
// the file that builds the SSE2 plane includes this; it alone is compiled with SSE2 enabled, so
// a 32-bit program reaches these instructions only on a processor that reported them.
#pragma once

#include "graphics/transfer/PixelOpsVector.h"

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

struct SSE2Vector {
    using Reg = __m128i;
    static constexpr size_t kPixels = 4;

    static PYRO_VECTOR_INLINE Reg Zero() { return _mm_setzero_si128(); }
    static PYRO_VECTOR_INLINE Reg Splat(uint32_t v) { return _mm_set1_epi32(int(v)); }
    static PYRO_VECTOR_INLINE Reg Splat16(uint16_t v) { return _mm_set1_epi16(short(v)); }
    static PYRO_VECTOR_INLINE Reg FromPixel(uint32_t v) { return _mm_cvtsi32_si128(int(v)); }
    static PYRO_VECTOR_INLINE uint32_t ToPixel(Reg v) { return uint32_t(_mm_cvtsi128_si32(v)); }

    static PYRO_VECTOR_INLINE Reg Load(const uint32_t* p)
    {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    }
    static PYRO_VECTOR_INLINE void Store(uint32_t* p, Reg v)
    {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
    }
    static PYRO_VECTOR_INLINE Reg Reverse(Reg v) { return _mm_shuffle_epi32(v, 0x1B); }
    // The source rows of a stretch, through a table described in runs of four (ColumnTable).
    // SSE2 shuffles lanes only by a selector fixed in the instruction, so the runs of the
    // commonest stretches, by a factor of one or two either way round, are one load and one
    // shuffle, in a loop per shape over the runs that share it; other runs take their pixels
    // one at a time.
    static constexpr size_t kGatherGroup = kPixels;
    template <uint32_t Shape>
    static void GatherRuns(const ColumnTable::Group* run, size_t count, uint32_t* out,
                           const uint32_t* row)
    {
        size_t k = 0;
        for (; k + 2 <= count; k += 2) {
            const Reg a = Load(row + run[k].base);
            const Reg b = Load(row + run[k + 1].base);
            Store(out + k * kPixels, _mm_shuffle_epi32(a, Shape));
            Store(out + k * kPixels + kPixels, _mm_shuffle_epi32(b, Shape));
        }
        if (k < count) Store(out + k * kPixels, _mm_shuffle_epi32(Load(row + run[k].base), Shape));
    }
    static void Gather(const ColumnTable& table, uint32_t* out, const uint32_t* row)
    {
        const ColumnTable::Group* groups = table.Groups();
        const size_t width = table.Width();
        const size_t runs = width / kPixels;
        for (size_t g = 0; g < runs;) {
            const ColumnTable::Group* run = groups + g;
            const size_t count = run->same;
            uint32_t* to = out + g * kPixels;
            switch (run->shape) {
            // Lanes 0 0 1 1, 0 1 1 2, 0 1 2 3 and the same mirrored.
            case 0x50: GatherRuns<0x50>(run, count, to, row); break;
            case 0x94: GatherRuns<0x94>(run, count, to, row); break;
            case 0xE4: GatherRuns<0xE4>(run, count, to, row); break;
            case 0x05: GatherRuns<0x05>(run, count, to, row); break;
            case 0x16: GatherRuns<0x16>(run, count, to, row); break;
            case 0x1B: GatherRuns<0x1B>(run, count, to, row); break;
            default: table.Gather(out, row, g * kPixels, (g + count) * kPixels);
            }
            g += count;
        }
        table.Gather(out, row, runs * kPixels, width);
    }

    static PYRO_VECTOR_INLINE Reg And(Reg a, Reg b) { return _mm_and_si128(a, b); }
    static PYRO_VECTOR_INLINE Reg Or(Reg a, Reg b) { return _mm_or_si128(a, b); }
    static PYRO_VECTOR_INLINE Reg Xor(Reg a, Reg b) { return _mm_xor_si128(a, b); }
    // ~a & b.
    static PYRO_VECTOR_INLINE Reg AndNot(Reg a, Reg b) { return _mm_andnot_si128(a, b); }
    static PYRO_VECTOR_INLINE Reg Add32(Reg a, Reg b) { return _mm_add_epi32(a, b); }
    static PYRO_VECTOR_INLINE Reg Sub32(Reg a, Reg b) { return _mm_sub_epi32(a, b); }
    template <int N>
    static PYRO_VECTOR_INLINE Reg Srli32(Reg v) { return _mm_srli_epi32(v, N); }
    template <int N>
    static PYRO_VECTOR_INLINE Reg Slli32(Reg v) { return _mm_slli_epi32(v, N); }
    static PYRO_VECTOR_INLINE Reg Add16(Reg a, Reg b) { return _mm_add_epi16(a, b); }
    static PYRO_VECTOR_INLINE Reg Sub16(Reg a, Reg b) { return _mm_sub_epi16(a, b); }
    static PYRO_VECTOR_INLINE Reg Mullo16(Reg a, Reg b) { return _mm_mullo_epi16(a, b); }
    static PYRO_VECTOR_INLINE Reg MulhiU16(Reg a, Reg b) { return _mm_mulhi_epu16(a, b); }
    template <int N>
    static PYRO_VECTOR_INLINE Reg Srli16(Reg v) { return _mm_srli_epi16(v, N); }
    template <int N>
    static PYRO_VECTOR_INLINE Reg Slli16(Reg v) { return _mm_slli_epi16(v, N); }
    static PYRO_VECTOR_INLINE Reg UnpackLo8(Reg a, Reg b) { return _mm_unpacklo_epi8(a, b); }
    static PYRO_VECTOR_INLINE Reg UnpackHi8(Reg a, Reg b) { return _mm_unpackhi_epi8(a, b); }
    static PYRO_VECTOR_INLINE Reg UnpackLo32(Reg a, Reg b) { return _mm_unpacklo_epi32(a, b); }
    static PYRO_VECTOR_INLINE Reg UnpackHi32(Reg a, Reg b) { return _mm_unpackhi_epi32(a, b); }
    static PYRO_VECTOR_INLINE Reg PackUS16(Reg a, Reg b) { return _mm_packus_epi16(a, b); }
    static PYRO_VECTOR_INLINE Reg AddsU8(Reg a, Reg b) { return _mm_adds_epu8(a, b); }
    static PYRO_VECTOR_INLINE Reg SubsU8(Reg a, Reg b) { return _mm_subs_epu8(a, b); }
    static PYRO_VECTOR_INLINE Reg CmpEq16(Reg a, Reg b) { return _mm_cmpeq_epi16(a, b); }
    static PYRO_VECTOR_INLINE Reg CmpEq32(Reg a, Reg b) { return _mm_cmpeq_epi32(a, b); }
    // Every lane of a comparison result set.
    static PYRO_VECTOR_INLINE bool AllSet(Reg mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }
};

using PixelOpsSSE2 = PixelOpsVector<SSE2Vector>;
