// CShapes: the rasterisers. Each works out, for the rows of the clip rectangle it reaches, the
// runs or single pixels the shape covers, in exact integer arithmetic, and hands them to the
// sink; no shape steps through rows or columns outside the clip.
#include <pyro/graphics/Shapes.h>

#include "graphics/shape/PolygonEdges.h"
#include "graphics/shape/ShapeMath.h"
#include "graphics/shape/ShapeSink.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int64_t kLimit = int64_t(1) << 30;

bool InRange(int64_t v) { return v >= -kLimit && v <= kLimit; }

bool InRange(const Point& p) { return InRange(p.x) && InRange(p.y); }

// The pixels of a line along its longer axis: step k (0 to length) moves one pixel along it and
// offset(k) across, the exact offset k * minor / length rounded, ties to the larger coordinate.
// minor is the size of the move across and negative is its sign.
struct LineSteps {
    uint64_t length;
    uint64_t minor;
    bool negative;

    // The size of the offset at step k: floor((2 k minor + length - e) / (2 length)), e = 1 for
    // a negative move (ties then go to the smaller size).
    uint64_t Size(uint64_t k) const
    {
        if (length == 0) return 0;
        return (2 * k * minor + length - (negative ? 1 : 0)) / (2 * length);
    }
    // The first step in [lo, hi] whose Size is at least v (hi + 1 when none).
    uint64_t FirstAtLeast(uint64_t lo, uint64_t hi, int64_t v) const
    {
        if (v <= 0) return lo;
        uint64_t a = lo;
        uint64_t b = hi + 1;
        while (a < b) {
            const uint64_t mid = a + (b - a) / 2;
            if (int64_t(Size(mid)) >= v) b = mid;
            else a = mid + 1;
        }
        return a;
    }
};

// A whole-pixel line from (x0, y0) to (x1, y1), both ends included, as runs of the sink's rows.
// skipFirst and skipLast leave out the first and the last point as given.
void RasteriseLine(ShapeSink& sink, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                   uint32_t source, BlendMode mode, bool skipFirst, bool skipLast)
{
    const bool xMajor = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
    // Along the major axis from the smaller end, so that the line is the same either way.
    int64_t a0 = xMajor ? x0 : y0, b0 = xMajor ? y0 : x0;
    int64_t a1 = xMajor ? x1 : y1, b1 = xMajor ? y1 : x1;
    if (a1 < a0) {
        std::swap(a0, a1);
        std::swap(b0, b1);
        std::swap(skipFirst, skipLast);
    }
    const LineSteps steps{uint64_t(a1 - a0), uint64_t(std::llabs(b1 - b0)), b1 < b0};
    const Rect& clip = sink.Clip();
    const int64_t aLo = xMajor ? clip.left : clip.top, aHi = xMajor ? clip.right : clip.bottom;
    const int64_t bLo = xMajor ? clip.top : clip.left, bHi = xMajor ? clip.bottom : clip.right;
    // The steps inside the clip along the major axis, then across it (the offset is monotone).
    int64_t first = std::max<int64_t>(skipFirst ? 1 : 0, aLo - a0);
    int64_t last = std::min<int64_t>(int64_t(steps.length) - (skipLast ? 1 : 0), aHi - 1 - a0);
    if (first > last) return;
    const int64_t sizeLo = steps.negative ? b0 - (bHi - 1) : bLo - b0;
    const int64_t sizeHi = steps.negative ? b0 - bLo : bHi - 1 - b0;
    if (sizeHi < 0) return;
    // Searched only when an end lies across the clip: most lines need not be.
    if (std::min(b0, b1) < bLo || std::max(b0, b1) >= bHi) {
        first = int64_t(steps.FirstAtLeast(uint64_t(first), uint64_t(last), sizeLo));
        last = int64_t(steps.FirstAtLeast(uint64_t(first), uint64_t(last), sizeHi + 1)) - 1;
    }
    if (first > last) return;
    // The offset by an error term from here on.
    const uint64_t twoLength = 2 * std::max<uint64_t>(steps.length, 1);
    const uint64_t start = 2 * uint64_t(first) * steps.minor + steps.length -
                           (steps.negative && steps.length ? 1 : 0);
    uint64_t size = steps.length ? start / twoLength : 0;
    uint64_t error = steps.length ? start % twoLength : 0;
    const uint64_t stepError = 2 * steps.minor;
    int64_t runStart = first;
    for (int64_t k = first; k <= last; ++k) {
        const int64_t b = steps.negative ? b0 - int64_t(size) : b0 + int64_t(size);
        uint64_t nextSize = size;
        error += stepError;
        if (error >= twoLength && steps.length) {
            error -= twoLength;
            ++nextSize;
        }
        // A run ends where the offset changes or the line does.
        if (!xMajor) {
            sink.Fill(a0 + k, b, b + 1, source, mode);
        } else if (nextSize != size || k == last) {
            sink.Fill(b, a0 + runStart, a0 + k + 1, source, mode);
            runStart = k + 1;
        }
        size = nextSize;
    }
}

