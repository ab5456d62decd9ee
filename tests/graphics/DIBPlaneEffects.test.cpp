// The in-place colour and alpha effects.
#include "graphics/PlaneTesting.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

TEST_CASE("AddColor and SubColor saturate each colour channel and keep the alpha byte")
{
    for (PixelSet set : AllSets()) {
        CAPTURE(SetName(set));
        // Five pixels: the MMX set takes the ends alone and the middle in pairs.
        auto plane = MakePlane(5, 1, std::vector<uint32_t>(5, 0xAB202020), set);
        CPlaneImpl* impl = plane->GetImpl();
        // The colour's top byte counts for nothing.
        CHECK(impl->AddColor(0xFFF0F0F0, nullptr) == 0);
        CHECK(PixelsOf(*plane) == std::vector<uint32_t>(5, 0xABFFFFFF));
        impl->Clear(0x12080820, nullptr);
        CHECK(impl->SubColor(0x00101010, nullptr) == 0);
        CHECK(PixelsOf(*plane) == std::vector<uint32_t>(5, 0x12000010));
        impl->Clear(0x00102030, nullptr);
        CHECK(impl->AddColor(0x00010203, nullptr) == 0);
        CHECK(PixelsOf(*plane)[4] == 0x00112233);
    }
}

TEST_CASE("AddColor and SubColor refuse inverted and empty rectangles and clamp the rest")
{
    for (PixelSet set : AllSets()) {
        CAPTURE(SetName(set));
        auto plane = MakePlane(4, 2, std::vector<uint32_t>(8, 0x00101010), set);
        CPlaneImpl* impl = plane->GetImpl();
        const Rect inverted{3, 0, 1, 2};
        const Rect outside{10, 0, 12, 2};
        CHECK(impl->AddColor(0x00010101, &inverted) == 1);
        CHECK(impl->SubColor(0x00010101, &outside) == 1);
        CHECK(PixelsOf(*plane) == std::vector<uint32_t>(8, 0x00101010));
        const Rect overhanging{-5, 1, 3, 9};
        CHECK(impl->AddColor(0x00010101, &overhanging) == 0);
        CHECK(PixelsOf(*plane) == std::vector<uint32_t>{0x00101010, 0x00101010, 0x00101010,
                                                         0x00101010, 0x00111111, 0x00111111,
                                                         0x00111111, 0x00101010});
        auto empty = MakePlane(0, 0, {}, set);
        CHECK(empty->GetImpl()->AddColor(1, nullptr) == 1);
    }
}

TEST_CASE("ScaleColor weights every channel and clears the alpha byte; ScaleAlpha only alpha")
{
    auto plane = MakePlane(2, 1, {0xFF8040FF, 0x80030201});
    CPlaneImpl* impl = plane->GetImpl();
    CHECK(impl->ScaleColor(128, nullptr) == 0);
    CHECK(PixelsOf(*plane) == std::vector<uint32_t>{0x0040207F, 0x00010100});
    // The cached table follows the rate.
    impl->Clear(0x00FF8040, nullptr);
    impl->ScaleColor(64, nullptr);
    CHECK(PixelsOf(*plane)[0] == 0x003F2010);
    impl->ScaleColor(512, nullptr);  // brightening stops at white
    CHECK(PixelsOf(*plane)[0] == 0x007E4020);
    impl->ScaleColor(512, nullptr);
    CHECK(PixelsOf(*plane)[0] == 0x00FC8040);
    impl->ScaleColor(512, nullptr);
    CHECK(PixelsOf(*plane)[0] == 0x00FFFF80);

    plane->GetImpl()->GetPixels()[0] = 0xFF123456;
    plane->GetImpl()->GetPixels()[1] = 0x81654321;
    CHECK(impl->ScaleAlpha(256, nullptr) == 0);
    CHECK(PixelsOf(*plane) == std::vector<uint32_t>{0xFF123456, 0x81654321});
    CHECK(impl->ScaleAlpha(128, nullptr) == 0);
    CHECK(PixelsOf(*plane) == std::vector<uint32_t>{0x7F123456, 0x40654321});
    CHECK(impl->ScaleAlpha(1024, nullptr) == 0);  // above 256 the alpha wraps
    CHECK(PixelsOf(*plane) == std::vector<uint32_t>{0xFC123456, 0x00654321});
    const Rect second{1, 0, 2, 1};
    CHECK(impl->NegateAlpha(&second) == 0);
    CHECK(impl->Negate(&second) == 0);
    CHECK(PixelsOf(*plane) == std::vector<uint32_t>{0xFC123456, 0xFF9ABCDE});

    auto empty = MakePlane(0, 0);
    CHECK(empty->GetImpl()->ScaleColor(128, nullptr) == 1);
    CHECK(empty->GetImpl()->Negate(nullptr) == 1);
}

