#include <pyro/input/JoyStick.h>
#include "input/WinMMJoyStick.h"
#include "input/XInputJoyStick.h"

#include "JoyStickTesting.h"
#include "app/ErrorCapture.h"

#include <doctest/doctest.h>
#include <vector>

TEST_CASE("a stick counts as pushed once it leaves the middle third of its range")
{
    UseFake use;
    CWinMMJoyStick joystick(kJoyStickFirst, 2);
    REQUIRE(joystick.IsValid());
    // Calibrated 0 to 65535: the thresholds are 21845 and 43690.
    struct Case {
        uint32_t x, y;
        std::vector<int> down;
    } cases[] = {
        {32768, 32768, {}},
        {21844, 32768, {kJoyLeft}},
        {21845, 32768, {}},
        {43690, 32768, {}},
        {43691, 32768, {kJoyRight}},
        {32768, 21844, {kJoyUp}},
        {32768, 43691, {kJoyDown}},
        {0, 65535, {kJoyDown, kJoyLeft}},
        // Only the low 16 bits of a reading count.
        {0x10000 + 43691, 0xFFFF0000 + 32768, {kJoyRight}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.x);
        CAPTURE(c.y);
        use.fake.reading = {c.x, c.y, 0};
        REQUIRE(joystick.GetKeyState() == 0);
        CHECK(DownKeys(joystick) == c.down);
    }
}

TEST_CASE("the thresholds follow the calibration, also for ranges near the top of 32 bits")
{
    UseFake use;
    use.fake.caps = {100, 400, 1000, 1300};
    CWinMMJoyStick joystick(kJoyStickFirst, 0);
    use.fake.reading = {199, 1201, 0};  // left below 200, down above 1200
    joystick.GetKeyState();
    CHECK(DownKeys(joystick) == std::vector<int>{kJoyDown, kJoyLeft});
    use.fake.reading = {200, 1200, 0};
    joystick.GetKeyState();
    CHECK(DownKeys(joystick).empty());

    // In 32-bit arithmetic these thresholds would wrap to 1 and 2 and a centred stick would read right.
    use.fake.caps = {0x80000000u, 0x80000003u, 0, 3};
    CWinMMJoyStick wide(kJoyStickFirst, 0);
    use.fake.reading = {0xFFFF, 0, 0};
    wide.GetKeyState();
    CHECK(DownKeys(wide) == std::vector<int>{kJoyUp, kJoyLeft});
}

TEST_CASE("buttons become keys 4 and up, read with joyGetPos up to four buttons")
{
    UseFake use;
    SUBCASE("button max 2 reports two buttons and ignores a third")
    {
        CWinMMJoyStick joystick(kJoyStickFirst, 2);
        use.fake.reading.buttons = 0x7;
        joystick.GetKeyState();
        CHECK(DownKeys(joystick) == std::vector<int>{4, 5});
        CHECK(use.fake.posExIds.empty());
        use.fake.reading.buttons = 0x2;
        joystick.GetKeyState();
        CHECK(DownKeys(joystick) == std::vector<int>{5});
        CHECK(joystick.IsTriggered(5) == false);
    }
    SUBCASE("button max 6 uses the extended reading for buttons 1 to 6")
    {
        CWinMMJoyStick joystick(kJoyStickFirst, 6);
        use.fake.reading.buttons = 0x1 | 0x4 | 0x20 | 0x40;
        joystick.GetKeyState();
        CHECK(DownKeys(joystick) == std::vector<int>{4, 6, 9});
        CHECK(use.fake.posExIds == std::vector<uint32_t>{0});
        // Only the probe at initialisation used joyGetPos.
        CHECK(use.fake.posIds.size() == 1);
    }
    SUBCASE("joyGetPos reports 16 button bits, joyGetPosEx 32")
    {
        CWinMMJoyStick joystick(kJoyStickFirst, 4);
        use.fake.reading.buttons = 0x10001;
        joystick.GetKeyState();
        CHECK(DownKeys(joystick) == std::vector<int>{4});
        CWinMMJoyStick extended(kJoyStickFirst, 32);
        use.fake.reading.buttons = 0x80000001u;
        extended.GetKeyState();
        CHECK(DownKeys(extended) == std::vector<int>{4, 35});
    }
    SUBCASE("the button count stays within the key buffer")
    {
        CWinMMJoyStick joystick(kJoyStickFirst, 1000);
        CHECK(joystick.GetButtonMax() == kJoyMaxButtons);
        use.fake.reading.buttons = 0xFFFFFFFFu;
        joystick.GetKeyState();
        CHECK(joystick.IsDown(255 - (kJoyMaxButtons - 32)));
        CHECK_FALSE(joystick.IsDown(4 + 32));
        CHECK_FALSE(joystick.IsDown(255));
        CHECK(joystick.SetButtonMax(253) == -1);
        CHECK(joystick.SetButtonMax(-1) == -1);
        CHECK(joystick.GetButtonMax() == kJoyMaxButtons);
        CHECK(joystick.SetButtonMax(1) == 0);
        CHECK(DownKeys(joystick).empty());  // cleared
    }
}

