#include <pyro/app/Window.h>

#include "AppTestSupport.h"
#include "ErrorCapture.h"
#include "file/EncodingScope.h"

#include <doctest/doctest.h>
#include <string>
#include <utility>
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

// Records the character messages the hooks see, and consumes those whose value is in consume.
struct CharacterHook : IWindowHook {
    std::vector<std::pair<UINT, WPARAM>> seen;
    std::vector<WPARAM> consume;
    LRESULT OnMessage(HWND, UINT message, WPARAM wParam, LPARAM) override
    {
        if (message != WM_CHAR && message != WM_SYSCHAR && message != WM_IME_CHAR) return 0;
        seen.emplace_back(message, wParam);
        for (WPARAM value : consume) {
            if (value == wParam) return 7;
        }
        return 0;
    }
};

std::wstring WindowText(HWND hwnd)
{
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    return text;
}

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

// An EDIT control, subclassed, inside a pop-up window.
struct SubclassedEdit {
    CWindow window;
    CWindow edit;
    SubclassedEdit()
    {
        REQUIRE(window.Create(TestOptions(100, 20, WS_VISIBLE | WS_POPUP)) == 0);
        CWindowOption options = TestOptions(100, 20, WS_VISIBLE);
        options.className = "EDIT";
        REQUIRE(edit.Create(options, window.GetHWnd()) == 0);
    }
};

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
    SubclassedEdit controls;
    CWindow& edit = controls.edit;
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

TEST_CASE("the window is a Unicode window captioned from Shift-JIS on every code page")
{
    CWindow window;
    CWindowOption options = TestOptions(64, 48, 0x00CA0000);
    options.caption = "Pyro丸Plaza ソ表";
    REQUIRE(window.Create(options) == 0);
    CHECK(IsWindowUnicode(window.GetHWnd()));
    CHECK(WindowText(window.GetHWnd()) == L"Pyro丸Plaza ソ表");

    SUBCASE("a caption that is not Shift-JIS fails creation")
    {
        ErrorCapture log;
        CWindow bad;
        options.caption = "Pyro\x8A";
        CHECK(bad.Create(options) == 1);
        CHECK(bad.GetHWnd() == nullptr);
        CHECK(log.messages == std::vector<std::string>{"CWindow::CreateでCreateWindowに失敗。"});
    }
}

TEST_CASE("hooks see characters in Shift-JIS, a double-byte one as two WM_CHAR")
{
    CWindow window;
    REQUIRE(window.Create(TestOptions(64, 48, 0x00CA0000)) == 0);
    CharacterHook hook;
    window.AddHook(&hook);
    const HWND hwnd = window.GetHWnd();
    using Seen = std::vector<std::pair<UINT, WPARAM>>;

    SendMessageW(hwnd, WM_CHAR, L'丸', 0);
    CHECK(hook.seen == Seen{{WM_CHAR, 0x8A}, {WM_CHAR, 0xDB}});
    hook.seen.clear();
    SendMessageW(hwnd, WM_SYSCHAR, L'ソ', 0);
    SendMessageW(hwnd, WM_CHAR, L'A', 0);
    SendMessageW(hwnd, WM_CHAR, L'ｱ', 0);
    SendMessageW(hwnd, WM_IME_CHAR, L'丸', 0);
    CHECK(hook.seen == Seen{{WM_SYSCHAR, 0x83}, {WM_SYSCHAR, 0x5C}, {WM_CHAR, 'A'}, {WM_CHAR, 0xB1},
                            {WM_IME_CHAR, 0x8ADB}});
    hook.seen.clear();
    SendMessageW(hwnd, WM_CHAR, L'é', 0);  // no Shift-JIS form: the default procedure only
    SendMessageW(hwnd, WM_CHAR, 0xD83D, 0);
    CHECK(hook.seen.empty());
    window.RemoveHook(&hook);
}

