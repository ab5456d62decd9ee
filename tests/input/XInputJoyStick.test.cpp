#include "input/XInputJoyStick.h"

#include <doctest/doctest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "JoyStickTesting.h"

namespace {

// Pad button bits in the order of joystick buttons 1 to 10: A, B, X, Y, left and right
// shoulder, Back, Start, left and right stick press.
const uint16_t kButtonOrder[] = {0x1000, 0x2000, 0x4000, 0x8000, 0x0100,
                                 0x0200, 0x0020, 0x0010, 0x0040, 0x0080};

}  // namespace

TEST_CASE("the left stick counts as pushed outside its middle third, up being positive y")
{
    UseFakePads use;
    use.pads.connected[0] = true;
    CXInputJoyStick pad(kJoyStickFirst, 2);
    REQUIRE(pad.IsValid());
    // The thirds of -32768 to 32767 lie between -10923 and 10922, as 21845 and 43690 do for a
    // winmm joystick calibrated 0 to 65535.
    struct Case {
        int16_t x, y;
        std::vector<int> down;
    } const cases[] = {
        {0, 0, {}},
        {-10924, 0, {kJoyLeft}},
        {-10923, 0, {}},
        {10922, 0, {}},
        {10923, 0, {kJoyRight}},
        {0, 10923, {kJoyUp}},
        {0, 10922, {}},
        {0, -10923, {}},
        {0, -10924, {kJoyDown}},
        {-32768, 32767, {kJoyUp, kJoyLeft}},
        {32767, -32768, {kJoyDown, kJoyRight}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.x);
        CAPTURE(c.y);
        use.pads.reading = {0, c.x, c.y};
        REQUIRE(pad.GetKeyState() == 0);
        CHECK(DownKeys(pad) == c.down);
    }
}

TEST_CASE("the D-pad gives the directions too, alone or beside the stick")
{
    UseFakePads use;
    use.pads.connected[0] = true;
    CXInputJoyStick pad(kJoyStickFirst, 0);
    struct Case {
        uint16_t buttons;
        int16_t x;
        std::vector<int> down;
    } const cases[] = {
        {0x0001, 0, {kJoyUp}},
        {0x0002, 0, {kJoyDown}},
        {0x0004, 0, {kJoyLeft}},
        {0x0008, 0, {kJoyRight}},
        {0x0001 | 0x0008, 0, {kJoyUp, kJoyRight}},
        {0x0008, -20000, {kJoyLeft, kJoyRight}},
        {0x0004, -20000, {kJoyLeft}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.buttons);
        use.pads.reading = {c.buttons, c.x, 0};
        pad.GetKeyState();
        CHECK(DownKeys(pad) == c.down);
    }
}

TEST_CASE("A, B, X, Y, the shoulders, Back, Start and the stick presses are buttons 1 to 10")
{
    UseFakePads use;
    use.pads.connected[0] = true;
    SUBCASE("each pad button sets its own key and nothing else")
    {
        CXInputJoyStick pad(kJoyStickFirst, 10);
        for (int i = 0; i < 10; ++i) {
            CAPTURE(i);
            use.pads.reading = {kButtonOrder[i], 0, 0};
            pad.GetKeyState();
            CHECK(DownKeys(pad) == std::vector<int>{kJoyButton1 + i});
        }
    }
    SUBCASE("the button count cuts the list; keys past the tenth stay released")
    {
        CXInputJoyStick two(kJoyStickFirst, 2);
        use.pads.reading = {0xFFF0, 0, 0};  // every button, no D-pad
        two.GetKeyState();
        CHECK(DownKeys(two) == std::vector<int>{4, 5});
        CXInputJoyStick many(kJoyStickFirst, 1000);
        CHECK(many.GetButtonMax() == kJoyMaxButtons);
        many.GetKeyState();
        std::vector<int> ten;
        for (int key = kJoyButton1; key < kJoyButton1 + 10; ++key) ten.push_back(key);
        CHECK(DownKeys(many) == ten);
        CHECK(many.SetButtonMax(253) == -1);
        CHECK(many.SetButtonMax(1) == 0);
        CHECK(DownKeys(many).empty());  // cleared
        many.GetKeyState();
        CHECK(DownKeys(many) == std::vector<int>{kJoyButton1});
    }
    SUBCASE("a held button is triggered once")
    {
        CXInputJoyStick pad(kJoyStickFirst, 2);
        use.pads.reading = {0x2000, 0, 0};
        pad.GetKeyState();
        CHECK(pad.IsTriggered(kJoyButton1 + 1));
        pad.GetKeyState();
        CHECK(pad.IsDown(kJoyButton1 + 1));
        CHECK_FALSE(pad.IsTriggered(kJoyButton1 + 1));
    }
}