TEST_CASE("the selector chooses the device")
{
    UseFake use;
    SUBCASE("number 2 with only the second joystick uses device 1")
    {
        use.fake.present[0] = false;
        CWinMMJoyStick joystick(kJoyStickAny, 2);
        REQUIRE(joystick.IsValid());
        CHECK(joystick.GetDeviceId() == 1);
        joystick.GetKeyState();
        CHECK(use.fake.posIds == std::vector<uint32_t>{1, 1});
    }
    SUBCASE("number 2 with both takes the first")
    {
        CWinMMJoyStick joystick(kJoyStickAny, 2);
        CHECK(joystick.GetDeviceId() == 0);
    }
    SUBCASE("a missing requested device turns the number into 3")
    {
        use.fake.present[1] = false;
        CWinMMJoyStick joystick(kJoyStickSecond, 2);
        CHECK_FALSE(joystick.IsValid());
        CHECK(joystick.GetJoyStickNumber() == kJoyStickNone);
        CHECK(joystick.GetKeyState() == 1);
        CHECK(joystick.SelectJoyStick(kJoyStickFirst) == 0);
        CHECK(joystick.IsValid());
    }
    SUBCASE("no devices at all, number 3 and numbers out of range")
    {
        CHECK(CWinMMJoyStick(kJoyStickNone, 2).IsValid() == false);
        CHECK(CWinMMJoyStick(7, 2).GetJoyStickNumber() == kJoyStickNone);
        CHECK(CWinMMJoyStick(-1, 2).IsValid() == false);
        use.fake.deviceCount = 0;
        CWinMMJoyStick none(kJoyStickFirst, 2);
        CHECK_FALSE(none.IsValid());
        CHECK(none.SelectJoyStick(kJoyStickAny) == 1);
    }
    SUBCASE("a device that does not answer the probe is not valid")
    {
        use.fake.answers = false;
        CHECK_FALSE(CWinMMJoyStick(kJoyStickFirst, 2).IsValid());
    }
}

TEST_CASE("a failed reading leaves the poll before the previous one in the current buffer")
{
    UseFake use;
    CWinMMJoyStick joystick(kJoyStickFirst, 2);
    use.fake.reading = {0, 32768, 0};  // left
    joystick.GetKeyState();
    use.fake.reading = {65535, 32768, 0};  // right
    joystick.GetKeyState();
    use.fake.answers = false;
    CHECK(joystick.GetKeyState() == 2);
    CHECK(DownKeys(joystick) == std::vector<int>{kJoyLeft});
}

TEST_CASE("CJoyStick creates its implementation on the first poll and reports a failure once")
{
    UseFake use;
    CJoyStick joystick;
    CHECK(joystick.GetButtonMax() == 2);
    CHECK(joystick.GetJoyStickNumber() == kJoyStickAny);
    CHECK(joystick.GetImplementation() == nullptr);
    CHECK(joystick.GetKeyBuffer() == nullptr);
    CHECK_FALSE(joystick.IsDown(kJoyUp));

    SUBCASE("a working joystick answers through its implementation")
    {
        use.fake.reading = {32768, 0, 0x2};
        CHECK(joystick.GetKeyState() == 0);
        REQUIRE(joystick.GetImplementation() != nullptr);
        CHECK(joystick.IsDown(kJoyUp));
        CHECK(joystick.IsTriggered(kJoyButton1 + 1));
        CHECK(joystick.GetKeyBuffer()[kJoyButton1 + 1] == 1);

        CHECK(joystick.SetButtonMax(6) == 0);
        CHECK(joystick.GetImplementation()->GetButtonMax() == 6);
        CHECK(joystick.SetButtonMax(300) == -1);
        CHECK(joystick.GetButtonMax() == 6);

        // Another selector takes effect with the next poll.
        CHECK(joystick.SelectJoyStick(kJoyStickSecond) == 0);
        CHECK(joystick.GetImplementation() == nullptr);
        joystick.GetKeyState();
        auto* impl = static_cast<CWinMMJoyStick*>(joystick.GetImplementation());
        REQUIRE(impl != nullptr);
        CHECK(impl->GetDeviceId() == 1);
        CHECK(impl->GetButtonMax() == 6);
        joystick.ClearKeyState();
        CHECK_FALSE(joystick.IsDown(kJoyUp));
    }
    SUBCASE("without a controller the first poll reports, later ones quietly read nothing")
    {
        use.fake.present[0] = use.fake.present[1] = false;
        ErrorCapture log;
        CHECK(joystick.GetKeyState() == -1);
        CHECK(log.messages == std::vector<std::string>{"JoyStick Number 3", "CJoyStick::GetKeyState IJoyStickの初期化に失敗"});
        CHECK(joystick.GetKeyState() == 1);
        CHECK(joystick.GetKeyState() == 1);
        CHECK(log.messages.size() == 2);
        CHECK_FALSE(joystick.IsDown(kJoyUp));
    }
    SUBCASE("selector 3 and selectors out of range are reported on every poll")
    {
        ErrorCapture log;
        joystick.SelectJoyStick(kJoyStickNone);
        CHECK(joystick.GetKeyState() == -1);
        CHECK(joystick.GetKeyState() == -1);
        CHECK(log.messages.size() == 4);
        CHECK(log.messages[0] == "JoyStick Number 4");
        joystick.SelectJoyStick(-1);
        CHECK(joystick.GetKeyState() == -1);
        CHECK(log.messages[4] == "JoyStick Number 0");
        CHECK(log.messages[5] == "CJoyStick::GetKeyState IJoyStickの生成に失敗");
        CHECK(joystick.GetImplementation() == nullptr);
    }
}

