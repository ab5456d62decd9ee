// The screen in a real window under the virtual display: the back buffer reaching the client
// area (read back through GDI), offsets and black bands, brightness, WM_PAINT, the drawing hooks,
// display changes with their fallbacks, and the DirectDraw holder.
#include <pyro/graphics/DIBDraw.h>

#include <pyro/app/AppManager.h>
#include <pyro/app/AppServices.h>
#include <pyro/graphics/DirectDrawBase.h>
#include <pyro/text/DrawHook.h>
#include "app/AppTestSupport.h"
#include "app/ErrorCapture.h"
#include "WindowReadBack.h"

#include <doctest/doctest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kW = 160;  // the test window's client size
constexpr int kH = 120;

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Runs the body inside a test application, with a screen of the window's size.
void WithScreen(const std::function<void(TestApp&, CDIBDraw&)>& body)
{
    TestApp app;
    app.body = [&](TestApp& self) {
        CDIBDraw screen;
        REQUIRE(screen.SetDisplay(false, kW, kH, 0) == 0);
        Pump();
        body(self, screen);
    };
    app.Run();
}

uint32_t Pattern(int x, int y) { return uint32_t(x * 7 & 255) << 16 | uint32_t(y * 5 & 255) << 8 | uint32_t((x + y) & 255); }

void FillPattern(CPlane* plane)
{
    uint32_t* pixels = plane->GetImpl()->GetPixels();
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) pixels[y * kW + x] = Pattern(x, y);
}

// The window's client area as pixels 0x00RRGGBB, copied through GDI.
std::vector<uint32_t> ReadWindow(HWND hwnd, int width = kW, int height = kH)
{
    return ReadClientArea(hwnd, width, height);
}

// Counts the pixels of the window that differ from what the function expects there.
int Mismatches(const std::vector<uint32_t>& window, const std::function<uint32_t(int, int)>& expected)
{
    int bad = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) bad += window[y * kW + x] != expected(x, y);
    return bad;
}

void BlackenWindow(HWND hwnd)
{
    HDC dc = GetDC(hwnd);
    BitBlt(dc, 0, 0, kW, kH, nullptr, 0, 0, BLACKNESS);
    ReleaseDC(hwnd, dc);
}

// A hook that writes its name into a shared log when called.
struct LoggingHook : CDrawHook {
    std::vector<std::string>* log;
    std::string name;
    HDC seenDC = nullptr;
    CPlaneBase* seenPlane = nullptr;
    LoggingHook(std::vector<std::string>* l, std::string n) : log(l), name(std::move(n)) {}
    void OnDrawDC(HDC dc) override
    {
        seenDC = dc;
        log->push_back(name);
    }
    void OnDrawPlane(CPlaneBase* plane) override
    {
        seenPlane = plane;
        log->push_back(name);
    }
};

// A screen whose back buffer cannot be made in full-screen, to reach the fallback.
class NoFullScreenDraw : public CDIBDraw {
protected:
    CPlane* CreateSecondary() override { return IsFullScreenMode() ? nullptr : CDIBDraw::CreateSecondary(); }
};

}  // namespace

TEST_CASE("the screen registers with the thread, hooks the window and leaves both when destroyed")
{
    TestApp app;
    app.body = [](TestApp& self) {
        const int hooks = self.GetWindow().GetHookCount();
        {
            CDIBDraw screen;
            CHECK(GetMyDraw() == &screen);
            CHECK(self.GetWindow().GetHookCount() == hooks + 1);
            CHECK(screen.GetWindow() == GetMyHWnd());
            CHECK(CDirectDrawBase::GetInstanceCount() == 1);
            // No back buffer before the first display change: drawing is refused.
            CHECK(screen.GetSecondary() == nullptr);
            int32_t w = -1, h = -1;
            CHECK(screen.GetSize(&w, &h) == 1);
            CHECK((w == 0 && h == 0));
            CHECK(screen.Clear(nullptr) == 1);
            CHECK(screen.Negate(nullptr) == 1);
            CHECK(screen.Blt(nullptr, 0, 0, nullptr, nullptr, nullptr) == 1);
            screen.OnDraw(nullptr, true);
        }
        CHECK(GetMyDraw() == nullptr);
        CHECK(self.GetWindow().GetHookCount() == hooks);
        CHECK(CDirectDrawBase::GetInstanceCount() == 0);
    };
    app.Run();
}

