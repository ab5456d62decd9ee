// The clip and stretch set-up of every transfer. Columns and rows are handled alike, one axis
// at a time, in 64-bit arithmetic so that no coordinate a caller passes can overflow.
//
// A stretched axis follows the error-stepping rule exactly; two cases it leaves open are closed
// here without moving any sample that lies inside the source:
// - source pixels outside the source plane are never read: the destination pixels that would
//   read them are left out, the others stay where they are;
// - the mirrored stepping can reach one pixel past the source rectangle's far edge on its last
//   pixels; those read the edge pixel instead (TransferState::xClamped, yClamped).
#include "graphics/transfer/PrepareTransfer.h"

#include <algorithm>

namespace {

struct AxisIn {
    int64_t pos;            // destination coordinate of the source rectangle's near edge
    int64_t clipLo, clipHi; // the clip rectangle on this axis
    int64_t srcLo, srcHi;   // the source rectangle on this axis
    int64_t planeExtent;    // the source plane's width or height
    bool reversed;          // read from srcHi - 1 towards srcLo (mirrored columns)
};

struct AxisOut {
    int64_t dstLo = 0, dstHi = 0;
    int64_t srcLo = 0, srcHi = 0;
    int64_t error = 0, remainder = 0, denominator = 0, step = 0;
    int64_t clamped = 0;
};

bool ClipOneToOne(const AxisIn& in, AxisOut& out)
{
    // The destination span whose source pixels lie inside the source plane narrows the clip.
    int64_t visLo;
    int64_t visHi;
    if (in.reversed) {
        visHi = in.pos + in.srcHi;
        visLo = visHi - in.planeExtent;
    } else {
        visLo = in.pos - in.srcLo;
        visHi = visLo + in.planeExtent;
    }
    const int64_t lo = std::max(in.clipLo, visLo);
    const int64_t hi = std::min(in.clipHi, visHi);
    out.dstLo = in.pos;
    out.dstHi = in.pos + (in.srcHi - in.srcLo);
    out.srcLo = in.srcLo;
    out.srcHi = in.srcHi;
    // Clipping the destination's near side drops source pixels from the side that lands there.
    if (lo > out.dstLo) {
        const int64_t cut = lo - out.dstLo;
        if (in.reversed) out.srcHi -= cut; else out.srcLo += cut;
        out.dstLo = lo;
    }
    if (out.dstHi > hi) {
        const int64_t cut = out.dstHi - hi;
        if (in.reversed) out.srcLo += cut; else out.srcHi -= cut;
        out.dstHi = hi;
    }
    return out.srcLo < out.srcHi;
}

// Where the stepping starts when the first `skipped` destination pixels are clipped away:
// the offset of the first sample from the source rectangle's near edge, and the error before
// the final decrement of the set-up.
struct Start {
    int64_t offset;
    int64_t error;
};

Start StartAfter(int64_t skipped, int64_t width, int64_t total, int64_t denominator)
{
    const int64_t a = skipped * total - width;
    if (a <= 0) return {0, a};
    const int64_t whole = a / denominator + 1;
    return {whole, a - whole * denominator};
}

// The loop's stepping in closed form: before the j-th pixel it has added the remainder j times
// and taken one carry each time the error reached zero.
struct Stepping {
    int64_t offset;  // of the first sample
    int64_t error;   // the loop's error at the first pixel
    int64_t step, remainder, denominator;

