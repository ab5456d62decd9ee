// Shapes against a model written pixel by pixel from each rule: which pixel centres a shape
// covers (exact integer predicates per pixel, no spans, no stepping) and what each blend mode
// makes of a pixel (channel by channel). Seeded random shapes, in every blend mode, with and
// without a clip, in every processor set.
#include <pyro/graphics/Plane.h>
#include <pyro/graphics/Shapes.h>
#include "graphics/PlaneTesting.h"
#include "graphics/shape/ShapeSpans.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <ios>
#include <random>
#include <vector>

namespace {

constexpr BlendMode kModes[] = {BlendMode::Copy, BlendMode::Alpha, BlendMode::Add,
                                BlendMode::Subtract, BlendMode::Multiply};

uint32_t Ch(uint32_t v, int k) { return (v >> (8 * k)) & 0xFF; }

// What a mode makes of destination d under colour c, written channel by channel.
uint32_t ModelBlend(uint32_t c, uint32_t d, BlendMode mode)
{
    const uint32_t a = c >> 24;
    const uint32_t w = a == 255 ? 256 : a;
    uint32_t out = 0;
    switch (mode) {
    case BlendMode::Copy: return c;
    case BlendMode::Alpha:
        for (int k = 0; k < 3; ++k) out |= ((Ch(c, k) * w >> 8) + (Ch(d, k) * (256 - w) >> 8)) << (8 * k);
        return out;
    case BlendMode::Add:
        for (int k = 0; k < 3; ++k) out |= std::min<uint32_t>(255, Ch(d, k) + (Ch(c, k) * w >> 8)) << (8 * k);
        return out | (d & 0xFF000000);
    case BlendMode::Subtract:
        for (int k = 0; k < 3; ++k) {
            const uint32_t s = Ch(c, k) * w >> 8;
            out |= (Ch(d, k) > s ? Ch(d, k) - s : 0) << (8 * k);
        }
        return out | (d & 0xFF000000);
    case BlendMode::Multiply:
        for (int k = 0; k < 3; ++k) {
            const uint32_t m = 255 - ((255 - Ch(c, k)) * w >> 8);
            out |= (Ch(d, k) * (m + m / 128) >> 8) << (8 * k);
        }
        return out | (d & 0xFF000000);
    }
    return d;
}

// A covered set: which pixels of a width by height plane a shape takes.
using Mask = std::function<bool(int64_t x, int64_t y)>;

std::vector<uint32_t> RandomPixels(std::mt19937& rng, size_t n)
{
    std::vector<uint32_t> p(n);
    for (uint32_t& v : p) v = uint32_t(rng());
    return p;
}

uint32_t RandomColour(std::mt19937& rng)
{
    uint32_t c = uint32_t(rng());
    // Alpha at the ends now and then: 0 and 255 take their own paths.
    switch (rng() % 4) {
    case 0: c |= 0xFF000000u; break;
    case 1: c &= 0x00FFFFFFu; break;
    default: break;
    }
    return c;
}

struct Canvas {
    int32_t w, h;
    std::vector<uint32_t> start;
};

// The expected plane: the model's mask and blend over the start pixels, inside the clip.
std::vector<uint32_t> Expected(const Canvas& canvas, const Mask& mask, uint32_t colour, BlendMode mode,
                               const Rect* clip)
{
    std::vector<uint32_t> out = canvas.start;
    for (int32_t y = 0; y < canvas.h; ++y)
        for (int32_t x = 0; x < canvas.w; ++x) {
            if (clip && !clip->Contains(x, y)) continue;
            if (!mask(x, y)) continue;
            uint32_t& d = out[size_t(y) * size_t(canvas.w) + size_t(x)];
            d = ModelBlend(colour, d, mode);
        }
    return out;
}

// Runs draw on a plane of every set, in every mode, with and without a random clip, against
// the model; cases random shapes each.
void CheckAgainstModel(uint32_t seed, int cases,
                       const std::function<Mask(std::mt19937&)>& makeShape,
                       const std::function<int32_t(CShapes&, uint32_t, BlendMode, const Rect*)>& draw)
{
    std::mt19937 rng(seed);
    for (int i = 0; i < cases; ++i) {
        const Canvas canvas{int32_t(8 + rng() % 40), int32_t(8 + rng() % 30), {}};
        Canvas c = canvas;
        c.start = RandomPixels(rng, size_t(c.w) * size_t(c.h));
        const Mask mask = makeShape(rng);
        const uint32_t colour = RandomColour(rng);
        const BlendMode mode = kModes[rng() % 5];
        Rect clipRect = MakeRect(int32_t(rng() % c.w) - 4, int32_t(rng() % c.h) - 4,
                                 int32_t(rng() % c.w), int32_t(rng() % c.h));
        const Rect* clip = rng() % 2 ? &clipRect : nullptr;
        const std::vector<uint32_t> want = Expected(c, mask, colour, mode, clip);
        for (PixelSet set : AllSets()) {
            auto plane = MakePlane(c.w, c.h, c.start, set);
            CShapes shapes = plane->Shapes();
            REQUIRE(draw(shapes, colour, mode, clip) == 0);
            const std::vector<uint32_t> got = PixelsOf(*plane);
            if (got != want) {
                size_t at = 0;
                while (got[at] == want[at]) ++at;
                FAIL("case " << i << " set " << SetName(set) << " mode " << int(mode) << " pixel ("
                              << at % size_t(c.w) << ", " << at / size_t(c.w) << ") got " << std::hex
                              << got[at] << " want " << want[at]);
            }
        }
    }
}

int32_t Rand(std::mt19937& rng, int32_t lo, int32_t hi) { return lo + int32_t(rng() % uint32_t(hi - lo + 1)); }

// Whether centre (2x + 1, 2y + 1) in doubled units lies inside a polygon of doubled vertices by
// the rule: each edge whose span of rows holds the centre (top end included, bottom end not)
// and which passes at or left of it counts its direction.
bool InsidePolygon(const std::vector<int64_t>& xs, const std::vector<int64_t>& ys, int64_t cx,
                   int64_t cy, FillRule rule, int64_t unit)
{
    int32_t winding = 0, crossings = 0;
    const size_t n = xs.size();
    for (size_t i = 0; i < n; ++i) {
        int64_t x0 = xs[i], y0 = ys[i], x1 = xs[(i + 1) % n], y1 = ys[(i + 1) % n];
        int32_t dir = 1;
        if (y0 == y1) continue;
        if (y0 > y1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
            dir = -1;
        }
        const int64_t py = cy * unit / 2, px = cx * unit / 2;
        if (py < y0 || py >= y1) continue;
        // The centre is at or right of the crossing: (px - x0)(y1 - y0) >= (py - y0)(x1 - x0).
        if ((px - x0) * (y1 - y0) >= (py - y0) * (x1 - x0)) {
            winding += dir;
            ++crossings;
        }
    }
    return rule == FillRule::EvenOdd ? (crossings & 1) : winding != 0;
}

bool EllipseInside(int64_t rx, int64_t ry, int64_t dx, int64_t dy)
{
    dx = std::llabs(dx);
    dy = std::llabs(dy);
    if (dx > rx || dy > ry) return false;
    const int64_t whole = 4 * rx * rx * ry * ry;
    return ry * ry * (2 * dx - 1) * (2 * dx - 1) + 4 * rx * rx * dy * dy <= whole ||
           4 * ry * ry * dx * dx + rx * rx * (2 * dy - 1) * (2 * dy - 1) <= whole;
}

}  // namespace