// The largest x >= 0 of the midpoint rule of FillEllipse in row dy, or -1 (a half-axis of 0
// gives a line).
int64_t EllipseHalfWidth(int64_t rx, int64_t ry, int64_t dy)
{
    dy = std::llabs(dy);
    if (dy > ry) return -1;
    if (ry == 0) return rx;
    if (rx == 0) return 0;
    const int64_t rx2 = rx * rx, ry2 = ry * ry;
    const int64_t whole = 4 * rx2 * ry2;
    int64_t best = -1;
    // ry²(2x - 1)² <= 4rx²ry² - 4rx²dy².
    const int64_t r1 = whole - 4 * rx2 * dy * dy;
    if (r1 >= ry2) best = (int64_t(ISqrt(uint64_t(r1 / ry2))) + 1) / 2;
    // 4ry²x² <= 4rx²ry² - rx²(2dy - 1)².
    const int64_t r2 = whole - rx2 * (2 * dy - 1) * (2 * dy - 1);
    if (r2 >= 0) best = std::max(best, int64_t(ISqrt(uint64_t(r2 / (4 * ry2)))));
    return std::min(best, rx);
}

// The signed distance from a pixel centre (dx, dy) from the ellipse's centre to its outline,
// estimated from the gradient: negative inside.
double EllipseDistance(double rx, double ry, double dx, double dy)
{
    if (rx == ry) return std::sqrt(dx * dx + dy * dy) - rx;
    const double f = std::sqrt((dx / rx) * (dx / rx) + (dy / ry) * (dy / ry));
    const double g = std::sqrt((dx / (rx * rx)) * (dx / (rx * rx)) + (dy / (ry * ry)) * (dy / (ry * ry)));
    if (g == 0) return -std::min(rx, ry);
    // Past a narrow ellipse's ends the estimate falls short; the distance to the bounding box
    // is a bound it must reach.
    return std::max({(f - 1) * f / g, std::fabs(dx) - rx, std::fabs(dy) - ry});
}

uint32_t CoverageByte(double c)
{
    if (!(c > 0)) return 0;
    if (c >= 1) return 255;
    return uint32_t(c * 255 + 0.5);
}

}  // namespace

// Each operation begins here: 1 without pixels, else the clip rectangle cut to the bounds
// (empty when nothing can show).
#define PYRO_SHAPE_CLIP(clip)                                         \
    if (!surface_.pixels) return 1;                                   \
    Rect clipRect = surface_.bounds;                                  \
    if (clip) clipRect = clipRect.Intersection(*(clip));              \
    if (clipRect.IsEmpty()) return 0;                                 \
    ShapeSink sink(surface_, clipRect);                               \
    if (sink.Clip().IsEmpty()) return 0

int32_t CShapes::DrawPixel(int32_t x, int32_t y, uint32_t colour, BlendMode mode, const Rect* clip)
{
    PYRO_SHAPE_CLIP(clip);
    sink.FillColour(y, x, int64_t(x) + 1, colour, mode);
    return 0;
}

int32_t CShapes::DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour,
                          BlendMode mode, const Rect* clip)
{
    if (!InRange(x0) || !InRange(y0) || !InRange(x1) || !InRange(y1)) return -2;
    PYRO_SHAPE_CLIP(clip);
    RasteriseLine(sink, x0, y0, x1, y1, ShapeSource(colour, mode), mode, false, false);
    return 0;
}

int32_t CShapes::DrawPolyline(const Point* points, int32_t count, uint32_t colour, BlendMode mode,
                              const Rect* clip)
{
    if (!points || count < 1) return -1;
    for (int32_t i = 0; i < count; ++i)
        if (!InRange(points[i])) return -2;
    PYRO_SHAPE_CLIP(clip);
    const uint32_t source = ShapeSource(colour, mode);
    if (count == 1) {
        sink.Fill(points[0].y, points[0].x, int64_t(points[0].x) + 1, source, mode);
        return 0;
    }
    // Each line but the last leaves out its end point: the next line starts there. The last one
    // leaves out its end too when that is where the first began (a closed outline).
    const bool closed = points[count - 1].x == points[0].x && points[count - 1].y == points[0].y;
    for (int32_t i = 0; i + 1 < count; ++i)
        RasteriseLine(sink, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, source,
                      mode, false, i + 2 < count || (closed && count > 2));
    return 0;
}