    int64_t Carries(int64_t j) const
    {
        const int64_t t = error + j * remainder;
        return t >= 0 ? t / denominator + 1 : 0;
    }
    int64_t OffsetAt(int64_t j) const { return offset + j * step + Carries(j); }
    int64_t ErrorAt(int64_t j) const { return error + j * remainder - Carries(j) * denominator; }
};

// scale 1: plain stepping; 2: the mirrored set-up's doubled terms (centre sampling).
bool ClipStretched(const AxisIn& in, int64_t width, int64_t scale, AxisOut& out)
{
    const int64_t len = in.srcHi - in.srcLo;
    const int64_t total = scale * len;
    const int64_t denominator = scale * width;

    // Offsets from the near edge whose pixels lie inside the source plane.
    int64_t okLo;
    int64_t okHi;
    if (in.reversed) {
        okLo = std::max<int64_t>(0, in.srcHi - in.planeExtent);
        okHi = std::min(len - 1, in.srcHi - 1);
    } else {
        okLo = std::max<int64_t>(0, -in.srcLo);
        okHi = std::min(len - 1, in.planeExtent - 1 - in.srcLo);
    }
    if (okLo > okHi) return false;
    const bool farEdgeInside = okHi == len - 1;

    const int64_t skipped = std::max<int64_t>(0, in.clipLo - in.pos);
    const int64_t end = std::min(in.pos + width, in.clipHi) - in.pos;
    if (skipped >= end) return false;
    const Start start = StartAfter(skipped, width, total, denominator);
    const Stepping s{start.offset, start.error - 1, total / denominator, total % denominator,
                     denominator};
    const int64_t count = end - skipped;

    // Pixels [first, last) are drawn; from stepEnd on they read the far edge. Offsets never
    // decrease, so each bound is found by bisection.
    auto sample = [&](int64_t j) { return std::min(s.OffsetAt(j), len - 1); };
    int64_t first = 0;
    if (sample(0) < okLo) {
        if (sample(count - 1) < okLo) return false;
        int64_t lo = 0;
        int64_t hi = count - 1;
        while (hi - lo > 1) {
            const int64_t mid = lo + (hi - lo) / 2;
            if (sample(mid) >= okLo) hi = mid; else lo = mid;
        }
        first = hi;
    }
    if (sample(first) > okHi) return false;
    int64_t stepEnd = count;
    if (s.OffsetAt(count - 1) > okHi) {
        int64_t lo = first - 1;
        int64_t hi = count - 1;
        while (hi - lo > 1) {
            const int64_t mid = lo + (hi - lo) / 2;
            if (s.OffsetAt(mid) <= okHi) lo = mid; else hi = mid;
        }
        stepEnd = lo + 1;
    }
    const int64_t last = farEdgeInside ? count : stepEnd;

    const int64_t firstOffset = sample(first);
    out.dstLo = in.pos + skipped + first;
    out.dstHi = in.pos + skipped + last;
    out.srcLo = in.reversed ? in.srcLo : in.srcLo + firstOffset;
    out.srcHi = in.reversed ? in.srcHi - firstOffset : in.srcHi;
    out.error = s.ErrorAt(first);
    out.remainder = s.remainder;
    out.denominator = denominator;
    out.step = s.step;
    out.clamped = last - stepEnd;
    return true;
}

int32_t Prepare(bool mirrored, TransferState& state, const Rect& dstBounds, int32_t srcWidth,
                int32_t srcHeight, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                Rect* clip)
{
    const Rect src = srcRect ? *srcRect : Rect{0, 0, srcWidth, srcHeight};
    Rect c = clip ? *clip : dstBounds;
    c.left = std::max(c.left, dstBounds.left);
    c.top = std::max(c.top, dstBounds.top);
    c.right = std::min(c.right, dstBounds.right);
    c.bottom = std::min(c.bottom, dstBounds.bottom);
    if (clip) *clip = c;

    const int64_t sw = int64_t(src.right) - src.left;
    const int64_t sh = int64_t(src.bottom) - src.top;
    if (sw <= 0 || sh <= 0) return 1;  // also the mirrored set-up's inverted rectangle

    const AxisIn ax{x, c.left, c.right, src.left, src.right, srcWidth, mirrored};
    const AxisIn ay{y, c.top, c.bottom, src.top, src.bottom, srcHeight, false};
    AxisOut ox;
    AxisOut oy;
    if (!size || (size->cx == sw && size->cy == sh)) {
        state.oneToOne = 1;
        if (!ClipOneToOne(ax, ox) || !ClipOneToOne(ay, oy)) return 1;
    } else {
        state.oneToOne = 0;
        if (size->cx <= 0 || size->cy <= 0) return 1;
        if (sw > kMaxTransferExtent || sh > kMaxTransferExtent || size->cx > kMaxTransferExtent ||
            size->cy > kMaxTransferExtent)
            return 1;
        const int64_t scale = mirrored ? 2 : 1;
        if (!ClipStretched(ax, size->cx, scale, ox) || !ClipStretched(ay, size->cy, scale, oy))
            return 1;
    }
    // Every value below lies within a plane or the clip rectangle, or is a stepping term
    // bounded by kMaxTransferExtent, so it fits its 32-bit field.
    state.srcLeft = int32_t(ox.srcLo);
    state.srcRight = int32_t(ox.srcHi);
    state.srcTop = int32_t(oy.srcLo);
    state.srcBottom = int32_t(oy.srcHi);
    state.dst = Rect{int32_t(ox.dstLo), int32_t(oy.dstLo), int32_t(ox.dstHi), int32_t(oy.dstHi)};
    state.xError = uint32_t(ox.error);
    state.xRemainder = uint32_t(ox.remainder);
    state.xDenominator = uint32_t(ox.denominator);
    state.xStep = uint32_t(ox.step);
    state.yError = uint32_t(oy.error);
    state.yRemainder = uint32_t(oy.remainder);
    state.yDenominator = uint32_t(oy.denominator);
    state.yStep = uint32_t(oy.step);
    state.xClamped = int32_t(ox.clamped);
    state.yClamped = int32_t(oy.clamped);
    return 0;
}

}  // namespace

int32_t PrepareTransfer(TransferState& state, const Rect& dstBounds, int32_t srcWidth,
                        int32_t srcHeight, int32_t x, int32_t y, const Rect* srcRect,
                        const Size* size, Rect* clip)
{
    return Prepare(false, state, dstBounds, srcWidth, srcHeight, x, y, srcRect, size, clip);
}

int32_t PrepareTransferMirrored(TransferState& state, const Rect& dstBounds, int32_t srcWidth,
                                int32_t srcHeight, int32_t x, int32_t y, const Rect* srcRect,
                                const Size* size, Rect* clip)
{
    return Prepare(true, state, dstBounds, srcWidth, srcHeight, x, y, srcRect, size, clip);
}
