#include <pyro/input/DirectInput.h>

#include <pyro/app/AppServices.h>
#include "InputTestSupport.h"
#include "app/AppTestSupport.h"
#include "app/ErrorCapture.h"

#include <doctest/doctest.h>
#include <thread>

namespace {

constexpr int kKeyS = 0x1F;  // DIK_S

bool AllReleased(const CKeyInput& keyboard)
{
    for (int key = 0; key < 256; ++key) {
        if (keyboard.GetKeyBuffer()[key] != 0) return false;
    }
    return true;
}

// Polls until the key reads down; tells whether that first poll also saw it triggered.
bool PollUntilDown(CDirectInput& keyboard, int key, bool* triggered)
{
    return WaitFor([&] {
        keyboard.GetKeyState();
        *triggered = keyboard.IsTriggered(key);
        return keyboard.IsDown(key);
    });
}

}  // namespace

TEST_CASE("the keyboard reads keys sent to its window and forgets them while in the background")
{
    TestApp app;
    app.body = [](TestApp&) {
        const HWND hwnd = GetMyHWnd();
        CDirectInput keyboard;
        REQUIRE(keyboard.HasDevice());
        REQUIRE(Focus(hwnd));
        REQUIRE(WaitFor([&] { return keyboard.GetKeyState() == 0; }));
        CHECK_FALSE(keyboard.IsDown(kKeyS));

        // Held: down for several polls, triggered only on the first.
        REQUIRE(RunHostCommand("xdotool keydown s") == 0);
        bool triggered = false;
        REQUIRE(PollUntilDown(keyboard, kKeyS, &triggered));
        CHECK(triggered);
        CHECK(keyboard.GetKeyBuffer()[kKeyS] == 0x80);
        for (int poll = 0; poll < 3; ++poll) {
            CHECK(keyboard.GetKeyState() == 0);
            CHECK(keyboard.IsDown(kKeyS));
            CHECK_FALSE(keyboard.IsTriggered(kKeyS));
        }

        // Released and pressed again: triggers again.
        REQUIRE(RunHostCommand("xdotool keyup s") == 0);
        CHECK(WaitFor([&] {
            keyboard.GetKeyState();
            return !keyboard.IsDown(kKeyS);
        }));
        CHECK_FALSE(keyboard.IsTriggered(kKeyS));
        REQUIRE(RunHostCommand("xdotool keydown s") == 0);
        REQUIRE(PollUntilDown(keyboard, kKeyS, &triggered));
        CHECK(triggered);

        // Focus elsewhere with the key still held: polls fail and read every key released.
        REQUIRE(FocusElsewhere() == 0);
        CHECK(WaitFor([&] { return keyboard.GetKeyState() == 1; }));
        CHECK(AllReleased(keyboard));
        CHECK_FALSE(keyboard.IsAcquired());
        CHECK(keyboard.GetKeyState() == 1);
        CHECK_FALSE(keyboard.IsDown(kKeyS));

        // Activation re-acquires through the window hook, before any poll.
        REQUIRE(Focus(hwnd));
        CHECK(keyboard.IsAcquired());
        // Wine's keyboard forgets a key held across the focus change until the key repeats;
        // a second key-down stands in for the repeat a real keyboard sends.
        REQUIRE(RunHostCommand("xdotool keydown s") == 0);
        REQUIRE(PollUntilDown(keyboard, kKeyS, &triggered));
        CHECK(triggered);
        RunHostCommand("xdotool keyup s");
    };
    app.Run();
}

TEST_CASE("keyboards share one DirectInput object, released with the last of them")
{
    TestApp app;
    app.body = [](TestApp& self) {
        const int hooks = self.GetWindow().GetHookCount();
        CHECK(CDirectInputHolder::GetShared() == nullptr);
        auto* first = new CDirectInput;
        CDirectInputHolder* holder = CDirectInputHolder::GetShared();
        REQUIRE(holder != nullptr);
        CHECK(holder->GetResult() == kDirectInputOk);
        CHECK(holder->GetInterface() != nullptr);
        auto* second = new CDirectInput;
        CHECK(CDirectInputHolder::GetShared() == holder);
        CHECK(CDirectInput::GetLivingCount() == 2);
        CHECK(self.GetWindow().GetHookCount() == hooks + 2);
        CHECK(second->HasDevice());
        delete first;
        CHECK(CDirectInputHolder::GetShared() == holder);
        CHECK(second->HasDevice());
        delete second;
        CHECK(CDirectInputHolder::GetShared() == nullptr);
        CHECK(CDirectInput::GetLivingCount() == 0);
        CHECK(self.GetWindow().GetHookCount() == hooks);

        // A later keyboard gets a fresh holder.
        CDirectInput third;
        CHECK(CDirectInputHolder::GetShared() != nullptr);
        CHECK(third.HasDevice());
    };
    app.Run();
}

TEST_CASE("a keyboard without a window reports its cooperative level and reads nothing")
{
    // A thread with no application has no window to bind the device to.
    std::thread([] {
        ErrorCapture log;
        {
            CDirectInput keyboard;
            CHECK_FALSE(keyboard.HasDevice());
            CHECK(keyboard.Initialize() == kDirectInputSetCooperativeLevelFailed);
            CHECK(keyboard.GetKeyState() == 1);
            CHECK(AllReleased(keyboard));
        }
        REQUIRE(log.messages.size() == 2);
        CHECK(log.messages[0] == "DirectInputの初期化SetCooperativeLevelに失敗");
        CHECK(CDirectInputHolder::GetShared() == nullptr);
    }).join();
}
