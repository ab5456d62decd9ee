// Clipping and stretching: which source pixel lands on which destination pixel.
#include "graphics/transfer/PrepareTransfer.h"

#include "graphics/PlaneTesting.h"

#include <doctest/doctest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

// Source pixel (x, y) holds a marker naming it; destination pixels start at 0 (untouched).
uint32_t Marker(int64_t x, int64_t y) { return 0x01000000u | uint32_t(y << 12) | uint32_t(x); }

std::unique_ptr<CPlane> MarkerPlane(int32_t w, int32_t h)
{
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) pixels.push_back(Marker(x, y));
    return MakePlane(w, h, pixels);
}

// The source columns a one-row transfer puts into a destination row; -1 where untouched.
std::vector<int> Columns(const char* op, int32_t srcWidth, int32_t dstWidth, int32_t x,
                         const Rect* srcRect, const Size* size, Rect* clip,
                         PixelSet set = PixelSet::Portable)
{
    auto src = MarkerPlane(srcWidth, 1);
    auto dst = MakePlane(dstWidth, 1, {}, set);
    FindTransfer(op).Run(*dst->GetImpl(), src.get(), x, 0, 0, 0, srcRect, size, clip);
    std::vector<int> columns;
    for (uint32_t p : PixelsOf(*dst)) columns.push_back(p ? int(p & 0xFFF) : -1);
    return columns;
}

}  // namespace

TEST_CASE("nothing to draw is no error and leaves the destination alone")
{
    auto src = MarkerPlane(4, 4);
    auto dst = MakePlane(10, 8);
    CPlaneImpl* impl = dst->GetImpl();
    Rect clip{0, 0, 5, 5};
    CHECK(impl->TransferCopy(src.get(), 6, 0, nullptr, nullptr, &clip) == 0);
    CHECK(impl->TransferCopy(src.get(), 10, 0, nullptr, nullptr, nullptr) == 0);
    CHECK(impl->TransferCopy(src.get(), -4, -4, nullptr, nullptr, nullptr) == 0);
    CHECK(impl->TransferCopy(nullptr, 0, 0, nullptr, nullptr, nullptr) == 0);
    const Size zeroWidth{0, 5};
    const Size zeroHeight{5, 0};
    const Size negative{-4, 4};
    for (const Size* size : {&zeroWidth, &zeroHeight, &negative}) {
        CHECK(impl->PrepareTransfer(src.get(), 0, 0, nullptr, size, nullptr) == 1);
        CHECK(impl->TransferCopy(src.get(), 0, 0, nullptr, size, nullptr) == 0);
        CHECK(impl->TransferCopyMirrored(src.get(), 0, 0, nullptr, size, nullptr) == 0);
    }
    auto empty = MakePlane(0, 0);
    CHECK(impl->TransferCopy(empty.get(), 0, 0, nullptr, nullptr, nullptr) == 0);
    const Rect inverted{3, 0, 1, 1};
    CHECK(impl->PrepareTransferMirrored(src.get(), 0, 0, &inverted, nullptr, nullptr) == 1);
    CHECK(impl->TransferCopyMirrored(src.get(), 0, 0, &inverted, nullptr, nullptr) == 0);
    CHECK(PixelsOf(*dst) == std::vector<uint32_t>(80, 0));
}

TEST_CASE("a caller's clip rectangle comes back clamped to the destination")
{
    auto src = MarkerPlane(4, 4);
    auto dst = MakePlane(8, 6);
    Rect clip{-10, -3, 100, 4};
    dst->GetImpl()->TransferCopy(src.get(), 50, 50, nullptr, nullptr, &clip);
    CHECK((clip.left == 0 && clip.top == 0 && clip.right == 8 && clip.bottom == 4));
    Rect inside{1, 1, 3, 3};
    dst->GetImpl()->TransferCopyMirrored(src.get(), 0, 0, nullptr, nullptr, &inside);
    CHECK((inside.left == 1 && inside.top == 1 && inside.right == 3 && inside.bottom == 3));
}