TEST_CASE("a back buffer reaches the client area unchanged, whole or by rectangle")
{
    WithScreen([](TestApp&, CDIBDraw& screen) {
        CPlane* back = screen.GetSecondary();
        REQUIRE(back != nullptr);
        int32_t w, h;
        CHECK(screen.GetSize(&w, &h) == 0);
        CHECK((w == kW && h == kH));
        FillPattern(back);
        screen.OnDraw(nullptr, false);
        CHECK_FALSE(screen.NeedsRedraw());
        CHECK(Mismatches(ReadWindow(screen.GetWindow()), Pattern) == 0);

        // Only the rectangle is copied.
        CHECK(screen.Clear(0x00FF0000, nullptr) == 0);
        CHECK(screen.NeedsRedraw());
        const Rect r = {10, 20, 50, 40};
        screen.OnDraw(&r, false);
        CHECK(Mismatches(ReadWindow(screen.GetWindow()), [&](int x, int y) {
                  const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                  return inside ? 0x00FF0000u : Pattern(x, y);
              }) == 0);
    });
}

TEST_CASE("offsets move the image and fill the uncovered bands with black")
{
    WithScreen([](TestApp&, CDIBDraw& screen) {
        FillPattern(screen.GetSecondary());
        SUBCASE("x offset 10: columns 0 to 9 black, the last 10 columns of the buffer not shown")
        {
            screen.SetOffset(10, 0);
            screen.OnDraw(nullptr, false);
            CHECK(Mismatches(ReadWindow(screen.GetWindow()),
                             [](int x, int y) { return x < 10 ? 0u : Pattern(x - 10, y); }) == 0);
        }
        SUBCASE("y offset -5: the image moves up and the bottom 5 rows turn black")
        {
            screen.SetOffset(0, -5);
            screen.OnDraw(nullptr, false);
            CHECK(Mismatches(ReadWindow(screen.GetWindow()),
                             [](int x, int y) { return y >= kH - 5 ? 0u : Pattern(x, y + 5); }) == 0);
        }
        SUBCASE("with a rectangle only the moved rectangle is copied, without bands")
        {
            BlackenWindow(screen.GetWindow());
            screen.SetOffset(3, 4);
            const Rect r = {0, 0, 8, 8};
            screen.OnDraw(&r, false);
            CHECK(Mismatches(ReadWindow(screen.GetWindow()), [](int x, int y) {
                      return x >= 3 && x < 11 && y >= 4 && y < 12 ? Pattern(x - 3, y - 4) : 0u;
                  }) == 0);
        }
    });
}

TEST_CASE("brightness 128 halves the back buffer on every OnDraw")
{
    WithScreen([](TestApp&, CDIBDraw& screen) {
        screen.Clear(0x00804020, nullptr);
        screen.SetBrightness(128);
        screen.OnDraw(nullptr, false);
        CHECK(screen.GetSecondary()->GetImpl()->GetPixel(5, 5) == 0x00402010);
        CHECK(ReadWindow(screen.GetWindow())[5 * kW + 5] == 0x00402010);
        screen.OnDraw(nullptr, false);
        CHECK(screen.GetSecondary()->GetImpl()->GetPixel(5, 5) == 0x00201008);
    });
}

TEST_CASE("WM_PAINT repaints from the back buffer without hooks or brightness")
{
    WithScreen([](TestApp&, CDIBDraw& screen) {
        std::vector<std::string> log;
        LoggingHook hook(&log, "before");
        screen.AddHook(CDIBDraw::kBeforeDraw, &hook);
        FillPattern(screen.GetSecondary());
        screen.SetBrightness(128);
        screen.OnDraw(nullptr, false);  // without hooks: they run only when asked
        CHECK(log.empty());
        // OnDraw applied the brightness; the paint must show the buffer as it is now.
        std::vector<uint32_t> before(screen.GetSecondary()->GetImpl()->GetPixels(),
                                     screen.GetSecondary()->GetImpl()->GetPixels() + kW * kH);

        BlackenWindow(screen.GetWindow());
        InvalidateRect(screen.GetWindow(), nullptr, FALSE);
        UpdateWindow(screen.GetWindow());
        CHECK(log.empty());
        CHECK(screen.NeedsRedraw());
        CHECK(Mismatches(ReadWindow(screen.GetWindow()), [&](int x, int y) { return before[y * kW + x]; }) == 0);
        CHECK(screen.GetSecondary()->GetImpl()->GetPixel(7, 7) == before[7 * kW + 7]);
        screen.RemoveHook(CDIBDraw::kBeforeDraw, &hook);
    });
}

