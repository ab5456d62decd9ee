#include <pyro/graphics/PlaneImpl.h>

#include "graphics/PlaneTesting.h"

#include <doctest/doctest.h>

#include <climits>
#include <cstdint>

TEST_CASE("a new plane is empty, and an empty plane refuses pixel work")
{
    CDIBPlane plane;
    int32_t w = -1;
    int32_t h = -1;
    plane.GetSize(&w, &h);
    CHECK(w == 0);
    CHECK(h == 0);
    CHECK_FALSE(plane.IsLoaded());
    CHECK_FALSE(plane.IsAlpha());
    CHECK(plane.GetColorKey() == 0);
    CHECK(plane.GetPixels() == nullptr);
    CHECK(plane.GetDC() == nullptr);
    CHECK(plane.GetPixel(0, 0) == 0);
    CHECK(plane.Clear(0x123456, nullptr) == 1);
    CHECK(plane.SetColorKeyFromPixel(0, 0) == 1);
    CHECK(plane.GetAlphaAt(0, 0) == 0);
}

TEST_CASE("Allocate refuses sizes that are not positive or too large and leaves the plane empty")
{
    CDIBPlane plane;
    REQUIRE(plane.Create(4, 4) == 0);
    const int32_t bad[][2] = {{0, 5}, {5, 0}, {-1, 5}, {5, INT32_MIN}, {INT32_MAX, INT32_MAX},
                              {1 << 29, 2}, {2, 1 << 29}};
    for (const auto& size : bad) {
        CAPTURE(size[0]);
        CAPTURE(size[1]);
        CHECK(plane.Allocate(size[0], size[1]) == 1);
        CHECK(plane.GetPixels() == nullptr);
        const Rect r = plane.GetRect();
        CHECK((r.right == 0 && r.bottom == 0));
        REQUIRE(plane.Create(4, 4) == 0);
    }
}

