#include <pyro/input/Mouse.h>

#include <pyro/app/AppManager.h>
#include <pyro/app/AppServices.h>
#include "InputTestSupport.h"
#include "app/AppTestSupport.h"

#include <doctest/doctest.h>

namespace {

void Send(HWND hwnd, UINT message, WPARAM wParam = 0)
{
    PostMessageA(hwnd, message, wParam, 0);
    PumpPending();
}

// Runs the test body inside an application with its window.
template <class Body>
void WithWindow(Body body)
{
    TestApp app;
    app.body = [&](TestApp&) { body(GetMyHWnd()); };
    app.Run();
}

}  // namespace

TEST_CASE("the mouse reads the cursor in client coordinates and places it there")
{
    WithWindow([](HWND hwnd) {
        CMouse mouse;
        PlaceCursor(hwnd, 10, 12);
        mouse.GetState();
        int32_t x = -1, y = -1;
        mouse.GetXY(&x, &y);
        CHECK(x == 10);
        CHECK(y == 12);

        // The snapshot keeps its position until the next GetState; the base reads the live one.
        PlaceCursor(hwnd, 30, 40);
        mouse.GetXY(&x, &y);
        CHECK(x == 10);
        mouse.CMouseBase::GetXY(&x, &y);
        CHECK(x == 30);
        CHECK(y == 40);

        mouse.SetXY(0, 0);
        POINT cursor;
        GetCursorPos(&cursor);
        const POINT origin = ClientOrigin(hwnd);
        CHECK(cursor.x == origin.x);
        CHECK(cursor.y == origin.y);
        mouse.GetXY(&x, &y);
        CHECK(x == 0);
        CHECK(y == 0);
    });
}

TEST_CASE("the snapshot samples the buttons once per frame, with edges and a guard after creation")
{
    WithWindow([](HWND hwnd) {
        PlaceCursor(hwnd, 20, 20);
        CMouse mouse;
        CHECK(mouse.IsGuarded());

        // Held from before the first snapshot: never a press.
        Send(hwnd, WM_LBUTTONDOWN, MK_LBUTTON);
        mouse.GetState();
        CHECK(mouse.IsLButton());
        CHECK_FALSE(mouse.IsLButtonPushed());
        bool left = false, right = true;
        mouse.GetButtonEdges(&left, &right);  // the raw edges ignore the guard
        CHECK(left);
        CHECK_FALSE(right);
        mouse.GetState();
        CHECK_FALSE(mouse.IsGuarded());
        CHECK_FALSE(mouse.IsLButtonPushed());
        int32_t x, y;
        uint32_t buttons = 0;
        mouse.GetInfo(&x, &y, &buttons);
        CHECK(buttons == kMouseLeft);
        CHECK(buttons == 2);

        Send(hwnd, WM_LBUTTONUP);
        mouse.GetState();
        CHECK(mouse.IsLButtonReleased());
        mouse.GetButtonReleases(&left, &right);
        CHECK(left);
        CHECK_FALSE(right);

        // A click that comes and goes between two snapshots is not seen.
        Send(hwnd, WM_RBUTTONDOWN, MK_RBUTTON);
        Send(hwnd, WM_RBUTTONUP);
        mouse.GetState();
        CHECK_FALSE(mouse.IsRButtonPushed());
        CHECK_FALSE(mouse.IsRButtonReleased());
        CHECK_FALSE(mouse.IsRButton());

        Send(hwnd, WM_RBUTTONDOWN, MK_RBUTTON);
        mouse.GetState();
        CHECK(mouse.IsRButtonPushed());
        mouse.GetInfo(&x, &y, &buttons);
        CHECK(buttons == kMouseRight);
        // A move reports both buttons from its flags.
        Send(hwnd, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON);
        mouse.GetState();
        CHECK(mouse.IsLButtonPushed());
        CHECK_FALSE(mouse.IsRButtonPushed());
        mouse.GetInfo(&x, &y, &buttons);
        CHECK(buttons == (kMouseLeft | kMouseRight));

        mouse.ResetButtonState();
        CHECK_FALSE(mouse.IsLButton());
        CHECK_FALSE(mouse.IsRButtonReleased());
        Send(hwnd, WM_MOUSEMOVE, 0);
    });
}

TEST_CASE("buttons read as released outside the client area unless kept")
{
    WithWindow([](HWND hwnd) {
        CMouse mouse;
        mouse.GetState();
        mouse.GetState();
        PlaceCursor(hwnd, 20, 20);
        Send(hwnd, WM_LBUTTONDOWN, MK_LBUTTON);
        mouse.GetState();
        CHECK(mouse.IsLButtonPushed());

        // Leaving the window with the button held: released at the next snapshot.
        RECT client;
        GetClientRect(hwnd, &client);
        PlaceCursor(hwnd, client.right, 5);
        mouse.GetState();
        CHECK_FALSE(mouse.IsLButton());
        CHECK(mouse.IsLButtonReleased());

        mouse.SetKeepButtonsOutside(true);
        PlaceCursor(hwnd, -5, -3);
        Send(hwnd, WM_LBUTTONDOWN, MK_LBUTTON);
        mouse.GetState();
        CHECK(mouse.IsLButton());
        int32_t x, y;
        mouse.GetXY(&x, &y);
        CHECK(x == -5);
        CHECK(y == -3);
        Send(hwnd, WM_LBUTTONUP);
    });
}

TEST_CASE("the base mouse follows the messages and reports each press once")
{
    WithWindow([](HWND hwnd) {
        PlaceCursor(hwnd, 20, 20);
        CWindow& window = GetMyApp()->GetWindow();
        const int hooks = window.GetHookCount();
        {
            CMouseBase mouse;
            CHECK(window.GetHookCount() == hooks + 1);
            Send(hwnd, WM_LBUTTONDOWN, MK_LBUTTON);
            CHECK(mouse.IsLButton());
            bool left = false, right = false;
            mouse.GetButtonEdges(&left, &right);
            CHECK(left);
            mouse.GetButtonEdges(&left, &right);
            CHECK_FALSE(left);
            mouse.ResetButtonEdges();
            mouse.GetButtonEdges(&left, &right);
            CHECK(left);
            // Double clicks change nothing.
            Send(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON);
            Send(hwnd, WM_LBUTTONUP);
            CHECK_FALSE(mouse.IsLButton());
        }
        CHECK(window.GetHookCount() == hooks);
    });
}
