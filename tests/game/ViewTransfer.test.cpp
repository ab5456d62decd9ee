// The transfer family in logical coordinates on a magnified screen, checked against the same
// transfer on a plane of the logical size whose every pixel is then drawn as its block, in
// every transfer set, at magnifications 1 to 3, with clips, source rectangles and positions
// partly off the screen. Stretches by whole factors are checked against the one-to-one transfer
// of a source magnified by the test itself; what is sampled at physical resolution (mirrored
// stretches, rotation, quadrilateral mapping) against the plane's own operation at the mapped
// physical arguments.
#include "game/ViewTransfer.h"

#include "graphics/PlaneTesting.h"

#include <doctest/doctest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int32_t kLogicalW = 24;
constexpr int32_t kLogicalH = 16;
constexpr uint32_t kBorder = 0x5A5A5A5A;  // what lies outside the logical screen
constexpr uint32_t kKey = 0x00FF00FF;

uint32_t Next(uint32_t& seed)
{
    seed = seed * 1664525u + 1013904223u;
    return seed;
}

// Random pixels with random top bytes; about one in five is the colour key.
std::vector<uint32_t> RandomPixels(size_t count, uint32_t seed)
{
    std::vector<uint32_t> pixels(count);
    for (uint32_t& p : pixels) {
        const uint32_t r = Next(seed);
        p = (r % 5 == 0) ? kKey : Next(seed);
    }
    return pixels;
}

struct Screen {
    ViewGeometry view;
    std::unique_ptr<CPlane> physical;
};

// A physical plane holding the logical plane's pixels as blocks at the origin, kBorder around.
Screen Magnify(const CPlane& logical, int32_t m, int32_t originX, int32_t originY, PixelSet set)
{
    Screen s{{originX, originY, m, kLogicalW, kLogicalH}, nullptr};
    const int32_t w = originX * 2 + kLogicalW * m;
    const int32_t h = originY * 2 + kLogicalH * m;
    std::vector<uint32_t> pixels(size_t(w) * h, kBorder);
    const std::vector<uint32_t> l = PixelsOf(logical);
    for (int32_t y = 0; y < kLogicalH * m; ++y)
        for (int32_t x = 0; x < kLogicalW * m; ++x)
            pixels[size_t(y + originY) * w + x + originX] = l[size_t(y / m) * kLogicalW + x / m];
    s.physical = MakePlane(w, h, pixels, set);
    return s;
}

// The first pixel where the two planes differ, as "x,y: got != want", or empty.
std::string FirstDifference(const CPlane& got, const CPlane& want)
{
    int32_t w = 0;
    int32_t h = 0;
    want.GetSize(&w, &h);
    const std::vector<uint32_t> a = PixelsOf(got);
    const std::vector<uint32_t> b = PixelsOf(want);
    for (size_t i = 0; i < b.size(); ++i)
        if (a[i] != b[i])
            return std::to_string(i % size_t(w)) + "," + std::to_string(i / size_t(w)) + ": " +
                   std::to_string(a[i]) + " != " + std::to_string(b[i]);
    return {};
}

std::unique_ptr<CPlane> Copy(const CPlane& plane, PixelSet set)
{
    int32_t w = 0;
    int32_t h = 0;
    plane.GetSize(&w, &h);
    return MakePlane(w, h, PixelsOf(plane), set);
}

// The source: 7 by 5 random pixels with the key, alpha flag as asked.
std::unique_ptr<CPlane> Source(uint32_t seed, bool alpha, int32_t w = 7, int32_t h = 5)
{
    auto src = MakePlane(w, h, RandomPixels(size_t(w) * h, seed));
    src->SetColorKey(0xFF, 0x00, 0xFF);
    src->GetImpl()->GetAlphaFlag() = alpha ? 1 : 0;
    return src;
}

// Each pixel of the source repeated k times across and down, with its key and alpha flag.
std::unique_ptr<CPlane> Repeat(const CPlane& src, int32_t k)
{
    int32_t w = 0;
    int32_t h = 0;
    src.GetSize(&w, &h);
    const std::vector<uint32_t> p = PixelsOf(src);
    std::vector<uint32_t> big(size_t(w) * k * h * k);
    for (int32_t y = 0; y < h * k; ++y)
        for (int32_t x = 0; x < w * k; ++x) big[size_t(y) * w * k + x] = p[size_t(y / k) * w + x / k];
    auto out = MakePlane(w * k, h * k, big);
    out->SetColorKey(0xFF, 0x00, 0xFF);
    out->GetImpl()->GetAlphaFlag() = src.GetImpl()->IsAlpha() ? 1 : 0;
    return out;
}

