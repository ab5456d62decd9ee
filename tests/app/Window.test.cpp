#include <pyro/app/Window.h>

#include "AppTestSupport.h"

#include <doctest/doctest.h>
#include <vector>

namespace {

struct RecordingHook : IWindowHook {
    std::vector<int>* log;
    int id;
    LRESULT result;
    UINT watched;
    RecordingHook(std::vector<int>* l, int i, LRESULT r, UINT w) : log(l), id(i), result(r), watched(w) {}
    LRESULT OnMessage(HWND, UINT message, WPARAM, LPARAM) override
    {
        if (message != watched) return 0;
        log->push_back(id);
        return result;
    }
};

CWindowOption TestOptions(int x, int y, uint32_t style)
{
    CWindowOption options;
    options.caption = "window test";
    options.className = kTestClass;
    options.sizeX = x;
    options.sizeY = y;
    options.style = style;
    return options;
}

}  // namespace

TEST_CASE("a window's client area has the requested size and is centred by it")
{
    CWindow window;
    REQUIRE(window.Create(TestOptions(320, 240, 0x00CF0000)) == 0);
    RECT client;
    GetClientRect(window.GetHWnd(), &client);
    CHECK(client.right == 320);
    CHECK(client.bottom == 240);
    RECT outer;
    GetWindowRect(window.GetHWnd(), &outer);
    CHECK(outer.left == (GetSystemMetrics(SM_CXSCREEN) - 320) / 2);
    CHECK(outer.top == (GetSystemMetrics(SM_CYSCREEN) - 240) / 2);
    CHECK(window.MoveTo(10, 20) == 0);
    GetWindowRect(window.GetHWnd(), &outer);
    CHECK(outer.left == 10);
    CHECK(outer.top == 20);
}

TEST_CASE("hooks see messages in registration order and the first non-zero result consumes")
{
    CWindow window;
    REQUIRE(window.Create(TestOptions(64, 48, 0x00CA0000)) == 0);
    const UINT probe = WM_USER + 7;
    std::vector<int> log;
    RecordingHook first(&log, 1, 0, probe), second(&log, 2, 42, probe), third(&log, 3, 0, probe);
    window.AddHook(&first);
    window.AddHook(&second);
    window.AddHook(&third);
    CHECK(SendMessageA(window.GetHWnd(), probe, 0, 0) == 42);
    CHECK(log == std::vector<int>{1, 2});

    SUBCASE("removing a hook removes every registration of it")
    {
        window.AddHook(&second);
        window.RemoveHook(&second);
        log.clear();
        CHECK(SendMessageA(window.GetHWnd(), probe, 0, 0) == 0);
        CHECK(log == std::vector<int>{1, 3});
    }
    SUBCASE("a hook that consumes WM_CLOSE keeps the window alive")
    {
        RecordingHook veto(&log, 9, 1, WM_CLOSE);
        window.AddHook(&veto);
        SendMessageA(window.GetHWnd(), WM_CLOSE, 0, 0);
        CHECK(IsWindow(window.GetHWnd()));
        window.RemoveHook(&veto);
    }
    window.RemoveHook(&first);
    window.RemoveHook(&second);
    window.RemoveHook(&third);
}

TEST_CASE("an EDIT window is subclassed: unconsumed messages reach the edit control")
{
    CWindow window;
    REQUIRE(window.Create(TestOptions(100, 20, WS_VISIBLE | WS_POPUP)) == 0);
    CWindow edit;
    CWindowOption options = TestOptions(100, 20, WS_VISIBLE);
    options.className = "EDIT";
    REQUIRE(edit.Create(options, window.GetHWnd()) == 0);
    std::vector<int> log;
    RecordingHook seen(&log, 1, 0, EM_SETLIMITTEXT);
    edit.AddHook(&seen);
    SendMessageA(edit.GetHWnd(), EM_SETLIMITTEXT, 123, 0);
    // Only the edit control's own procedure knows this limit; the default procedure returns 0.
    CHECK(SendMessageA(edit.GetHWnd(), EM_GETLIMITTEXT, 0, 0) == 123);
    CHECK(log == std::vector<int>{1});
    edit.RemoveHook(&seen);
}

TEST_CASE("minimising sets the minimised flag; restoring or activation clears it")
{
    CWindow window;
    REQUIRE(window.Create(TestOptions(64, 48, 0x00CA0000)) == 0);
    SendMessageA(window.GetHWnd(), WM_SIZE, SIZE_MINIMIZED, 0);
    CHECK(window.IsMinimized());
    SendMessageA(window.GetHWnd(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(64, 48));
    CHECK_FALSE(window.IsMinimized());
    SendMessageA(window.GetHWnd(), WM_SIZE, SIZE_MINIMIZED, 0);
    SendMessageA(window.GetHWnd(), WM_ACTIVATEAPP, TRUE, 0);
    CHECK_FALSE(window.IsMinimized());
}
