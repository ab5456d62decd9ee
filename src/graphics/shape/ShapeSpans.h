// The span writers behind CShapes: one per processor set, each applying a blend mode's pixel
// rule along a run of destination pixels, with one source pixel for the whole run (a solid
// span) or one per pixel (a gradient). The rasterisers prepare the source pixels with
// ShapeSource, so that the writers are the plain rules of the transfer sets and every set gives
// the same pixels.
#pragma once

#include <pyro/graphics/Shapes.h>

#include <cstddef>
#include <cstdint>

// The writers of one set.
struct ShapeSpanSet {
    // n pixels from d on, each blended with s.
    void (*fill)(uint32_t* d, size_t n, uint32_t s, BlendMode mode);
    // n pixels from d on, pixel i blended with s[i].
    void (*row)(uint32_t* d, size_t n, const uint32_t* s, BlendMode mode);
};

// The portable writers; the others live in the files of their sets (DIBPlaneMMX.cpp and so on).
const ShapeSpanSet& PortableShapeSpans();
// The MMX writers.
const ShapeSpanSet& MMXShapeSpans();
// The SSE2 writers.
const ShapeSpanSet& SSE2ShapeSpans();
// The AVX2 writers.
const ShapeSpanSet& AVX2ShapeSpans();
// The writers of a processor kind (GetCPUKind's numbers); kinds without their own get the
// portable ones.
const ShapeSpanSet& ShapeSpansFor(int32_t cpuKind);

// The source pixel a writer blends for a colour in a mode: the colour itself (Copy, Alpha), its
// channels weighted by the alpha over a top byte 0 (Add, Subtract), or the multiplier's bytes
// over a top byte 255 (Multiply).
uint32_t ShapeSource(uint32_t colour, BlendMode mode);
// The colour with its alpha byte weighted by a coverage 0 to 255 (rounded), and the mode a
// partly covered pixel takes (Copy becomes Alpha by the coverage).
uint32_t CoveredColour(uint32_t colour, uint32_t coverage, BlendMode* mode);
// One destination pixel blended with a prepared source pixel, as every writer does it.
uint32_t ShapeBlendPixel(uint32_t s, uint32_t d, BlendMode mode);