TEST_CASE("before-draw, GDI and after-draw hooks run in list order; disabled hooks are skipped")
{
    WithScreen([](TestApp&, CDIBDraw& screen) {
        std::vector<std::string> log;
        LoggingHook b1(&log, "b1"), b2(&log, "b2"), g1(&log, "g1"), g2(&log, "g2"), a1(&log, "a1");
        // Added out of running order: the lists, not the order of adding, decide.
        screen.AddHook(CDIBDraw::kAfterDraw, &a1);
        screen.AddHook(CDIBDraw::kGDI, &g1);
        screen.AddHook(CDIBDraw::kBeforeDraw, &b1);
        screen.AddHook(CDIBDraw::kBeforeDraw, &b2);
        screen.AddHook(CDIBDraw::kGDI, &g2);
        b2.enabled = 0;
        screen.OnDraw(nullptr, true);
        CHECK(log == std::vector<std::string>{"b1", "g1", "g2", "a1"});
        CHECK(b1.seenPlane == static_cast<CPlaneBase*>(&screen));
        CHECK(a1.seenPlane == static_cast<CPlaneBase*>(&screen));
        CHECK(g1.seenDC == screen.GetSecondary()->GetImpl()->GetDC());

        screen.AddHook(CDIBDraw::kGDI, &g1);
        CHECK(screen.GetHookCount(CDIBDraw::kGDI) == 3);
        CHECK(screen.RemoveHook(CDIBDraw::kGDI, &g1) == 2);
        CHECK(screen.GetHookCount(CDIBDraw::kGDI) == 1);
        screen.RemoveHook(CDIBDraw::kGDI, &g2);
        screen.RemoveHook(CDIBDraw::kBeforeDraw, &b1);
        screen.RemoveHook(CDIBDraw::kBeforeDraw, &b2);
        screen.RemoveHook(CDIBDraw::kAfterDraw, &a1);
    });
}

TEST_CASE("what a GDI hook draws is in the back buffer before the after-draw hooks and the copy")
{
    struct Painter : CGDIHook {
        void OnDrawDC(HDC dc) override { BitBlt(dc, 0, 0, 4, 4, nullptr, 0, 0, WHITENESS); }
    };
    struct Reader : CDrawHook {
        uint32_t seen = 0;
        void OnDrawScreen(CDIBDraw* screen) override { seen = screen->GetSecondary()->GetImpl()->GetPixel(1, 1); }
    };
    WithScreen([](TestApp&, CDIBDraw& screen) {
        screen.Clear(0, nullptr);
        Painter painter;  // registers itself with this thread's screen
        CHECK(screen.GetHookCount(CDIBDraw::kGDI) == 1);
        Reader reader;
        screen.AddHook(CDIBDraw::kAfterDraw, &reader);
        screen.OnDraw(nullptr, true);
        CHECK((reader.seen & 0xFFFFFF) == 0xFFFFFF);
        CHECK(ReadWindow(screen.GetWindow())[1 * kW + 1] == 0xFFFFFF);
        screen.RemoveHook(CDIBDraw::kAfterDraw, &reader);
    });
}

TEST_CASE("display changes: defaults, a change in which nothing succeeds, and the window fallback")
{
    TestApp app;
    app.body = [](TestApp&) {
        SUBCASE("SetDisplay(0, 0, 0, 0) keeps 640 by 480 with depth 16")
        {
            CDIBDraw screen;
            CHECK(screen.SetDisplay(false, 0, 0, 0) == 0);
            CHECK(screen.GetWidth() == 640);
            CHECK(screen.GetHeight() == 480);
            CHECK(screen.GetColorDepth() == 16);
            int32_t w, h;
            screen.GetSize(&w, &h);
            CHECK((w == 640 && h == 480));
            CHECK(CDIBDraw::GetScreenDepth() >= 24);
            CHECK_FALSE(screen.IsChanging());
            CHECK(screen.Create(10, 10) == 1);
            // Outside a change sequence an attempt does nothing.
            screen.TestDisplayMode(32, 32, false, 0);
            screen.GetSize(&w, &h);
            CHECK((w == 640 && h == 480));
            screen.SetDisplay(false, 320, 240, 32);
            CHECK(screen.GetColorDepth() == 32);
            screen.GetSize(&w, &h);
            CHECK((w == 320 && h == 240));
        }
        SUBCASE("no attempt succeeds: result 2, the message, and a screen without a back buffer")
        {
            CDIBDraw screen;
            screen.SetDisplay(false, 64, 64, 0);
            ErrorCapture log;
            CHECK(screen.SetDisplay(false, 100000, 100000, 0) == 0);
            CHECK(screen.ChangeDisplay(false) == 2);
            CHECK(screen.IsChanging());
            CHECK(screen.GetSecondary() == nullptr);
            CHECK(screen.Clear(nullptr) == 1);
            screen.OnDraw(nullptr, true);
            REQUIRE(log.messages.size() >= 2);
            CHECK(log.messages[0] == "CDIBDraw::TestDisplayModeでCreateSecondaryに失敗");
            CHECK(log.messages.back() == "CDirectDraw::BeginChangeDisplay～EndChangeDisplayに失敗");
        }
        SUBCASE("a failed full-screen attempt falls back to a window")
        {
            NoFullScreenDraw screen;
            ErrorCapture log;
            CHECK(screen.SetDisplay(true, kW, kH, 0) == 0);
            CHECK(screen.ChangeDisplay(true) == 0);
            CHECK_FALSE(screen.IsFullScreenMode());
            CHECK_FALSE(IsFullScreen());
            CHECK(screen.GetSecondary() != nullptr);
            CHECK(log.messages == std::vector<std::string>{"CDIBDraw::TestDisplayModeでCreateSecondaryに失敗",
                                                           "CDIBDraw::TestDisplayModeでCreateSecondaryに失敗"});
        }
    };
    app.Run();
}