int32_t CShapes::DrawLineAA(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour,
                            BlendMode mode, const Rect* clip)
{
    if (!InRange(x0) || !InRange(y0) || !InRange(x1) || !InRange(y1)) return -2;
    PYRO_SHAPE_CLIP(clip);
    const bool xMajor = std::llabs(int64_t(x1) - x0) >= std::llabs(int64_t(y1) - y0);
    int64_t a0 = xMajor ? x0 : y0, b0 = xMajor ? y0 : x0;
    int64_t a1 = xMajor ? x1 : y1, b1 = xMajor ? y1 : x1;
    if (a1 < a0) {
        std::swap(a0, a1);
        std::swap(b0, b1);
    }
    const int64_t length = a1 - a0;
    const int64_t minor = std::llabs(b1 - b0);
    const bool negative = b1 < b0;
    const Rect& c = sink.Clip();
    const int64_t aLo = xMajor ? c.left : c.top, aHi = xMajor ? c.right : c.bottom;
    const int64_t bLo = xMajor ? c.top : c.left, bHi = xMajor ? c.bottom : c.right;
    int64_t first = std::max<int64_t>(0, aLo - a0);
    int64_t last = std::min<int64_t>(length, aHi - 1 - a0);
    if (first > last) return 0;
    // The pair of pixels at step k sits at offsets floor(t) and floor(t) + 1 of the exact offset
    // t = k * minor / length (signed); its size k * minor / length only grows. Steps whose pair
    // lies wholly across the clip are left out.
    auto whole = [&](int64_t k) { return length ? k * minor / length : 0; };
    auto firstAtLeast = [&](int64_t lo, int64_t hi, int64_t v) {
        while (lo < hi + 1) {
            const int64_t mid = lo + (hi + 1 - lo) / 2;
            if (whole(mid) >= v) hi = mid - 1;
            else lo = mid + 1;
        }
        return lo;
    };
    // Pair offsets (o, o + 1) with o = b - b0: floor(t) for a positive move, -ceil(size) for a
    // negative one; a step matters when o + 1 >= bLo - b0 and o <= bHi - 1 - b0.
    if (std::min(b0, b1) >= bLo && std::max(b0, b1) < bHi) {
        // Both ends inside across the clip: every step is.
    } else if (!negative) {
        first = std::max(first, firstAtLeast(first, last, bLo - b0 - 1));
        last = std::min(last, firstAtLeast(first, last, bHi - b0) - 1);
    } else {
        first = std::max(first, firstAtLeast(first, last, b0 - bHi));
        last = std::min(last, firstAtLeast(first, last, b0 - bLo + 2) - 1);
    }
    if (first > last) return 0;
    int64_t q = whole(first);
    int64_t r = length ? first * minor - q * length : 0;
    for (int64_t k = first; k <= last; ++k) {
        // The far pixel's share is the fraction of the exact offset past the near one.
        int64_t near, fraction;
        if (!negative) {
            near = b0 + q;
            fraction = r;
        } else {
            near = r ? b0 - q - 1 : b0 - q;
            fraction = r ? length - r : 0;
        }
        const uint32_t far = length ? uint32_t((fraction * 255 + length / 2) / length) : 0;
        const int64_t a = a0 + k;
        if (xMajor) {
            sink.Covered(a, near, colour, 255 - far, mode);
            sink.Covered(a, near + 1, colour, far, mode);
        } else {
            sink.Covered(near, a, colour, 255 - far, mode);
            sink.Covered(near + 1, a, colour, far, mode);
        }
        r += minor;
        if (length && r >= length) {
            r -= length;
            ++q;
        }
    }
    return 0;
}

