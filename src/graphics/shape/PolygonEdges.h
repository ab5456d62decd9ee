// The edges of a polygon in 1/256 pixel, and the runs of pixels whose centres lie inside it row
// by row: an edge counts for a row when its top end is at or above the row's centre line and its
// bottom end below it, and a crossing starts at the first pixel whose centre is at or right of
// it. So a pixel centre on a left or top edge is inside and one on a right or bottom edge is not.
#pragma once

#include <pyro/graphics/Shapes.h>

#include <cstdint>
#include <utility>
#include <vector>

// One subpixel unit per 1/256 pixel.
constexpr int64_t kSubpixel = 256;

class PolygonEdges {
public:
    // A run of pixels [left, right) of one row.
    struct Run {
        int64_t left;
        int64_t right;
    };

    // The closing edge from the last point to the first is added too.
    void AddPath(const int64_t* xs, const int64_t* ys, int32_t count);
    // One edge from (x0, y0) to (x1, y1); horizontal ones are left out.
    void AddEdge(int64_t x0, int64_t y0, int64_t x1, int64_t y1);
    // The rows whose centres some edge reaches: [first, last).
    int64_t FirstRow() const;
    int64_t LastRow() const;
    // The inside runs of row y by the rule, left to right, cut to [left, right).
    void RowRuns(int64_t y, FillRule rule, int64_t left, int64_t right, std::vector<Run>* runs);

private:
    struct Edge {
        int64_t x0, y0, x1, y1;  // y0 < y1
        int32_t direction;  // +1 downwards, -1 upwards
    };
    std::vector<Edge> edges_;
    std::vector<std::pair<int64_t, int32_t>> crossings_;
    int64_t top_ = INT64_MAX;
    int64_t bottom_ = INT64_MIN;
};
