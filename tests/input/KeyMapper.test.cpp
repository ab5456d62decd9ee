#include <pyro/input/KeyMapper.h>

#include <pyro/app/AppServices.h>
#include "InputTestSupport.h"
#include "app/AppTestSupport.h"
#include "input/WinMMJoyStick.h"

#include <doctest/doctest.h>

#include <algorithm>

namespace {

// One controller pushed up with its first button held.
const JoyStickApi kPushedJoyStick = {
    [] { return 1u; },
    [](uint32_t id, JoyStickCaps* caps) {
        *caps = {0, 65535, 0, 65535};
        return id == 0;
    },
    [](uint32_t, JoyStickReading* reading) {
        *reading = {32768, 0, 0x1};
        return true;
    },
    [](uint32_t, JoyStickReading* reading) {
        *reading = {32768, 0, 0x1};
        return true;
    },
};

struct View : IScreenViewMapping {
    int32_t GetOriginX() const override { return 16; }
    int32_t GetOriginY() const override { return 8; }
    int32_t GetMagnification() const override { return 2; }
};

// Presses or releases a key with xdotool and updates the mapper until the logical key follows.
// Tells whether the first update that saw it down also saw it triggered.
bool Press(CKeyMapper& mapper, const char* key, int32_t logicalKey, bool* triggered)
{
    if (RunHostCommand(std::string("xdotool keydown ") + key) != 0) return false;
    return WaitFor([&] {
        mapper.Update();
        *triggered = mapper.IsTriggered(logicalKey);
        return mapper.IsDown(logicalKey);
    });
}

bool Release(CKeyMapper& mapper, const char* key, int32_t logicalKey)
{
    if (RunHostCommand(std::string("xdotool keyup ") + key) != 0) return false;
    return WaitFor([&] {
        mapper.Update();
        return !mapper.IsDown(logicalKey);
    });
}

}  // namespace

TEST_CASE("the mapper's default table and the joystick fallback")
{
    CKeyMapper mapper;
    CHECK(mapper.keyTable[0x01] == 1);
    CHECK(mapper.keyTable[0xC8] == 2);
    CHECK(mapper.keyTable[0x4B] == 3);
    CHECK(mapper.keyTable[0x4D] == 4);
    CHECK(mapper.keyTable[0x50] == 5);
    CHECK(mapper.keyTable[0x39] == 6);
    CHECK(mapper.keyTable[0x2D] == 7);
    CHECK(mapper.keyTable[0x0F] == 8);
    CHECK(mapper.keyTable[0x36] == 9);
    int bound = 0;
    for (int32_t logical : mapper.keyTable) bound += logical != 0;
    CHECK(bound == 15);
    CHECK(mapper.useJoyStick);
    CHECK_FALSE(mapper.IsCreated());
    // Nothing exists yet to be asked.
    CHECK_FALSE(mapper.IsDown(0));
    CHECK(&CKeyMapper::GetInstance() == &CKeyMapper::GetInstance());
    CHECK_FALSE(CKeyMapper::GetInstance().IsCreated());

    TestApp app;
    app.body = [&](TestApp&) {
        const JoyStickApi* previous = SetJoyStickApi(&kPushedJoyStick);
        mapper.Update();  // creates the devices
        REQUIRE(mapper.IsCreated());
        REQUIRE(mapper.keyboard);
        REQUIRE(mapper.mouse);
        REQUIRE(mapper.joystick);
        // Stick up and button 1: logical up (2) and the first action key (6).
        CHECK(mapper.IsDown(2));
        CHECK(mapper.IsTriggered(2));
        CHECK(mapper.IsDown(6));
        for (int32_t logical : {1, 3, 4, 5, 7, 8, 9, 12}) {
            CAPTURE(logical);
            CHECK_FALSE(mapper.IsDown(logical));
        }
        mapper.Update();
        CHECK(mapper.IsDown(6));
        CHECK_FALSE(mapper.IsTriggered(6));

        // Switched off, the joystick is polled but invisible.
        mapper.useJoyStick = false;
        mapper.Update();
        CHECK(mapper.joystick->IsDown(kJoyButton1));
        CHECK_FALSE(mapper.IsDown(2));
        CHECK_FALSE(mapper.IsDown(6));

        // Destroyed devices answer nothing; the next update makes a fresh set.
        mapper.useJoyStick = true;
        mapper.Destroy();
        CHECK_FALSE(mapper.IsCreated());
        CHECK(mapper.keyboard == nullptr);
        CHECK_FALSE(mapper.IsDown(2));
        mapper.Update();
        CHECK(mapper.IsCreated());
        CHECK(mapper.IsDown(2));
        mapper.Destroy();
        SetJoyStickApi(previous);
    };
    app.Run();
}