int32_t CShapes::DrawThickLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t width,
                               LineCap cap, uint32_t colour, BlendMode mode, const Rect* clip)
{
    if (width < 0) return -1;
    if (width > kMaxShapeRadius || !InRange(x0) || !InRange(y0) || !InRange(x1) || !InRange(y1))
        return -2;
    if (width == 0) return 0;
    PYRO_SHAPE_CLIP(clip);
    const uint32_t source = ShapeSource(colour, mode);
    // The band between the end pixels' centres, in 1/256 pixel.
    const int64_t ax = int64_t(x0) * kSubpixel + kSubpixel / 2, ay = int64_t(y0) * kSubpixel + kSubpixel / 2;
    const int64_t bx = int64_t(x1) * kSubpixel + kSubpixel / 2, by = int64_t(y1) * kSubpixel + kSubpixel / 2;
    const double half = width * 0.5 * kSubpixel;
    const double dx = double(bx - ax), dy = double(by - ay);
    const double length = std::sqrt(dx * dx + dy * dy);
    PolygonEdges band;
    const bool round = cap == LineCap::Round;
    if (length > 0 || !round) {
        const double ux = length > 0 ? dx / length : 1, uy = length > 0 ? dy / length : 0;
        const double nx = -uy * half, ny = ux * half;
        const double ex = round ? 0 : ux * half, ey = round ? 0 : uy * half;
        const int64_t xs[4] = {std::llround(ax - ex + nx), std::llround(bx + ex + nx),
                               std::llround(bx + ex - nx), std::llround(ax - ex - nx)};
        const int64_t ys[4] = {std::llround(ay - ey + ny), std::llround(by + ey + ny),
                               std::llround(by + ey - ny), std::llround(ay - ey - ny)};
        band.AddPath(xs, ys, 4);
    }
    const Rect& c = sink.Clip();
    int64_t top = c.top, bottom = c.bottom;
    // Rows of the band or of the discs: 4 (dx² + dy²) < width² reaches |dy| < width / 2.
    const int64_t reach = width / 2 + 1;
    int64_t shapeTop = std::min<int64_t>(y0, y1) - reach, shapeBottom = std::max<int64_t>(y0, y1) + reach + 1;
    if (!round) {
        shapeTop = band.FirstRow();
        shapeBottom = band.LastRow();
    }
    top = std::max(top, shapeTop);
    bottom = std::min(bottom, shapeBottom);
    std::vector<PolygonEdges::Run> runs;
    const int64_t w2 = int64_t(width) * width;
    for (int64_t y = top; y < bottom; ++y) {
        band.RowRuns(y, FillRule::NonZero, c.left, c.right, &runs);
        if (round) {
            for (const Point& p : {Point{x0, y0}, Point{x1, y1}}) {
                const int64_t ddy = y - p.y;
                const int64_t rest = w2 - 4 * ddy * ddy;
                if (rest <= 0) continue;
                const int64_t t = int64_t(ISqrt(uint64_t((rest - 1) / 4)));
                const int64_t l = std::max<int64_t>(p.x - t, c.left), r = std::min<int64_t>(p.x + t + 1, c.right);
                if (l < r) runs.push_back({l, r});
            }
            std::sort(runs.begin(), runs.end(),
                      [](const PolygonEdges::Run& a, const PolygonEdges::Run& b) { return a.left < b.left; });
        }
        // The parts overlap: each pixel once.
        int64_t from = INT64_MIN, to = INT64_MIN;
        for (const PolygonEdges::Run& run : runs) {
            if (run.left > to) {
                if (to > from) sink.Fill(y, from, to, source, mode);
                from = run.left;
                to = run.right;
            } else {
                to = std::max(to, run.right);
            }
        }
        if (to > from) sink.Fill(y, from, to, source, mode);
    }
    return 0;
}

int32_t CShapes::DrawRect(const Rect& rect, uint32_t colour, BlendMode mode, const Rect* clip)
{
    PYRO_SHAPE_CLIP(clip);
    if (rect.IsEmpty()) return 0;
    const uint32_t source = ShapeSource(colour, mode);
    sink.Fill(rect.top, rect.left, rect.right, source, mode);
    if (int64_t(rect.bottom) - 1 > rect.top) sink.Fill(int64_t(rect.bottom) - 1, rect.left, rect.right, source, mode);
    const int64_t top = std::max<int64_t>(int64_t(rect.top) + 1, sink.Clip().top);
    const int64_t bottom = std::min<int64_t>(int64_t(rect.bottom) - 1, sink.Clip().bottom);
    for (int64_t y = top; y < bottom; ++y) {
        sink.Fill(y, rect.left, int64_t(rect.left) + 1, source, mode);
        if (int64_t(rect.right) - 1 > rect.left)
            sink.Fill(y, int64_t(rect.right) - 1, rect.right, source, mode);
    }
    return 0;
}

int32_t CShapes::FillRect(const Rect& rect, uint32_t colour, BlendMode mode, const Rect* clip)
{
    PYRO_SHAPE_CLIP(clip);
    const Rect r = rect.Intersection(sink.Clip());
    if (r.IsEmpty()) return 0;
    const uint32_t source = ShapeSource(colour, mode);
    for (int32_t y = r.top; y < r.bottom; ++y) sink.Fill(y, r.left, r.right, source, mode);
    return 0;
}

