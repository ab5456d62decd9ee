// The frame-rate read-out as a GDI hook of a real screen.
#include <pyro/text/FPSDisplay.h>

#include <pyro/app/AppManager.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/graphics/DIBDraw.h>
#include "app/AppTestSupport.h"

#include "TextTestSupport.h"

#include <doctest/doctest.h>

#include <functional>

namespace {

// Time moves only when the test says so; sleeping takes no time.
struct ManualClock : CFrameTimer::IClock {
    uint32_t now = 1000;
    uint32_t Now() override { return now; }
    void Sleep(uint32_t) override {}
};

void WithScreen(const std::function<void(CDIBDraw&)>& body)
{
    TestApp app;
    app.body = [&](TestApp&) {
        CDIBDraw screen;
        REQUIRE(screen.SetDisplay(false, 160, 120, 0) == 0);
        body(screen);
    };
    app.Run();
}

}  // namespace

TEST_CASE("the read-out shows the measured rate clamped to the target, 0 before enough frames")
{
    WithScreen([](CDIBDraw& screen) {
        ManualClock clock;
        CFrameTimer timer(&clock);
        timer.SetFPS(30);
        CFPSDisplay fps(&timer);
        CHECK(fps.GetTextDraw().GetHeight() == 25);
        CHECK(fps.GetTextDraw().GetLineSpacing() == 25);
        CHECK(fps.GetTextDraw().GetTextColor() == 0x80C080);
        CHECK(fps.GetTextDraw().GetShadowColor() == 0x408040);

        screen.OnDraw(nullptr, true);
        CHECK(fps.GetTextDraw().GetText() == "FPS:0/30");
        fps.SetShowSkipFrame(true);
        screen.OnDraw(nullptr, true);
        CHECK(fps.GetTextDraw().GetText() == "FPS:0/30(SkipFrame 0)");
        fps.SetShowSkipFrame(false);

        // Frames 32 ms apart measure 31 per second; the read-out never shows more than 30.
        for (int i = 0; i < 20; ++i) {
            timer.WaitFrame();
            clock.now += 32;
        }
        REQUIRE(timer.GetRealFPS() == 31);
        screen.OnDraw(nullptr, true);
        CHECK(fps.GetTextDraw().GetText() == "FPS:30/30");
        // Slower frames show as they are.
        for (int i = 0; i < 40; ++i) {
            timer.WaitFrame();
            clock.now += 50;
        }
        screen.OnDraw(nullptr, true);
        CHECK(fps.GetTextDraw().GetText() == "FPS:20/30");
    });
}

TEST_CASE("the read-out draws in the top-left corner only while enabled")
{
    WithScreen([](CDIBDraw& screen) {
        CFrameTimer timer;
        timer.SetFPS(30);
        CFPSDisplay fps(&timer);
        CPlane* back = screen.GetSecondary();
        screen.Clear(0, nullptr);

        fps.enabled = 0;
        screen.OnDraw(nullptr, true);
        CHECK(CountOther(*back, 0) == 0);

        fps.enabled = 1;
        screen.OnDraw(nullptr, true);
        CHECK(CountPixels(*back, 0x80C080) > 20);
        CHECK(CountPixels(*back, 0x408040) > 20);
        // One line of 25-pixel text with its shadow: nothing below row 40 or right of column 150.
        int outside = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
                if (y >= 40 || x >= 150) outside += (back->GetImpl()->GetPixel(x, y) & 0xFFFFFF) != 0;
        CHECK(outside == 0);
    });
}

TEST_CASE("read-outs register with the thread's screen and leave every node when destroyed")
{
    CFrameTimer timer;
    {
        // No screen on this thread: never registered, and destroying it is harmless.
        CFPSDisplay alone(&timer);
    }
    WithScreen([&](CDIBDraw& screen) {
        auto* first = new CFPSDisplay(&timer);
        CFPSDisplay second(&timer);
        CHECK(screen.GetHookCount(CDIBDraw::kGDI) == 2);
        screen.AddHook(CDIBDraw::kGDI, first);  // appended twice
        CHECK(screen.GetHookCount(CDIBDraw::kGDI) == 3);
        delete first;
        CHECK(screen.GetHookCount(CDIBDraw::kGDI) == 1);
        screen.OnDraw(nullptr, true);  // only the survivor runs
    });
}