TEST_CASE("a stretch size equal to the source rectangle takes the one-to-one path")
{
    auto src = MarkerPlane(5, 3);
    auto dst = MakePlane(20, 20);
    CPlaneImpl* impl = dst->GetImpl();
    const Rect part{1, 0, 4, 2};
    const Size same{3, 2};
    const Size larger{6, 2};
    REQUIRE(impl->PrepareTransfer(src.get(), 0, 0, &part, &same, nullptr) == 0);
    CHECK(impl->GetTransferState().oneToOne == 1);
    REQUIRE(impl->PrepareTransferMirrored(src.get(), 0, 0, &part, &same, nullptr) == 0);
    CHECK(impl->GetTransferState().oneToOne == 1);
    REQUIRE(impl->PrepareTransfer(src.get(), 0, 0, &part, &larger, nullptr) == 0);
    CHECK(impl->GetTransferState().oneToOne == 0);
}

TEST_CASE("stretching: the plain stepping leans left, the mirrored one samples centres")
{
    const Size four{4, 1};
    const Size six{6, 1};
    for (PixelSet set : AllSets()) {
        CAPTURE(SetName(set));
        CHECK(Columns("TransferCopy", 2, 4, 0, nullptr, &four, nullptr, set) ==
              std::vector<int>{0, 0, 0, 1});
        CHECK(Columns("TransferCopyMirrored", 2, 4, 0, nullptr, &four, nullptr, set) ==
              std::vector<int>{1, 1, 0, 0});
        CHECK(Columns("TransferCopyMirrored", 3, 6, 0, nullptr, &six, nullptr, set) ==
              std::vector<int>{2, 2, 1, 1, 0, 0});
        // Shrinking 6 to 4.
        CHECK(Columns("TransferCopy", 6, 4, 0, nullptr, &four, nullptr, set) ==
              std::vector<int>{0, 1, 2, 4});
    }
}

TEST_CASE("a mirrored transfer puts the rightmost column on the left and loses it to a left clip")
{
    CHECK(Columns("TransferCopyMirrored", 4, 6, 1, nullptr, nullptr, nullptr) ==
          std::vector<int>{-1, 3, 2, 1, 0, -1});
    CHECK(Columns("TransferCopyMirrored", 4, 4, -1, nullptr, nullptr, nullptr) ==
          std::vector<int>{2, 1, 0, -1});
    Rect clip{2, 0, 4, 1};
    CHECK(Columns("TransferCopyMirrored", 4, 4, 0, nullptr, nullptr, &clip) ==
          std::vector<int>{-1, -1, 1, 0});
    const Size four{4, 1};
    CHECK(Columns("TransferCopyMirrored", 2, 4, -2, nullptr, &four, nullptr) ==
          std::vector<int>{0, 0, -1, -1});
}

TEST_CASE("a source rectangle reaching outside its plane draws only the part inside, in place")
{
    const Rect wide{-2, 0, 6, 1};
    CHECK(Columns("TransferCopy", 4, 8, 0, &wide, nullptr, nullptr) ==
          std::vector<int>{-1, -1, 0, 1, 2, 3, -1, -1});
    CHECK(Columns("TransferCopyMirrored", 4, 8, 0, &wide, nullptr, nullptr) ==
          std::vector<int>{-1, -1, 3, 2, 1, 0, -1, -1});
    // Stretched, the stepping keeps its scale: the first five pixels would read columns -2 and
    // -1 and are left out.
    const Rect left{-2, 0, 2, 1};
    const Size eight{8, 1};
    CHECK(Columns("TransferCopy", 4, 8, 0, &left, &eight, nullptr) ==
          std::vector<int>{-1, -1, -1, -1, -1, 0, 0, 1});
    const Rect right{2, 0, 6, 1};
    CHECK(Columns("TransferCopyMirrored", 4, 8, 0, &right, &eight, nullptr) ==
          std::vector<int>{-1, -1, -1, -1, 3, 3, 2, 2});
    const Rect far{100, 0, 104, 1};
    CHECK(Columns("TransferCopy", 4, 8, 0, &far, &eight, nullptr) == std::vector<int>(8, -1));
}

