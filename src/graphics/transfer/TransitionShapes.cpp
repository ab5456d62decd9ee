// Transition effects that reveal one growing shape: a square from the centre or a corner, half
// discs from the middle of an edge and a disc from the centre, drawn as one span per row.
#include "graphics/transfer/TransitionEffects.h"

#include <algorithm>
#include <cmath>

namespace {

// The square's side reaches the longer side of the source at phase 256.
int64_t SquareSide(const TransitionStep& t)
{
    return t.phase * int64_t(std::max(t.w, t.h)) / 256;
}

// Half the length of the chord at distance v from the centre of a disc of diameter d, or -1
// beyond the disc.
double HalfChord(double d, double v)
{
    const double q = d * d / 4 - v * v;
    return q >= 0 ? std::sqrt(q) : -1;
}

// Rows of a disc of diameter d centred on the middle row; `span` draws one row given the
// half chord.
template <class Span>
void DiscRows(const TransitionStep& t, double d, Span span)
{
    const int64_t middle = t.h >> 1;
    const int64_t first = std::max<int64_t>(0, middle - int64_t(d / 2));
    const int64_t last = std::min<int64_t>(t.h - 1, middle + int64_t(d / 2));
    for (int64_t row = first; row <= last; ++row) {
        const double half = HalfChord(d, double(row - middle));
        if (half >= 0) span(row, half);
    }
}

// A span of the given width centred on the source's middle column.
void CentredSpan(const TransitionStep& t, int64_t row, int64_t width)
{
    t.Draw((t.w >> 1) - (width >> 1), row, width, 1);
}

// A half disc whose centre is the middle of the top edge (or, with fromBottom, of the bottom
// edge); its diameter reaches twice the distance to the far corners at phase 256.
void HalfDiscVertical(const TransitionStep& t, bool fromBottom)
{
    const double w = t.w;
    const double h = t.h;
    const double d = t.phase * 2 * std::sqrt(w * w / 4 + h * h) / 256;
    for (int64_t i = 0; i < t.h && double(i) < d / 2; ++i) {
        const double half = HalfChord(d, double(i));
        if (half < 0) break;
        CentredSpan(t, fromBottom ? t.h - 1 - i : i, int64_t(2 * half));
    }
}

// The same from the middle of the left edge (or, with fromRight, of the right edge).
void HalfDiscHorizontal(const TransitionStep& t, bool fromRight)
{
    const double w = t.w;
    const double h = t.h;
    const double d = t.phase * 2 * std::sqrt(w * w + h * h / 4) / 256;
    DiscRows(t, d, [&](int64_t row, double half) {
        const int64_t width = int64_t(half);
        t.Draw(fromRight ? t.w - width : 0, row, width, 1);
    });
}

}  // namespace

void SquareCentre(const TransitionStep& t)
{
    const int64_t side = SquareSide(t);
    t.Draw((t.w >> 1) - (side >> 1), (t.h >> 1) - (side >> 1), side, side);
}

void SquareTopLeft(const TransitionStep& t)
{
    const int64_t side = SquareSide(t);
    t.Draw(0, 0, side, side);
}

void SquareTopRight(const TransitionStep& t)
{
    const int64_t side = SquareSide(t);
    t.Draw(t.w - side, 0, side, side);
}

void SquareBottomLeft(const TransitionStep& t)
{
    const int64_t side = SquareSide(t);
    t.Draw(0, t.h - side, side, side);
}

void SquareBottomRight(const TransitionStep& t)
{
    const int64_t side = SquareSide(t);
    t.Draw(t.w - side, t.h - side, side, side);
}

void HalfDiscTop(const TransitionStep& t) { HalfDiscVertical(t, false); }
void HalfDiscBottom(const TransitionStep& t) { HalfDiscVertical(t, true); }
void HalfDiscLeft(const TransitionStep& t) { HalfDiscHorizontal(t, false); }
void HalfDiscRight(const TransitionStep& t) { HalfDiscHorizontal(t, true); }

void Disc(const TransitionStep& t)
{
    const double d = double(t.phase * (int64_t(t.w) + t.h) / 256);
    DiscRows(t, d, [&](int64_t row, double half) { CentredSpan(t, row, int64_t(2 * half)); });
}