TEST_CASE("blend modes: the span writers of every set give the model's pixels, solid and per pixel")
{
    std::mt19937 rng(11);
    for (int i = 0; i < 4000; ++i) {
        const size_t n = rng() % 70;
        const std::vector<uint32_t> start = RandomPixels(rng, n + 1);
        std::vector<uint32_t> colours = RandomPixels(rng, n + 1);
        for (uint32_t& c : colours) c = rng() % 3 ? c : (rng() % 2 ? c | 0xFF000000u : c & 0xFFFFFF);
        const BlendMode mode = kModes[rng() % 5];
        std::vector<uint32_t> sources(n + 1);
        for (size_t k = 0; k <= n; ++k) sources[k] = ShapeSource(colours[k], mode);
        const size_t offset = rng() % 2;  // unaligned rows too
        for (PixelSet set : AllSets()) {
            const ShapeSpanSet& spans = ShapeSpansFor(int32_t(set));
            std::vector<uint32_t> solid = start, row = start;
            spans.fill(solid.data() + offset, n - std::min(n, offset), sources[0], mode);
            spans.row(row.data() + offset, n - std::min(n, offset), sources.data() + offset, mode);
            for (size_t k = 0; k <= n; ++k) {
                const bool inside = k >= offset && k < n;
                const uint32_t wantSolid = inside ? ModelBlend(colours[0], start[k], mode) : start[k];
                const uint32_t wantRow = inside ? ModelBlend(colours[k], start[k], mode) : start[k];
                if (solid[k] != wantSolid || row[k] != wantRow)
                    FAIL(SetName(set) << " mode " << int(mode) << " n " << n << " pixel " << k);
            }
        }
    }
}

