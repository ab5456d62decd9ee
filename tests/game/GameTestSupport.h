// Helpers for the scene tests: a frame of input to hand the widget rules, a widget that counts
// its hooks, and a test application with a screen view.
#pragma once

#include <pyro/game/ScreenView.h>
#include <pyro/game/Widget.h>
#include <pyro/game/WidgetInput.h>
#include "app/AppTestSupport.h"

#include <doctest/doctest.h>

#include <functional>
#include <set>

// One frame of input: the logical keys just pressed, the mouse edges, Shift and the position.
struct FakeInput : CWidgetInput {
    std::set<int32_t> keys;
    bool IsTriggered(int32_t logicalKey) const override { return keys.count(logicalKey) != 0; }

    static FakeInput Keys(std::initializer_list<int32_t> keys, bool shift = false)
    {
        FakeInput input;
        input.keys = keys;
        input.shift = shift;
        return input;
    }
    static FakeInput Mouse(int32_t x, int32_t y)
    {
        FakeInput input;
        input.mouseX = x;
        input.mouseY = y;
        return input;
    }
};

// Counts what the input rules call.
struct CountingWidget : CWidget {
    int cancels = 0, decides = 0, selects = 0, updates = 0, draws = 0;
    std::function<void()> onDecide;
    void OnCancel() override { ++cancels; }
    void OnDecide() override
    {
        ++decides;
        if (onDecide) onDecide();
    }
    void OnSelect() override { ++selects; }
    void OnUpdate() override { ++updates; }
    void OnDraw() override { ++draws; }
};

// The logical screen of the game.
constexpr int32_t kLogicalW = 320;
constexpr int32_t kLogicalH = 240;

// Runs the body inside a test application, with a screen view whose logical screen is 320 by 240.
inline void WithView(const std::function<void(TestApp&, CScreenView&)>& body)
{
    TestApp app;
    app.body = [&](TestApp& self) {
        CScreenView view;
        REQUIRE(view.SetLogicalSize(kLogicalW, kLogicalH) == 0);
        body(self, view);
    };
    app.Run();
}

// Makes the back buffer the given size, as a resized window would, and updates the view.
inline void SetImageSize(CScreenView& view, int32_t width, int32_t height)
{
    view.GetDraw()->SetDisplay(false, width, height, 0);
    view.UpdateView();
}

// A pixel of the back buffer, 0x00RRGGBB.
inline uint32_t BackPixel(CScreenView& view, int32_t x, int32_t y)
{
    return view.GetDraw()->GetSecondary()->GetImpl()->GetPixel(x, y) & 0xFFFFFF;
}
