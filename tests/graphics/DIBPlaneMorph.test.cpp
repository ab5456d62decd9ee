// Quadrilateral mapping, rotation and the displacement transfer.
#include "graphics/PlaneTesting.h"

#include <doctest/doctest.h>

#include <climits>
#include <random>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#undef far  // windows.h still defines the words of 16-bit pointers
#undef near
#endif

namespace {

uint32_t Marker(int x, int y) { return 0x01000000u | uint32_t(y) << 12 | uint32_t(x); }

std::unique_ptr<CPlane> MarkerPlane(int32_t w, int32_t h)
{
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) pixels.push_back(Marker(x, y));
    return MakePlane(w, h, pixels);
}

// Records the points the rotation hands to the keyed mapping of a rectangle.
class CRecordingPlane : public CDIBPlane {
public:
    Point points[4] = {};
    int32_t MorphBltFromRect(CPlane*, const Rect*, const Point* dstPoints, const Rect*) override
    {
        for (int i = 0; i < 4; ++i) points[i] = dstPoints[i];
        return 0;
    }
};

}  // namespace

TEST_CASE("mapping a rectangle onto a rectangle of the same size reproduces it")
{
    std::mt19937 random(3);
    const int sizes[][2] = {{1, 1}, {3, 2}, {5, 7}, {16, 9}, {13, 13}, {1, 6}};
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        CAPTURE(w);
        CAPTURE(h);
        std::vector<uint32_t> pixels(size_t(w * h));
        for (uint32_t& p : pixels) p = uint32_t(random()) | 1;
        auto src = MakePlane(w, h, pixels);
        const Point to[4] = {{3, 2}, {3 + w, 2}, {3, 2 + h}, {3 + w, 2 + h}};
        for (bool keyed : {false, true}) {
            auto dst = MakePlane(w + 6, h + 4);
            CPlaneImpl* impl = dst->GetImpl();
            CHECK((keyed ? impl->MorphBltFromRect(src.get(), nullptr, to, nullptr)
                         : impl->MorphBltFastFromRect(src.get(), nullptr, to, nullptr)) == 0);
            const std::vector<uint32_t> got = PixelsOf(*dst);
            for (int y = 0; y < h + 4; ++y)
                for (int x = 0; x < w + 6; ++x) {
                    const bool inside = x >= 3 && x < 3 + w && y >= 2 && y < 2 + h;
                    const uint32_t want = inside ? pixels[size_t((y - 2) * w + x - 3)] : 0;
                    if (got[size_t(y * (w + 6) + x)] != want) {
                        CAPTURE(keyed);
                        CAPTURE(x);
                        CAPTURE(y);
                        CHECK(got[size_t(y * (w + 6) + x)] == want);
                    }
                }
        }
    }
}

TEST_CASE("the keyed mapping leaves key-coloured source pixels out")
{
    auto src = MakePlane(2, 2, {0x00FF00FF, 0x11, 0x22, 0x00FF00FF});
    src->SetColorKey(255, 0, 255);
    auto dst = MakePlane(2, 2, std::vector<uint32_t>(4, 7));
    const Point to[4] = {{0, 0}, {2, 0}, {0, 2}, {2, 2}};
    dst->GetImpl()->MorphBltFromRect(src.get(), nullptr, to, nullptr);
    CHECK(PixelsOf(*dst) == std::vector<uint32_t>{7, 0x11, 0x22, 7});
    dst->GetImpl()->MorphBltFastFromRect(src.get(), nullptr, to, nullptr);
    CHECK(PixelsOf(*dst) == std::vector<uint32_t>{0x00FF00FF, 0x11, 0x22, 0x00FF00FF});
}

