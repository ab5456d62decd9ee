// Exact integer helpers of the rasterisers.
#include "graphics/shape/ShapeMath.h"

#include <cmath>

QuotientRemainder MulDivFloor(int64_t a, int64_t b, int64_t c)
{
    const uint64_t ub = uint64_t(b < 0 ? -b : b);
    const uint64_t uc = uint64_t(c);
    // a = high * 2^20 + low: high * |b| and the remainder's carry stay below 2^62.
    const uint64_t high = uint64_t(a) >> 20;
    const uint64_t low = uint64_t(a) & 0xFFFFF;
    const uint64_t p1 = high * ub;
    const uint64_t q1 = p1 / uc;
    const uint64_t p2 = ((p1 % uc) << 20) + low * ub;
    uint64_t q = (q1 << 20) + p2 / uc;
    uint64_t r = p2 % uc;
    if (b >= 0) return {int64_t(q), int64_t(r)};
    if (r == 0) return {-int64_t(q), 0};
    return {-int64_t(q) - 1, int64_t(uc - r)};
}

uint64_t ISqrt(uint64_t v)
{
    uint64_t s = uint64_t(std::sqrt(double(v)));
    // The double's rounding leaves s off by at most a few steps either way.
    while (s > 0 && (s > 0xFFFFFFFFu || s * s > v)) --s;
    while (s + 1 <= 0xFFFFFFFFu && (s + 1) * (s + 1) <= v) ++s;
    return s;
}