TEST_CASE("a translucent shape on a plane gives the pixels of a translucent sprite of its colour")
{
    std::mt19937 rng(5);
    for (PixelSet set : AllSets()) {
        const std::vector<uint32_t> start = RandomPixels(rng, 64);
        const uint32_t colour = 0x80000000u | (uint32_t(rng()) & 0xFFFFFF);
        auto shape = MakePlane(8, 8, start, set);
        auto sprited = MakePlane(8, 8, start, set);
        auto sprite = MakePlane(8, 8, std::vector<uint32_t>(64, colour), set);
        shape->Shapes().FillRect(MakeRect(0, 0, 8, 8), colour, BlendMode::Alpha);
        sprited->GetImpl()->TransferAlpha(sprite.get(), 0, 0, nullptr, nullptr, nullptr);
        if (set == PixelSet::Portable) {
            // The portable transfer weights the destination one step less (255 - a).
            const auto a = PixelsOf(*shape), b = PixelsOf(*sprited);
            for (size_t k = 0; k < a.size(); ++k)
                for (int c = 0; c < 3; ++c) CHECK(std::abs(int(Ch(a[k], c)) - int(Ch(b[k], c))) <= 1);
        } else {
            CHECK(PixelsOf(*shape) == PixelsOf(*sprited));
        }
        // Add: as TransferAdd of a sprite of the colour with its top byte cleared.
        auto added = MakePlane(8, 8, start, set);
        auto addSprite = MakePlane(8, 8, std::vector<uint32_t>(64, colour & 0xFFFFFF), set);
        auto addShape = MakePlane(8, 8, start, set);
        added->GetImpl()->TransferAdd(addSprite.get(), 0, 0, nullptr, nullptr, nullptr);
        addShape->Shapes().FillRect(MakeRect(0, 0, 8, 8), colour | 0xFF000000u, BlendMode::Add);
        CHECK(PixelsOf(*addShape) == PixelsOf(*added));
    }
}

TEST_CASE("lines: one pixel per step of the longer axis, rounded, ties to the larger coordinate")
{
    auto model = [](int64_t x0, int64_t y0, int64_t x1, int64_t y1) -> Mask {
        return [=](int64_t x, int64_t y) {
            const bool xMajor = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
            const int64_t a = xMajor ? x : y, b = xMajor ? y : x;
            int64_t a0 = xMajor ? x0 : y0, b0 = xMajor ? y0 : x0, a1 = xMajor ? x1 : y1, b1 = xMajor ? y1 : x1;
            if (a0 > a1) {
                std::swap(a0, a1);
                std::swap(b0, b1);
            }
            if (a < a0 || a > a1) return false;
            if (a0 == a1) return b == b0;
            // b0 + (a - a0)(b1 - b0) / (a1 - a0) rounded half up, by floor division.
            const int64_t num = 2 * (a - a0) * (b1 - b0) + (a1 - a0);
            const int64_t den = 2 * (a1 - a0);
            const int64_t q = num >= 0 ? num / den : -((-num + den - 1) / den);
            return b == b0 + q;
        };
    };
    int64_t x0, y0, x1, y1;
    CheckAgainstModel(
        1, 400,
        [&](std::mt19937& rng) {
            x0 = Rand(rng, -10, 50), y0 = Rand(rng, -10, 40), x1 = Rand(rng, -10, 50), y1 = Rand(rng, -10, 40);
            return model(x0, y0, x1, y1);
        },
        [&](CShapes& s, uint32_t c, BlendMode m, const Rect* clip) {
            return s.DrawLine(int32_t(x0), int32_t(y0), int32_t(x1), int32_t(y1), c, m, clip);
        });

    // Drawn the other way round: the same pixels; a tie goes down.
    auto a = MakePlane(8, 8), b = MakePlane(8, 8);
    a->Shapes().DrawLine(0, 0, 3, 1, 0xFFFFFFFF);
    b->Shapes().DrawLine(3, 1, 0, 0, 0xFFFFFFFF);
    CHECK(PixelsOf(*a) == PixelsOf(*b));
    // Steps 0..3 of 1/3: offsets 0, 0 (1/3), 1 (2/3), 1: a tie at 1/2 would go to 1.
    CHECK(a->GetImpl()->GetPixel(1, 0) == 0xFFFFFFFF);
    CHECK(a->GetImpl()->GetPixel(2, 1) == 0xFFFFFFFF);
    auto tie = MakePlane(8, 8);
    tie->Shapes().DrawLine(0, 0, 2, 1, 0xFFFFFFFF);  // step 1 at exactly 1/2
    CHECK(tie->GetImpl()->GetPixel(1, 1) == 0xFFFFFFFF);
    CHECK(tie->GetImpl()->GetPixel(1, 0) == 0);
}

