// The Direct3D 11 screen in a real window under the virtual display: the swap chain's pixels read
// back against the back buffer (one to one, magnified by whole factors, filtered, moved), the
// hooks and brightness, vsync, WM_PAINT, a lost device made again, and every start-up step's
// failure falling back to GDI with one line in the error log.
#include <pyro/graphics/D3D11Draw.h>

#include <pyro/app/AppManager.h>
#include <pyro/app/AppServices.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/graphics/DisplayChoice.h>
#include <pyro/text/DrawHook.h>
#include "app/AppTestSupport.h"
#include "app/ErrorCapture.h"
#include "WindowReadBack.h"

#include <doctest/doctest.h>

#include <dxgi.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <vector>

namespace {

constexpr int kW = 160;  // the test window's client size
constexpr int kH = 120;

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Records what each Present was asked for.
class RecordingDraw : public CD3D11Draw {
public:
    std::vector<std::pair<uint32_t, uint32_t>> presents;

protected:
    long PresentBuffer(uint32_t interval, uint32_t flags) override
    {
        presents.emplace_back(interval, flags);
        return CD3D11Draw::PresentBuffer(interval, flags);
    }
};

// Runs the body inside a test application with a started Direct3D screen of the given size.
void WithScreen(int width, int height, const std::function<void(RecordingDraw&)>& body)
{
    TestApp app;
    app.body = [&](TestApp&) {
        RecordingDraw screen;
        REQUIRE(screen.SetDisplay(false, width, height, 0) == 0);
        Pump();
        REQUIRE(screen.Start() == 0);
        REQUIRE(screen.IsActive());
        body(screen);
    };
    app.Run();
}

uint32_t Pattern(int x, int y) { return uint32_t(x * 7 & 255) << 16 | uint32_t(y * 5 & 255) << 8 | uint32_t((x + y) & 255); }

void FillPattern(CPlane* plane)
{
    int32_t w = 0, h = 0;
    plane->GetSize(&w, &h);
    uint32_t* pixels = plane->GetImpl()->GetPixels();
    // The alpha byte is left at odd values: the window shows colour only.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels[y * w + x] = Pattern(x, y) | uint32_t(x & 3) << 30;
}

std::vector<uint32_t> ReadChain(CD3D11Draw& screen)
{
    std::vector<uint32_t> pixels;
    int32_t w = 0, h = 0;
    REQUIRE(screen.ReadPresented(&pixels, &w, &h) == 0);
    REQUIRE((w == kW && h == kH));
    return pixels;
}

int Mismatches(const std::vector<uint32_t>& window, const std::function<uint32_t(int, int)>& expected)
{
    int bad = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) bad += window[y * kW + x] != expected(x, y);
    return bad;
}


struct PixelHook : CDrawHook {
    void OnDrawDC(HDC dc) override { SetPixel(dc, 3, 4, RGB(0x12, 0x34, 0x56)); }
    void OnDrawPlane(CPlaneBase*) override {}
};

}  // namespace

TEST_CASE("the swap chain shows the back buffer's colours exactly, whole or after a rectangle")
{
    WithScreen(kW, kH, [](RecordingDraw& screen) {
        FillPattern(screen.GetSecondary());
        screen.OnDraw(nullptr, false);
        CHECK_FALSE(screen.NeedsRedraw());
        CHECK(Mismatches(ReadChain(screen), Pattern) == 0);

        // Only the rectangle's rows are uploaded: the rest of the texture keeps the last frame.
        uint32_t* pixels = screen.GetSecondary()->GetImpl()->GetPixels();
        for (int i = 0; i < kW * kH; ++i) pixels[i] = 0x00FF0000;
        const Rect r = {10, 20, 50, 40};
        screen.OnDraw(&r, false);
        CHECK(Mismatches(ReadChain(screen), [&](int x, int y) {
                  return x >= r.left && x < r.right && y >= r.top && y < r.bottom ? 0x00FF0000u : Pattern(x, y);
              }) == 0);
    });
}