TEST_CASE("the selector chooses the pad's slot")
{
    UseFakePads use;
    SUBCASE("selectors 0 and 1 ask for slots 0 and 1 only")
    {
        use.pads.connected[1] = true;
        CXInputJoyStick first(kJoyStickFirst, 2);
        CHECK_FALSE(first.IsValid());
        CHECK(first.GetJoyStickNumber() == kJoyStickNone);
        CHECK(first.GetKeyState() == 1);
        CXInputJoyStick second(kJoyStickSecond, 2);
        REQUIRE(second.IsValid());
        CHECK(second.GetSlot() == 1);
        use.pads.slotsRead.clear();
        second.GetKeyState();
        CHECK(use.pads.slotsRead == std::vector<uint32_t>{1});
    }
    SUBCASE("selector 2 takes the first connected of the four slots")
    {
        use.pads.connected[2] = use.pads.connected[3] = true;
        CXInputJoyStick any(kJoyStickAny, 2);
        REQUIRE(any.IsValid());
        CHECK(any.GetSlot() == 2);
        CHECK(use.pads.slotsRead == std::vector<uint32_t>{0, 1, 2});
    }
    SUBCASE("no pad, selector 3 and selectors out of range are not valid")
    {
        CHECK_FALSE(CXInputJoyStick(kJoyStickAny, 2).IsValid());
        use.pads.connected[0] = true;
        CHECK_FALSE(CXInputJoyStick(kJoyStickNone, 2).IsValid());
        CHECK_FALSE(CXInputJoyStick(-1, 2).IsValid());
        CXInputJoyStick pad(7, 2);
        CHECK_FALSE(pad.IsValid());
        CHECK(pad.SelectJoyStick(kJoyStickFirst) == 0);
        CHECK(pad.IsValid());
    }
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
    CHECK(pad.IsValid());
    use.pads.connected[0] = true;
    CHECK(pad.GetKeyState() == 0);
    CHECK(DownKeys(pad) == std::vector<int>{kJoyLeft, kJoyButton1});
    CHECK(pad.IsTriggered(kJoyButton1));
}

TEST_CASE("the XInput library is loaded at run time, and its absence leaves no pad")
{
    // PYRO_XINPUT_DISABLED: the test runs once more with every XInput library switched off.
    const char* disabled = std::getenv("PYRO_XINPUT_DISABLED");
    const char* name = GetXInputLibraryName();
#if defined(_WIN32)
    if (disabled) {
        CHECK(name == nullptr);
    } else {
        REQUIRE(name != nullptr);
        CHECK(std::string(name) == "xinput1_4.dll");
    }
#else
    (void)disabled;
    CHECK(name == nullptr);
#endif
    // No pad is attached where the tests run.
    XInputPadReading reading;
    for (uint32_t slot = 0; slot < kXInputSlots; ++slot) {
        CAPTURE(slot);
        CHECK_FALSE(GetXInputApi().getState(slot, &reading));
    }
    CHECK_FALSE(CXInputJoyStick(kJoyStickAny, 2).IsValid());
}
