// ShapeSink: spans of target pixels to physical pixels.
#include "graphics/shape/ShapeSink.h"

#include "graphics/shape/ShapeMath.h"

#include <algorithm>

ShapeSink::ShapeSink(const ShapeSurface& surface, const Rect& clip)
    : surface_(surface), clip_(clip), spans_(ShapeSpansFor(surface.cpuKind))
{
    // Only target pixels whose whole block lies on the surface's rows are drawn, so that wrong
    // bounds cannot reach outside them.
    const int64_t m = std::max<int32_t>(1, surface_.scale);
    surface_.scale = int32_t(m);
    const int64_t left = CeilDiv(-int64_t(surface_.originX), m);
    const int64_t top = CeilDiv(-int64_t(surface_.originY), m);
    const int64_t right = FloorDiv(int64_t(surface_.width) - surface_.originX, m);
    const int64_t bottom = FloorDiv(int64_t(surface_.height) - surface_.originY, m);
    clip_.left = int32_t(std::max<int64_t>(clip_.left, left));
    clip_.top = int32_t(std::max<int64_t>(clip_.top, top));
    clip_.right = int32_t(std::min<int64_t>(clip_.right, right));
    clip_.bottom = int32_t(std::min<int64_t>(clip_.bottom, bottom));
    if (clip_.IsEmpty()) clip_ = {0, 0, 0, 0};
}

uint32_t* ShapeSink::PhysicalRow(int32_t row) const
{
    return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(surface_.pixels) +
                                       intptr_t(row) * surface_.pitch);
}

void ShapeSink::Fill(int64_t y, int64_t x0, int64_t x1, uint32_t source, BlendMode mode)
{
    if (y < clip_.top || y >= clip_.bottom) return;
    x0 = std::max<int64_t>(x0, clip_.left);
    x1 = std::min<int64_t>(x1, clip_.right);
    if (x0 >= x1) return;
    const int32_t m = surface_.scale;
    const int32_t px = surface_.originX + int32_t(x0) * m;
    const size_t n = size_t(x1 - x0) * size_t(m);
    const int32_t py = surface_.originY + int32_t(y) * m;
    for (int32_t r = 0; r < m; ++r) {
        uint32_t* d = PhysicalRow(py + r) + px;
        // A lone pixel (most of a steep line) costs less blended here than through a writer,
        // with every set's pixels.
        if (n == 1) *d = ShapeBlendPixel(source, *d, mode);
        else spans_.fill(d, n, source, mode);
    }
}

void ShapeSink::Row(int32_t y, int32_t x, int32_t n, const uint32_t* sources, BlendMode mode)
{
    const int32_t m = surface_.scale;
    const int32_t px = surface_.originX + x * m;
    const int32_t py = surface_.originY + y * m;
    if (m == 1) {
        spans_.row(PhysicalRow(py) + px, size_t(n), sources, mode);
        return;
    }
    // A block wider than the slice below: one fill per pixel and row.
    if (m > 64) {
        for (int32_t r = 0; r < m; ++r)
            for (int32_t k = 0; k < n; ++k)
                spans_.fill(PhysicalRow(py + r) + px + k * m, size_t(m), sources[k], mode);
        return;
    }
    // Each source pixel repeated across its block, a slice at a time.
    uint32_t wide[256];
    const int32_t perSlice = int32_t(sizeof(wide) / sizeof(wide[0])) / m;
    for (int32_t i = 0; i < n; i += perSlice) {
        const int32_t count = std::min(perSlice, n - i);
        for (int32_t k = 0; k < count; ++k)
            std::fill(wide + k * m, wide + (k + 1) * m, sources[i + k]);
        for (int32_t r = 0; r < m; ++r)
            spans_.row(PhysicalRow(py + r) + px + i * m, size_t(count * m), wide, mode);
    }
}

void ShapeSink::Covered(int64_t x, int64_t y, uint32_t colour, uint32_t coverage, BlendMode mode)
{
    if (coverage == 0 || x < clip_.left || x >= clip_.right || y < clip_.top || y >= clip_.bottom) return;
    const uint32_t covered = CoveredColour(colour, coverage, &mode);
    const uint32_t source = ShapeSource(covered, mode);
    const int32_t m = surface_.scale;
    const int32_t px = surface_.originX + int32_t(x) * m;
    const int32_t py = surface_.originY + int32_t(y) * m;
    for (int32_t r = 0; r < m; ++r) {
        uint32_t* d = PhysicalRow(py + r) + px;
        for (int32_t c = 0; c < m; ++c) d[c] = ShapeBlendPixel(source, d[c], mode);
    }
}
