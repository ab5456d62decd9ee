// Where the rasterisers' spans go: a surface's pixels through the span writers of its set, each
// target pixel magnified to the surface's scale and clipped to the clip rectangle the sink was
// made with (target coordinates).
#pragma once

#include <pyro/graphics/Shapes.h>
#include "graphics/shape/ShapeSpans.h"

#include <cstdint>

class ShapeSink {
public:
    // clip: already cut to the surface's bounds and not empty.
    ShapeSink(const ShapeSurface& surface, const Rect& clip);

    // The clip rectangle in target coordinates.
    const Rect& Clip() const { return clip_; }
    // Pixels x0 to x1 - 1 of row y (cut to the clip) blended with a prepared source pixel.
    void Fill(int64_t y, int64_t x0, int64_t x1, uint32_t source, BlendMode mode);
    // The same with a colour: its source pixel for the mode.
    void FillColour(int64_t y, int64_t x0, int64_t x1, uint32_t colour, BlendMode mode)
    {
        Fill(y, x0, x1, ShapeSource(colour, mode), mode);
    }
    // n pixels of row y from x on (already inside the clip), pixel i blended with sources[i].
    void Row(int32_t y, int32_t x, int32_t n, const uint32_t* sources, BlendMode mode);
    // One pixel (cut to the clip) in a colour weighted by a coverage 0 to 255.
    void Covered(int64_t x, int64_t y, uint32_t colour, uint32_t coverage, BlendMode mode);

private:
    uint32_t* PhysicalRow(int32_t row) const;

    ShapeSurface surface_;
    Rect clip_;
    const ShapeSpanSet& spans_;
};