TEST_CASE("a smaller back buffer is magnified by the largest whole factor, centred on black")
{
    SUBCASE("80 by 60 fills the window at factor 2")
    {
        WithScreen(80, 60, [](RecordingDraw& screen) {
            FillPattern(screen.GetSecondary());
            screen.OnDraw(nullptr, false);
            CHECK(Mismatches(ReadChain(screen), [](int x, int y) { return Pattern(x / 2, y / 2); }) == 0);
        });
    }
    SUBCASE("70 by 50 at factor 2 leaves bands of 10 pixels")
    {
        WithScreen(70, 50, [](RecordingDraw& screen) {
            FillPattern(screen.GetSecondary());
            screen.OnDraw(nullptr, false);
            CHECK(Mismatches(ReadChain(screen), [](int x, int y) {
                      const bool inside = x >= 10 && x < 150 && y >= 10 && y < 110;
                      return inside ? Pattern((x - 10) / 2, (y - 10) / 2) : 0u;
                  }) == 0);
        });
    }
    SUBCASE("50 by 40 at factor 3, with an x offset of 2 moved by 6 window pixels")
    {
        WithScreen(50, 40, [](RecordingDraw& screen) {
            FillPattern(screen.GetSecondary());
            screen.SetOffset(2, 0);
            screen.OnDraw(nullptr, false);
            CHECK(Mismatches(ReadChain(screen), [](int x, int y) {
                      const int left = 5 + 6;  // (160 - 150) / 2, then the offset
                      const bool inside = x >= left && x < left + 150 && y < 120;
                      return inside ? Pattern((x - left) / 3, y / 3) : 0u;
                  }) == 0);
        });
    }
}

TEST_CASE("linear scaling fills the window at the back buffer's shape")
{
    WithScreen(80, 40, [](RecordingDraw& screen) {
        screen.SetScaling(CD3D11Draw::kLinearScale);
        // One colour survives any filter unchanged; the shape leaves 20 black rows above and below.
        screen.Clear(0x00336699, nullptr);
        screen.OnDraw(nullptr, false);
        CHECK(Mismatches(ReadChain(screen), [](int, int y) { return y >= 20 && y < 100 ? 0x00336699u : 0u; }) == 0);

        // Between a black and a white half the filter makes greys that a point sample never would.
        uint32_t* pixels = screen.GetSecondary()->GetImpl()->GetPixels();
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 80; ++x) pixels[y * 80 + x] = x < 40 ? 0u : 0x00FFFFFFu;
        screen.OnDraw(nullptr, false);
        const std::vector<uint32_t> shown = ReadChain(screen);
        const uint32_t edge = shown[60 * kW + 79];
        CHECK((edge != 0 && edge != 0x00FFFFFF));
        CHECK(shown[60 * kW + 10] == 0u);
        CHECK(shown[60 * kW + 150] == 0x00FFFFFFu);
    });
}

TEST_CASE("an x offset of 10 blackens columns 0 to 9 as the DIB back-end does")
{
    WithScreen(kW, kH, [](RecordingDraw& screen) {
        FillPattern(screen.GetSecondary());
        screen.SetOffset(10, -5);
        screen.OnDraw(nullptr, false);
        CHECK(Mismatches(ReadChain(screen), [](int x, int y) {
                  return x < 10 || y >= kH - 5 ? 0u : Pattern(x - 10, y + 5);
              }) == 0);
    });
}

TEST_CASE("offsets at the ends of the 32-bit range leave the window black")
{
    WithScreen(kW, kH, [](RecordingDraw& screen) {
        FillPattern(screen.GetSecondary());
        for (int32_t offset : {1 << 30, -(1 << 30), INT32_MAX, INT32_MIN, kW, -kW}) {
            CAPTURE(offset);
            screen.SetOffset(offset, 0);
            screen.OnDraw(nullptr, false);
            CHECK(Mismatches(ReadChain(screen), [](int, int) { return 0u; }) == 0);
            screen.SetOffset(0, offset);
            screen.OnDraw(nullptr, false);
            CHECK(Mismatches(ReadChain(screen), [](int, int) { return 0u; }) == 0);
        }
        // Just inside: the image's first column in the window's last.
        screen.SetOffset(kW - 1, 0);
        screen.OnDraw(nullptr, false);
        CHECK(Mismatches(ReadChain(screen), [](int x, int y) { return x == kW - 1 ? Pattern(0, y) : 0u; }) == 0);
    });
    WithScreen(80, 60, [](RecordingDraw& screen) {
        FillPattern(screen.GetSecondary());
        screen.SetOffset(1 << 30, -(1 << 30));
        screen.OnDraw(nullptr, false);
        CHECK(Mismatches(ReadChain(screen), [](int, int) { return 0u; }) == 0);
    });
}

TEST_CASE("GDI hooks draw into the back buffer before the upload; brightness applies as on GDI")
{
    WithScreen(kW, kH, [](RecordingDraw& screen) {
        PixelHook hook;
        screen.AddHook(CDIBDraw::kGDI, &hook);
        screen.Clear(0x00804020, nullptr);
        screen.SetBrightness(128);
        screen.OnDraw(nullptr, true);
        const std::vector<uint32_t> shown = ReadChain(screen);
        CHECK(shown[4 * kW + 3] == 0x00091A2Bu);  // the hook's 123456, halved with the rest
        CHECK(shown[0] == 0x00402010u);
        screen.RemoveHook(CDIBDraw::kGDI, &hook);
    });
}

