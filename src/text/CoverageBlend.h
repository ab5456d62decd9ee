// Greyscale glyph coverage composited into 0xAARRGGBB pixels, for text drawn with alpha: each
// layer (the shadow, the text) goes over what lies below it, colour in the colour bytes and
// coverage in the alpha byte, never premultiplied, as the alpha transfers read them. Portable, so
// the arithmetic runs under the sanitizers.
#pragma once

#include <cstddef>
#include <cstdint>

// A GDI grey level (0 to 64, GGO_GRAY8_BITMAP) as an alpha byte: 65 levels spread over 0 to 255.
inline uint8_t GrayLevelToAlpha(uint8_t level)
{
    return level >= 64 ? 255 : uint8_t((unsigned(level) * 255 + 32) / 64);
}

// One pixel with colour 0xRRGGBB at alpha laid over dst (non-premultiplied "over").
uint32_t BlendOver(uint32_t dst, uint32_t colour, uint8_t alpha);

// Lays a glyph bitmap of GDI grey levels (rows of `pitch` bytes, width by height) over the
// pixels at (x, y) in colour 0xRRGGBB; whatever falls outside the width by height pixels of
// `pixels` (pitch in pixels) is left out.
void BlendGlyph(uint32_t* pixels, int32_t pixelsPitch, int32_t pixelsWidth, int32_t pixelsHeight, const uint8_t* levels,
                int32_t pitch, int32_t width, int32_t height, int32_t x, int32_t y, uint32_t colour);