TEST_CASE("a polyline draws shared corners once")
{
    auto plane = MakePlane(10, 10);
    const Point points[] = {{1, 1}, {8, 1}, {8, 8}, {1, 1}};
    plane->Shapes().DrawPolyline(points, 4, 0xFF010101, BlendMode::Add);
    for (uint32_t p : PixelsOf(*plane)) CHECK((p & 0xFF) <= 1);
    CHECK(plane->GetImpl()->GetPixel(8, 1) == 0x010101);
    CHECK(plane->GetImpl()->GetPixel(1, 1) == 0x010101);
    CHECK(plane->GetImpl()->GetPixel(4, 4) == 0x010101);
    CHECK(plane->Shapes().DrawPolyline(nullptr, 3, 0) == -1);
}

TEST_CASE("rectangles, outlines and rounded rectangles")
{
    int32_t l, t, r, b, radius;
    CheckAgainstModel(
        2, 150,
        [&](std::mt19937& rng) -> Mask {
            l = Rand(rng, -5, 30), t = Rand(rng, -5, 25), r = l + Rand(rng, -2, 30), b = t + Rand(rng, -2, 25);
            return [=](int64_t x, int64_t y) { return x >= l && x < r && y >= t && y < b; };
        },
        [&](CShapes& s, uint32_t c, BlendMode m, const Rect* clip) { return s.FillRect({l, t, r, b}, c, m, clip); });
    CheckAgainstModel(
        3, 150,
        [&](std::mt19937& rng) -> Mask {
            l = Rand(rng, -5, 30), t = Rand(rng, -5, 25), r = l + Rand(rng, 0, 30), b = t + Rand(rng, 0, 25);
            return [=](int64_t x, int64_t y) {
                return x >= l && x < r && y >= t && y < b && (x == l || x == r - 1 || y == t || y == b - 1);
            };
        },
        [&](CShapes& s, uint32_t c, BlendMode m, const Rect* clip) { return s.DrawRect({l, t, r, b}, c, m, clip); });
    CheckAgainstModel(
        4, 200,
        [&](std::mt19937& rng) -> Mask {
            l = Rand(rng, -5, 30), t = Rand(rng, -5, 25), r = l + Rand(rng, 0, 30), b = t + Rand(rng, 0, 25);
            radius = Rand(rng, 0, 16);
            const int64_t rr = std::min<int64_t>(radius, std::min(r - l, b - t) / 2);
            return [=](int64_t x, int64_t y) {
                if (x < l || x >= r || y < t || y >= b) return false;
                // The nearest corner circle's centre, doubled; the pixel centre (2x + 1, 2y + 1).
                const int64_t ccx = std::clamp<int64_t>(2 * x + 1, 2 * (l + rr), 2 * (r - rr));
                const int64_t ccy = std::clamp<int64_t>(2 * y + 1, 2 * (t + rr), 2 * (b - rr));
                const int64_t dx = 2 * x + 1 - ccx, dy = 2 * y + 1 - ccy;
                return dx * dx + dy * dy <= 4 * rr * rr;
            };
        },
        [&](CShapes& s, uint32_t c, BlendMode m, const Rect* clip) {
            return s.FillRoundRect({l, t, r, b}, radius, c, m, clip);
        });

    auto plane = MakePlane(4, 4);
    CHECK(plane->Shapes().FillRectAlpha({0, 0, 4, 4}, 0xFFFFFF, 256) == -1);
    CHECK(plane->Shapes().FillRectAlpha({0, 0, 4, 4}, 0xFFFFFF, 128) == 0);
    CHECK(plane->GetImpl()->GetPixel(0, 0) == 0x7F7F7F);  // 255 * 128 / 256, rounded down
    CHECK(plane->Shapes().FillRoundRect({0, 0, 4, 4}, -1, 0) == -1);
}

TEST_CASE("circles and ellipses by the midpoint rule, filled and as outlines")
{
    int32_t cx, cy, rx, ry;
    auto ellipse = [&](std::mt19937& rng) {
        cx = Rand(rng, -5, 45), cy = Rand(rng, -5, 35), rx = Rand(rng, 0, 20), ry = rng() % 3 ? Rand(rng, 0, 20) : rx;
    };
    CheckAgainstModel(
        5, 250,
        [&](std::mt19937& rng) -> Mask {
            ellipse(rng);
            return [=](int64_t x, int64_t y) { return EllipseInside(rx, ry, x - cx, y - cy); };
        },
        [&](CShapes& s, uint32_t c, BlendMode m, const Rect* clip) { return s.FillEllipse(cx, cy, rx, ry, c, m, clip); });
    CheckAgainstModel(
        6, 250,
        [&](std::mt19937& rng) -> Mask {
            ellipse(rng);
            return [=](int64_t x, int64_t y) {
                auto in = [&](int64_t px, int64_t py) { return EllipseInside(rx, ry, px - cx, py - cy); };
                return in(x, y) && (!in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1));
            };
        },
        [&](CShapes& s, uint32_t c, BlendMode m, const Rect* clip) { return s.DrawEllipse(cx, cy, rx, ry, c, m, clip); });

    // The classic radius-5 circle: 11 pixels across at its middle row and 5 on its top row.
    auto plane = MakePlane(16, 16);
    plane->Shapes().FillCircle(7, 7, 5, 0xFFFFFFFF);
    int32_t middle = 0, topRow = 0;
    for (int32_t x = 0; x < 16; ++x) {
        middle += plane->GetImpl()->GetPixel(x, 7) != 0;
        topRow += plane->GetImpl()->GetPixel(x, 2) != 0;
    }
    CHECK(middle == 11);
    CHECK(topRow == 5);
    CHECK(plane->GetImpl()->GetPixel(7, 1) == 0);
    CHECK(plane->Shapes().FillCircle(0, 0, -1, 0) == -1);
    CHECK(plane->Shapes().FillCircle(0, 0, kMaxShapeRadius + 1, 0) == -2);
}

