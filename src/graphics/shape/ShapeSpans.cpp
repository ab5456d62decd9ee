// The portable span writers, the choice of writers by processor kind, and the source pixels the
// rasterisers hand them.
#include "graphics/shape/ShapeSpans.h"

#include "graphics/shape/ShapeSpanWriter.h"
#include "graphics/transfer/PixelOps.h"

namespace {

struct PortableShapeRules {
    using Copy = PixelOps::Copy;
    using ShapeAlpha = PixelOps::ShapeAlpha;
    using Add = PixelOps::Add;
    using Subtract = PixelOps::Subtract;
    using Multiply = PixelOps::Multiply;
};

// The weight of an alpha byte: A, or 256 for 255.
uint32_t Weight(uint32_t alpha) { return alpha + ((alpha + 1) >> 8); }

}  // namespace

const ShapeSpanSet& PortableShapeSpans()
{
    return ShapeSpanWriter<PixelOps::Set, PortableShapeRules>::Writers();
}

const ShapeSpanSet& ShapeSpansFor(int32_t cpuKind)
{
#if defined(__i386__) || defined(__x86_64__)
    switch (cpuKind) {
    case 3:
    case 4: return MMXShapeSpans();
    case 5: return SSE2ShapeSpans();
    case 6: return AVX2ShapeSpans();
    default: break;
    }
#else
    (void)cpuKind;
#endif
    return PortableShapeSpans();
}

uint32_t ShapeSource(uint32_t colour, BlendMode mode)
{
    const uint32_t w = Weight(colour >> 24);
    switch (mode) {
    case BlendMode::Add:
    case BlendMode::Subtract: {
        uint32_t out = 0;
        for (int k = 0; k < 3; ++k) out |= ((((colour >> (8 * k)) & 0xFF) * w) >> 8) << (8 * k);
        return out;
    }
    case BlendMode::Multiply: {
        uint32_t out = 0xFF000000u;
        for (int k = 0; k < 3; ++k) {
            const uint32_t c = (colour >> (8 * k)) & 0xFF;
            out |= (255 - (((255 - c) * w) >> 8)) << (8 * k);
        }
        return out;
    }
    default: return colour;
    }
}

uint32_t CoveredColour(uint32_t colour, uint32_t coverage, BlendMode* mode)
{
    if (coverage >= 255) return colour;
    if (*mode == BlendMode::Copy) {
        *mode = BlendMode::Alpha;
        return (colour & 0xFFFFFF) | (coverage << 24);
    }
    const uint32_t alpha = ((colour >> 24) * coverage + 127) / 255;
    return (colour & 0xFFFFFF) | (alpha << 24);
}

uint32_t ShapeBlendPixel(uint32_t s, uint32_t d, BlendMode mode)
{
    switch (mode) {
    case BlendMode::Copy: return s;
    case BlendMode::Alpha: return PixelOps::ShapeAlpha{}(s, d);
    case BlendMode::Add: return PixelOps::Add{}(s, d);
    case BlendMode::Subtract: return PixelOps::Subtract{}(s, d);
    case BlendMode::Multiply: return PixelOps::Multiply{}(s, d);
    }
    return d;
}