#define PYRO_TEST_VIEW_OP(name, rule, mirrored, key, args) {#name, &ViewTransferOps::name},
const std::vector<std::pair<std::string, const ViewTransferOp*>>& ViewOps()
{
    static const std::vector<std::pair<std::string, const ViewTransferOp*>> ops = {
        PYRO_TRANSFERS(PYRO_TEST_VIEW_OP)};
    return ops;
}
#undef PYRO_TEST_VIEW_OP

struct Placement {
    int32_t x, y;
    const Rect* srcRect;
    const Rect* clip;
};

const Rect kInner = {1, 1, 6, 4};
const Rect kClip = {3, 2, 20, 9};
const Rect kWide = {-100, -100, 1000, 1000};  // beyond the screen: the screen counts
const Placement kPlacements[] = {
    {4, 3, nullptr, nullptr},
    {-3, -2, nullptr, nullptr},   // off the top-left
    {20, 13, nullptr, nullptr},   // off the bottom-right
    {2, 1, &kInner, &kClip},      // source rectangle and clip
    {5, 6, nullptr, &kClip},      // cut by the clip on the left and the top
    {-1, 12, &kInner, &kWide},
};

}  // namespace

TEST_CASE("every transfer on a magnified screen gives the logical plane's pixels as blocks")
{
    uint32_t seed = 99;
    for (PixelSet set : AllSets()) {
        for (int32_t m : {1, 2, 3}) {
            for (bool alpha : {false, true}) {
                const auto src = Source(Next(seed), alpha);
                for (const auto& [name, viewOp] : ViewOps()) {
                    const TransferOp& op = FindTransfer(name);
                    for (const Placement& at : kPlacements) {
                        CAPTURE(SetName(set));
                        CAPTURE(m);
                        CAPTURE(name);
                        CAPTURE(at.x);
                        CAPTURE(at.y);
                        const uint32_t dstRate = Next(seed) & 0xFFFFFF;
                        const uint32_t srcRate = Next(seed) & 0xFFFFFF;
                        const auto logical = MakePlane(kLogicalW, kLogicalH,
                                                       RandomPixels(kLogicalW * kLogicalH, Next(seed)), set);
                        Screen screen = Magnify(*logical, m, 5, 2, set);
                        CPlane scratch;
                        CHECK(ViewTransfer(screen.view, screen.physical->GetImpl(), scratch, *viewOp,
                                           src.get(), at.x, at.y, dstRate, srcRate, at.srcRect,
                                           nullptr, at.clip) == 0);
                        Rect clip = at.clip ? *at.clip : Rect{0, 0, kLogicalW, kLogicalH};
                        op.Run(*logical->GetImpl(), src.get(), at.x, at.y, dstRate, srcRate,
                               at.srcRect, nullptr, &clip);
                        const Screen want = Magnify(*logical, m, 5, 2, set);
                        CHECK(FirstDifference(*screen.physical, *want.physical) == "");
                    }
                }
            }
        }
    }
}

TEST_CASE("a stretch by a whole factor is the one-to-one transfer of the source so magnified")
{
    uint32_t seed = 7;
    for (PixelSet set : AllSets()) {
        for (int32_t m : {1, 2, 3}) {
            const auto src = Source(Next(seed), true, 4, 3);
            const auto twice = Repeat(*src, 2);
            const Size size = {8, 6};
            for (const auto& [name, viewOp] : ViewOps()) {
                if (viewOp->unmirrored) continue;  // mirrored stretches sample physical centres
                CAPTURE(SetName(set));
                CAPTURE(m);
                CAPTURE(name);
                const auto logical = MakePlane(kLogicalW, kLogicalH,
                                               RandomPixels(kLogicalW * kLogicalH, Next(seed)), set);
                Screen got = Magnify(*logical, m, 3, 4, set);
                Screen want = Magnify(*logical, m, 3, 4, set);
                CPlane scratch;
                ViewTransfer(got.view, got.physical->GetImpl(), scratch, *viewOp, src.get(), -2, 11,
                             0x406080, 0xC0A020, nullptr, &size, &kClip);
                ViewTransfer(want.view, want.physical->GetImpl(), scratch, *viewOp, twice.get(), -2,
                             11, 0x406080, 0xC0A020, nullptr, nullptr, &kClip);
                CHECK(FirstDifference(*got.physical, *want.physical) == "");
            }
        }
    }
}