TEST_CASE("triangles and polygons, convex and concave, even-odd and non-zero, by the top-left rule")
{
    std::vector<int64_t> xs, ys;
    std::vector<Point> points;
    FillRule rule = FillRule::NonZero;
    CheckAgainstModel(
        7, 500,
        [&](std::mt19937& rng) -> Mask {
            const int n = rng() % 3 ? 3 : Rand(rng, 4, 8);
            points.clear();
            xs.clear();
            ys.clear();
            for (int i = 0; i < n; ++i) {
                points.push_back({Rand(rng, -10, 50), Rand(rng, -10, 40)});
                xs.push_back(points.back().x * 2);
                ys.push_back(points.back().y * 2);
            }
            rule = rng() % 2 ? FillRule::EvenOdd : FillRule::NonZero;
            return [=](int64_t x, int64_t y) { return InsidePolygon(xs, ys, 2 * x + 1, 2 * y + 1, rule, 2); };
        },
        [&](CShapes& s, uint32_t c, BlendMode m, const Rect* clip) {
            if (points.size() == 3 && rule == FillRule::NonZero)
                return s.FillTriangle(points[0], points[1], points[2], c, m, clip);
            return s.FillPolygon(points.data(), int32_t(points.size()), rule, c, m, clip);
        });

    // A pentagram: its middle is outside by even-odd and inside by non-zero.
    const Point star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    auto evenOdd = MakePlane(21, 21), nonZero = MakePlane(21, 21);
    evenOdd->Shapes().FillPolygon(star, 5, FillRule::EvenOdd, 0xFFFFFFFF);
    nonZero->Shapes().FillPolygon(star, 5, FillRule::NonZero, 0xFFFFFFFF);
    CHECK(evenOdd->GetImpl()->GetPixel(10, 10) == 0);
    CHECK(nonZero->GetImpl()->GetPixel(10, 10) == 0xFFFFFFFF);
    CHECK(evenOdd->Shapes().FillPolygon(star, 2, FillRule::EvenOdd, 0) == -1);
}

TEST_CASE("triangles sharing edges cover every pixel once: a grid of random vertices and a fan")
{
    std::mt19937 rng(8);
    for (PixelSet set : AllSets()) {
        for (int round = 0; round < 20; ++round) {
            // A 6 by 5 grid of vertices moved by up to 2 (the cells stay convex), each cell split into
            // two triangles.
            Point grid[6][7];
            for (int j = 0; j < 6; ++j)
                for (int i = 0; i < 7; ++i)
                    grid[j][i] = {i * 10 - 5 + (i && i < 6 ? Rand(rng, -2, 2) : 0),
                                  j * 10 - 5 + (j && j < 5 ? Rand(rng, -2, 2) : 0)};
            auto plane = MakePlane(50, 40, {}, set);
            CShapes shapes = plane->Shapes();
            for (int j = 0; j < 5; ++j)
                for (int i = 0; i < 6; ++i) {
                    shapes.FillTriangle(grid[j][i], grid[j][i + 1], grid[j + 1][i + 1], 0xFF010101, BlendMode::Add);
                    shapes.FillTriangle(grid[j][i], grid[j + 1][i + 1], grid[j + 1][i], 0xFF010101, BlendMode::Add);
                }
            // The grid's outer edges lie outside the plane: every pixel exactly once.
            for (uint32_t p : PixelsOf(*plane)) REQUIRE(p == 0x010101);
        }
        // A fan about a centre, wound both ways, against the polygon of its rim.
        for (int round = 0; round < 20; ++round) {
            const int n = Rand(rng, 5, 12);
            std::vector<Point> rim;
            for (int i = 0; i < n; ++i) {
                const double angle = 6.283185307179586 * (i + 0.2 * (rng() % 3)) / n;
                rim.push_back({int32_t(std::lround(20 + 15 * std::cos(angle))), int32_t(std::lround(20 + 15 * std::sin(angle)))});
            }
            auto fan = MakePlane(41, 41, {}, set), outline = MakePlane(41, 41, {}, set);
            const Point centre{Rand(rng, 18, 22), Rand(rng, 18, 22)};
            for (int i = 0; i < n; ++i)
                fan->Shapes().FillTriangle(centre, rim[size_t(i)], rim[size_t((i + 1) % n)], 0xFF010101, BlendMode::Add);
            outline->Shapes().FillPolygon(rim.data(), n, FillRule::NonZero, 0xFF010101, BlendMode::Add);
            if (PixelsOf(*fan) != PixelsOf(*outline)) {
                for (int32_t y = 0; y < 41; ++y)
                    for (int32_t x = 0; x < 41; ++x)
                        if (fan->GetImpl()->GetPixel(x, y) != outline->GetImpl()->GetPixel(x, y))
                            MESSAGE("fan " << x << "," << y << " " << fan->GetImpl()->GetPixel(x, y) << " vs " << outline->GetImpl()->GetPixel(x, y));
                for (auto& p : rim) MESSAGE("rim " << p.x << "," << p.y);
                MESSAGE("centre " << centre.x << "," << centre.y);
                FAIL("fan");
            }
        }
    }
}