int32_t CShapes::FillRectAlpha(const Rect& rect, uint32_t colour, int32_t alpha, const Rect* clip)
{
    if (alpha < 0 || alpha > 255) return -1;
    if (alpha == 0) return surface_.pixels ? 0 : 1;
    return FillRect(rect, (colour & 0xFFFFFF) | (uint32_t(alpha) << 24), BlendMode::Alpha, clip);
}

int32_t CShapes::FillRoundRect(const Rect& rect, int32_t radius, uint32_t colour, BlendMode mode,
                               const Rect* clip)
{
    if (radius < 0) return -1;
    if (radius > kMaxShapeRadius) return -2;
    PYRO_SHAPE_CLIP(clip);
    if (rect.IsEmpty()) return 0;
    const int64_t w = int64_t(rect.right) - rect.left, h = int64_t(rect.bottom) - rect.top;
    const int64_t r = std::min<int64_t>(radius, std::min(w, h) / 2);
    const uint32_t source = ShapeSource(colour, mode);
    const int64_t top = std::max<int64_t>(rect.top, sink.Clip().top);
    const int64_t bottom = std::min<int64_t>(rect.bottom, sink.Clip().bottom);
    for (int64_t y = top; y < bottom; ++y) {
        int64_t left = rect.left, right = rect.right;
        // In the corner bands the centre (2x + 1, 2y + 1) must lie within 2r of the corner
        // circle's centre, in doubled units.
        int64_t v = 0;
        if (y < rect.top + r) v = 2 * (rect.top + r) - (2 * y + 1);
        else if (y >= rect.bottom - r) v = (2 * y + 1) - 2 * (rect.bottom - r);
        if (v > 0) {
            const int64_t s = int64_t(ISqrt(uint64_t(4 * r * r - v * v)));
            left = std::max<int64_t>(left, CeilDiv(2 * (rect.left + r) - 1 - s, 2));
            right = std::min<int64_t>(right, FloorDiv(2 * (rect.right - r) + s - 1, 2) + 1);
        }
        sink.Fill(y, left, right, source, mode);
    }
    return 0;
}

int32_t CShapes::FillEllipse(int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour,
                             BlendMode mode, const Rect* clip)
{
    if (rx < 0 || ry < 0) return -1;
    if (rx > kMaxShapeRadius || ry > kMaxShapeRadius || !InRange(cx) || !InRange(cy)) return -2;
    PYRO_SHAPE_CLIP(clip);
    const uint32_t source = ShapeSource(colour, mode);
    const int64_t top = std::max<int64_t>(int64_t(cy) - ry, sink.Clip().top);
    const int64_t bottom = std::min<int64_t>(int64_t(cy) + ry + 1, sink.Clip().bottom);
    for (int64_t y = top; y < bottom; ++y) {
        const int64_t x = EllipseHalfWidth(rx, ry, y - cy);
        if (x >= 0) sink.Fill(y, cx - x, cx + x + 1, source, mode);
    }
    return 0;
}

int32_t CShapes::FillCircle(int32_t cx, int32_t cy, int32_t radius, uint32_t colour,
                            BlendMode mode, const Rect* clip)
{
    return FillEllipse(cx, cy, radius, radius, colour, mode, clip);
}

int32_t CShapes::DrawEllipse(int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour,
                             BlendMode mode, const Rect* clip)
{
    if (rx < 0 || ry < 0) return -1;
    if (rx > kMaxShapeRadius || ry > kMaxShapeRadius || !InRange(cx) || !InRange(cy)) return -2;
    PYRO_SHAPE_CLIP(clip);
    const uint32_t source = ShapeSource(colour, mode);
    const int64_t top = std::max<int64_t>(int64_t(cy) - ry, sink.Clip().top);
    const int64_t bottom = std::min<int64_t>(int64_t(cy) + ry + 1, sink.Clip().bottom);
    for (int64_t y = top; y < bottom; ++y) {
        const int64_t dy = y - cy;
        const int64_t x = EllipseHalfWidth(rx, ry, dy);
        if (x < 0) continue;
        // A pixel is on the outline when its neighbour across, above or below is outside.
        const int64_t m = std::min(EllipseHalfWidth(rx, ry, dy - 1), EllipseHalfWidth(rx, ry, dy + 1));
        const int64_t lo = std::min(m + 1, x);
        if (lo == 0) {
            sink.Fill(y, cx - x, cx + x + 1, source, mode);
        } else {
            sink.Fill(y, cx - x, cx - lo + 1, source, mode);
            sink.Fill(y, cx + lo, cx + x + 1, source, mode);
        }
    }
    return 0;
}

