// Transition wipes: the staircase, whose strips each start a step after the one before, and the
// smear, whose revealed edge line is stretched over the rest of the destination.
#include "graphics/transfer/TransitionEffects.h"

#include <algorithm>

namespace {

// Strips of `strip` pixels across the source's width (or, for rows, its height), entered from
// the near or the far edge. Progress q runs to strip + n, so strip i is q - i wide until full.
// The last column (row) is left to the whole transfer at phase 256.
void Staircase(const TransitionStep& t, bool rows, int64_t strip, bool fromFar)
{
    const int64_t extent = rows ? t.h : t.w;
    const int64_t n = (extent + strip + 1) / strip;
    const int64_t q = t.phase * (strip + n) / 256;
    for (int64_t i = 0; i < n && i < q; ++i) {
        const int64_t width = std::min(strip, q - i);
        int64_t lo = fromFar ? extent - strip * i - width : strip * i;
        int64_t hi = lo + width;
        hi = std::min(hi, extent - 1);
        lo = std::max<int64_t>(lo, 0);
        if (rows) t.Draw(0, lo, t.w, hi - lo);
        else t.Draw(lo, 0, hi - lo, t.h);
    }
}

}  // namespace

void StaircaseLeft16(const TransitionStep& t) { Staircase(t, false, 16, false); }
void StaircaseRight16(const TransitionStep& t) { Staircase(t, false, 16, true); }
void StaircaseLeft8(const TransitionStep& t) { Staircase(t, false, 8, false); }
void StaircaseRight8(const TransitionStep& t) { Staircase(t, false, 8, true); }
void StaircaseTop16(const TransitionStep& t) { Staircase(t, true, 16, false); }
void StaircaseBottom16(const TransitionStep& t) { Staircase(t, true, 16, true); }
void StaircaseTop8(const TransitionStep& t) { Staircase(t, true, 8, false); }
void StaircaseBottom8(const TransitionStep& t) { Staircase(t, true, 8, true); }

// The source's right part v columns wide in place; the column left of it stretched from the
// destination's left edge up to it.
void SmearFromRight(const TransitionStep& t)
{
    const int64_t v = t.phase * int64_t(t.w) / 256;
    t.Draw(t.w - v, 0, v, t.h);
    t.DrawStretched(t.w - v - 1, 0, 1, t.h, 0, t.y, int64_t(t.x) + t.w - v, t.h);
}

// The source's left part in place; the column right of it stretched to the destination's
// right edge.
void SmearFromLeft(const TransitionStep& t)
{
    int32_t dw = 0;
    int32_t dh = 0;
    t.dst->GetSize(&dw, &dh);
    const int64_t v = t.phase * int64_t(t.w) / 256;
    t.Draw(0, 0, v, t.h);
    t.DrawStretched(v, 0, 1, t.h, t.x + v, t.y, dw - v - t.x, t.h);
}

void SmearFromBottom(const TransitionStep& t)
{
    const int64_t v = t.phase * int64_t(t.h) / 256;
    t.Draw(0, t.h - v, t.w, v);
    t.DrawStretched(0, t.h - v - 1, t.w, 1, t.x, 0, t.w, int64_t(t.y) + t.h - v);
}

void SmearFromTop(const TransitionStep& t)
{
    int32_t dw = 0;
    int32_t dh = 0;
    t.dst->GetSize(&dw, &dh);
    const int64_t v = t.phase * int64_t(t.h) / 256;
    t.Draw(0, 0, t.w, v);
    t.DrawStretched(0, v, t.w, 1, t.x, t.y + v, t.w, dh - v - t.y);
}
