// The quadrilateral mapping behind MorphBlt and the rotations: the destination quadrilateral is
// filled row by row, each row's source positions interpolated linearly between its two edges.
// All stepping is 64-bit fixed point with 20 fraction bits, and only rows and pixels inside the
// clip rectangle are visited, so points anywhere in the 32-bit range are safe.
#pragma once

#include <pyro/graphics/Rect.h>
#include "graphics/transfer/TransferLoop.h"

#include <cstdint>

struct QuadSource {
    PixelView pixels;
    int32_t width;
    int32_t height;
    const uint32_t* key;  // skip source pixels equal to *key; null: write every sample
};

// Points are in the order top-left, top-right, bottom-left, bottom-right. clip must lie inside
// the destination. divisorFlag 0: a row's last pixel samples the right edge exactly; 1: the
// row's width divides the edge-to-edge distance. Samples outside the source leave the pixel.
// A twisted or non-convex quadrilateral draws nothing.
void MapQuad(const PixelView& dst, const Rect& clip, const QuadSource& src,
             const Point* srcPoints, const Point* dstPoints, int32_t divisorFlag);