TEST_CASE("an edit control gets unconsumed characters in UTF-16; a hook consuming a byte stops it")
{
    SubclassedEdit controls;
    CWindow& edit = controls.edit;
    CHECK(IsWindowUnicode(edit.GetHWnd()));
    CharacterHook hook;
    edit.AddHook(&hook);
    SetWindowTextW(edit.GetHWnd(), L"");
    SendMessageW(edit.GetHWnd(), WM_CHAR, L'丸', 0);
    SendMessageW(edit.GetHWnd(), WM_CHAR, L'é', 0);
    const std::wstring typed = L"丸é";  // outside the check: its text is kept in Shift-JIS
    CHECK(WindowText(edit.GetHWnd()) == typed);

    hook.consume = {0xDB};  // the second byte of 丸
    CHECK(SendMessageW(edit.GetHWnd(), WM_CHAR, L'丸', 0) == 7);
    hook.consume = {0x8A};  // the first byte
    CHECK(SendMessageW(edit.GetHWnd(), WM_CHAR, L'丸', 0) == 7);
    CHECK(WindowText(edit.GetHWnd()) == typed);
    edit.RemoveHook(&hook);
}

TEST_CASE("WM_DPICHANGED moves the window to the suggested rectangle and still reaches the hooks")
{
    CWindow window;
    REQUIRE(window.Create(TestOptions(64, 48, 0x00CF0000)) == 0);
    std::vector<int> log;
    RecordingHook seen(&log, 1, 0, WM_DPICHANGED);
    window.AddHook(&seen);
    RECT suggested = {40, 30, 40 + 300, 30 + 200};
    SendMessageW(window.GetHWnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    RECT outer;
    GetWindowRect(window.GetHWnd(), &outer);
    CHECK((outer.left == 40 && outer.top == 30 && outer.right == 340 && outer.bottom == 230));
    CHECK(log == std::vector<int>{1});
    window.RemoveHook(&seen);
}

TEST_CASE("the resizable option adds a sizing border and a maximise box to the style")
{
    // Large enough for the system's smallest sizable window.
    CWindowOption options = TestOptions(200, 150, 0x10CA0000);
    CHECK(options.WindowStyle() == 0x10CA0000);
    options.resizable = true;
    CHECK(options.WindowStyle() == (0x10CA0000 | WS_THICKFRAME | WS_MAXIMIZEBOX));
    CWindow window;
    REQUIRE(window.Create(options) == 0);
    const LONG_PTR style = GetWindowLongPtrW(window.GetHWnd(), GWL_STYLE);
    CHECK((style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == (WS_THICKFRAME | WS_MAXIMIZEBOX));
    RECT client;
    GetClientRect(window.GetHWnd(), &client);
    CHECK((client.right == 200 && client.bottom == 150));
}

TEST_CASE("borderless full screen covers the monitor; Alt+Enter toggles it and the window comes back exactly")
{
    CWindow window;
    REQUIRE(window.Create(TestOptions(64, 48, 0x00CF0000)) == 0);
    const HWND hwnd = window.GetHWnd();
    REQUIRE(window.MoveTo(100, 80) == 0);
    RECT outerBefore, clientBefore;
    GetWindowRect(hwnd, &outerBefore);
    GetClientRect(hwnd, &clientBefore);
    const LONG_PTR styleBefore = GetWindowLongPtrW(hwnd, GWL_STYLE);
    const int screenX = GetSystemMetrics(SM_CXSCREEN), screenY = GetSystemMetrics(SM_CYSCREEN);
    // Alt+Enter: the context bit (29) says Alt is down; bit 30 marks an auto-repeat.
    const LPARAM altEnter = (1 << 29) | 1;
    auto checkCovered = [&] {
        CHECK(window.IsBorderlessFullScreen());
        RECT outer, client;
        GetWindowRect(hwnd, &outer);
        GetClientRect(hwnd, &client);
        CHECK((outer.left == 0 && outer.top == 0 && outer.right == screenX && outer.bottom == screenY));
        CHECK((client.right == screenX && client.bottom == screenY));
        CHECK((GetWindowLongPtrW(hwnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME)) == 0);
    };
    auto checkRestored = [&] {
        CHECK_FALSE(window.IsBorderlessFullScreen());
        RECT outer, client;
        GetWindowRect(hwnd, &outer);
        GetClientRect(hwnd, &client);
        CHECK((outer.left == outerBefore.left && outer.top == outerBefore.top && outer.right == outerBefore.right &&
               outer.bottom == outerBefore.bottom));
        CHECK((client.right == clientBefore.right && client.bottom == clientBefore.bottom));
        CHECK(GetWindowLongPtrW(hwnd, GWL_STYLE) == styleBefore);
    };

    REQUIRE(window.SetBorderlessFullScreen(true) == 0);
    checkCovered();
    CHECK(window.SetBorderlessFullScreen(true) == 0);  // already on: nothing moves
    checkCovered();
    CHECK(window.SetBorderlessFullScreen(false) == 0);
    checkRestored();

    CHECK(SendMessageW(hwnd, WM_SYSKEYDOWN, VK_RETURN, altEnter) != 0);
    checkCovered();
    CHECK(SendMessageW(hwnd, WM_SYSKEYDOWN, VK_RETURN, altEnter | (1 << 30)) != 0);  // held: consumed, no toggle
    checkCovered();
    CHECK(SendMessageW(hwnd, WM_SYSKEYDOWN, VK_RETURN, altEnter) != 0);
    checkRestored();
    CHECK(SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 1) == 0);  // Enter without Alt
    CHECK_FALSE(window.IsBorderlessFullScreen());

    // A program that uses Alt+Enter itself turns the binding off; the call still works.
    window.SetAltEnterFullScreen(false);
    SendMessageW(hwnd, WM_SYSKEYDOWN, VK_RETURN, altEnter);
    CHECK_FALSE(window.IsBorderlessFullScreen());
    CHECK(window.ToggleBorderlessFullScreen() == 0);
    checkCovered();
    CHECK(window.ToggleBorderlessFullScreen() == 0);
    checkRestored();

    // A minimised window is not made full screen.
    ShowWindow(hwnd, SW_MINIMIZE);
    CHECK(window.SetBorderlessFullScreen(true) == 1);
    CHECK_FALSE(window.IsBorderlessFullScreen());
}

TEST_CASE("the program declares per-monitor DPI awareness, v2 first, and the older form beside it")
{
    struct Setting {
        const wchar_t* space;
        const wchar_t* name;
        const wchar_t* value;
    };
    const Setting settings[] = {
        {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", L"PerMonitorV2, PerMonitor"},
        {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"},
    };
    for (const Setting& setting : settings) {
        wchar_t value[64] = {};
        SIZE_T written = 0;
        CHECK(QueryActCtxSettingsW(0, nullptr, setting.space, setting.name, value, 64, &written));
        CHECK(std::wstring(value) == setting.value);
    }
}

TEST_CASE("a UTF-8 program's caption reaches Windows whole, and typed characters reach the hooks in UTF-8")
{
    EncodingScope utf8(StringEncoding::kUtf8);
    // (doctest spells out each checked expression as a Shift-JIS literal: no Korean inside CHECK.)
    const std::wstring caption = L"Café Ελληνικά Русский 中文 한국어 丸";
    CWindow window;
    CWindowOption options = TestOptions(64, 48, 0x00CA0000);
    const std::string utf8Caption = U8(caption.c_str());
    options.caption = utf8Caption.c_str();
    REQUIRE(window.Create(options) == 0);
    CHECK(WindowText(window.GetHWnd()) == caption);

    CharacterHook hook;
    window.AddHook(&hook);
    const HWND hwnd = window.GetHWnd();
    using Seen = std::vector<std::pair<UINT, WPARAM>>;
    SendMessageW(hwnd, WM_CHAR, 0xE9, 0);    // é
    SendMessageW(hwnd, WM_CHAR, 0xD55C, 0);  // 한
    SendMessageW(hwnd, WM_CHAR, 0xD83D, 0);  // U+1F600 in two halves
    SendMessageW(hwnd, WM_CHAR, 0xDE00, 0);
    SendMessageW(hwnd, WM_IME_CHAR, 0xD55C, 0);
    SendMessageW(hwnd, WM_IME_CHAR, L'丸', 0);
    SendMessageW(hwnd, WM_CHAR, 0xDE00, 0);  // a second half alone: no character
    CHECK(hook.seen == Seen{{WM_CHAR, 0xC3}, {WM_CHAR, 0xA9}, {WM_CHAR, 0xED}, {WM_CHAR, 0x95}, {WM_CHAR, 0x9C},
                            {WM_CHAR, 0xF0}, {WM_CHAR, 0x9F}, {WM_CHAR, 0x98}, {WM_CHAR, 0x80},
                            {WM_IME_CHAR, 0xED959C}, {WM_IME_CHAR, 0xE4B8B8}});
    window.RemoveHook(&hook);

    SUBCASE("a caption that is not UTF-8 fails creation, and the log says so in UTF-8")
    {
        ErrorCapture log;
        CWindow bad;
        options.caption = "Pyro\x8A";
        CHECK(bad.Create(options) == 1);
        const std::vector<std::string> expected = {U8(L"CWindow::CreateでCreateWindowに失敗。")};
        CHECK(log.messages == expected);
    }
}