TEST_CASE("the mouse position is converted through the view")
{
    TestApp app;
    app.body = [](TestApp&) {
        const HWND hwnd = GetMyHWnd();
        CKeyMapper mapper;
        mapper.Create(nullptr);
        PlaceCursor(hwnd, 20, 9);
        mapper.Update();
        CHECK(mapper.mouseX == 20);
        CHECK(mapper.mouseY == 9);

        // Origin (16, 8), magnification 2.
        View view;
        mapper.Create(&view);
        mapper.Update();
        CHECK(mapper.mouseX == 2);
        CHECK(mapper.mouseY == 0);
        PlaceCursor(hwnd, 10, 3);
        mapper.Update();
        CHECK(mapper.mouseX == -3);
        CHECK(mapper.mouseY == -2);
        mapper.Destroy();
    };
    app.Run();
}

TEST_CASE("logical keys follow the keyboard's bindings")
{
    TestApp app;
    app.body = [](TestApp&) {
        CKeyMapper mapper;
        mapper.Create(nullptr);
        REQUIRE(Focus(GetMyHWnd()));
        mapper.keyTable[0x1F] = 10;  // S
        mapper.keyTable[0x20] = 10;  // D: a second key on the same logical key

        bool triggered = false;
        REQUIRE(Press(mapper, "s", 10, &triggered));
        CHECK(triggered);
        mapper.Update();
        CHECK(mapper.IsDown(10));
        CHECK_FALSE(mapper.IsTriggered(10));
        CHECK_FALSE(mapper.IsDown(12));
        REQUIRE(Release(mapper, "s", 10));
        REQUIRE(Press(mapper, "d", 10, &triggered));
        CHECK(triggered);
        REQUIRE(Release(mapper, "d", 10));

        // The defaults: Escape is 1, Z and Space both 6.
        REQUIRE(Press(mapper, "Escape", 1, &triggered));
        CHECK_FALSE(mapper.IsDown(6));
        REQUIRE(Release(mapper, "Escape", 1));
        REQUIRE(Press(mapper, "z", 6, &triggered));
        REQUIRE(Release(mapper, "z", 6));
        REQUIRE(Press(mapper, "space", 6, &triggered));
        CHECK(triggered);
        CHECK_FALSE(mapper.IsDown(12));
        REQUIRE(Release(mapper, "space", 6));
        mapper.Destroy();
    };
    app.Run();
}

TEST_CASE("while the keyboard cannot be read no logical key is down; in front again it triggers")
{
    TestApp app;
    app.body = [](TestApp&) {
        const HWND hwnd = GetMyHWnd();
        CKeyMapper mapper;
        mapper.Create(nullptr);
        mapper.keyTable[0x1F] = 10;  // S
        REQUIRE(Focus(hwnd));
        bool triggered = false;
        REQUIRE(Press(mapper, "s", 10, &triggered));
        CHECK(triggered);
        mapper.Update();
        CHECK_FALSE(mapper.IsTriggered(10));

        // In the background every poll fails, and the failed poll clears what it would have
        // filled: the held key is neither stuck down nor pressed anew.
        REQUIRE(FocusElsewhere() == 0);
        CHECK(WaitFor([&] {
            mapper.Update();
            return !mapper.IsDown(10);
        }));
        for (int poll = 0; poll < 2; ++poll) {
            mapper.Update();
            CHECK_FALSE(mapper.IsDown(10));
            CHECK_FALSE(mapper.IsTriggered(10));
            const uint8_t* keys = mapper.keyboard->GetKeyBuffer();
            CHECK(std::count(keys, keys + 256, 0) == 256);
        }

        // In front again with the key down (Wine wants it pressed anew): a fresh press.
        REQUIRE(Focus(hwnd));
        REQUIRE(Press(mapper, "s", 10, &triggered));
        CHECK(triggered);
        REQUIRE(Release(mapper, "s", 10));
        mapper.Destroy();
    };
    app.Run();
}
