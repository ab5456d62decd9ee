// Non-premultiplied "over" with integer rounding: a layer over an empty pixel keeps its colour
// and coverage exactly, so a text of one colour has exactly that colour wherever it covers.
#include "text/CoverageBlend.h"

#include <algorithm>

uint32_t BlendOver(uint32_t dst, uint32_t colour, uint8_t alpha)
{
    if (alpha == 0) return dst;
    const uint32_t below = dst >> 24;
    if (alpha == 255 || below == 0) return uint32_t(alpha) << 24 | (colour & 0xFFFFFF);
    // Weights in 255ths: the layer a, what lies below b (1 - a); out = a + b.
    const uint32_t a = alpha * 255u;
    const uint32_t b = below * (255u - alpha);
    const uint32_t out = a + b;  // up to 255 * 255
    uint32_t result = ((out + 127) / 255) << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t top = colour >> shift & 0xFF, bottom = dst >> shift & 0xFF;
        result |= ((top * a + bottom * b + out / 2) / out) << shift;
    }
    return result;
}

void BlendGlyph(uint32_t* pixels, int32_t pixelsPitch, int32_t pixelsWidth, int32_t pixelsHeight, const uint8_t* levels,
                int32_t pitch, int32_t width, int32_t height, int32_t x, int32_t y, uint32_t colour)
{
    // Clipped in 64 bits: a glyph placed near ±2^31 must not wrap round into the plane.
    const int64_t left = std::max<int64_t>(0, -int64_t(x)), top = std::max<int64_t>(0, -int64_t(y));
    const int64_t right = std::min<int64_t>(width, int64_t(pixelsWidth) - x);
    const int64_t bottom = std::min<int64_t>(height, int64_t(pixelsHeight) - y);
    for (int64_t j = top; j < bottom; ++j) {
        const uint8_t* row = levels + size_t(j) * size_t(pitch);
        uint32_t* out = pixels + size_t(y + j) * size_t(pixelsPitch) + size_t(x + left);
        for (int64_t i = left; i < right; ++i, ++out) {
            if (row[i]) *out = BlendOver(*out, colour, GrayLevelToAlpha(row[i]));
        }
    }
}
