// PolygonEdges: exact crossings of every row's centre line.
#include "graphics/shape/PolygonEdges.h"

#include "graphics/shape/ShapeMath.h"

#include <algorithm>

void PolygonEdges::AddPath(const int64_t* xs, const int64_t* ys, int32_t count)
{
    for (int32_t i = 0; i < count; ++i) {
        const int32_t j = i + 1 == count ? 0 : i + 1;
        AddEdge(xs[i], ys[i], xs[j], ys[j]);
    }
}

void PolygonEdges::AddEdge(int64_t x0, int64_t y0, int64_t x1, int64_t y1)
{
    if (y0 == y1) return;
    if (y0 < y1) edges_.push_back({x0, y0, x1, y1, 1});
    else edges_.push_back({x1, y1, x0, y0, -1});
    top_ = std::min(top_, std::min(y0, y1));
    bottom_ = std::max(bottom_, std::max(y0, y1));
}

// Row y's centre is y * 256 + 128; the first row whose centre is at or below top is
// ceil((top - 128) / 256).
int64_t PolygonEdges::FirstRow() const
{
    return edges_.empty() ? 0 : CeilDiv(top_ - kSubpixel / 2, kSubpixel);
}

int64_t PolygonEdges::LastRow() const
{
    return edges_.empty() ? 0 : CeilDiv(bottom_ - kSubpixel / 2, kSubpixel);
}

void PolygonEdges::RowRuns(int64_t y, FillRule rule, int64_t left, int64_t right,
                           std::vector<Run>* runs)
{
    runs->clear();
    crossings_.clear();
    const int64_t centre = y * kSubpixel + kSubpixel / 2;
    for (const Edge& e : edges_) {
        if (centre < e.y0 || centre >= e.y1) continue;
        // x = x0 + (centre - y0) (x1 - x0) / (y1 - y0) = x0 + q + r / (y1 - y0) exactly; the
        // first pixel whose centre x * 256 + 128 is at or right of it.
        const QuotientRemainder qr = MulDivFloor(centre - e.y0, e.x1 - e.x0, e.y1 - e.y0);
        const int64_t z = e.x0 + qr.q - kSubpixel / 2;
        const int64_t pixel = qr.r == 0 ? CeilDiv(z, kSubpixel) : FloorDiv(z, kSubpixel) + 1;
        crossings_.push_back({pixel, e.direction});
    }
    std::sort(crossings_.begin(), crossings_.end());
    int32_t winding = 0;
    for (size_t i = 0; i + 1 < crossings_.size(); ++i) {
        winding += rule == FillRule::EvenOdd ? 1 : crossings_[i].second;
        const bool inside = rule == FillRule::EvenOdd ? (winding & 1) != 0 : winding != 0;
        if (!inside) continue;
        const int64_t a = std::max(crossings_[i].first, left);
        const int64_t b = std::min(crossings_[i + 1].first, right);
        if (a >= b) continue;
        // Runs that meet are joined.
        if (!runs->empty() && runs->back().right == a) runs->back().right = b;
        else runs->push_back({a, b});
    }
}
