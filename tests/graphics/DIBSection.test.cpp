#include <pyro/graphics/Plane.h>

#include <doctest/doctest.h>

#include <windows.h>

TEST_CASE("a plane set to use a DIB section draws through GDI into its own pixels")
{
    CPlane plane;
    CPlaneImpl* impl = plane.GetImpl();
    impl->SetUseDIB(true);
    REQUIRE(plane.Create(4, 3) == 0);
    HDC dc = impl->GetDC();
    REQUIRE(dc != nullptr);
    CHECK(reinterpret_cast<uintptr_t>(impl->GetPixels()) % 8 == 0);
    CHECK(impl->GetPixel(3, 2) == 0);

    // Rows run top-down: GDI's (3, 0) is the fourth word of the pixels; colours come back in
    // the pixel's 0x00RRGGBB order.
    ::SetPixel(dc, 3, 0, RGB(0x12, 0x34, 0x56));
    ::GdiFlush();
    CHECK(impl->GetPixels()[3] == 0x00123456);
    impl->GetPixels()[4 * 2 + 1] = 0x00ABCDEF;
    CHECK(::GetPixel(dc, 1, 2) == RGB(0xAB, 0xCD, 0xEF));

    CHECK(plane.Release() == 0);
    CHECK(impl->GetDC() == nullptr);
    CHECK(impl->GetPixels() == nullptr);

    // The flag outlives Release; clearing it gives heap pixels without a device context.
    REQUIRE(plane.Create(2, 2) == 0);
    CHECK(impl->GetDC() != nullptr);
    impl->SetUseDIB(false);
    REQUIRE(plane.Create(2, 2) == 0);
    CHECK(impl->GetDC() == nullptr);
}