int32_t CShapes::DrawCircle(int32_t cx, int32_t cy, int32_t radius, uint32_t colour,
                            BlendMode mode, const Rect* clip)
{
    return DrawEllipse(cx, cy, radius, radius, colour, mode, clip);
}

namespace {

// The antialiased ellipses: every pixel of the rows and columns the outline can reach, the
// fully covered ones in runs. A circle's distance grows with |dx| along a row, so there only the
// pixels within one pixel of the outline are worked out: inside them a disc is whole and a
// ring empty, outside them both are empty.
template <class Coverage>
void RasteriseEllipseAA(ShapeSink& sink, int32_t cx, int32_t cy, int32_t rx, int32_t ry,
                        uint32_t colour, BlendMode mode, bool filled, Coverage coverage)
{
    const Rect& c = sink.Clip();
    const int64_t top = std::max<int64_t>(int64_t(cy) - ry - 1, c.top);
    const int64_t bottom = std::min<int64_t>(int64_t(cy) + ry + 2, c.bottom);
    const int64_t left = std::max<int64_t>(int64_t(cx) - rx - 1, c.left);
    const int64_t right = std::min<int64_t>(int64_t(cx) + rx + 2, c.right);
    const uint32_t source = ShapeSource(colour, mode);
    // Pixels [from, to) of row y, each worked out; the fully covered ones in runs.
    auto pixels = [&](int64_t y, int64_t from, int64_t to) {
        int64_t run = from;
        for (int64_t x = from; x < to; ++x) {
            const uint32_t cov = coverage(EllipseDistance(rx, ry, double(x - cx), double(y - cy)));
            if (cov == 255) continue;
            if (run < x) sink.Fill(y, run, x, source, mode);
            run = x + 1;
            sink.Covered(x, y, colour, cov, mode);
        }
        if (run < to) sink.Fill(y, run, to, source, mode);
    };
    for (int64_t y = top; y < bottom; ++y) {
        if (rx != ry) {
            pixels(y, left, right);
            continue;
        }
        const double dy = double(y - cy);
        // The first |dx| from which the distance reaches a bound (rx + 2 when none does).
        auto firstReaching = [&](double bound) {
            int64_t lo = 0, hi = int64_t(rx) + 2;
            while (lo < hi) {
                const int64_t mid = (lo + hi) / 2;
                if (EllipseDistance(rx, ry, double(mid), dy) >= bound) hi = mid;
                else lo = mid + 1;
            }
            return lo;
        };
        const int64_t inner = firstReaching(-1);  // below it: distance under -1
        const int64_t outer = firstReaching(1);   // from it on: distance 1 or more
        // Inner: [cx - inner + 1, cx + inner); the band: up to outer on both sides.
        const int64_t innerLeft = std::max<int64_t>(int64_t(cx) - inner + 1, left);
        const int64_t innerRight = std::min<int64_t>(int64_t(cx) + inner, right);
        const int64_t bandLeft = std::max<int64_t>(int64_t(cx) - outer + 1, left);
        const int64_t bandRight = std::min<int64_t>(int64_t(cx) + outer, right);
        if (innerLeft >= innerRight) {
            pixels(y, bandLeft, bandRight);
            continue;
        }
        pixels(y, bandLeft, innerLeft);
        if (filled) sink.Fill(y, innerLeft, innerRight, source, mode);
        pixels(y, std::max(innerRight, bandLeft), bandRight);
    }
}

}  // namespace

int32_t CShapes::FillEllipseAA(int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour,
                               BlendMode mode, const Rect* clip)
{
    if (rx < 0 || ry < 0) return -1;
    if (rx > kMaxShapeRadius || ry > kMaxShapeRadius || !InRange(cx) || !InRange(cy)) return -2;
    PYRO_SHAPE_CLIP(clip);
    if (rx == 0 || ry == 0) return 0;
    RasteriseEllipseAA(sink, cx, cy, rx, ry, colour, mode, true,
                       [](double d) { return CoverageByte(0.5 - d); });
    return 0;
}