TEST_CASE("Create gives aligned rows of width * 4 bytes cleared to the fill colour")
{
    CDIBPlane plane;
    REQUIRE(plane.Create(3, 2) == 0);
    CHECK(reinterpret_cast<uintptr_t>(plane.GetPixels()) % 8 == 0);
    CHECK(plane.GetPitch() == 12);
    const Rect r = plane.GetRect();
    CHECK((r.left == 0 && r.top == 0 && r.right == 3 && r.bottom == 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) CHECK(plane.GetPixel(x, y) == 0);
    plane.GetPixels()[1 * 3 + 2] = 0xAABBCCDD;
    CHECK(plane.GetPixel(2, 1) == 0xAABBCCDD);
    // Outside the plane reads 0 whatever lies next to it in memory.
    CHECK(plane.GetPixel(3, 0) == 0);
    CHECK(plane.GetPixel(-1, 1) == 0);
    CHECK(plane.GetPixel(0, 2) == 0);
}

TEST_CASE("Clear fills a rectangle clamped to the plane, with the fill colour when none is given")
{
    CDIBPlane plane;
    REQUIRE(plane.Create(4, 3) == 0);
    const Rect inside{1, 1, 3, 2};
    CHECK(plane.Clear(0x112233, &inside) == 0);
    CHECK(plane.GetPixel(1, 1) == 0x112233);
    CHECK(plane.GetPixel(2, 1) == 0x112233);
    CHECK(plane.GetPixel(3, 1) == 0);
    CHECK(plane.GetPixel(1, 0) == 0);
    CHECK(plane.GetPixel(1, 2) == 0);

    const Rect overhanging{-5, -5, 100, 1};
    CHECK(plane.Clear(0xFF0000, &overhanging) == 0);
    for (int x = 0; x < 4; ++x) CHECK(plane.GetPixel(x, 0) == 0xFF0000);
    CHECK(plane.GetPixel(0, 1) == 0);

    const Rect inverted{3, 2, 1, 0};
    CHECK(plane.Clear(0x00FF00, &inverted) == 0);
    CHECK(plane.GetPixel(2, 1) == 0x112233);

    // 0xFFFFFFFF means "no colour": the fill colour, 0.
    CHECK(plane.Clear(0xFFFFFFFF, nullptr) == 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) CHECK(plane.GetPixel(x, y) == 0);
}

TEST_CASE("Resize keeps the pixels at the same size and recreates them at another")
{
    CDIBPlane plane;
    REQUIRE(plane.Create(2, 2) == 0);
    plane.GetPixels()[0] = 7;
    CHECK(plane.Resize(2, 2) == 0);
    CHECK(plane.GetPixel(0, 0) == 7);
    CHECK(plane.Resize(3, 1) == 0);
    CHECK(plane.GetPixel(0, 0) == 0);
    CHECK(plane.GetRect().right == 3);
    CHECK(plane.Resize(0, 1) == 1);
    CHECK(plane.GetPixels() == nullptr);
}

TEST_CASE("Release empties the plane and its flags but keeps the colour key")
{
    CDIBPlane plane;
    REQUIRE(plane.Create(2, 2) == 0);
    plane.SetColorKey(1, 2, 3);
    plane.GetAlphaFlag() = 1;
    CHECK(plane.IsAlpha());
    CHECK(plane.Release() == 0);
    CHECK_FALSE(plane.IsAlpha());
    CHECK(plane.GetPixels() == nullptr);
    CHECK(plane.GetRect().right == 0);
    CHECK(plane.GetColorKey() == 0x010203);
    CHECK(plane.Load("nothing.bmp") != 0);
    CHECK_FALSE(plane.IsLoaded());
}

TEST_CASE("the colour key comes from components or from a pixel inside the plane")
{
    CDIBPlane plane;
    REQUIRE(plane.Create(2, 2) == 0);
    plane.SetColorKey(255, 0, 255);
    CHECK(plane.GetColorKey() == 0x00FF00FF);
    plane.SetColorKey(0x1FF, 0x100, 0x101);
    CHECK(plane.GetColorKey() == 0x00FF0101);

    plane.GetPixels()[3] = 0xAB123456;
    CHECK(plane.SetColorKeyFromPixel(1, 1) == 0);
    CHECK(plane.GetColorKey() == 0x00123456);
    CHECK(plane.SetColorKeyFromPixel(2, 0) == 1);
    CHECK(plane.SetColorKeyFromPixel(0, -1) == 1);
    CHECK(plane.GetColorKey() == 0x00123456);
}

TEST_CASE("ClipToBounds intersects with the bounds and may come out empty or inverted")
{
    CDIBPlane plane;
    REQUIRE(plane.Create(10, 8) == 0);
    Rect out{};
    plane.ClipToBounds(&out, nullptr);
    CHECK((out.left == 0 && out.top == 0 && out.right == 10 && out.bottom == 8));
    const Rect partly{-3, 2, 4, 20};
    plane.ClipToBounds(&out, &partly);
    CHECK((out.left == 0 && out.top == 2 && out.right == 4 && out.bottom == 8));
    const Rect beyond{12, 0, 15, 3};
    plane.ClipToBounds(&out, &beyond);
    CHECK(out.left == 12);
    CHECK(out.right == 10);
}

TEST_CASE("ClearAlphaByte clears the top byte of every pixel")
{
    CDIBPlane plane;
    REQUIRE(plane.Create(3, 1) == 0);
    uint32_t* p = plane.GetPixels();
    p[0] = 0xFF112233;
    p[1] = 0x01000000;
    p[2] = 0x00FFFFFF;
    CHECK(plane.ClearAlphaByte() == 0);
    CHECK(p[0] == 0x00112233);
    CHECK(p[1] == 0);
    CHECK(p[2] == 0x00FFFFFF);
}

TEST_CASE("the alpha probe reads the alpha byte of an alpha plane and the key of others")
{
    CDIBPlane plane;
    REQUIRE(plane.Create(2, 1) == 0);
    plane.GetPixels()[0] = 0x80FF00FF;
    plane.GetPixels()[1] = 0x00FF00FF;
    plane.SetColorKey(255, 0, 255);
    CHECK(plane.GetAlphaAt(0, 0) == 255);  // the alpha byte keeps it from matching the key
    CHECK(plane.GetAlphaAt(1, 0) == 0);
    CHECK(plane.GetAlphaAt(2, 0) == 0);
    plane.GetAlphaFlag() = 1;
    CHECK(plane.GetAlphaAt(0, 0) == 0x80);
    CHECK(plane.GetAlphaAt(1, 0) == 0);
    CHECK(plane.GetAlphaAt(-1, 0) == 0);
}