TEST_CASE("what is resampled at physical resolution is the plane's operation at mapped arguments")
{
    const auto src = Source(5, false, 9, 6);
    const auto logical = MakePlane(kLogicalW, kLogicalH, RandomPixels(kLogicalW * kLogicalH, 3));
    for (int32_t m : {2, 3}) {
        CAPTURE(m);
        const int32_t ox = 4;
        const int32_t oy = 1;
        Screen got = Magnify(*logical, m, ox, oy, PixelSet::Portable);
        auto want = Copy(*got.physical, PixelSet::Portable);
        const Rect physicalClip = {ox + kClip.left * m, oy + kClip.top * m, ox + kClip.right * m,
                                   oy + kClip.bottom * m};
        CPlane scratch;

        // A mirrored stretch goes straight to the magnified size at the magnified position.
        const Size size = {13, 4};
        ViewTransfer(got.view, got.physical->GetImpl(), scratch, ViewTransferOps::TransferAddMirrored,
                     src.get(), 2, 3, 0, 0, nullptr, &size, &kClip);
        Rect c = physicalClip;
        const Size physicalSize = {13 * m, 4 * m};
        want->GetImpl()->TransferAddMirrored(src.get(), ox + 2 * m, oy + 3 * m, nullptr,
                                             &physicalSize, &c);
        CHECK(FirstDifference(*got.physical, *want) == "");

        // Rotation: the position and the zoom magnified.
        CHECK(ViewRotate(got.view, got.physical->GetImpl(), true, src.get(), nullptr, 9, 7, 37,
                         0x18000, 4, &kClip) == 0);
        c = physicalClip;
        want->GetImpl()->RotateBlt(src.get(), nullptr, ox + 9 * m, oy + 7 * m, 37, 0x18000 * m, 4, &c);
        CHECK(FirstDifference(*got.physical, *want) == "");
        CHECK(ViewRotate(got.view, got.physical->GetImpl(), true, src.get(), nullptr, 0, 0, 0,
                         0x10000, 9, nullptr) == -2);

        // Quadrilaterals: destination points at their blocks' corners, a rectangle on its blocks.
        const Point quad[4] = {{3, 2}, {15, 4}, {1, 12}, {18, 14}};
        const Point mappedQuad[4] = {{ox + 3 * m, oy + 2 * m}, {ox + 15 * m, oy + 4 * m},
                                     {ox + 1 * m, oy + 12 * m}, {ox + 18 * m, oy + 14 * m}};
        const Rect part = {1, 0, 8, 5};
        const Rect screenRect = got.view.MapRect(nullptr);
        ViewMorphFromRect(got.view, got.physical->GetImpl(), false, src.get(), &part, quad, nullptr);
        want->GetImpl()->MorphBltFastFromRect(src.get(), &part, mappedQuad,
                                              &screenRect);
        CHECK(FirstDifference(*got.physical, *want) == "");
        const Point corners[4] = {{0, 0}, {8, 0}, {0, 5}, {8, 5}};
        const Rect target = {-2, 5, 11, 30};  // partly below the screen
        ViewMorphToRect(got.view, got.physical->GetImpl(), true, src.get(), corners, &target, &kClip);
        const Rect targetBlocks = {ox - 2 * m, oy + 5 * m, ox + 11 * m, oy + 30 * m};
        c = physicalClip;
        want->GetImpl()->MorphBltToRect(src.get(), corners, &targetBlocks, &c);
        CHECK(FirstDifference(*got.physical, *want) == "");
        ViewMorph(got.view, got.physical->GetImpl(), true, src.get(), corners, quad, nullptr, 1);
        want->GetImpl()->MorphBlt(src.get(), corners, mappedQuad, &screenRect, 1);
        CHECK(FirstDifference(*got.physical, *want) == "");
        CHECK(ViewMorph(got.view, got.physical->GetImpl(), true, src.get(), corners, nullptr,
                        nullptr, 0) == -1);

        // The displacement cannot stretch: one to one from the block of (x, y).
        std::vector<Point> table(9 * 6);
        for (size_t i = 0; i < table.size(); ++i) table[i] = {int32_t(i % 3) - 1, int32_t(i % 2)};
        ViewDisplace(got.view, got.physical->GetImpl(), src.get(), table.data(), 19, 6, nullptr, &kClip);
        c = physicalClip;
        want->GetImpl()->DisplaceBlt(src.get(), table.data(), ox + 19 * m, oy + 6 * m, nullptr, &c);
        CHECK(FirstDifference(*got.physical, *want) == "");
    }
}