TEST_CASE("a quarter turn puts every pixel of an asymmetric sprite in place")
{
    for (bool keyed : {false, true}) {
        for (const auto& size : {std::pair<int, int>{3, 2}, {4, 3}, {5, 1}, {7, 6}}) {
            const int w = size.first, h = size.second;
            CAPTURE(keyed);
            CAPTURE(w);
            CAPTURE(h);
            auto src = MarkerPlane(w, h);
            auto dst = MakePlane(20, 20);
            CPlaneImpl* impl = dst->GetImpl();
            const int x = 10, y = 6;
            // A quarter turn (128 of 512) about the top-left corner: the top row runs down the
            // right-hand column, as a clockwise turn on the screen.
            keyed ? impl->RotateBlt(src.get(), nullptr, x, y, 128, 65536, 0, nullptr)
                  : impl->RotateBltFast(src.get(), nullptr, x, y, 128, 65536, 0, nullptr);
            std::vector<uint32_t> want(400, 0);
            for (int i = 0; i < w; ++i)
                for (int j = 0; j < h; ++j)
                    want[size_t((y + i) * 20 + x - h + j)] = Marker(i, h - 1 - j);
            CHECK(PixelsOf(*dst) == want);

            // A half turn covers the mirrored place; rows are reversed too, though sampling
            // backwards along an edge may repeat one source row for another.
            impl->Clear(0, nullptr);
            keyed ? impl->RotateBlt(src.get(), nullptr, x, y, 256, 65536, 0, nullptr)
                  : impl->RotateBltFast(src.get(), nullptr, x, y, 256, 65536, 0, nullptr);
            const std::vector<uint32_t> got = PixelsOf(*dst);
            for (int py = 0; py < 20; ++py)
                for (int px = 0; px < 20; ++px) {
                    const bool inside = px >= x - w && px < x && py >= y - h && py < y;
                    const uint32_t p = got[size_t(py * 20 + px)];
                    CHECK((p != 0) == inside);
                    if (inside) CHECK((p & 0xFFF) == uint32_t(x - 1 - px));
                }
        }
    }
}

TEST_CASE("an unturned, unzoomed rotation hands on the unrotated corners for every anchor")
{
    auto src = MakePlane(7, 5);
    const Rect part{1, 1, 5, 4};
    for (int anchor = 0; anchor <= 4; ++anchor) {
        for (const Rect* rect : {static_cast<const Rect*>(nullptr), &part}) {
            CAPTURE(anchor);
            CRecordingPlane plane;
            plane.Create(30, 30);
            CPlane holder(&plane, false);
            const int w = rect ? 4 : 7, h = rect ? 3 : 5;
            CHECK(plane.RotateBlt(src.get(), rect, 10, 12, 0, 65536, anchor, nullptr) == 0);
            const Point want[4] = {{10, 12}, {10 + w, 12}, {10, 12 + h}, {10 + w, 12 + h}};
            for (int i = 0; i < 4; ++i) {
                CHECK(plane.points[i].x == want[i].x);
                CHECK(plane.points[i].y == want[i].y);
            }
        }
    }
    CDIBPlane plane;
    plane.Create(4, 4);
    CHECK(plane.RotateBlt(src.get(), nullptr, 0, 0, 0, 65536, 5, nullptr) == -2);
}

TEST_CASE("a zoomed rotation rounds the zoomed size as MulDiv does and turns it about its anchor")
{
    auto src = MakePlane(7, 5);
    const auto pointsOf = [&](int32_t angle, int32_t zoom, int32_t anchor, const Rect* rect) {
        CRecordingPlane plane;
        plane.Create(4, 4);
        CPlane holder(&plane, false);
        CHECK(plane.RotateBlt(src.get(), rect, 10, 12, angle, zoom, anchor, nullptr) == 0);
        return std::vector<Point>(plane.points, plane.points + 4);
    };
    const auto same = [](const std::vector<Point>& a, const std::vector<Point>& b) {
        for (size_t i = 0; i < 4; ++i)
            if (a[i].x != b[i].x || a[i].y != b[i].y) return false;
        return true;
    };

    // Unturned: the zoomed size is 7 and 5 times zoom / 65536, to the nearest, halves away
    // from zero.
    struct Zoomed {
        int32_t zoom, w, h;
    };
    const Zoomed sizes[] = {
        {98304, 11, 8},    // 10.5 and 7.5 round up
        {32768, 4, 3},     // 3.5 and 2.5
        {0x9000, 4, 3},    // 3.9375 and 2.8125
        {0x6000, 3, 2},    // 2.625 and 1.875
        {65535, 7, 5},     // just under 1
        {131072, 14, 10},  // twice
        {-98304, -11, -8}, // halves away from zero on the negative side too
        {1, 0, 0},
        {0, 0, 0},
    };
    for (const Zoomed& z : sizes) {
        CAPTURE(z.zoom);
        CHECK(same(pointsOf(0, z.zoom, 0, nullptr),
                   {{10, 12}, {10 + z.w, 12}, {10, 12 + z.h}, {10 + z.w, 12 + z.h}}));
    }
    const Rect part{1, 1, 4, 4};  // 3 by 3 at 1.5: 4.5 makes 5
    CHECK(same(pointsOf(0, 98304, 0, &part), {{10, 12}, {15, 12}, {10, 17}, {15, 17}}));

    // Turned by 1/8 (cos and sin 46340 / 65536) about the zoomed size's centre (10 + 5,
    // 12 + 4): each corner's offset is turned with arithmetic shifts.
    CHECK(same(pointsOf(64, 98304, 4, nullptr), {{14, 9}, {22, 17}, {8, 15}, {16, 23}}));
    // A quarter turn about the bottom-right corner (21, 20) of the 11 by 8 picture.
    CHECK(same(pointsOf(128, 98304, 3, nullptr), {{29, 9}, {29, 20}, {21, 9}, {21, 20}}));
    // Three quarters about the top-right corner (14, 12), at half size (4 by 3).
    CHECK(same(pointsOf(384, 32768, 1, nullptr), {{14, 16}, {14, 12}, {17, 16}, {17, 12}}));

#if defined(_WIN32)
    // The platform's own MulDiv gives every zoomed size.
    for (int32_t zoom = -200000; zoom <= 200000; zoom += 997) {
        CAPTURE(zoom);
        const std::vector<Point> points = pointsOf(0, zoom, 0, nullptr);
        CHECK(points[1].x - 10 == ::MulDiv(7, zoom, 65536));
        CHECK(points[2].y - 12 == ::MulDiv(5, zoom, 65536));
    }
#endif
}

