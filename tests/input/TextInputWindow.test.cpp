#include <pyro/input/TextInput.h>

#include <doctest/doctest.h>

#include "InputTestSupport.h"

#include <imm.h>
#include "app/AppTestSupport.h"
#include "file/EncodingScope.h"

TEST_CASE("characters and IME results sent to the window arrive in Shift-JIS; the IME switches")
{
    TestApp app;
    app.body = [](TestApp& self) {
        HWND hwnd = self.GetWindow().GetHWnd();
        CTextInput input;
        // Before Start nothing is taken.
        SendMessageW(hwnd, WM_CHAR, L'x', 0);
        REQUIRE(input.Start() == kTextInputStarted);
        SendMessageW(hwnd, WM_CHAR, L'H', 0);
        SendMessageW(hwnd, WM_CHAR, L'\x540D', 0);  // 名, sent as one UTF-16 unit
        SendMessageW(hwnd, WM_CHAR, 8, 0);
        // An IME's result, consumed so that no WM_CHAR repeats it.
        CHECK(SendMessageW(hwnd, WM_IME_CHAR, L'\x6F22', 0) == 1);  // 漢
        SendMessageW(hwnd, WM_CHAR, L'\x00E9', 0);  // é is outside Shift-JIS: dropped
        SendMessageW(hwnd, WM_CHAR, 13, 0);
        PumpPending();
        input.Update();
        const auto& events = input.GetEvents();
        REQUIRE(events.size() == 4);
        CHECK(events[0].text == "H\x96\xBC");
        CHECK(events[1].kind == TextInputEvent::kBackspace);
        CHECK(events[2].text == "\x8A\xBF");
        CHECK(events[3].kind == TextInputEvent::kEnter);

        // The IME: off for play, on for the entry that asks for it, off again after.
        ImmAssociateContext(hwnd, nullptr);
        REQUIRE_FALSE(CTextInput::IsImeOn());
        REQUIRE(input.Start(true) == kTextInputStarted);
        CHECK(CTextInput::IsImeOn());
        input.Stop();
        CHECK_FALSE(CTextInput::IsImeOn());
        SendMessageW(hwnd, WM_CHAR, L'y', 0);
        input.Update();
        CHECK(input.GetEvents().empty());
        self.Close();
    };
    CHECK(app.Run() == 0);
}

TEST_CASE("a UTF-8 program's typed characters and IME results arrive in UTF-8, beyond U+FFFF too")
{
    EncodingScope utf8(StringEncoding::kUtf8);
    TestApp app;
    app.body = [](TestApp& self) {
        HWND hwnd = self.GetWindow().GetHWnd();
        CTextInput input;
        REQUIRE(input.Start() == kTextInputStarted);
        SendMessageW(hwnd, WM_CHAR, L'\x00E9', 0);                     // é
        CHECK(SendMessageW(hwnd, WM_IME_CHAR, L'\xD55C', 0) == 1);     // 한
        SendMessageW(hwnd, WM_CHAR, 0xD83D, 0);                        // U+1F600 in two halves
        SendMessageW(hwnd, WM_CHAR, 0xDE00, 0);
        PumpPending();
        input.Update();
        CHECK(input.GetText() == "\xC3\xA9\xED\x95\x9C\xF0\x9F\x98\x80");
        input.Stop();
        self.Close();
    };
    CHECK(app.Run() == 0);
}

TEST_CASE("without an application window text entry cannot start")
{
    CTextInput input;
    CHECK(input.Start(true) == kTextInputNoWindow);
    CHECK_FALSE(input.IsStarted());
}