TEST_CASE("gradients: each channel the rounded mean of the vertices' colours weighted at the centre")
{
    Point p[3];
    uint32_t colours[3];
    std::vector<int64_t> xs, ys;
    std::mt19937 rng(9);
    for (int i = 0; i < 150; ++i) {
        const int32_t w = 40, h = 30;
        for (Point& v : p) v = {Rand(rng, -10, 50), Rand(rng, -10, 40)};
        for (uint32_t& c : colours) c = uint32_t(rng());
        const BlendMode mode = kModes[rng() % 5];
        const std::vector<uint32_t> start = RandomPixels(rng, size_t(w * h));
        std::vector<uint32_t> want = start;
        xs = {2 * p[0].x, 2 * p[1].x, 2 * p[2].x};
        ys = {2 * p[0].y, 2 * p[1].y, 2 * p[2].y};
        for (int64_t y = 0; y < h; ++y)
            for (int64_t x = 0; x < w; ++x) {
                if (!InsidePolygon(xs, ys, 2 * x + 1, 2 * y + 1, FillRule::NonZero, 2)) continue;
                int64_t wt[3];
                for (int v = 0; v < 3; ++v) {
                    const Point& a = p[(v + 1) % 3];
                    const Point& b = p[(v + 2) % 3];
                    wt[v] = (2 * int64_t(b.x) - 2 * a.x) * (2 * y + 1 - 2 * a.y) - (2 * int64_t(b.y) - 2 * a.y) * (2 * x + 1 - 2 * a.x);
                }
                int64_t area = wt[0] + wt[1] + wt[2];
                const int64_t sign = area < 0 ? -1 : 1;
                area *= sign;
                uint32_t c = 0;
                for (int k = 0; k < 4; ++k) {
                    int64_t sum = 0;
                    for (int v = 0; v < 3; ++v) sum += sign * wt[v] * int64_t(Ch(colours[v], k));
                    // floor(sum / area + 1/2), sum and area not negative.
                    c |= uint32_t((2 * sum + area) / (2 * area)) << (8 * k);
                }
                uint32_t& d = want[size_t(y * w + x)];
                d = ModelBlend(c, d, mode);
            }
        for (PixelSet set : AllSets()) {
            auto plane = MakePlane(w, h, start, set);
            plane->Shapes().FillTriangleGradient(p[0], p[1], p[2], colours[0], colours[1], colours[2], mode);
            REQUIRE(PixelsOf(*plane) == want);
        }
    }
}