TEST_CASE("full-screen is a pop-up covering the screen; the menu bar shows with the cursor at the top")
{
    TestApp app;
    app.body = [](TestApp& self) {
        CDIBDraw screen;
        HWND hwnd = screen.GetWindow();
        HMENU menu = CreateMenu();
        AppendMenuA(menu, MF_STRING, 1, "File");
        SetMenu(hwnd, menu);

        const DWORD start = GetTickCount();
        REQUIRE(screen.ChangeDisplay(true) == 0);
        CHECK(GetTickCount() - start >= 500);  // a switch to full-screen waits for the device
        CHECK(screen.IsFullScreenMode());
        CHECK(IsFullScreen());
        CHECK((GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_POPUP) != 0);
        RECT rect;
        GetWindowRect(hwnd, &rect);
        CHECK(rect.left == 0);
        CHECK(rect.top == 0);
        CHECK(rect.right == GetSystemMetrics(SM_CXSCREEN));
        CHECK(rect.bottom == GetSystemMetrics(SM_CYSCREEN));

        // With the window active and the cursor on the top row, the rows of the menu bar are
        // left to it; elsewhere the whole image is copied.
        screen.SetDisplay(true, 64, 64, 0);
        SetForegroundWindow(hwnd);
        SetActiveWindow(hwnd);
        Pump();
        const int m = screen.GetMenuHeight();
        CHECK(m > 0);
        if (GetActiveWindow() == hwnd && SetCursorPos(20, 0)) {
            HDC dc = GetWindowDC(hwnd);
            BitBlt(dc, 0, 0, 64, 64, nullptr, 0, 0, BLACKNESS);
            ReleaseDC(hwnd, dc);
            screen.Clear(0x00123456, nullptr);
            screen.OnDraw(nullptr, false);
            dc = GetWindowDC(hwnd);
            const COLORREF inMenu = GetPixel(dc, 40, m - 1);
            const COLORREF below = GetPixel(dc, 40, m);
            ReleaseDC(hwnd, dc);
            CHECK(inMenu != RGB(0x12, 0x34, 0x56));
            CHECK(below == RGB(0x12, 0x34, 0x56));
        } else {
            MESSAGE("menu-bar rows not checked: the window could not be activated or the cursor moved");
        }

        REQUIRE(screen.ChangeDisplay(false) == 0);
        CHECK_FALSE(IsFullScreen());
        const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
        CHECK((style & WS_POPUP) == 0);
        CHECK((style & WS_CAPTION) == WS_CAPTION);
        SetMenu(hwnd, nullptr);
        DestroyMenu(menu);
        (void)self;
    };
    app.Run();
    SetFullScreen(false);
}

TEST_CASE("the DirectDraw holders share one object, released with the last")
{
    TestApp app;
    app.body = [](TestApp&) {
        {
            CDirectDrawBase first;
            IDirectDraw* object = CDirectDrawBase::GetDirectDraw();
            {
                CDirectDrawBase second(true);
                CHECK(CDirectDrawBase::GetInstanceCount() == 2);
                CHECK(CDirectDrawBase::GetDirectDraw() == object);
            }
            CHECK(CDirectDrawBase::GetInstanceCount() == 1);
            CHECK(CDirectDrawBase::GetDirectDraw() == object);
            // Wine provides DirectDraw; both initialisation orders give an object.
            CHECK(object != nullptr);
            CHECK(CDirectDrawBase::Initialize(true) == 0);
            CHECK(CDirectDrawBase::GetDirectDraw() != nullptr);
        }
        CHECK(CDirectDrawBase::GetInstanceCount() == 0);
        CHECK(CDirectDrawBase::GetDirectDraw() == nullptr);
    };
    app.Run();
}