TEST_CASE("a mirrored stretch never samples past the source rectangle")
{
    // Two columns stretched to five: the stepping would read column left - 1 for the fifth.
    const Size five{5, 1};
    const Rect middle{2, 0, 4, 1};
    for (PixelSet set : AllSets()) {
        CAPTURE(SetName(set));
        CHECK(Columns("TransferCopyMirrored", 6, 5, 0, &middle, &five, nullptr, set) ==
              std::vector<int>{3, 3, 2, 2, 2});
        CHECK(Columns("TransferCopyMirrored", 2, 5, 0, nullptr, &five, nullptr, set) ==
              std::vector<int>{1, 1, 0, 0, 0});
    }
    // One column stretched to ten: pixels 6 to 9 are past the edge; clipped to them alone they
    // still show the edge column.
    const Size ten{10, 1};
    const Rect one{1, 0, 2, 1};
    CHECK(Columns("TransferCopyMirrored", 3, 10, 0, &one, &ten, nullptr) ==
          std::vector<int>(10, 1));
    Rect clip{6, 0, 10, 1};
    CHECK(Columns("TransferCopyMirrored", 3, 10, 0, &one, &ten, &clip) ==
          std::vector<int>{-1, -1, -1, -1, -1, -1, 1, 1, 1, 1});

    // Rows: two rows stretched to five read rows top, top, top + 1, top + 1, top + 1.
    auto src = MarkerPlane(4, 4);
    auto dst = MakePlane(5, 5);
    const Rect square{1, 1, 3, 3};
    const Size big{5, 5};
    dst->GetImpl()->TransferCopyMirrored(src.get(), 0, 0, &square, &big, nullptr);
    const std::vector<uint32_t> pixels = PixelsOf(*dst);
    const int columns[5] = {2, 2, 1, 1, 1};
    const int rows[5] = {1, 1, 2, 2, 2};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) CHECK(pixels[size_t(y * 5 + x)] == Marker(columns[x], rows[y]));
}

TEST_CASE("extreme positions, rectangles and sizes neither fail nor reach outside either plane")
{
    const int32_t values[] = {INT32_MIN, INT32_MIN + 1, -1000000, -3, 0, 2, 1000000,
                              INT32_MAX - 1, INT32_MAX};
    auto src = MarkerPlane(3, 2);
    std::mt19937 random(7);
    auto pick = [&] { return values[random() % (sizeof values / sizeof values[0])]; };
    for (int i = 0; i < 3000; ++i) {
        auto dst = MakePlane(4, 3);
        const Rect srcRect{pick(), pick(), pick(), pick()};
        const Size size{pick(), pick()};
        Rect clip{pick(), pick(), pick(), pick()};
        const bool mirrored = random() % 2;
        const int32_t x = pick();
        const int32_t y = pick();
        const Rect* rect = random() % 2 ? &srcRect : nullptr;
        const Size* stretch = random() % 2 ? &size : nullptr;
        CPlaneImpl* impl = dst->GetImpl();
        const int32_t result =
            mirrored ? impl->TransferCopyMirrored(src.get(), x, y, rect, stretch, &clip)
                     : impl->TransferCopy(src.get(), x, y, rect, stretch, &clip);
        CHECK(result == 0);
        CHECK(clip.left >= 0);
        CHECK(clip.right <= 4);
        for (uint32_t p : PixelsOf(*dst)) {
            if (p) CHECK(((p & 0xFFF) < 3 && ((p >> 12) & 0xFFF) < 2));
        }
    }
}

// ---- The stepping as first written, pixel by pixel, as the reference for the set-up ----