TEST_CASE("the system's own joystick calls without a controller read all keys released")
{
    // Under Wine (and on the host build) no controller is attached; skip if one is.
    JoyStickCaps caps;
    const JoyStickApi& api = GetJoyStickApi();
    if (api.getNumDevs() != 0 && (api.getDevCaps(0, &caps) || api.getDevCaps(1, &caps))) return;
    XInputPadReading reading;
    for (uint32_t slot = 0; slot < kXInputSlots; ++slot)
        if (GetXInputApi().getState(slot, &reading)) return;
    ErrorCapture log;
    CJoyStick joystick;
    CHECK(joystick.GetKeyState() == -1);
    CHECK(log.messages.size() == 2);
    CHECK(joystick.GetKeyState() == 1);
    CHECK(log.messages.size() == 2);
    for (int key = 0; key < 256; ++key) CHECK_FALSE(joystick.IsDown(key));
}

TEST_CASE("CJoyStick takes a connected XInput pad before the winmm joystick")
{
    UseFake use;
    CJoyStick joystick;
    CHECK(joystick.GetKeyState() == 0);
    CHECK(dynamic_cast<CWinMMJoyStick*>(joystick.GetImplementation()) != nullptr);
    CHECK(use.pads.pads.slotsRead == std::vector<uint32_t>{0, 1, 2, 3});

    use.pads.pads.connected[3] = true;
    use.pads.pads.reading = {0x1000, 0, 32767};  // A, stick up
    joystick.SetButtonMax(10);
    joystick.SelectJoyStick(kJoyStickAny);
    use.fake.posIds.clear();
    CHECK(joystick.GetKeyState() == 0);
    auto* pad = dynamic_cast<CXInputJoyStick*>(joystick.GetImplementation());
    REQUIRE(pad != nullptr);
    CHECK(pad->GetSlot() == 3);
    CHECK(pad->GetButtonMax() == 10);
    CHECK(joystick.IsDown(kJoyUp));
    CHECK(joystick.IsTriggered(kJoyButton1));
    CHECK(use.fake.posIds.empty());  // the winmm joystick was not asked
}

TEST_CASE("the axes read as an XInput stick does: signed, y up, the calibrated ends at the ends")
{
    UseFake use;
    use.fake.caps = {100, 300, 1000, 1400};
    CJoyStick joystick;
    int16_t x = 1, y = 1;
    joystick.GetAxes(x, y);
    CHECK((x == 0 && y == 0));  // nothing polled yet
    struct Case {
        uint32_t x, y;
        int16_t ax, ay;
    } const cases[] = {
        {100, 1000, -32768, 32767},  // left and up
        {300, 1400, 32767, -32768},  // right and down
        {200, 1200, -1, 0},          // the middle of an even range lies half a step off centre
        {150, 1300, -16385, -16384},
        {0, 0xFFFF, -32768, -32768},  // outside the calibration: clamped
    };
    for (const Case& c : cases) {
        CAPTURE(c.x);
        CAPTURE(c.y);
        use.fake.reading = {c.x, c.y, 0};
        REQUIRE(joystick.GetKeyState() == 0);
        joystick.GetAxes(x, y);
        CHECK(x == c.ax);
        CHECK(y == c.ay);
    }
    // An XInput pad gives its left stick as it is.
    use.pads.pads.connected[0] = true;
    use.pads.pads.reading = {0, -1234, 4321};
    CJoyStick pad;
    REQUIRE(pad.GetKeyState() == 0);
    pad.GetAxes(x, y);
    CHECK((x == -1234 && y == 4321));
}