TEST_CASE("a twisted quadrilateral draws nothing")
{
    auto src = MarkerPlane(8, 8);
    auto dst = MakePlane(12, 12);
    const Point from[4] = {{0, 0}, {7, 0}, {0, 7}, {7, 7}};
    // The sides 0-1 and 2-3 cross: the vertex after the top one is its opposite.
    const Point twisted[4] = {{0, 0}, {10, 10}, {0, 10}, {5, 1}};
    CHECK(dst->GetImpl()->MorphBltFast(src.get(), from, twisted, nullptr, 0) == 0);
    CHECK(PixelsOf(*dst) == std::vector<uint32_t>(144, 0));
    CHECK(dst->GetImpl()->MorphBltFast(src.get(), nullptr, twisted, nullptr, 0) == -1);
}

TEST_CASE("mapping onto a rectangle fills exactly that rectangle")
{
    auto src = MarkerPlane(6, 4);
    const Point from[4] = {{0, 0}, {5, 0}, {0, 3}, {5, 3}};
    for (bool keyed : {false, true}) {
        auto dst = MakePlane(10, 8);
        const Rect to{2, 1, 7, 5};
        keyed ? dst->GetImpl()->MorphBltToRect(src.get(), from, &to, nullptr)
              : dst->GetImpl()->MorphBltFastToRect(src.get(), from, &to, nullptr);
        const std::vector<uint32_t> got = PixelsOf(*dst);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x) {
                CAPTURE(x);
                CAPTURE(y);
                CHECK((got[size_t(y * 10 + x)] != 0) == (x >= 2 && x < 7 && y >= 1 && y < 5));
            }
    }
}

TEST_CASE("random quadrilaterals, however far out, write only source pixels inside the clip")
{
    std::mt19937 random(11);
    auto src = MarkerPlane(9, 7);
    const int32_t far[] = {-1000000, 1000000, INT32_MIN, INT32_MAX, -3000, 3000};
    auto coordinate = [&] {
        return random() % 5 == 0 ? far[random() % 6] : int32_t(random() % 80) - 20;
    };
    for (int i = 0; i < 3000; ++i) {
        const uint32_t guard = 0xEEEEEEEE;
        auto dst = MakePlane(40, 30, std::vector<uint32_t>(1200, guard));
        Point from[4];
        Point to[4];
        for (Point& p : from) p = {coordinate() % 12 - 1, coordinate() % 10 - 1};
        for (Point& p : to) p = {coordinate(), coordinate()};
        const Rect clip{int32_t(random() % 30) - 5, int32_t(random() % 20) - 5,
                        int32_t(random() % 40) + 5, int32_t(random() % 30) + 5};
        const bool useClip = random() % 2;
        const int32_t flag = int32_t(random() % 2);
        const Rect* within = useClip ? &clip : nullptr;
        if (random() % 2) dst->GetImpl()->MorphBltFast(src.get(), from, to, within, flag);
        else dst->GetImpl()->MorphBlt(src.get(), from, to, within, flag);
        const std::vector<uint32_t> got = PixelsOf(*dst);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                const uint32_t p = got[size_t(y * 40 + x)];
                if (p == guard) continue;
                const bool inClip = !useClip || (x >= clip.left && x < clip.right &&
                                                 y >= clip.top && y < clip.bottom);
                const bool fromSource =
                    (p & 0xFFF) < 9 && ((p >> 12) & 0xFFF) < 7 && (p >> 24) == 1;
                if (!inClip || !fromSource) {
                    CAPTURE(i);
                    CAPTURE(x);
                    CAPTURE(y);
                    CHECK(inClip);
                    CHECK(fromSource);
                    return;
                }
            }
    }
}