namespace {

struct Sample {
    bool drawn = false;
    int64_t col = 0;
    int64_t row = 0;
};

// What each destination pixel reads under the clip and stretch rule followed literally, with
// no regard to where the source plane ends. clip is already clamped to the destination.
std::vector<Sample> LiteralSamples(bool mirrored, int32_t dstW, int32_t dstH, int32_t x,
                                   int32_t y, Rect sr, const Size* size, Rect clip)
{
    std::vector<Sample> out(size_t(dstW) * size_t(dstH));
    const int64_t sw = int64_t(sr.right) - sr.left;
    const int64_t sh = int64_t(sr.bottom) - sr.top;
    if (sw <= 0 || sh <= 0) return out;
    int64_t left = sr.left, top = sr.top, right = sr.right, bottom = sr.bottom;
    if (!size || (size->cx == sw && size->cy == sh)) {
        int64_t dl = x, dt = y, dr = x + sw, db = y + sh;
        if (clip.left > x) {
            if (mirrored) right -= clip.left - x; else left += clip.left - x;
            dl = clip.left;
        }
        if (clip.top > y) {
            top += clip.top - y;
            dt = clip.top;
        }
        if (dr > clip.right) {
            if (mirrored) left += dr - clip.right; else right -= dr - clip.right;
            dr = clip.right;
        }
        if (db > clip.bottom) {
            bottom -= db - clip.bottom;
            db = clip.bottom;
        }
        if (left >= right || top >= bottom) return out;
        for (int64_t dy = dt; dy < db; ++dy)
            for (int64_t dx = dl; dx < dr; ++dx) {
                Sample& s = out[size_t(dy * dstW + dx)];
                s.drawn = true;
                s.col = mirrored ? right - 1 - (dx - dl) : left + (dx - dl);
                s.row = top + (dy - dt);
            }
        return out;
    }
    const int64_t w = size->cx, h = size->cy;
    if (w <= 0 || h <= 0) return out;
    const int64_t m = mirrored ? 2 : 1;
    int64_t ex = -w, ey = -h;
    const int64_t xr = m * sw, xd = m * w, yr = m * sh, yd = m * h;
    int64_t dl = x, dt = y;
    if (clip.left > x) {
        const int64_t a = (clip.left - x) * xr - w;
        ex = a;
        if (a > 0) {
            if (mirrored) right -= a / xd + 1; else left += a / xd + 1;
            ex = a - (a / xd + 1) * xd;
        }
        dl = clip.left;
    }
    if (clip.top > y) {
        const int64_t a = (clip.top - y) * yr - h;
        ey = a;
        if (a > 0) {
            top += a / yd + 1;
            ey = a - (a / yd + 1) * yd;
        }
        dt = clip.top;
    }
    const int64_t dr = std::min<int64_t>(x + w, clip.right);
    const int64_t db = std::min<int64_t>(y + h, clip.bottom);
    if (dl >= dr || dt >= db) return out;
    const uint32_t xStep = uint32_t(xr / xd), xRem = uint32_t(xr % xd);
    const uint32_t yStep = uint32_t(yr / yd), yRem = uint32_t(yr % yd);
    uint32_t yErr = uint32_t(ey - 1);
    int64_t row = top;
    for (int64_t dy = dt; dy < db; ++dy) {
        uint32_t xErr = uint32_t(ex - 1);
        int64_t col = mirrored ? right : left;
        for (int64_t dx = dl; dx < dr; ++dx) {
            Sample& s = out[size_t(dy * dstW + dx)];
            s.drawn = true;
            s.col = mirrored ? col - 1 : col;
            s.row = row;
            const uint32_t sum = xErr + xRem;
            const int64_t advance = xStep + (sum < xErr ? 1 : 0);
            xErr = sum < xErr ? sum - uint32_t(xd) : sum;
            col += mirrored ? -advance : advance;
        }
        const uint32_t sum = yErr + yRem;
        row += yStep + (sum < yErr ? 1 : 0);
        yErr = sum < yErr ? sum - uint32_t(yd) : sum;
    }
    return out;
}

}  // namespace

