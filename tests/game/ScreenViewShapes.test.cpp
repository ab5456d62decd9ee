// Shapes on the screen view, a widget and the back buffer in a real window: every shape drawn on
// the view in logical coordinates gives exactly the pixels of the same shape drawn on a plane of
// the logical size, magnified by the view's magnification and moved by its origin; nothing
// reaches the borders.
#include <pyro/game/ScreenView.h>

#include "GameTestSupport.h"

#include <doctest/doctest.h>

#include <functional>
#include <random>
#include <vector>

namespace {

// Every physical pixel of the back buffer against the logical plane magnified: inside the
// active rectangle the plane's pixel, outside it the colour the buffer was cleared to.
int MismatchesAgainst(CScreenView& view, const CPlane& logical, uint32_t border)
{
    CPlane* back = view.GetDraw()->GetSecondary();
    int32_t w = 0, h = 0;
    back->GetSize(&w, &h);
    const int32_t m = view.GetMagnification();
    const Rect& active = view.GetActiveRect();
    int bad = 0;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t want = active.Contains(x, y)
                                      ? logical.GetImpl()->GetPixel((x - active.left) / m, (y - active.top) / m)
                                      : border;
            bad += back->GetImpl()->GetPixel(x, y) != want;
        }
    return bad;
}

using Draw = std::function<void(CShapes&)>;

// Draws on both after filling them alike (the view through its logical FillRect, so each
// logical pixel's block starts uniform).
void Compare(CScreenView& view, const Draw& draw)
{
    const uint32_t border = 0xFF102030;
    view.GetDraw()->Clear(border, nullptr);
    CPlane logical;
    REQUIRE(logical.Create(kLogicalW, kLogicalH) == 0);
    std::mt19937 rng(3);
    // A pattern of logical blocks: every blend mode meets varied pixels.
    for (int32_t y = 0; y < kLogicalH; y += 8)
        for (int32_t x = 0; x < kLogicalW; x += 8) {
            const uint32_t c = uint32_t(rng());
            const Rect r = MakeRect(x, y, 8, 8);
            view.Shapes().FillRect(r, c);
            logical.Shapes().FillRect(r, c);
        }
    CShapes onView = view.Shapes();
    CShapes onPlane = logical.Shapes();
    draw(onView);
    draw(onPlane);
    CHECK(MismatchesAgainst(view, logical, border) == 0);
}

}  // namespace

TEST_CASE("shapes on the view are the logical plane's shapes magnified, at every magnification")
{
    WithView([](TestApp&, CScreenView& view) {
        for (auto size : {std::pair<int32_t, int32_t>{320, 240}, {700, 480}, {961, 730}}) {
            SetImageSize(view, size.first, size.second);
            CAPTURE(view.GetMagnification());
            const Point tri[3] = {{-30, 10}, {200, 250}, {120, -40}};
            const Point star[5] = {{160, 0}, {250, 230}, {10, 80}, {310, 80}, {70, 230}};
            const Rect clip = {20, 15, 300, 200};
            Compare(view, [&](CShapes& s) {
                s.DrawLine(-50, -20, 400, 300, 0xFFFF0000);
                s.DrawLineAA(5, 200, 315, 7, 0xC000FF00, BlendMode::Alpha);
                s.DrawThickLine(10, 10, 300, 60, 7, LineCap::Round, 0x80FFFFFF, BlendMode::Add);
                s.FillRectAlpha({-10, 100, 330, 140}, 0x000000, 128);
                s.FillRoundRect({30, 30, 140, 90}, 12, 0xFF808080, BlendMode::Multiply);
                s.FillCircle(160, 120, 70, 0x6000FFFF, BlendMode::Alpha, &clip);
                s.DrawEllipse(160, 120, 150, 40, 0xFFFFFF00, BlendMode::Subtract);
                s.FillCircleAA(300, 220, 40, 0xFF0000FF, BlendMode::Copy);
                s.FillTriangle(tri[0], tri[1], tri[2], 0x40FF00FF, BlendMode::Alpha);
                s.FillPolygon(star, 5, FillRule::EvenOdd, 0xFF00FF00, BlendMode::Add, &clip);
                s.FillTriangleGradient(tri[0], tri[1], tri[2], 0xFFFF0000, 0x8000FF00, 0x000000FF,
                                       BlendMode::Alpha);
                s.DrawPixel(319, 239, 0xFFABCDEF);
                s.DrawRect({0, 0, 320, 240}, 0xFF00FF00);
            });
        }
    });
}

TEST_CASE("shapes on a widget land at its position on the view, cut to it; on the back buffer in physical pixels")
{
    WithView([](TestApp&, CScreenView& view) {
        SetImageSize(view, 700, 480);  // magnification 2, origin (30, 0)
        view.GetDraw()->Clear(0xFFFFFF, nullptr);  // white (0xFFFFFFFF would be the fill colour)
        CountingWidget widget;
        widget.SetPos(40, 30);
        widget.SetSize(20, 20);
        CHECK(widget.Shapes().FillRect({-10, -10, 100, 100}, 0xFFFF0000) == 0);
        // Logical (40, 30) to (60, 50): physical (110, 60) to (150, 100).
        CHECK(BackPixel(view, 110, 60) == 0xFF0000);
        CHECK(BackPixel(view, 149, 99) == 0xFF0000);
        CHECK(BackPixel(view, 150, 99) == 0xFFFFFF);
        CHECK(BackPixel(view, 109, 60) == 0xFFFFFF);
        widget.Shapes().DrawPixel(1, 2, 0xFF00FF00);
        CHECK(BackPixel(view, 112, 64) == 0x00FF00);
        CHECK(BackPixel(view, 113, 65) == 0x00FF00);

        // The back buffer itself: physical pixels, no magnification.
        view.GetDraw()->Shapes().DrawPixel(5, 6, 0xFF0000FF);
        CHECK(BackPixel(view, 5, 6) == 0x0000FF);
        CHECK(BackPixel(view, 6, 6) == 0xFFFFFF);
        CHECK(view.GetDraw()->NeedsRedraw());
    });
    CountingWidget widget;
    CHECK(widget.Shapes().FillRect({0, 0, 1, 1}, 0) == 1);
}