TEST_CASE("vsync on presents with interval 1; off, without waiting; WM_PAINT presents again")
{
    WithScreen(kW, kH, [](RecordingDraw& screen) {
        CHECK(screen.GetVSync());
        screen.OnDraw(nullptr, false);
        screen.SetVSync(false);
        screen.OnDraw(nullptr, false);
        REQUIRE(screen.presents.size() == 2);
        CHECK(screen.presents[0] == std::make_pair(1u, 0u));
        CHECK(screen.presents[1] == std::make_pair(0u, uint32_t(DXGI_PRESENT_DO_NOT_WAIT)));

        // The frame timer waits on the swap chain's object while vsync is on (none under Wine 8).
        screen.SetVSync(true);
        screen.OnDraw(nullptr, false);
        CHECK(CFrameTimer::GetPresentWaitable() == screen.GetFrameLatencyWaitable());

        screen.presents.clear();
        InvalidateRect(screen.GetWindow(), nullptr, FALSE);
        UpdateWindow(screen.GetWindow());
        CHECK(screen.presents.size() == 1);
    });
}

TEST_CASE("a removed device is made again and the next frame shows the whole back buffer")
{
    WithScreen(kW, kH, [](RecordingDraw& screen) {
        ErrorCapture errors;
        FillPattern(screen.GetSecondary());
        screen.SetFault("removed");
        screen.OnDraw(nullptr, false);
        CHECK(screen.GetRecreateCount() == 1);
        CHECK(screen.IsActive());
        CHECK(errors.messages.empty());
        CHECK(Mismatches(ReadChain(screen), Pattern) == 0);
    });
}

TEST_CASE("each failing start-up step falls back to GDI with one line in the error log")
{
    const char* const faults[] = {"library", "device", "shaders", "swapchain", "resources"};
    for (int step = 0; step < 5; ++step) {
        CAPTURE(faults[step]);
        TestApp app;
        app.body = [&](TestApp&) {
            ErrorCapture errors;
            CD3D11Draw screen;
            screen.SetFault(faults[step]);
            REQUIRE(screen.SetDisplay(false, kW, kH, 0) == 0);
            Pump();
            CHECK(screen.Start() == step + 1);
            CHECK_FALSE(screen.IsActive());
            CHECK(screen.GetFrameLatencyWaitable() == nullptr);
            REQUIRE(errors.messages.size() == 1);
            CHECK(errors.messages[0].rfind("CD3D11Draw::Start", 0) == 0);

            // GDI presents from now on, exactly as the DIB back-end.
            FillPattern(screen.GetSecondary());
            screen.OnDraw(nullptr, false);
            CHECK(Mismatches(ReadClientArea(screen.GetWindow(), kW, kH), Pattern) == 0);
            std::vector<uint32_t> none;
            CHECK(screen.ReadPresented(&none, nullptr, nullptr) == 1);
            CHECK(errors.messages.size() == 1);
        };
        app.Run();
    }
}

TEST_CASE("CreateDisplay makes the kind asked for; the environment switch overrides it")
{
    CHECK(ChooseDisplayKind(DisplayKind::kAuto, "dib") == DisplayKind::kDIB);
    CHECK(ChooseDisplayKind(DisplayKind::kDIB, "d3d11") == DisplayKind::kD3D11);
    CHECK(ChooseDisplayKind(DisplayKind::kD3D11, "auto") == DisplayKind::kAuto);
    CHECK(ChooseDisplayKind(DisplayKind::kDIB, "D3D11") == DisplayKind::kDIB);
    CHECK(ChooseDisplayKind(DisplayKind::kDIB, "") == DisplayKind::kDIB);
    CHECK(ChooseDisplayKind(DisplayKind::kDIB, nullptr) == DisplayKind::kDIB);

    TestApp app;
    app.body = [](TestApp&) {
        ErrorCapture errors;
        {
            CDIBDraw* dib = CreateDisplay(DisplayKind::kDIB);
            CHECK(dynamic_cast<CD3D11Draw*>(dib) == nullptr);
            CHECK(GetMyDraw() == dib);
            delete dib;
        }
        {
            CDIBDraw* draw = CreateDisplay(DisplayKind::kAuto);
            auto* d3d = dynamic_cast<CD3D11Draw*>(draw);
            REQUIRE(d3d != nullptr);
            CHECK(d3d->IsActive());
            delete draw;
        }
        CHECK(errors.messages.empty());
        CHECK(CFrameTimer::GetPresentWaitable() == nullptr);
    };
    app.Run();
}