TEST_CASE("every sample inside the source keeps the place the stepping gives it")
{
    std::mt19937 random(2024);
    auto range = [&](int lo, int hi) { return lo + int(random() % uint32_t(hi - lo + 1)); };
    const std::vector<PixelSet> sets = AllSets();
    for (int i = 0; i < 4000; ++i) {
        const int32_t sw = range(1, 9), sh = range(1, 9);
        const int32_t dw = range(1, 14), dh = range(1, 14);
        auto src = MarkerPlane(sw, sh);
        Rect sr{range(-3, sw), range(-3, sh), 0, 0};
        sr.right = sr.left + range(1, 8);
        sr.bottom = sr.top + range(1, 8);
        const bool useRect = random() % 4 != 0;
        if (!useRect) sr = Rect{0, 0, sw, sh};
        const Size size{range(1, 24), range(1, 24)};
        const bool stretch = random() % 4 != 0;
        Rect clip{range(-2, dw), range(-2, dh), range(0, dw + 2), range(0, dh + 2)};
        const int32_t x = range(-12, dw + 2), y = range(-12, dh + 2);
        const bool mirrored = random() % 2;
        const PixelSet set = sets[random() % sets.size()];

        auto dst = MakePlane(dw, dh, {}, set);
        Rect used = clip;
        FindTransfer(mirrored ? "TransferCopyMirrored" : "TransferCopy")
            .Run(*dst->GetImpl(), src.get(), x, y, 0, 0, useRect ? &sr : nullptr,
                 stretch ? &size : nullptr, &used);
        const std::vector<Sample> literal =
            LiteralSamples(mirrored, dw, dh, x, y, sr, stretch ? &size : nullptr, used);
        const std::vector<uint32_t> got = PixelsOf(*dst);

        for (size_t p = 0; p < got.size(); ++p) {
            const Sample& s = literal[p];
            uint32_t want = 0;
            if (s.drawn) {
                // Past the rectangle's far edge (mirrored stretch only): the edge instead.
                int64_t col = s.col, row = s.row;
                if (mirrored && col < sr.left) col = sr.left;
                if (row >= sr.bottom) row = sr.bottom - 1;
                if (col >= 0 && col < sw && row >= 0 && row < sh) want = Marker(col, row);
            }
            if (got[p] != want) {
                CAPTURE(i);
                CAPTURE(p);
                CAPTURE(mirrored);
                CAPTURE(stretch);
                CAPTURE(x);
                CAPTURE(y);
                CHECK(got[p] == want);
                break;
            }
        }
    }
}

TEST_CASE("stretches wider than the column table's room on the stack keep the stepping")
{
    // 1500 columns from 700, plain and mirrored, clipped on both sides, in every set.
    const Size size{1500, 1};
    Rect clip{3, 0, 1498, 1};
    for (bool mirrored : {false, true}) {
        const std::vector<Sample> literal =
            LiteralSamples(mirrored, 1500, 1, 0, 0, Rect{0, 0, 700, 1}, &size, clip);
        std::vector<int> want;
        for (const Sample& s : literal) want.push_back(s.drawn ? int(s.col) : -1);
        for (PixelSet set : AllSets()) {
            CAPTURE(mirrored);
            CAPTURE(SetName(set));
            Rect used = clip;
            CHECK(Columns(mirrored ? "TransferCopyMirrored" : "TransferCopy", 700, 1500, 0,
                          nullptr, &size, &used, set) == want);
        }
    }
}

TEST_CASE("a plane stretched onto itself reads each source row as the rows before left it")
{
    // The top-left 3 x 3 pixels over the whole 6 x 6 plane: destination row r reads source row
    // m[r], which rows before it may have rewritten; a row is read whole before it is written.
    const Size six{6, 1};
    const std::vector<int> m = Columns("TransferCopy", 3, 6, 0, nullptr, &six, nullptr);
    REQUIRE(m == std::vector<int>{0, 0, 0, 1, 1, 2});
    std::vector<uint32_t> start;
    for (uint32_t i = 0; i < 36; ++i) start.push_back((i + 1) * 0x010101u);
    for (const char* name : {"TransferCopy", "TransferAdd"}) {
        const bool add = std::string(name) == "TransferAdd";
        std::vector<uint32_t> want = start;
        for (size_t r = 0; r < 6; ++r) {
            const std::vector<uint32_t> from(want.begin() + ptrdiff_t(m[r] * 6),
                                             want.begin() + ptrdiff_t(m[r] * 6 + 6));
            for (size_t c = 0; c < 6; ++c) {
                const uint32_t s = from[size_t(m[c])];
                want[r * 6 + c] = add ? s + want[r * 6 + c] : s;  // no channel reaches 256
            }
        }
        for (PixelSet set : AllSets()) {
            CAPTURE(name);
            CAPTURE(SetName(set));
            auto plane = MakePlane(6, 6, start, set);
            const Rect corner{0, 0, 3, 3};
            const Size whole{6, 6};
            FindTransfer(name).Run(*plane->GetImpl(), plane.get(), 0, 0, 0, 0, &corner, &whole,
                                   nullptr);
            CHECK(PixelsOf(*plane) == want);
        }
    }
}
