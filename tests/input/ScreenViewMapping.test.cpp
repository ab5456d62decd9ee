#include <pyro/input/ScreenViewMapping.h>

#include <doctest/doctest.h>

TEST_CASE("window positions become logical ones through the view's origin and magnification")
{
    // Origin (16, 8), magnification 2: (20, 9) is logical (2, 0).
    CHECK(ToLogical(20, 16, 2) == 2);
    CHECK(ToLogical(9, 8, 2) == 0);
    // Left of or above the origin the result is negative, truncated toward zero.
    CHECK(ToLogical(10, 16, 2) == -3);
    CHECK(ToLogical(15, 16, 2) == 0);
    CHECK(ToLogical(13, 16, 2) == -1);
    CHECK(ToLogical(5, -10, 1) == 15);
    // A view that reports no magnification does not divide by zero.
    CHECK(ToLogical(20, 16, 0) == 4);
    CHECK(ToLogical(20, 16, -3) == 4);
    // Extreme positions do not overflow.
    CHECK(ToLogical(2147483647, -2147483647 - 1, 2) == 2147483647);
}