int32_t CShapes::DrawEllipseAA(int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour,
                               BlendMode mode, const Rect* clip)
{
    if (rx < 0 || ry < 0) return -1;
    if (rx > kMaxShapeRadius || ry > kMaxShapeRadius || !InRange(cx) || !InRange(cy)) return -2;
    PYRO_SHAPE_CLIP(clip);
    if (rx == 0 || ry == 0) return 0;
    RasteriseEllipseAA(sink, cx, cy, rx, ry, colour, mode, false,
                       [](double d) { return CoverageByte(1 - std::fabs(d)); });
    return 0;
}

int32_t CShapes::FillCircleAA(int32_t cx, int32_t cy, int32_t radius, uint32_t colour,
                              BlendMode mode, const Rect* clip)
{
    return FillEllipseAA(cx, cy, radius, radius, colour, mode, clip);
}

int32_t CShapes::DrawCircleAA(int32_t cx, int32_t cy, int32_t radius, uint32_t colour,
                              BlendMode mode, const Rect* clip)
{
    return DrawEllipseAA(cx, cy, radius, radius, colour, mode, clip);
}

int32_t CShapes::FillTriangle(const Point& a, const Point& b, const Point& c, uint32_t colour,
                              BlendMode mode, const Rect* clip)
{
    const Point points[3] = {a, b, c};
    return FillPolygon(points, 3, FillRule::NonZero, colour, mode, clip);
}

int32_t CShapes::FillPolygon(const Point* points, int32_t count, FillRule rule, uint32_t colour,
                             BlendMode mode, const Rect* clip)
{
    if (!points || count < 3) return -1;
    std::vector<int64_t> xs(static_cast<size_t>(count)), ys(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        if (!InRange(points[i])) return -2;
        xs[size_t(i)] = int64_t(points[i].x) * kSubpixel;
        ys[size_t(i)] = int64_t(points[i].y) * kSubpixel;
    }
    PYRO_SHAPE_CLIP(clip);
    PolygonEdges edges;
    edges.AddPath(xs.data(), ys.data(), count);
    const uint32_t source = ShapeSource(colour, mode);
    const Rect& c = sink.Clip();
    const int64_t top = std::max<int64_t>(edges.FirstRow(), c.top);
    const int64_t bottom = std::min<int64_t>(edges.LastRow(), c.bottom);
    std::vector<PolygonEdges::Run> runs;
    for (int64_t y = top; y < bottom; ++y) {
        edges.RowRuns(y, rule, c.left, c.right, &runs);
        for (const PolygonEdges::Run& run : runs) sink.Fill(y, run.left, run.right, source, mode);
    }
    return 0;
}

