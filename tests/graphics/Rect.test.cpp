#include <pyro/graphics/Rect.h>

#include <doctest/doctest.h>

#include "PlaneTesting.h"

namespace {

bool Same(const Rect& a, const Rect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST_CASE("rectangle helpers: edges exclusive, empty rectangles share nothing")
{
    const Rect r = MakeRect(10, 20, 30, 40);
    CHECK(Same(r, {10, 20, 40, 60}));
    CHECK((r.Width() == 30 && r.Height() == 40));
    CHECK(r.Contains(10, 20));
    CHECK(r.Contains(39, 59));
    CHECK_FALSE(r.Contains(40, 30));  // right is outside
    CHECK_FALSE(r.Contains(20, 60));  // so is bottom
    CHECK_FALSE(r.Contains(9, 30));

    // Touching edges share no pixel; one column of overlap does.
    CHECK_FALSE(r.Intersects(MakeRect(40, 20, 5, 5)));
    CHECK(r.Intersects(MakeRect(39, 59, 5, 5)));
    CHECK(Same(r.Intersection(MakeRect(39, 59, 5, 5)), {39, 59, 40, 60}));
    CHECK(Same(r.Intersection({0, 0, 100, 30}), {10, 20, 40, 30}));
    CHECK(Same(r.Intersection(r), r));
    CHECK(Same(r.Intersection(MakeRect(100, 100, 5, 5)), {0, 0, 0, 0}));
    // Empty or inverted rectangles intersect nothing, themselves included.
    const Rect inverted = {30, 30, 20, 50};
    CHECK(inverted.IsEmpty());
    CHECK_FALSE(inverted.Intersects(r));
    CHECK_FALSE(r.Intersects(MakeRect(15, 25, 0, 10)));
    CHECK(Same(r.Offset(-10, 5), {0, 25, 30, 65}));

    const Size size = {7, 9};
    CHECK((size.Width() == 7 && size.Height() == 9));
}

TEST_CASE("transfers without their trailing arguments draw as with nulls")
{
    const std::vector<uint32_t> sprite = {0x112233, 0x445566, 0x778899, 0xAABBCC};
    auto src = MakePlane(2, 2, sprite);
    auto full = MakePlane(4, 4);
    auto brief = MakePlane(4, 4);
    REQUIRE(full->BltFast(src.get(), 1, 2, nullptr, nullptr, nullptr) == 0);
    REQUIRE(brief->BltFast(src.get(), 1, 2) == 0);
    CHECK(PixelsOf(*brief) == PixelsOf(*full));
    const Rect part = {1, 0, 2, 2};
    REQUIRE(full->BltFast(src.get(), 0, 0, &part, nullptr, nullptr) == 0);
    REQUIRE(brief->BltFast(src.get(), 0, 0, &part) == 0);
    CHECK(PixelsOf(*brief) == PixelsOf(*full));
    REQUIRE(brief->Negate() == 0);
    REQUIRE(full->Negate(nullptr) == 0);
    CHECK(PixelsOf(*brief) == PixelsOf(*full));
}
