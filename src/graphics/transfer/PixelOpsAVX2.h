// The AVX2 instructions behind the vector pixel rules: eight pixels per 256-bit register. The
// unpacks and packs work within each 128-bit half, and every rule applies them in pairs, so the
// pixels come out where they went in. Only the file that builds the AVX2 plane includes this;
// it alone is compiled with AVX2 enabled.
#pragma once

#include "graphics/transfer/PixelOpsVector.h"

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

struct AVX2Vector {
    using Reg = __m256i;
    static constexpr size_t kPixels = 8;

    static PYRO_VECTOR_INLINE Reg Zero() { return _mm256_setzero_si256(); }
    static PYRO_VECTOR_INLINE Reg Splat(uint32_t v) { return _mm256_set1_epi32(int(v)); }
    static PYRO_VECTOR_INLINE Reg Splat16(uint16_t v) { return _mm256_set1_epi16(short(v)); }
    static PYRO_VECTOR_INLINE Reg FromPixel(uint32_t v)
    {
        return _mm256_castsi128_si256(_mm_cvtsi32_si128(int(v)));
    }
    static PYRO_VECTOR_INLINE uint32_t ToPixel(Reg v)
    {
        return uint32_t(_mm_cvtsi128_si32(_mm256_castsi256_si128(v)));
    }

    static PYRO_VECTOR_INLINE Reg Load(const uint32_t* p)
    {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    }
    static PYRO_VECTOR_INLINE void Store(uint32_t* p, Reg v)
    {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
    }
    static PYRO_VECTOR_INLINE Reg Reverse(Reg v)
    {
        return _mm256_permutevar8x32_epi32(v, _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0));
    }
    // The source rows of a stretch, through a table described in runs of eight (ColumnTable):
    // a run whose columns lie within eight neighbouring pixels comes out of one load and one
    // shuffle by lane indexes, in one loop over the runs in a row that can; other runs take
    // their pixels one at a time.
    static constexpr size_t kGatherGroup = kPixels;
    static void Gather(const ColumnTable& table, uint32_t* out, const uint32_t* row)
    {
        const ColumnTable::Group* groups = table.Groups();
        const int32_t* offsets = table.Offsets();
        const size_t width = table.Width();
        const size_t runs = width / kPixels;
        for (size_t g = 0; g < runs;) {
            const size_t end = g + groups[g].same;
            if (groups[g].base < 0) {
                table.Gather(out, row, g * kPixels, end * kPixels);
                g = end;
                continue;
            }
            for (; g < end; ++g) {
                const Reg at = Load(reinterpret_cast<const uint32_t*>(offsets + g * kPixels));
                Store(out + g * kPixels,
                      _mm256_permutevar8x32_epi32(Load(row + groups[g].base), at));
            }
        }
        table.Gather(out, row, runs * kPixels, width);
    }

    static PYRO_VECTOR_INLINE Reg And(Reg a, Reg b) { return _mm256_and_si256(a, b); }
    static PYRO_VECTOR_INLINE Reg Or(Reg a, Reg b) { return _mm256_or_si256(a, b); }
    static PYRO_VECTOR_INLINE Reg Xor(Reg a, Reg b) { return _mm256_xor_si256(a, b); }
    // ~a & b.
    static PYRO_VECTOR_INLINE Reg AndNot(Reg a, Reg b) { return _mm256_andnot_si256(a, b); }
    static PYRO_VECTOR_INLINE Reg Add32(Reg a, Reg b) { return _mm256_add_epi32(a, b); }
    static PYRO_VECTOR_INLINE Reg Sub32(Reg a, Reg b) { return _mm256_sub_epi32(a, b); }
    template <int N>
    static PYRO_VECTOR_INLINE Reg Srli32(Reg v) { return _mm256_srli_epi32(v, N); }
    template <int N>
    static PYRO_VECTOR_INLINE Reg Slli32(Reg v) { return _mm256_slli_epi32(v, N); }
    static PYRO_VECTOR_INLINE Reg Add16(Reg a, Reg b) { return _mm256_add_epi16(a, b); }
    static PYRO_VECTOR_INLINE Reg Sub16(Reg a, Reg b) { return _mm256_sub_epi16(a, b); }
    static PYRO_VECTOR_INLINE Reg Mullo16(Reg a, Reg b) { return _mm256_mullo_epi16(a, b); }
    static PYRO_VECTOR_INLINE Reg MulhiU16(Reg a, Reg b) { return _mm256_mulhi_epu16(a, b); }
    template <int N>
    static PYRO_VECTOR_INLINE Reg Srli16(Reg v) { return _mm256_srli_epi16(v, N); }
    template <int N>
    static PYRO_VECTOR_INLINE Reg Slli16(Reg v) { return _mm256_slli_epi16(v, N); }
    static PYRO_VECTOR_INLINE Reg UnpackLo8(Reg a, Reg b) { return _mm256_unpacklo_epi8(a, b); }
    static PYRO_VECTOR_INLINE Reg UnpackHi8(Reg a, Reg b) { return _mm256_unpackhi_epi8(a, b); }
    static PYRO_VECTOR_INLINE Reg UnpackLo32(Reg a, Reg b) { return _mm256_unpacklo_epi32(a, b); }
    static PYRO_VECTOR_INLINE Reg UnpackHi32(Reg a, Reg b) { return _mm256_unpackhi_epi32(a, b); }
    static PYRO_VECTOR_INLINE Reg PackUS16(Reg a, Reg b) { return _mm256_packus_epi16(a, b); }
    static PYRO_VECTOR_INLINE Reg AddsU8(Reg a, Reg b) { return _mm256_adds_epu8(a, b); }
    static PYRO_VECTOR_INLINE Reg SubsU8(Reg a, Reg b) { return _mm256_subs_epu8(a, b); }
    static PYRO_VECTOR_INLINE Reg CmpEq16(Reg a, Reg b) { return _mm256_cmpeq_epi16(a, b); }
    static PYRO_VECTOR_INLINE Reg CmpEq32(Reg a, Reg b) { return _mm256_cmpeq_epi32(a, b); }
    // Every lane of a comparison result set.
    static PYRO_VECTOR_INLINE bool AllSet(Reg mask) { return _mm256_movemask_epi8(mask) == -1; }
};

using PixelOpsAVX2 = PixelOpsVector<AVX2Vector>;