TEST_CASE("thick lines: the band between the end pixels' centres with square or round ends")
{
    int32_t x0, y0, x1, y1, width;
    LineCap cap;
    CheckAgainstModel(
        10, 300,
        [&](std::mt19937& rng) -> Mask {
            x0 = Rand(rng, -5, 45), y0 = Rand(rng, -5, 35), x1 = Rand(rng, -5, 45), y1 = Rand(rng, -5, 35);
            if (rng() % 4 == 0) y1 = y0;  // horizontal and vertical ones often
            if (rng() % 4 == 0) x1 = x0;
            width = Rand(rng, 1, 9);
            cap = rng() % 2 ? LineCap::Round : LineCap::Square;
            // The band's corners in 1/256 pixel, placed as the rule says.
            const double ax = x0 * 256.0 + 128, ay = y0 * 256.0 + 128, bx = x1 * 256.0 + 128, by = y1 * 256.0 + 128;
            const double len = std::hypot(bx - ax, by - ay), half = width * 128.0;
            std::vector<int64_t> xs, ys;
            const bool round = cap == LineCap::Round;
            if (len > 0 || !round) {
                const double ux = len > 0 ? (bx - ax) / len : 1, uy = len > 0 ? (by - ay) / len : 0;
                const double nx = -uy * half, ny = ux * half, ex = round ? 0 : ux * half, ey = round ? 0 : uy * half;
                xs = {std::llround(ax - ex + nx), std::llround(bx + ex + nx), std::llround(bx + ex - nx), std::llround(ax - ex - nx)};
                ys = {std::llround(ay - ey + ny), std::llround(by + ey + ny), std::llround(by + ey - ny), std::llround(ay - ey - ny)};
            }
            const int64_t w2 = int64_t(width) * width;
            const int64_t px0 = x0, py0 = y0, px1 = x1, py1 = y1;
            return [=](int64_t x, int64_t y) {
                if (!xs.empty() && InsidePolygon(xs, ys, 2 * x + 1, 2 * y + 1, FillRule::NonZero, 256)) return true;
                if (!round) return false;
                auto disc = [&](int64_t cx, int64_t cy) { return 4 * ((x - cx) * (x - cx) + (y - cy) * (y - cy)) < w2; };
                return disc(px0, py0) || disc(px1, py1);
            };
        },
        [&](CShapes& s, uint32_t c, BlendMode m, const Rect* clip) {
            return s.DrawThickLine(x0, y0, x1, y1, width, cap, c, m, clip);
        });

    // Width 1 with square ends: the pixels of the plain line when it is horizontal.
    auto thick = MakePlane(12, 5), thin = MakePlane(12, 5);
    thick->Shapes().DrawThickLine(1, 2, 10, 2, 1, LineCap::Square, 0xFFFFFFFF);
    thin->Shapes().DrawLine(1, 2, 10, 2, 0xFFFFFFFF);
    CHECK(PixelsOf(*thick) == PixelsOf(*thin));
    CHECK(thick->Shapes().DrawThickLine(0, 0, 1, 1, -1, LineCap::Round, 0) == -1);
}

TEST_CASE("antialiased lines and ellipses: coverage within 1 of the model's, out of 255")
{
    std::mt19937 rng(12);
    // White in Copy mode onto black: a pixel of coverage c below 255 becomes 255 * c / 256
    // rounded down, which is c - 1 for c from 1 on; 0 may be 0 or 1.
    auto within = [](uint32_t p, double want) {
        const int v = int(p & 0xFF);
        if (v == 0) return want <= 2.0 + 1e-9;
        const int c = v == 255 ? 255 : v + 1;
        return std::fabs(c - want) <= 1.0 + 1e-9;
    };
    for (int i = 0; i < 300; ++i) {
        const int32_t w = 40, h = 30;
        const int kind = i % 3;
        const int32_t x0 = Rand(rng, -5, 45), y0 = Rand(rng, -5, 35), x1 = Rand(rng, -5, 45), y1 = Rand(rng, -5, 35);
        const int32_t rx = Rand(rng, 1, 18), ry = rng() % 2 ? rx : Rand(rng, 1, 18);
        for (PixelSet set : AllSets()) {
            auto plane = MakePlane(w, h, {}, set);
            CShapes s = plane->Shapes();
            if (kind == 0) s.DrawLineAA(x0, y0, x1, y1, 0xFFFFFFFF, BlendMode::Copy);
            if (kind == 1) s.FillEllipseAA(x0, y0, rx, ry, 0xFFFFFFFF, BlendMode::Copy);
            if (kind == 2) s.DrawEllipseAA(x0, y0, rx, ry, 0xFFFFFFFF, BlendMode::Copy);
            for (int32_t y = 0; y < h; ++y)
                for (int32_t x = 0; x < w; ++x) {
                    double want = 0;
                    if (kind == 0) {
                        // Along the longer axis the exact line's crossing; the two nearest pixels
                        // share by distance.
                        const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
                        const double a = xMajor ? x : y, b = xMajor ? y : x;
                        const double a0 = xMajor ? x0 : y0, b0 = xMajor ? y0 : x0, a1 = xMajor ? x1 : y1, b1 = xMajor ? y1 : x1;
                        if (a < std::min(a0, a1) || a > std::max(a0, a1)) continue;
                        const double t = a0 == a1 ? b0 : b0 + (a - a0) * (b1 - b0) / (a1 - a0);
                        want = std::max(0.0, 1 - std::fabs(b - t));
                    } else {
                        const double dx = x - x0, dy = y - y0;
                        double dist;
                        if (rx == ry) {
                            dist = std::hypot(dx, dy) - rx;
                        } else {
                            const double f = std::hypot(dx / rx, dy / ry);
                            const double g = std::hypot(dx / (double(rx) * rx), dy / (double(ry) * ry));
                            dist = g == 0 ? -std::min(rx, ry) : std::max({(f - 1) * f / g, std::fabs(dx) - rx, std::fabs(dy) - ry});
                        }
                        want = kind == 1 ? std::clamp(0.5 - dist, 0.0, 1.0) : std::clamp(1 - std::fabs(dist), 0.0, 1.0);
                    }
                    const uint32_t got = plane->GetImpl()->GetPixel(x, y);
                    if (!within(got, want * 255))
                        FAIL("kind " << kind << " " << SetName(set) << " centre " << x0 << "," << y0 << " r " << rx << "," << ry << " at (" << x << ", " << y << ") got "
                                     << (got & 0xFF) << " want " << want * 255);
                }
        }
    }
}

