#include "input/XInputJoyStick.h"

#include <doctest/doctest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "JoyStickTesting.h"

TEST_CASE("the left stick by thirds, up being positive y, and the D-pad give the directions")
{
    UseFakePads use;
    use.pads.connected[0] = true;
    CXInputJoyStick pad(kJoyStickFirst, 0);
    REQUIRE(pad.IsValid());
    // The thirds of -32768 to 32767 lie between -10923 and 10922, as 21845 and 43690 do for a
    // winmm joystick calibrated 0 to 65535.
    struct Case {
        uint16_t buttons;
        int16_t x, y;
        std::vector<int> down;
    } const cases[] = {
        {0, 0, 0, {}},
        {0, -10924, 0, {kJoyLeft}},
        {0, -10923, 0, {}},
        {0, 10922, 0, {}},
        {0, 10923, 0, {kJoyRight}},
        {0, 0, 10923, {kJoyUp}},
        {0, 0, 10922, {}},
        {0, 0, -10923, {}},
        {0, 0, -10924, {kJoyDown}},
        {0, -32768, 32767, {kJoyUp, kJoyLeft}},
        {0, 32767, -32768, {kJoyDown, kJoyRight}},
        // D-pad up, down, left, right, and beside the stick.
        {0x0001 | 0x0008, 0, 0, {kJoyUp, kJoyRight}},
        {0x0002 | 0x0004, 0, 0, {kJoyDown, kJoyLeft}},
        {0x0008, -20000, 0, {kJoyLeft, kJoyRight}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.buttons);
        CAPTURE(c.x);
        CAPTURE(c.y);
        use.pads.reading = {c.buttons, c.x, c.y};
        REQUIRE(pad.GetKeyState() == 0);
        CHECK(DownKeys(pad) == c.down);
    }
}

TEST_CASE("A, B, X, Y, the shoulders, Back, Start and the stick presses are buttons 1 to 10")
{
    UseFakePads use;
    use.pads.connected[0] = true;
    const uint16_t order[] = {0x1000, 0x2000, 0x4000, 0x8000, 0x0100,
                              0x0200, 0x0020, 0x0010, 0x0040, 0x0080};
    CXInputJoyStick pad(kJoyStickFirst, 10);
    for (int i = 0; i < 10; ++i) {
        CAPTURE(i);
        use.pads.reading = {order[i], 0, 0};
        pad.GetKeyState();
        CHECK(DownKeys(pad) == std::vector<int>{kJoyButton1 + i});
    }
    // The button count cuts the list; keys past the tenth button stay released.
    use.pads.reading = {0xFFF0, 0, 0};  // every button, no D-pad
    CHECK(pad.SetButtonMax(2) == 0);
    pad.GetKeyState();
    CHECK(DownKeys(pad) == std::vector<int>{4, 5});
    CXInputJoyStick many(kJoyStickFirst, 1000);
    CHECK(many.GetButtonMax() == kJoyMaxButtons);
    many.GetKeyState();
    CHECK(DownKeys(many) == std::vector<int>{4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
}

TEST_CASE("the selector chooses the pad's slot")
{
    UseFakePads use;
    use.pads.connected[1] = use.pads.connected[2] = true;
    CXInputJoyStick first(kJoyStickFirst, 2);
    CHECK_FALSE(first.IsValid());
    CHECK(first.GetJoyStickNumber() == kJoyStickNone);
    CHECK(first.GetKeyState() == 1);

    CXInputJoyStick second(kJoyStickSecond, 2);
    REQUIRE(second.IsValid());
    use.pads.slotsRead.clear();
    second.GetKeyState();
    CHECK(use.pads.slotsRead == std::vector<uint32_t>{1});

    use.pads.connected[1] = false;
    use.pads.slotsRead.clear();
    CXInputJoyStick any(kJoyStickAny, 2);
    CHECK(any.GetSlot() == 2);  // the first connected of the four
    CHECK(use.pads.slotsRead == std::vector<uint32_t>{0, 1, 2});

    CHECK_FALSE(CXInputJoyStick(kJoyStickNone, 2).IsValid());
    CXInputJoyStick outOfRange(7, 2);
    CHECK_FALSE(outOfRange.IsValid());
    CHECK(outOfRange.SelectJoyStick(kJoyStickAny) == 0);
    CHECK(outOfRange.IsValid());
}

TEST_CASE("a pad pulled out reads as released until it answers again")
{
    UseFakePads use;
    use.pads.connected[0] = true;
    CXInputJoyStick pad(kJoyStickFirst, 2);
    use.pads.reading = {0x1000, -32768, 0};  // A held, stick left
    pad.GetKeyState();
    pad.GetKeyState();
    use.pads.connected[0] = false;
    CHECK(pad.GetKeyState() == 2);
    CHECK(DownKeys(pad).empty());
    use.pads.connected[0] = true;
    CHECK(pad.GetKeyState() == 0);
    CHECK(DownKeys(pad) == std::vector<int>{kJoyLeft, kJoyButton1});
    CHECK(pad.IsTriggered(kJoyButton1));
}

TEST_CASE("the XInput library is loaded at run time, and its absence leaves no pad")
{
    // PYRO_XINPUT_DISABLED: the test runs once more with every XInput library switched off.
    const char* name = GetXInputLibraryName();
#if defined(_WIN32)
    if (std::getenv("PYRO_XINPUT_DISABLED")) {
        CHECK(name == nullptr);
    } else {
        REQUIRE(name != nullptr);
        CHECK(std::string(name) == "xinput1_4.dll");
    }
#else
    CHECK(name == nullptr);
#endif
    // No pad is attached where the tests run.
    XInputPadReading reading;
    for (uint32_t slot = 0; slot < kXInputSlots; ++slot) {
        CAPTURE(slot);
        CHECK_FALSE(GetXInputApi().getState(slot, &reading));
    }
}