TEST_CASE("Mosaic spreads each block's top-left pixel, blocks cut at the rectangle")
{
    std::vector<uint32_t> pixels(5 * 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t(i);
    auto plane = MakePlane(5, 3, pixels);
    CPlaneImpl* impl = plane->GetImpl();
    CHECK(impl->Mosaic(0, nullptr) == -2);
    CHECK(impl->Mosaic(-3, nullptr) == -2);
    CHECK(PixelsOf(*plane) == pixels);
    const Rect part{1, 0, 5, 3};
    CHECK(impl->Mosaic(2, &part) == 0);
    CHECK(PixelsOf(*plane) == std::vector<uint32_t>{0, 1, 1, 3, 3,
                                                     5, 1, 1, 3, 3,
                                                     10, 11, 11, 13, 13});
    // A huge block over a rectangle reaching outside: the clipped rectangle's first pixel.
    const Rect beyond{-100, 2, 1000, 1000};
    CHECK(impl->Mosaic(INT32_MAX, &beyond) == 0);
    CHECK(PixelsOf(*plane) == std::vector<uint32_t>{0, 1, 1, 3, 3,
                                                     5, 1, 1, 3, 3,
                                                     10, 10, 10, 10, 10});
    const Rect inverted{4, 2, 0, 0};
    CHECK(impl->Mosaic(2, &inverted) == 0);
}

TEST_CASE("SetAlphaFromPlane ramps the alpha by the mask's blue channel")
{
    std::vector<uint32_t> blues;
    for (uint32_t b : {0u, 64u, 65u, 128u, 191u, 192u, 255u, 0xFFFFFF00u}) blues.push_back(b);
    auto mask = MakePlane(8, 1, blues);
    auto plane = MakePlane(8, 1, std::vector<uint32_t>(8, 0x00123456));
    CPlaneImpl* impl = plane->GetImpl();
    CHECK(impl->SetAlphaFromPlane(mask.get(), 64, 192, 0, 255, nullptr) == 0);
    const uint32_t alphas[] = {0, 0, 1, 127, 253, 255, 255, 0};
    const std::vector<uint32_t> got = PixelsOf(*plane);
    for (size_t i = 0; i < 8; ++i) {
        CAPTURE(i);
        CHECK(got[i] == (alphas[i] << 24 | 0x123456));
    }
    // A falling ramp, and the ends of the range.
    CHECK(impl->SetAlphaFromPlane(mask.get(), -1, 256, 255, 0, nullptr) == 0);
    CHECK((PixelsOf(*plane)[0] >> 24) == 255u);
    CHECK((PixelsOf(*plane)[6] >> 24) == 1u);  // 255 - 256 * 255 / 257
    auto smaller = MakePlane(7, 1);
    CHECK(impl->SetAlphaFromPlane(smaller.get(), 0, 255, 0, 255, nullptr) == 1);
    CHECK(impl->SetAlphaFromPlane(nullptr, 0, 255, 0, 255, nullptr) == 1);
}

TEST_CASE("CopyScaleAlpha copies the colour and scales the alpha of a plane of the same size")
{
    auto src = MakePlane(2, 1, {0xFF112233, 0x80445566});
    auto plane = MakePlane(2, 1, {0x01000000, 0x02000000});
    CPlaneImpl* impl = plane->GetImpl();
    CHECK(impl->CopyScaleAlpha(src.get(), 128, nullptr) == 0);
    CHECK(PixelsOf(*plane) == std::vector<uint32_t>{0x7F112233, 0x40445566});
    const Rect first{0, 0, 1, 1};
    CHECK(impl->CopyScaleAlpha(src.get(), 256, &first) == 0);
    CHECK(PixelsOf(*plane) == std::vector<uint32_t>{0xFF112233, 0x40445566});
    auto other = MakePlane(1, 2);
    CHECK(impl->CopyScaleAlpha(other.get(), 128, nullptr) == 1);
}

TEST_CASE("every in-place effect answers 1 on an empty plane")
{
    for (PixelSet set : {PixelSet::Portable, PixelSet::MMX}) {
        CAPTURE(SetName(set));
        auto empty = MakePlane(0, 0, {}, set);
        auto emptyToo = MakePlane(0, 0, {}, set);
        CPlaneImpl* impl = empty->GetImpl();
        REQUIRE(impl->GetPixels() == nullptr);
        // Two empty planes have the same size; there are still no pixels to change.
        CHECK(impl->SetAlphaFromPlane(emptyToo.get(), 0, 255, 0, 255, nullptr) == 1);
        CHECK(impl->CopyScaleAlpha(emptyToo.get(), 128, nullptr) == 1);
        CHECK(impl->ScaleAlpha(128, nullptr) == 1);
        CHECK(impl->ScaleAlpha(256, nullptr) == 1);
        CHECK(impl->ScaleColor(128, nullptr) == 1);
        CHECK(impl->NegateAlpha(nullptr) == 1);
        CHECK(impl->Negate(nullptr) == 1);
        CHECK(impl->Mosaic(2, nullptr) == 1);
        CHECK(impl->Blur(nullptr) == 1);
        CHECK(impl->AddColor(0x00010101, nullptr) == 1);
        CHECK(impl->SubColor(0x00010101, nullptr) == 1);
        // A plane with pixels and an empty partner differ in size.
        auto full = MakePlane(2, 1, {}, set);
        CHECK(full->GetImpl()->SetAlphaFromPlane(empty.get(), 0, 255, 0, 255, nullptr) == 1);
        CHECK(full->GetImpl()->CopyScaleAlpha(empty.get(), 128, nullptr) == 1);
    }
}

namespace {
// Blur written out plainly on a copy: every value from the pixels as they were.
std::vector<uint32_t> ReferenceBlur(const std::vector<uint32_t>& p, int w, const Rect& r)
{
    std::vector<uint32_t> out = p;
    auto at = [&](int x, int y) { return p[size_t(y * w + x)] & 0x00F8F8F8u; };
    for (int y = r.top + 1; y <= r.bottom - 2; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const uint32_t l = x == r.left ? at(x + 1, y) : at(x - 1, y);
            const uint32_t rr = x == r.right - 1 ? at(x - 1, y) : at(x + 1, y);
            out[size_t(y * w + x)] = (at(x, y - 1) + at(x, y + 1) + l + rr + 4 * at(x, y)) >> 3;
        }
    for (int x = r.left; x < r.right; ++x)
        out[size_t((r.bottom - 1) * w + x)] = out[size_t((r.bottom - 2) * w + x)];
    return out;
}
}  // namespace

TEST_CASE("Blur matches the average computed from a copy and refuses small rectangles")
{
    std::mt19937 random(5);
    std::vector<uint32_t> pixels(9 * 7);
    for (uint32_t& p : pixels) p = uint32_t(random()) & 0xFFFFFF;
    auto plane = MakePlane(9, 7, pixels);
    CPlaneImpl* impl = plane->GetImpl();

    const Rect narrow{2, 0, 5, 7};
    const Rect low{0, 1, 9, 4};
    const Rect outside{20, 20, 30, 30};
    CHECK(impl->Blur(&narrow) == 2);
    CHECK(impl->Blur(&low) == 2);
    CHECK(impl->Blur(&outside) == 1);
    CHECK(PixelsOf(*plane) == pixels);

    const Rect part{1, 1, 8, 7};
    CHECK(impl->Blur(&part) == 0);
    CHECK(PixelsOf(*plane) == ReferenceBlur(pixels, 9, part));
    const Rect whole{0, 0, 9, 7};
    const std::vector<uint32_t> before = PixelsOf(*plane);
    CHECK(impl->Blur(nullptr) == 0);
    CHECK(PixelsOf(*plane) == ReferenceBlur(before, 9, whole));

    // Alpha bytes stay as they were; the top row is left alone.
    impl->Clear(0x80FFFFFF, nullptr);
    CHECK(impl->Blur(nullptr) == 0);
    std::vector<uint32_t> expected(63, 0x80F8F8F8);
    std::fill(expected.begin(), expected.begin() + 9, 0x80FFFFFF);
    CHECK(PixelsOf(*plane) == expected);
}