TEST_CASE("logical rectangles and far-off coordinates map without overflow")
{
    const ViewGeometry view = {30, 0, 2, 320, 240};
    const Rect r = {1, 2, 3, 4};
    const Rect mapped = view.MapRect(&r);
    CHECK((mapped.left == 32 && mapped.top == 4 && mapped.right == 36 && mapped.bottom == 8));
    const Rect all = view.MapRect(nullptr);
    CHECK((all.left == 30 && all.top == 0 && all.right == 670 && all.bottom == 480));
    // Cut to the logical screen, and empty when distant off, never wrapped into view.
    const Rect big = {-5, -5, 400, 300};
    const Rect cut = view.MapRect(&big);
    CHECK((cut.left == 30 && cut.top == 0 && cut.right == 670 && cut.bottom == 480));
    const Rect distant = {1 << 30, 1 << 30, INT32_MAX, INT32_MAX};
    CHECK(view.MapRect(&distant).IsEmpty());
    const Rect farLeft = {INT32_MIN, 0, -(1 << 30), 10};
    CHECK(view.MapRect(&farLeft).IsEmpty());
    CHECK(view.MapPoint({INT32_MAX, INT32_MIN}).x == INT32_MAX);
    CHECK(view.MapPoint({INT32_MAX, INT32_MIN}).y == INT32_MIN);

    // Transfers at +-2^30 and beyond, at every size, draw nothing and return 0.
    const auto src = Source(1, false);
    const auto logical = MakePlane(kLogicalW, kLogicalH, RandomPixels(kLogicalW * kLogicalH, 2));
    for (int32_t m : {1, 3}) {
        Screen screen = Magnify(*logical, m, 2, 2, PixelSet::Portable);
        const auto before = Copy(*screen.physical, PixelSet::Portable);
        CPlane scratch;
        const Size huge = {1 << 30, 1 << 30};
        const Size tiny = {1, 1};
        for (int32_t distant : {1 << 30, -(1 << 30), INT32_MAX, INT32_MIN}) {
            for (const ViewTransferOp* op : {&ViewTransferOps::TransferCopy,
                                             &ViewTransferOps::TransferAddKeyedMirrored}) {
                CHECK(ViewTransfer(screen.view, screen.physical->GetImpl(), scratch, *op, src.get(),
                                   distant, distant, 0, 0, nullptr, nullptr, nullptr) == 0);
                CHECK(ViewTransfer(screen.view, screen.physical->GetImpl(), scratch, *op, src.get(),
                                   distant, 3, 0, 0, nullptr, &tiny, nullptr) == 0);
                CHECK(ViewTransfer(screen.view, screen.physical->GetImpl(), scratch, *op, src.get(),
                                   distant, distant, 0, 0, nullptr, &huge, nullptr) == 0);
                const Rect distantClip = {distant, distant, distant, distant};
                CHECK(ViewTransfer(screen.view, screen.physical->GetImpl(), scratch, *op, src.get(),
                                   2, 2, 0, 0, nullptr, nullptr, &distantClip) == 0);
            }
            CHECK(ViewRotate(screen.view, screen.physical->GetImpl(), false, src.get(), nullptr, distant,
                             distant, 100, INT32_MAX, 0, nullptr) == 0);
        }
        CHECK(FirstDifference(*screen.physical, *before) == "");
        // No destination plane: 1; no source or an empty one: 0, nothing drawn.
        CHECK(ViewTransfer(screen.view, nullptr, scratch, ViewTransferOps::TransferCopy, src.get(), 0,
                           0, 0, 0, nullptr, nullptr, nullptr) == 1);
        CPlane empty;
        CHECK(ViewTransfer(screen.view, screen.physical->GetImpl(), scratch,
                           ViewTransferOps::TransferAddMirrored, &empty, 0, 0, 0, 0, nullptr,
                           nullptr, nullptr) == 0);
        CHECK(ViewTransfer(screen.view, screen.physical->GetImpl(), scratch,
                           ViewTransferOps::TransferAdd, nullptr, 0, 0, 0, 0, nullptr, nullptr,
                           nullptr) == 0);
        CHECK(FirstDifference(*screen.physical, *before) == "");
    }
}

TEST_CASE("the fades on a magnified screen follow the plane's levels")
{
    const auto logicalStart = MakePlane(kLogicalW, kLogicalH, RandomPixels(kLogicalW * kLogicalH, 11));
    for (bool alpha : {false, true}) {
        const auto src = Source(alpha ? 21 : 22, alpha);
        for (int32_t level : {0, 1, 128, 255, 256}) {
            CAPTURE(alpha);
            CAPTURE(level);
            auto logical = Copy(*logicalStart, PixelSet::Portable);
            Screen screen = Magnify(*logical, 2, 1, 3, PixelSet::Portable);
            CPlane scratch;
            ViewTransfer(screen.view, screen.physical->GetImpl(), scratch, ViewTransferOps::TransferFade,
                         src.get(), 18, -1, uint32_t(level), 0, nullptr, nullptr, nullptr);
            logical->GetImpl()->TransferFade(src.get(), 18, -1, level, nullptr, nullptr, nullptr);
            CHECK(FirstDifference(*screen.physical, *Magnify(*logical, 2, 1, 3, PixelSet::Portable).physical) == "");
        }
    }
}
