// Exact integer helpers of the rasterisers: a product divided without overflow, and the integer
// square root.
#pragma once

#include <cstdint>

// a * b = q * c + r with 0 <= r < c, for 0 <= a < c < 2^41 and |b| < 2^41 (so that q stays
// below 2^41 in size): the product is split so that no step passes 2^62.
struct QuotientRemainder {
    int64_t q;
    int64_t r;
};
QuotientRemainder MulDivFloor(int64_t a, int64_t b, int64_t c);

// The largest integer whose square is at most v.
uint64_t ISqrt(uint64_t v);

// floor(a / b) and ceil(a / b) for b > 0.
inline int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
inline int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }
