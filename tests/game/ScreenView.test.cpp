// The screen view in a real window: geometry for several image sizes, window sizes below the
// logical screen, transfers and fills mapped to physical pixels (blocks one pixel wider at a
// magnification above 1), unscaled native drawing, borders, widgets drawing through the view,
// screenshot names in the base directory, the whole transfer family and the in-place effects
// against a logical plane drawn as blocks, and far-off coordinates that must not wrap.
#include <pyro/game/ScreenView.h>

#include <pyro/file/BaseDirectory.h>
#include <pyro/graphics/D3D11Draw.h>
#include "GameTestSupport.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// A plane of the given size, every pixel the colour.
void MakePlane(CPlane& plane, int32_t width, int32_t height, uint32_t colour)
{
    REQUIRE(plane.Create(width, height) == 0);
    plane.GetImpl()->Clear(colour, nullptr);
}

void Poke(CPlane& plane, int32_t x, int32_t y, uint32_t colour)
{
    CPlaneImpl* impl = plane.GetImpl();
    impl->GetPixels()[y * (impl->GetPitch() / 4) + x] = colour;
}

// Pixels of the back buffer inside the rectangle that differ from the colour.
int Mismatches(CScreenView& view, const Rect& rect, uint32_t colour)
{
    int bad = 0;
    for (int32_t y = rect.top; y < rect.bottom; ++y)
        for (int32_t x = rect.left; x < rect.right; ++x) bad += BackPixel(view, x, y) != colour;
    return bad;
}

// The bitmap file's width and height from its header; (0, 0) when it cannot be read.
std::pair<int32_t, int32_t> BitmapSize(const std::string& path)
{
    int32_t size[2] = {0, 0};
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        if (std::fseek(f, 18, SEEK_SET) != 0 || std::fread(size, 4, 2, f) != 2) size[0] = size[1] = 0;
        std::fclose(f);
    }
    return {size[0], size[1] < 0 ? -size[1] : size[1]};
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Touch(const std::string& path)
{
    if (FILE* f = std::fopen(path.c_str(), "wb")) std::fclose(f);
}

}  // namespace

TEST_CASE("the view takes the largest whole magnification and centres the logical screen")
{
    WithView([](TestApp&, CScreenView& view) {
        CHECK(CScreenView::GetCurrent() == &view);
        int32_t w, h;
        view.GetSize(&w, &h);
        CHECK((w == kLogicalW && h == kLogicalH));
        CHECK(view.GetMagnification() == 1);
        CHECK((view.GetDraw()->GetWidth() == kLogicalW && view.GetDraw()->GetHeight() == kLogicalH));
        // Sizes of 0 or less keep the present ones, for the view and its back buffer.
        CHECK(view.SetLogicalSize(0, -5) == 0);
        view.GetSize(&w, &h);
        CHECK((w == kLogicalW && h == kLogicalH));
        CHECK((view.GetDraw()->GetWidth() == kLogicalW && view.GetDraw()->GetHeight() == kLogicalH));

        struct Case {
            int32_t width, height, magnification, originX, originY;
        };
        const Case cases[] = {
            {640, 480, 2, 0, 0},
            {700, 480, 2, 30, 0},   // height decides
            {960, 500, 2, 160, 10},  // the smaller ratio wins
            {300, 200, 1, -10, -20},
            {320, 240, 1, 0, 0},
        };
        for (const Case& c : cases) {
            CAPTURE(c.width);
            CAPTURE(c.height);
            SetImageSize(view, c.width, c.height);
            CHECK(view.GetMagnification() == c.magnification);
            CHECK(view.GetOriginX() == c.originX);
            CHECK(view.GetOriginY() == c.originY);
            const Rect& a = view.GetActiveRect();
            CHECK((a.left == c.originX && a.top == c.originY));
            CHECK(a.right == c.originX + kLogicalW * c.magnification);
            CHECK(a.bottom == c.originY + kLogicalH * c.magnification);
            CHECK(view.NeedsBorder());
        }
    });
}

TEST_CASE("window sizes follow WM_SIZE, never below the logical screen, and not when minimised")
{
    WithView([](TestApp&, CScreenView& view) {
        const HWND hwnd = view.GetDraw()->GetWindow();
        CHECK(view.OnMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(700, 500)) == 0);
        CHECK((view.GetDraw()->GetWidth() == 700 && view.GetDraw()->GetHeight() == 500));
        CHECK(view.GetMagnification() == 2);
        view.OnMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 600));
        CHECK((view.GetDraw()->GetWidth() == kLogicalW && view.GetDraw()->GetHeight() == 600));
        CHECK(view.GetMagnification() == 1);
        view.OnMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
        CHECK((view.GetDraw()->GetWidth() == kLogicalW && view.GetDraw()->GetHeight() == 600));

        // A real resize of the window reaches the view through the window's hooks.
        RECT outer = {0, 0, 640, 480};
        AdjustWindowRect(&outer, GetWindowLongA(hwnd, GWL_STYLE), FALSE);
        SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        RECT client;
        GetClientRect(hwnd, &client);
        CHECK(view.GetDraw()->GetWidth() == std::max<int32_t>(client.right, kLogicalW));
        CHECK(view.GetDraw()->GetHeight() == std::max<int32_t>(client.bottom, kLogicalH));
    });
}

TEST_CASE("a logical size set in a larger window is magnified at once, without waiting for WM_SIZE")
{
    WithView([](TestApp&, CScreenView& view) {
        const HWND hwnd = view.GetDraw()->GetWindow();
        RECT outer = {0, 0, 2 * kLogicalW, 2 * kLogicalH};
        AdjustWindowRect(&outer, GetWindowLongW(hwnd, GWL_STYLE), FALSE);
        SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        RECT client;
        GetClientRect(hwnd, &client);
        REQUIRE((client.right == 2 * kLogicalW && client.bottom == 2 * kLogicalH));
        SetImageSize(view, kLogicalW, kLogicalH);  // as a view made before the window grew
        REQUIRE(view.GetMagnification() == 1);

        CHECK(view.SetLogicalSize(kLogicalW, kLogicalH) == 0);
        CHECK((view.GetDraw()->GetWidth() == 2 * kLogicalW && view.GetDraw()->GetHeight() == 2 * kLogicalH));
        CHECK(view.GetMagnification() == 2);
        // A logical screen larger than the window keeps its own size.
        CHECK(view.SetLogicalSize(700, 500) == 0);
        CHECK((view.GetDraw()->GetWidth() == 700 && view.GetDraw()->GetHeight() == 500));
        CHECK(view.GetMagnification() == 1);
    });
}

TEST_CASE("transfers draw each logical pixel as a block one pixel wider, clipped to the screen")
{
    WithView([](TestApp&, CScreenView& view) {
        SetImageSize(view, 700, 480);  // magnification 2, origin (30, 0)
        CDIBDraw& draw = *view.GetDraw();
        CPlane red;
        MakePlane(red, 2, 1, 0xFF0000);
        Poke(red, 1, 0, 0x00FF00);

        draw.Clear(kWhite, nullptr);
        REQUIRE(view.BltFast(&red, 10, 5, nullptr, nullptr, nullptr) == 0);
        // Logical (10, 5) and (11, 5) are physical (50, 10) to (53, 11); the stretched image
        // starts one pixel up and left and is one pixel larger.
        CHECK(Mismatches(view, {50, 10, 52, 12}, 0xFF0000) == 0);
        CHECK(Mismatches(view, {52, 10, 54, 12}, 0x00FF00) == 0);
        CHECK(BackPixel(view, 49, 9) == 0xFF0000);
        CHECK(Mismatches(view, {48, 8, 56, 14}, kWhite) == 5 * 3);

        // A logical clip rectangle keeps the drawing to those logical pixels.
        draw.Clear(kWhite, nullptr);
        Rect clip = {11, 0, 20, 20};
        view.BltFast(&red, 10, 5, nullptr, nullptr, &clip);
        CHECK(Mismatches(view, {52, 10, 54, 12}, 0x00FF00) == 0);
        CHECK(Mismatches(view, {40, 0, 52, 20}, kWhite) == 0);

        // No clip rectangle: the active rectangle; nothing reaches the border.
        draw.Clear(kWhite, nullptr);
        CPlane big;
        MakePlane(big, 400, 300, 0x0000FF);
        view.BltFast(&big, -20, -20, nullptr, nullptr, nullptr);
        CHECK(Mismatches(view, {0, 0, 30, 480}, kWhite) == 0);
        CHECK(Mismatches(view, {670, 0, 700, 480}, kWhite) == 0);
        CHECK(Mismatches(view, view.GetActiveRect(), 0x0000FF) == 0);

        // At magnification 1 nothing is stretched.
        SetImageSize(view, kLogicalW, kLogicalH);
        view.GetDraw()->Clear(kWhite, nullptr);
        view.Blt(&red, 3, 4, nullptr, nullptr, nullptr);
        CHECK(BackPixel(view, 3, 4) == 0xFF0000);
        CHECK(BackPixel(view, 4, 4) == 0x00FF00);
        CHECK(Mismatches(view, {0, 0, 10, 10}, kWhite) == 2);
    });
}

TEST_CASE("fills, native drawing and the borders")
{
    WithView([](TestApp&, CScreenView& view) {
        SetImageSize(view, 700, 480);
        CDIBDraw& draw = *view.GetDraw();
        draw.Clear(kWhite, nullptr);

        // A logical rectangle becomes its physical blocks; none means the logical screen.
        const Rect r = {1, 2, 3, 4};
        view.FillRect(0x123456, &r);
        CHECK(Mismatches(view, {32, 4, 36, 8}, 0x123456) == 0);
        CHECK(Mismatches(view, {30, 0, 40, 10}, kWhite) == 16);
        view.FillRect(0x0000FF, nullptr);
        CHECK(Mismatches(view, view.GetActiveRect(), 0x0000FF) == 0);
        CHECK(Mismatches(view, {0, 0, 30, 480}, kWhite) == 0);

        // Native drawing places an unscaled plane at a logical position plus a physical shift.
        CPlane label;
        MakePlane(label, 3, 3, 0xFF0000);
        view.BltNative(&label, 10, 10, nullptr, nullptr, nullptr, 1, 2);
        CHECK(Mismatches(view, {51, 22, 54, 25}, 0xFF0000) == 0);
        CHECK(Mismatches(view, {48, 18, 58, 28}, 0x0000FF) == 9);

        // Present paints the borders in the back buffer's fill colour (black), not the screen.
        view.Present();
        CHECK_FALSE(view.NeedsBorder());
        CHECK(Mismatches(view, {0, 0, 30, 480}, 0) == 0);
        CHECK(Mismatches(view, {670, 0, 700, 480}, 0) == 0);
        CHECK(Mismatches(view, view.GetActiveRect(), 0x0000FF) == 9);
    });
}

TEST_CASE("in borderless full screen the window shows the magnified screen with black borders")
{
    WithView([](TestApp& app, CScreenView& view) {
        CWindow& window = app.GetWindow();
        const HWND hwnd = window.GetHWnd();
        const int32_t screenX = GetSystemMetrics(SM_CXSCREEN), screenY = GetSystemMetrics(SM_CYSCREEN);
        // The logical picture: a background, one pixel and a block, by exact logical rectangles.
        auto drawPicture = [&] {
            view.FillRect(0x203060, nullptr);
            const Rect dot = {10, 20, 11, 21}, block = {100, 50, 220, 190};
            view.FillRect(0xFFFF00, &dot);
            view.FillRect(0x00FF80, &block);
            view.Present();
        };
        auto logical = [](int32_t x, int32_t y) -> uint32_t {
            if (x == 10 && y == 20) return 0xFFFF00;
            if (x >= 100 && x < 220 && y >= 50 && y < 190) return 0x00FF80;
            return 0x203060;
        };
        // What the window shows, read back through GDI or from the Direct3D swap chain (which GDI
        // does not see), compared pixel by pixel.
        auto shownMismatches = [&](int32_t width, int32_t height) {
            CPlane copy;
            copy.GetImpl()->SetUseDIB(true);
            REQUIRE(copy.Create(width, height) == 0);
            auto* d3d = dynamic_cast<CD3D11Draw*>(view.GetDraw());
            if (d3d && d3d->IsActive()) {
                std::vector<uint32_t> shown;
                int32_t w = 0, h = 0;
                REQUIRE(d3d->ReadPresented(&shown, &w, &h) == 0);
                REQUIRE((w == width && h == height));
                std::copy(shown.begin(), shown.end(), copy.GetImpl()->GetPixels());
            } else {
                HDC dc = GetDC(hwnd);
                BitBlt(copy.GetImpl()->GetDC(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
                ReleaseDC(hwnd, dc);
                GdiFlush();
            }
            // A window smaller than the logical screen shows its top-left part one to one.
            const int32_t m = std::max(1, std::min(width / kLogicalW, height / kLogicalH));
            const int32_t ox = (std::max(width, kLogicalW) - kLogicalW * m) / 2;
            const int32_t oy = (std::max(height, kLogicalH) - kLogicalH * m) / 2;
            const uint32_t* pixels = copy.GetImpl()->GetPixels();
            int bad = 0;
            for (int32_t y = 0; y < height; ++y)
                for (int32_t x = 0; x < width; ++x) {
                    const bool inside = x >= ox && x < ox + kLogicalW * m && y >= oy && y < oy + kLogicalH * m;
                    const uint32_t expected = inside ? logical((x - ox) / m, (y - oy) / m) : 0;
                    bad += (pixels[y * width + x] & 0xFFFFFF) != expected;
                }
            return bad;
        };

        RECT before;
        GetClientRect(hwnd, &before);
        REQUIRE(window.SetBorderlessFullScreen(true) == 0);
        RECT client;
        GetClientRect(hwnd, &client);
        CHECK((client.right == screenX && client.bottom == screenY));
        CHECK((view.GetDraw()->GetWidth() == screenX && view.GetDraw()->GetHeight() == screenY));
        CHECK(view.GetMagnification() == std::min(screenX / kLogicalW, screenY / kLogicalH));
        drawPicture();
        CHECK(shownMismatches(screenX, screenY) == 0);

        // Alt+Enter brings the window back at its size, and the picture one to one again.
        SendMessageW(hwnd, WM_SYSKEYDOWN, VK_RETURN, (1 << 29) | 1);
        CHECK_FALSE(window.IsBorderlessFullScreen());
        GetClientRect(hwnd, &client);
        CHECK((client.right == before.right && client.bottom == before.bottom));
        CHECK(view.GetMagnification() == 1);
        drawPicture();
        CHECK(shownMismatches(client.right, client.bottom) == 0);
    });
}

TEST_CASE("widgets draw through the current view at their position, cut to their rectangle")
{
    WithView([](TestApp&, CScreenView& view) {
        CountingWidget widget;
        widget.SetPos(40, 30);
        widget.SetSize(20, 20);
        view.GetDraw()->Clear(kWhite, nullptr);

        CPlane dot;
        MakePlane(dot, 1, 1, 0xFF0000);
        widget.BltFast(&dot, 2, 3, nullptr, nullptr, nullptr);
        CHECK(BackPixel(view, 42, 33) == 0xFF0000);

        // Clear takes a rectangle relative to the widget, cut to it; the back buffer's fill is black.
        const Rect part = {-5, -5, 5, 5};
        widget.Clear(&part);
        CHECK(Mismatches(view, {40, 30, 45, 35}, 0) == 0);
        CHECK(Mismatches(view, {30, 20, 40, 30}, kWhite) == 0);
        const Rect away = {30, 30, 40, 40};
        CHECK(widget.Clear(&away) == 0);
        widget.Negate(nullptr);
        CHECK(BackPixel(view, 59, 49) == 0x000000);
        CHECK(BackPixel(view, 60, 49) == kWhite);
        CHECK(BackPixel(view, 44, 34) == kWhite);
    });
    // With the view gone, a widget has nowhere to draw.
    CHECK(CScreenView::GetCurrent() == nullptr);
    CountingWidget widget;
    CHECK(widget.Clear(nullptr) == 1);
}

TEST_CASE("screenshots take the first free number in the base directory")
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char dir[MAX_PATH];
    std::snprintf(dir, sizeof dir, "%spyro-shots-%lu\\", temp, GetCurrentProcessId());
    CreateDirectoryA(dir, nullptr);
    const std::string base = dir;
    const std::string previousBase = GetBaseDirectory();
    SetBaseDirectory(base);

    WithView([&](TestApp&, CScreenView& view) {
        SetImageSize(view, 700, 480);
        CHECK(view.SaveScreenshot() == 0);
        CHECK(BitmapSize(base + "000.bmp") == std::make_pair(640, 480));
        CHECK(view.SaveScreenshot() == 0);
        CHECK(Exists(base + "001.bmp"));

        // A gap is filled first.
        DeleteFileA((base + "000.bmp").c_str());
        Touch(base + "002.bmp");
        CHECK(view.SaveScreenshot() == 0);
        CHECK(BitmapSize(base + "000.bmp") == std::make_pair(640, 480));
        CHECK_FALSE(Exists(base + "003.bmp"));

        // With every name taken nothing is written.
        char name[16];
        for (int n = 3; n < 1000; ++n) {
            std::snprintf(name, sizeof name, "%03d.bmp", n);
            Touch(base + name);
        }
        CHECK(view.SaveScreenshot() == 9);
    });

    char name[16];
    for (int n = 0; n < 1000; ++n) {
        std::snprintf(name, sizeof name, "%03d.bmp", n);
        DeleteFileA((base + name).c_str());
    }
    RemoveDirectoryA(dir);
    SetBaseDirectory(previousBase);
}

TEST_CASE("the view answers the plane interface in logical terms")
{
    WithView([](TestApp&, CScreenView& view) {
        SetImageSize(view, 640, 480);
        CHECK_FALSE(view.IsLoaded());
        CHECK(view.Load("x.bmp") == -1);
        CHECK(view.LoadEx("a", "b") == -1);
        CHECK(view.BlendBltAlphaLevel(nullptr, 0, 0, 128) == -1);
        Poke(*view.GetDraw()->GetSecondary(), 20, 10, 0x00ABCDEF);
        CHECK(view.SetColorKeyFromPixel(10, 5) == 0);
        CHECK(view.GetDraw()->GetSecondary()->GetImpl()->GetColorKey() == 0xABCDEF);
        // The view is also the key mapper's idea of the mouse: origin and magnification.
        const IScreenViewMapping& mapping = view;
        CHECK(mapping.GetMagnification() == 2);
    });
}
TEST_CASE("a full-screen display change stays full screen: the resize it makes does not undo it")
{
    WithView([](TestApp& app, CScreenView& view) {
        const HWND hwnd = app.GetWindow().GetHWnd();
        CDIBDraw& draw = *view.GetDraw();
        CHECK(draw.SetDisplay(true, 0, 0, 0) == 0);
        CHECK(draw.IsFullScreenMode());
        RECT outer;
        GetWindowRect(hwnd, &outer);
        CHECK((outer.right - outer.left == GetSystemMetrics(SM_CXSCREEN) &&
               outer.bottom - outer.top == GetSystemMetrics(SM_CYSCREEN)));
        // The back buffer keeps its size and is shown at the top-left, unmagnified.
        CHECK((draw.GetWidth() == kLogicalW && draw.GetHeight() == kLogicalH));
        view.Present();
        CHECK(view.GetMagnification() == 1);

        CHECK(draw.SetDisplay(false, 0, 0, 0) == 0);
        CHECK_FALSE(draw.IsFullScreenMode());
        RECT client;
        GetClientRect(hwnd, &client);
        CHECK((client.right == 160 && client.bottom == 120));
    });
}

namespace {

// A logical screen of 40 by 30 on back buffers that give each magnification, with borders.
struct Magnified {
    int32_t magnification, width, height, originX, originY;
};
constexpr Magnified kMagnified[] = {{1, 45, 33, 2, 1}, {2, 90, 64, 5, 2}, {3, 125, 95, 2, 2}};
constexpr int32_t kSmallW = 40;
constexpr int32_t kSmallH = 30;
constexpr uint32_t kOutside = 0x5A123456;

uint32_t NextRandom(uint32_t& seed)
{
    seed = seed * 1664525u + 1013904223u;
    return seed;
}

// A plane of random pixels with random top bytes, about one in five the key colour 0xFF00FF.
void RandomPlane(CPlane& plane, int32_t width, int32_t height, uint32_t seed)
{
    REQUIRE(plane.Create(width, height) == 0);
    CPlaneImpl* impl = plane.GetImpl();
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t r = NextRandom(seed);
            impl->GetPixels()[y * (impl->GetPitch() / 4) + x] = r % 5 == 0 ? 0xFF00FF : NextRandom(seed);
        }
    plane.SetColorKey(0xFF, 0x00, 0xFF);
}

// The back buffer: the logical plane's pixels as blocks on the logical screen, kOutside around.
void ShowMagnified(CScreenView& view, const CPlane& logical)
{
    CPlaneImpl* back = view.GetDraw()->GetSecondary()->GetImpl();
    int32_t w = 0, h = 0;
    view.GetDraw()->GetSize(&w, &h);
    const int32_t m = view.GetMagnification();
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const int32_t lx = x - view.GetOriginX(), ly = y - view.GetOriginY();
            const bool inside = lx >= 0 && ly >= 0 && lx < kSmallW * m && ly < kSmallH * m;
            back->GetPixels()[y * (back->GetPitch() / 4) + x] =
                inside ? logical.GetImpl()->GetPixel(lx / m, ly / m) : kOutside;
        }
}

// Back buffer pixels (all 32 bits) that differ from what ShowMagnified would make of `logical`.
int MagnifiedMismatches(CScreenView& view, const CPlane& logical)
{
    CPlaneImpl* back = view.GetDraw()->GetSecondary()->GetImpl();
    int32_t w = 0, h = 0;
    view.GetDraw()->GetSize(&w, &h);
    const int32_t m = view.GetMagnification();
    int bad = 0;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const int32_t lx = x - view.GetOriginX(), ly = y - view.GetOriginY();
            const bool inside = lx >= 0 && ly >= 0 && lx < kSmallW * m && ly < kSmallH * m;
            bad += back->GetPixel(x, y) != (inside ? logical.GetImpl()->GetPixel(lx / m, ly / m) : kOutside);
        }
    return bad;
}

// The view's transfers and the plane's, by name, from the one list.
struct ViewAndPlaneOp {
    const char* name;
    int32_t (CScreenView::*viewPlain)(const CPlane*, int32_t, int32_t, const Rect*, const Size*, const Rect*);
    int32_t (CScreenView::*viewRates)(const CPlane*, int32_t, int32_t, uint32_t, uint32_t, const Rect*,
                                      const Size*, const Rect*);
    int32_t (CPlaneImpl::*planePlain)(CPlane*, int32_t, int32_t, const Rect*, const Size*, Rect*);
    int32_t (CPlaneImpl::*planeRates)(CPlane*, int32_t, int32_t, uint32_t, uint32_t, const Rect*,
                                      const Size*, Rect*);
};
#define PYRO_VIEW_TEST_Plain(name) &CScreenView::name, nullptr, &CPlaneImpl::name, nullptr
#define PYRO_VIEW_TEST_Rates(name) nullptr, &CScreenView::name, nullptr, &CPlaneImpl::name
#define PYRO_VIEW_TEST_OP(name, rule, mirrored, key, args) {#name, PYRO_VIEW_TEST_##args(name)},
const ViewAndPlaneOp kViewOps[] = {PYRO_TRANSFERS(PYRO_VIEW_TEST_OP)};
#undef PYRO_VIEW_TEST_OP
#undef PYRO_VIEW_TEST_Rates
#undef PYRO_VIEW_TEST_Plain

}  // namespace

TEST_CASE("every transfer on the view gives a logical plane's pixels, each as its block")
{
    WithView([](TestApp&, CScreenView& view) {
        REQUIRE(view.SetLogicalSize(kSmallW, kSmallH) == 0);
        CPlane source;
        RandomPlane(source, 7, 5, 17);
        const CPlane& readOnly = source;
        const Rect part = {1, 1, 6, 4};
        const Rect clip = {3, 2, 30, 12};
        struct At {
            int32_t x, y;
            const Rect* srcRect;
            const Rect* clip;
        };
        const At places[] = {{4, 3, nullptr, nullptr}, {-3, -2, nullptr, nullptr},
                             {36, 27, &part, nullptr}, {1, 0, &part, &clip}};
        uint32_t seed = 5;
        for (const Magnified& g : kMagnified) {
            SetImageSize(view, g.width, g.height);
            REQUIRE(view.GetMagnification() == g.magnification);
            REQUIRE((view.GetOriginX() == g.originX && view.GetOriginY() == g.originY));
            for (const ViewAndPlaneOp& op : kViewOps)
                for (const At& at : places) {
                    CAPTURE(g.magnification);
                    CAPTURE(op.name);
                    CAPTURE(at.x);
                    CAPTURE(at.y);
                    CPlane logical;
                    RandomPlane(logical, kSmallW, kSmallH, NextRandom(seed));
                    ShowMagnified(view, logical);
                    const uint32_t dstRate = NextRandom(seed) & 0xFFFFFF, srcRate = NextRandom(seed) & 0xFFFFFF;
                    Rect planeClip = at.clip ? *at.clip : Rect{0, 0, kSmallW, kSmallH};
                    if (op.viewPlain) {
                        CHECK((view.*op.viewPlain)(&readOnly, at.x, at.y, at.srcRect, nullptr, at.clip) == 0);
                        (logical.GetImpl()->*op.planePlain)(&source, at.x, at.y, at.srcRect, nullptr, &planeClip);
                    } else {
                        CHECK((view.*op.viewRates)(&readOnly, at.x, at.y, dstRate, srcRate, at.srcRect,
                                                   nullptr, at.clip) == 0);
                        (logical.GetImpl()->*op.planeRates)(&source, at.x, at.y, dstRate, srcRate,
                                                            at.srcRect, nullptr, &planeClip);
                    }
                    CHECK(MagnifiedMismatches(view, logical) == 0);
                }
        }
        // The short forms read as the drawing interface's do.
        CHECK(view.TransferAdd(&readOnly, 2, 2) == 0);
        CHECK(view.TransferMixMirrored(&readOnly, 2, 2, 0x808080, 0x808080) == 0);
    });
}

TEST_CASE("a stretched transfer on the view draws Blt's blocks, without the seam outside them")
{
    WithView([](TestApp&, CScreenView& view) {
        REQUIRE(view.SetLogicalSize(kSmallW, kSmallH) == 0);
        CPlane source;
        RandomPlane(source, 5, 4, 3);
        const Size size = {11, 7};
        for (const Magnified& g : kMagnified) {
            CAPTURE(g.magnification);
            SetImageSize(view, g.width, g.height);
            const int32_t m = g.magnification;
            CDIBDraw& draw = *view.GetDraw();
            // Blt's seam: a copy of the first column and row one physical pixel up and left.
            const Rect blocks = {g.originX + 6 * m, g.originY + 3 * m, g.originX + 17 * m, g.originY + 10 * m};
            draw.Clear(kWhite, nullptr);
            view.Blt(&source, 6, 3, nullptr, &size);
            std::vector<uint32_t> viaBlt;
            for (int32_t y = 0; y < g.height; ++y)
                for (int32_t x = 0; x < g.width; ++x)
                    viaBlt.push_back(blocks.Contains(x, y) ? BackPixel(view, x, y) : kWhite);
            draw.Clear(kWhite, nullptr);
            view.TransferCopyKeyed(&source, 6, 3, nullptr, &size);
            int bad = 0;
            for (int32_t y = 0; y < g.height; ++y)
                for (int32_t x = 0; x < g.width; ++x) bad += BackPixel(view, x, y) != viaBlt[size_t(y) * g.width + x];
            CHECK(bad == 0);
            // The same for the unkeyed mix against BlendBltFast, on a grey screen.
            draw.Clear(0x808080, nullptr);
            view.BlendBltFast(&source, 6, 3, 0x404040, 0xC0C0C0, nullptr, &size);
            viaBlt.clear();
            for (int32_t y = 0; y < g.height; ++y)
                for (int32_t x = 0; x < g.width; ++x)
                    viaBlt.push_back(blocks.Contains(x, y) ? BackPixel(view, x, y) : 0x808080);
            draw.Clear(0x808080, nullptr);
            view.TransferMix(&source, 6, 3, 0x404040, 0xC0C0C0, nullptr, &size);
            bad = 0;
            for (int32_t y = 0; y < g.height; ++y)
                for (int32_t x = 0; x < g.width; ++x) bad += BackPixel(view, x, y) != viaBlt[size_t(y) * g.width + x];
            CHECK(bad == 0);
        }
    });
}

TEST_CASE("the view's in-place effects act on the blocks of a logical rectangle")
{
    WithView([](TestApp&, CScreenView& view) {
        REQUIRE(view.SetLogicalSize(kSmallW, kSmallH) == 0);
        const Rect r = {-4, 3, 17, 50};  // partly off the screen
        for (const Magnified& g : kMagnified) {
            CAPTURE(g.magnification);
            SetImageSize(view, g.width, g.height);
            CPlane logical;
            RandomPlane(logical, kSmallW, kSmallH, 77 + g.magnification);
            CPlaneImpl& l = *logical.GetImpl();
            ShowMagnified(view, logical);
            CHECK(view.AddColor(0x203040, &r) == 0);
            l.AddColor(0x203040, &r);
            CHECK(view.SubColor(0x102030, nullptr) == 0);
            l.SubColor(0x102030, nullptr);
            CHECK(view.ScaleColor(200, &r) == 0);
            l.ScaleColor(200, &r);
            CHECK(view.ScaleAlpha(100, &r) == 0);
            l.ScaleAlpha(100, &r);
            CHECK(view.NegateAlpha(nullptr) == 0);
            l.NegateAlpha(nullptr);
            CHECK(MagnifiedMismatches(view, logical) == 0);
            // A rectangle off the screen changes nothing.
            const Rect away = {-(1 << 30), 0, -(1 << 29), 10};
            view.AddColor(0xFFFFFF, &away);
            CHECK(MagnifiedMismatches(view, logical) == 0);

            // The blur works on physical pixels: the plane's blur of the mapped blocks.
            CPlane physical;
            physical.Create(g.width, g.height);
            CPlaneImpl* back = view.GetDraw()->GetSecondary()->GetImpl();
            physical.GetImpl()->TransferCopy(view.GetDraw()->GetSecondary(), 0, 0, nullptr, nullptr, nullptr);
            const Rect blocks = {g.originX, g.originY + 3 * g.magnification,
                                 g.originX + 17 * g.magnification, g.originY + kSmallH * g.magnification};
            physical.GetImpl()->Blur(&blocks);
            CHECK(view.Blur(&r) == 0);
            int bad = 0;
            for (int32_t y = 0; y < g.height; ++y)
                for (int32_t x = 0; x < g.width; ++x) bad += back->GetPixel(x, y) != physical.GetImpl()->GetPixel(x, y);
            CHECK(bad == 0);
        }
    });
}

TEST_CASE("far-off logical coordinates stay off the screen on a magnified view, never wrapping onto it")
{
    WithView([](TestApp&, CScreenView& view) {
        SetImageSize(view, 700, 480);  // magnification 2, origin (30, 0)
        CDIBDraw& draw = *view.GetDraw();
        draw.Clear(kWhite, nullptr);
        CPlane red;
        MakePlane(red, 4, 4, 0xFF0000);
        // x * 2 of INT32_MAX - 9 would wrap to just left of 0, inside the window.
        for (int32_t distant : {INT32_MAX - 9, INT32_MIN + 3, 1 << 30, -(1 << 30)}) {
            CAPTURE(distant);
            CHECK(view.BltFast(&red, distant, 10) == 0);
            CHECK(view.Blt(&red, 10, distant) == 0);
            CHECK(view.BlendBlt(&red, distant, distant, 0x808080, 0x808080) == 0);
            CHECK(view.BltNative(&red, distant, 0, nullptr, nullptr, nullptr, 0, 0) == 0);
            CHECK(view.TransferAdd(&red, distant, 10) == 0);
            CHECK(view.TransferCopyMirrored(&red, 10, distant) == 0);
            const Rect distantRect = {distant, 0, distant < 0 ? distant + 20 : INT32_MAX, 100};
            view.FillRect(0x0000FF, &distantRect);
            view.Negate(&distantRect);
            CHECK(view.BltFast(&red, 3, 3, nullptr, nullptr, const_cast<Rect*>(&distantRect)) == 0);
            CHECK(view.AddColor(0x808080, &distantRect) == 1);  // no pixel of it on the screen
        }
        CHECK(Mismatches(view, {0, 0, 700, 480}, kWhite) == 0);
        // A stretch size whose magnified size passes 32 bits draws nothing either.
        const Size huge = {INT32_MAX / 2 + 5, 3};
        CHECK(view.BltFast(&red, 0, 0, nullptr, &huge) == 0);
        CHECK(view.TransferCopy(&red, 0, 0, nullptr, &huge) == 0);
        CHECK(Mismatches(view, {0, 0, 700, 480}, kWhite) == 0);
    });
}
