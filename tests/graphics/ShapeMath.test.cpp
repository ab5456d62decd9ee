// The exact arithmetic under the rasterisers, at the sizes that coordinates of ±2^30 in 1/256
// pixel reach, against 128-bit products where the compiler has them and against hand-worked
// cases everywhere.
#include "graphics/shape/ShapeMath.h"

#include <doctest/doctest.h>

#include <cstdint>
#include <random>

TEST_CASE("a product divided: quotient rounded down and a remainder below the divisor")
{
    // 3 * -7 = -21 = -3 * 7 + 0; 5 * -7 = -35 = -5 * 8 + 5.
    CHECK(MulDivFloor(3, -7, 7).q == -3);
    CHECK(MulDivFloor(3, -7, 7).r == 0);
    CHECK(MulDivFloor(5, -7, 8).q == -5);
    CHECK(MulDivFloor(5, -7, 8).r == 5);
    CHECK(MulDivFloor(0, 123, 5).q == 0);
    // Near the top of the range: (2^40 - 1) * (2^40 - 3) / 2^40.
    const int64_t big = (int64_t(1) << 40);
    const QuotientRemainder top = MulDivFloor(big - 1, big - 3, big);
    CHECK(top.q == big - 4);
    CHECK(top.r == 3);
#if defined(__SIZEOF_INT128__)
    std::mt19937_64 rng(21);
    for (int i = 0; i < 100000; ++i) {
        const int64_t c = 1 + int64_t(rng() % uint64_t(int64_t(1) << (1 + rng() % 41)));
        const int64_t a = int64_t(rng() % uint64_t(c));
        int64_t b = int64_t(rng() % (uint64_t(1) << (rng() % 42)));
        if (rng() % 2) b = -b;
        const __int128 product = __int128(a) * b;
        __int128 q = product / c;
        if (product % c != 0 && product < 0) --q;
        const QuotientRemainder got = MulDivFloor(a, b, c);
        REQUIRE(got.q == int64_t(q));
        REQUIRE(got.r == int64_t(product - q * c));
    }
#endif
}

TEST_CASE("integer square roots and rounded divisions")
{
    CHECK(ISqrt(0) == 0);
    CHECK(ISqrt(15) == 3);
    CHECK(ISqrt(16) == 4);
    const uint64_t s = 3037000499u;  // the largest root whose square fits in 63 bits
    CHECK(ISqrt(s * s) == s);
    CHECK(ISqrt(s * s - 1) == s - 1);
    CHECK(ISqrt(UINT64_MAX) == 0xFFFFFFFFu);
    std::mt19937_64 rng(22);
    for (int i = 0; i < 100000; ++i) {
        const uint64_t v = rng() >> (rng() % 64);
        const uint64_t r = ISqrt(v);
        REQUIRE(r * r <= v);
        REQUIRE((r + 1 > 0xFFFFFFFFu || (r + 1) * (r + 1) > v));
    }
    CHECK(FloorDiv(-7, 2) == -4);
    CHECK(FloorDiv(7, 2) == 3);
    CHECK(CeilDiv(-7, 2) == -3);
    CHECK(CeilDiv(7, 2) == 4);
    CHECK(CeilDiv(-8, 2) == -4);
}