TEST_CASE("the displacement transfer moves each source position by its table entry")
{
    auto src = MarkerPlane(6, 4);
    const Rect area{1, 1, 4, 3};  // 3 x 2, so the table has 6 entries
    const Point table[6] = {{0, 0}, {1, 0}, {-1, 1}, {0, -1}, {9, 0}, {0, 0}};
    auto dst = MakePlane(5, 4);
    CHECK(dst->GetImpl()->DisplaceBlt(src.get(), table, 1, 1, &area, nullptr) == 0);
    std::vector<uint32_t> want(20, 0);
    want[1 * 5 + 1] = Marker(1, 1);
    want[1 * 5 + 2] = Marker(3, 1);
    want[1 * 5 + 3] = Marker(2, 2);
    want[2 * 5 + 1] = Marker(1, 1);
    // (2, 2) + (9, 0) lies outside the source: that pixel is left alone.
    want[2 * 5 + 3] = Marker(3, 2);
    CHECK(PixelsOf(*dst) == want);

    // Clipped on the left, the table stays tied to the source positions.
    auto clipped = MakePlane(5, 4);
    Rect clip{2, 0, 5, 4};
    clipped->GetImpl()->DisplaceBlt(src.get(), table, 1, 1, &area, &clip);
    want[1 * 5 + 1] = 0;
    want[2 * 5 + 1] = 0;
    CHECK(PixelsOf(*clipped) == want);
    CHECK(dst->GetImpl()->DisplaceBlt(src.get(), nullptr, 0, 0, nullptr, nullptr) == -1);
}

TEST_CASE("a mapping clipped at the left starts each row at the source position it has unclipped")
{
    auto src = MarkerPlane(16, 16);
    auto column = [](uint32_t p) { return int((p >> 12) & 0xFFF); };  // the source row v
    SUBCASE("transposed: the source row is the destination column, exactly, from the clip on")
    {
        const Point from[4] = {{0, 0}, {0, 8}, {8, 0}, {8, 8}};
        const Point to[4] = {{0, 0}, {8, 0}, {0, 8}, {8, 8}};
        for (int32_t left = 0; left < 8; ++left) {
            CAPTURE(left);
            auto dst = MakePlane(8, 8);
            const Rect clip{left, 0, 8, 8};
            REQUIRE(dst->GetImpl()->MorphBltFast(src.get(), from, to, &clip, 1) == 0);
            const std::vector<uint32_t> got = PixelsOf(*dst);
            for (int y = 0; y < 8; ++y) {
                CAPTURE(y);
                CHECK(got[size_t(y * 8 + left)] != 0);
                CHECK(column(got[size_t(y * 8 + left)]) == left);
                if (left > 0) CHECK(got[size_t(y * 8 + left - 1)] == 0);
            }
        }
    }
    SUBCASE("skewed, both divisor rules: the clipped picture is the unclipped one from the clip on")
    {
        const Point from[4] = {{0, 0}, {15, 2}, {1, 15}, {14, 13}};
        const Point to[4] = {{2, 1}, {19, 3}, {1, 12}, {18, 15}};
        for (int32_t flag : {0, 1}) {
            auto whole = MakePlane(20, 16);
            REQUIRE(whole->GetImpl()->MorphBltFast(src.get(), from, to, nullptr, flag) == 0);
            const std::vector<uint32_t> unclipped = PixelsOf(*whole);
            for (int32_t left = 1; left < 19; ++left) {
                CAPTURE(flag);
                CAPTURE(left);
                auto dst = MakePlane(20, 16);
                const Rect clip{left, 0, 20, 16};
                REQUIRE(dst->GetImpl()->MorphBltFast(src.get(), from, to, &clip, flag) == 0);
                std::vector<uint32_t> want = unclipped;
                for (int y = 0; y < 16; ++y)
                    for (int x = 0; x < left; ++x) want[size_t(y * 20 + x)] = 0;
                CHECK(PixelsOf(*dst) == want);
            }
        }
    }
}