TEST_CASE("shapes at ±2^30 are clipped before they are stepped, and beyond it refused")
{
    const int32_t far = 1 << 30;
    auto plane = MakePlane(16, 16);
    CShapes s = plane->Shapes();
    CHECK(s.DrawLine(-far, -far, far, far, 0xFFFFFFFF) == 0);
    // The diagonal through the plane.
    for (int32_t k = 0; k < 16; ++k) CHECK(plane->GetImpl()->GetPixel(k, k) == 0xFFFFFFFF);
    CHECK(plane->GetImpl()->GetPixel(1, 0) == 0);
    CHECK(s.DrawLineAA(-far, 3, far, 3, 0xFFFFFFFF, BlendMode::Copy) == 0);
    CHECK(plane->GetImpl()->GetPixel(5, 3) == 0xFFFFFFFF);
    CHECK(s.DrawThickLine(-far, far, far, -far, 3, LineCap::Round, 0xFF00FF00) == 0);
    const Point huge[] = {{-far, -far}, {far, -far}, {0, far}};
    CHECK(s.FillPolygon(huge, 3, FillRule::EvenOdd, 0xFF0000FF) == 0);
    CHECK(plane->GetImpl()->GetPixel(8, 8) == 0xFF0000FF);
    CHECK(s.FillTriangleGradient(huge[0], huge[1], huge[2], 0xFF, 0xFF, 0xFF) == 0);
    CHECK(plane->GetImpl()->GetPixel(8, 8) == 0xFF);
    CHECK(s.FillCircle(far, far, kMaxShapeRadius, 0xFFFFFFFF) == 0);
    CHECK(s.FillRect({-far, -far, far, far}, 0xFF123456) == 0);
    CHECK(plane->GetImpl()->GetPixel(15, 15) == 0xFF123456);
    CHECK(s.DrawLine(INT32_MIN, 0, 0, 0, 0) == -2);
    CHECK(s.FillPolygon(huge, 3, FillRule::EvenOdd, 0, BlendMode::Copy, nullptr) == 0);
    const Point beyond[] = {{INT32_MIN, 0}, {0, 0}, {0, 5}};
    CHECK(s.FillPolygon(beyond, 3, FillRule::EvenOdd, 0) == -2);
    // A line far off to the side draws nothing.
    auto empty = MakePlane(16, 16);
    CHECK(empty->Shapes().DrawLine(-far, 100, far, 200, 0xFFFFFFFF) == 0);
    CHECK(PixelsOf(*empty) == std::vector<uint32_t>(256, 0));
    // A plane without pixels: 1.
    CPlane none;
    CHECK(none.Shapes().FillRect({0, 0, 1, 1}, 0) == 1);
}

TEST_CASE("a magnified surface gives each target pixel's block the pixel of the unmagnified one")
{
    for (int32_t m : {3, 65}) {
        const int32_t w = 12, h = 9, ox = 5, oy = 2;
        auto small = MakePlane(w, h);
        auto big = MakePlane(w * m + ox + 3, h * m + oy + 4);
        const ShapeSurface whole = big->Shapes().GetSurface();
        CShapes onBig(ShapeSurface{whole.pixels, whole.pitch, whole.width, whole.height, {0, 0, w, h}, m, ox, oy, 1});
        for (CShapes s : {small->Shapes(), onBig}) {
            s.FillTriangleGradient({-2, 0}, {14, 3}, {4, 9}, 0xFF0000FF, 0x80FF0000, 0x4000FF00, BlendMode::Add);
            s.FillCircleAA(6, 4, 4, 0xC0FFFFFF, BlendMode::Alpha);
            s.DrawLine(0, 8, 11, 0, 0xFF123456);
        }
        int bad = 0;
        for (int32_t y = 0; y < big->GetImpl()->GetRect().bottom; ++y)
            for (int32_t x = 0; x < big->GetImpl()->GetRect().right; ++x) {
                const bool inside = x >= ox && x < ox + w * m && y >= oy && y < oy + h * m;
                const uint32_t want = inside ? small->GetImpl()->GetPixel((x - ox) / m, (y - oy) / m) : 0;
                bad += big->GetImpl()->GetPixel(x, y) != want;
            }
        CHECK(bad == 0);
    }
}