int32_t CShapes::FillTriangleGradient(const Point& a, const Point& b, const Point& c,
                                      uint32_t colourA, uint32_t colourB, uint32_t colourC,
                                      BlendMode mode, const Rect* clip)
{
    if (!InRange(a) || !InRange(b) || !InRange(c)) return -2;
    PYRO_SHAPE_CLIP(clip);
    const int64_t xs[3] = {int64_t(a.x) * kSubpixel, int64_t(b.x) * kSubpixel, int64_t(c.x) * kSubpixel};
    const int64_t ys[3] = {int64_t(a.y) * kSubpixel, int64_t(b.y) * kSubpixel, int64_t(c.y) * kSubpixel};
    PolygonEdges edges;
    edges.AddPath(xs, ys, 3);
    const Rect& clipped = sink.Clip();
    const int64_t top = std::max<int64_t>(edges.FirstRow(), clipped.top);
    const int64_t bottom = std::min<int64_t>(edges.LastRow(), clipped.bottom);
    if (top >= bottom) return 0;
    // At a pixel centre, twice the areas of the triangles the centre makes with the opposite
    // edges weight the vertices' colours; a channel is their weighted mean rounded to nearest.
    // Vertices within ±2^23 give the weights exactly in 64-bit integers; farther ones go through
    // doubles, which round in their last bits.
    const bool exact = std::max({std::llabs(a.x), std::llabs(a.y), std::llabs(b.x), std::llabs(b.y),
                                 std::llabs(c.x), std::llabs(c.y)}) < (int64_t(1) << 23);
    const uint32_t colours[3] = {colourA, colourB, colourC};
    std::vector<PolygonEdges::Run> runs;
    uint32_t sources[256];
    // The doubles' weighted mean, for the far vertices.
    auto mean = [&](double wa, double wb, double wc) {
        double area = wa + wb + wc;
        if (area < 0) {
            wa = -wa;
            wb = -wb;
            wc = -wc;
            area = -area;
        }
        uint32_t out = 0;
        for (int k = 0; k < 4; ++k) {
            const double sum = wa * double((colours[0] >> (8 * k)) & 0xFF) +
                               wb * double((colours[1] >> (8 * k)) & 0xFF) +
                               wc * double((colours[2] >> (8 * k)) & 0xFF);
            const int64_t v = int64_t(std::floor((2 * sum + area) / (2 * area)));
            out |= uint32_t(std::clamp<int64_t>(v, 0, 255)) << (8 * k);
        }
        return out;
    };
    // In the exact case the weights grow by a fixed step per pixel across a row, and so does
    // each channel's numerator: its quotient and remainder are stepped without dividing.
    const int64_t ax = 2 * int64_t(a.x), ay = 2 * int64_t(a.y);
    const int64_t bx = 2 * int64_t(b.x), by = 2 * int64_t(b.y);
    const int64_t cx = 2 * int64_t(c.x), cy = 2 * int64_t(c.y);
    const double dax = double(ax), day = double(ay), dbx = double(bx), dby = double(by);
    const double dcx = double(cx), dcy = double(cy);
    // Only the exact case computes in integers: farther vertices would overflow them.
    const int64_t areaSigned = exact ? (bx - ax) * (cy - ay) - (by - ay) * (cx - ax) : 0;
    const int64_t sign = areaSigned < 0 ? -1 : 1;
    const int64_t denominator = 2 * areaSigned * sign;
    // Per pixel across (px += 2): the weights of a, b and c change by these.
    const int64_t stepA = -2 * (cy - by) * sign, stepB = -2 * (ay - cy) * sign;
    const int64_t stepC = -2 * (by - ay) * sign;
    for (int64_t y = top; y < bottom; ++y) {
        edges.RowRuns(y, FillRule::NonZero, clipped.left, clipped.right, &runs);
        const int64_t py = 2 * y + 1;
        for (const PolygonEdges::Run& run : runs) {
            if (exact && denominator > 0) {
                const int64_t px = 2 * run.left + 1;
                const int64_t wa = ((cx - bx) * (py - by) - (cy - by) * (px - bx)) * sign;
                const int64_t wb = ((ax - cx) * (py - cy) - (ay - cy) * (px - cx)) * sign;
                const int64_t wc = ((bx - ax) * (py - ay) - (by - ay) * (px - ax)) * sign;
                int64_t q[4], r[4], dq[4], dr[4];
                for (int k = 0; k < 4; ++k) {
                    const int64_t ca = (colours[0] >> (8 * k)) & 0xFF, cb = (colours[1] >> (8 * k)) & 0xFF;
                    const int64_t cc = (colours[2] >> (8 * k)) & 0xFF;
                    const int64_t numerator = 2 * (wa * ca + wb * cb + wc * cc) + denominator / 2;
                    q[k] = FloorDiv(numerator, denominator);
                    r[k] = numerator - q[k] * denominator;
                    const int64_t step = 2 * (stepA * ca + stepB * cb + stepC * cc);
                    dq[k] = FloorDiv(step, denominator);
                    dr[k] = step - dq[k] * denominator;
                }
                for (int64_t x0 = run.left; x0 < run.right; x0 += 256) {
                    const int64_t n = std::min<int64_t>(256, run.right - x0);
                    for (int64_t i = 0; i < n; ++i) {
                        uint32_t out = 0;
                        for (int k = 0; k < 4; ++k) {
                            out |= uint32_t(std::clamp<int64_t>(q[k], 0, 255)) << (8 * k);
                            q[k] += dq[k];
                            r[k] += dr[k];
                            if (r[k] >= denominator) {
                                r[k] -= denominator;
                                ++q[k];
                            }
                        }
                        sources[i] = ShapeSource(out, mode);
                    }
                    sink.Row(int32_t(y), int32_t(x0), int32_t(n), sources, mode);
                }
                continue;
            }
            for (int64_t x0 = run.left; x0 < run.right; x0 += 256) {
                const int64_t n = std::min<int64_t>(256, run.right - x0);
                for (int64_t i = 0; i < n; ++i) {
                    const int64_t px = 2 * (x0 + i) + 1;
                    const double fx = double(px), fy = double(py);
                    const uint32_t out = mean((dcx - dbx) * (fy - dby) - (dcy - dby) * (fx - dbx),
                                              (dax - dcx) * (fy - dcy) - (day - dcy) * (fx - dcx),
                                              (dbx - dax) * (fy - day) - (dby - day) * (fx - dax));
                    sources[i] = ShapeSource(out, mode);
                }
                sink.Row(int32_t(y), int32_t(x0), int32_t(n), sources, mode);
            }
        }
    }
    return 0;
}
