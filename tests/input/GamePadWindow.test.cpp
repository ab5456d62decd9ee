#include <pyro/input/GamePad.h>

#include <doctest/doctest.h>

#include <vector>

#include "InputTestSupport.h"
#include "JoyStickTesting.h"
#include "app/AppTestSupport.h"

using Rumble = FakePads::Rumble;

TEST_CASE("rumble stops when the window loses the focus and when it is minimised")
{
    UseFakePads use;
    use.pads.connected[0] = use.pads.connected[3] = true;
    TestApp app;
    app.body = [&](TestApp& self) {
        HWND hwnd = self.GetWindow().GetHWnd();
        CGamePad first(0), last(3);
        first.Update(0);
        last.Update(0);
        const struct {
            UINT message;
            WPARAM wParam;
        } pauses[] = {{WM_ACTIVATEAPP, FALSE}, {WM_SIZE, SIZE_MINIMIZED}};
        for (const auto& pause : pauses) {
            CAPTURE(pause.message);
            use.pads.rumbles.clear();
            REQUIRE(first.SetRumble(100, 200) == kRumbleSet);
            REQUIRE(last.SetRumble(300, 400, 5000) == kRumbleSet);
            // Messages that pause nothing leave the motors running.
            SendMessageW(hwnd, WM_ACTIVATEAPP, TRUE, 0);
            SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(160, 120));
            CHECK(use.pads.rumbles.size() == 2);
            SendMessageW(hwnd, pause.message, pause.wParam, 0);
            CHECK(use.pads.rumbles == std::vector<Rumble>{{0, 100, 200}, {3, 300, 400}, {0, 0, 0}, {3, 0, 0}});
        }
        self.Close();
    };
    CHECK(app.Run() == 0);
}
