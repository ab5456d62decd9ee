#include <pyro/input/GamePad.h>

#include <doctest/doctest.h>

#include <vector>

#include "JoyStickTesting.h"

using Rumble = FakePads::Rumble;

TEST_CASE("dead zones and trigger thresholds as XInput documents them")
{
    // Inside or on the zone's edge: nothing.
    CHECK(ApplyStickDeadZone(0, 0, kPadLeftStickDeadZone).magnitude == 0);
    CHECK(ApplyStickDeadZone(7849, 0, kPadLeftStickDeadZone).magnitude == 0);
    CHECK(ApplyStickDeadZone(5550, -5550, kPadLeftStickDeadZone).magnitude == 0);  // length 7849.0
    // Just beyond: the rescaled length, in the raw direction.
    const StickPosition nudge = ApplyStickDeadZone(0, -7850, kPadLeftStickDeadZone);
    CHECK(nudge.magnitude == doctest::Approx(1.0 / (32767 - 7849)));
    CHECK(nudge.x == 0);
    CHECK(nudge.y == doctest::Approx(-1.0 / (32767 - 7849)));
    // Half-way through the live range, on the right stick's zone.
    const StickPosition half = ApplyStickDeadZone(8689 + (32767 - 8689) / 2, 0, kPadRightStickDeadZone);
    CHECK(half.magnitude == doctest::Approx(0.5).epsilon(1e-4));
    // Full deflection is 1 whatever the direction, -32768 and the corners included.
    CHECK(ApplyStickDeadZone(-32768, 0, kPadLeftStickDeadZone).x == -1.0f);
    const StickPosition corner = ApplyStickDeadZone(32767, 32767, kPadLeftStickDeadZone);
    CHECK(corner.magnitude == 1.0f);
    CHECK(corner.x == doctest::Approx(0.70710678));
    CHECK(corner.y == doctest::Approx(0.70710678));
    // A zone as large as the range leaves nothing, without dividing by zero.
    CHECK(ApplyStickDeadZone(32767, 0, 32767).magnitude == 0);

    CHECK(ApplyTriggerThreshold(0, kPadTriggerThreshold) == 0);
    CHECK(ApplyTriggerThreshold(30, kPadTriggerThreshold) == 0);
    CHECK(ApplyTriggerThreshold(31, kPadTriggerThreshold) == doctest::Approx(1.0 / 225));
    CHECK(ApplyTriggerThreshold(255, kPadTriggerThreshold) == 1.0f);
}

TEST_CASE("four pads, each its own object, read their own sticks, triggers and buttons")
{
    UseFakePads use;
    use.pads.perSlot = true;
    for (uint32_t slot = 0; slot < kPadSlots; ++slot) {
        use.pads.connected[slot] = true;
        const int16_t base = int16_t(1000 * (slot + 1));
        use.pads.slotReadings[slot] = {uint16_t(kPadA << slot), base, int16_t(-base), int16_t(base + 1),
                                       int16_t(-base - 1), uint8_t(10 + slot), uint8_t(200 + slot)};
    }
    CGamePad pads[] = {CGamePad(0), CGamePad(1), CGamePad(2), CGamePad(3)};
    for (uint32_t slot = 0; slot < kPadSlots; ++slot) {
        CAPTURE(slot);
        CGamePad& pad = pads[slot];
        REQUIRE(pad.Update(0) == kPadRead);
        CHECK(pad.IsConnected());
        CHECK(pad.WasConnected());
        const GamePadState& state = pad.GetState();
        const int16_t base = int16_t(1000 * (slot + 1));
        CHECK(state.buttons == uint16_t(kPadA << slot));
        CHECK(state.leftX == base);
        CHECK(state.leftY == -base);
        CHECK(state.rightX == base + 1);
        CHECK(state.rightY == -base - 1);
        CHECK(state.leftTrigger == 10 + slot);
        CHECK(state.rightTrigger == 200 + slot);
        CHECK(pad.IsTriggered(uint16_t(kPadA << slot)));
        CHECK(pad.GetRightTrigger() == doctest::Approx((200.0 + slot - 30) / 225));
        CHECK(pad.GetLeftTrigger() == 0);
        // Under the dead zones.
        CHECK(pad.GetLeftStick().magnitude == 0);
        REQUIRE(pad.Update(16) == kPadRead);
        CHECK_FALSE(pad.WasConnected());
        CHECK(pad.IsDown(uint16_t(kPadA << slot)));
        CHECK_FALSE(pad.IsTriggered(uint16_t(kPadA << slot)));
    }
    CHECK(CGamePad(4).Update(0) == kPadBadSlot);
}

TEST_CASE("a pad plugged in later is found within a second; one pulled out reads as released")
{
    UseFakePads use;
    CGamePad pad(2);
    CHECK(pad.Update(0) == kPadEmpty);
    // The empty slot is asked again only after a second.
    use.pads.slotsRead.clear();
    CHECK(pad.Update(999) == kPadNotPolled);
    CHECK(use.pads.slotsRead.empty());
    use.pads.connected[2] = true;
    use.pads.reading = {kPadStart | kPadLeft, -32768, 32767, 0, 0, 255, 0};
    CHECK(pad.Update(999) == kPadNotPolled);
    CHECK_FALSE(pad.IsConnected());
    CHECK(pad.Update(1000) == kPadRead);
    CHECK(use.pads.slotsRead == std::vector<uint32_t>{2});
    CHECK(pad.WasConnected());
    CHECK(pad.IsDown(kPadStart));
    CHECK(pad.GetLeftStick().x == doctest::Approx(-0.7071).epsilon(1e-3));
    // Connected pads are read every frame.
    CHECK(pad.Update(1001) == kPadRead);

    // Pulled out with buttons, sticks and a trigger held: everything reads as released at once.
    use.pads.connected[2] = false;
    CHECK(pad.Update(1002) == kPadEmpty);
    CHECK(pad.WasDisconnected());
    CHECK_FALSE(pad.IsConnected());
    CHECK_FALSE(pad.IsDown(0xFFFF));
    CHECK(pad.GetState().leftX == 0);
    CHECK(pad.GetLeftTrigger() == 0);
    CHECK(pad.Update(1003) == kPadNotPolled);
    CHECK_FALSE(pad.WasDisconnected());
    // The millisecond count wraps round without leaving the slot unpolled.
    CGamePad late(3);
    CHECK(late.Update(0xFFFFFF00u) == kPadEmpty);
    CHECK(late.Update(0xFFFFFFFFu) == kPadNotPolled);
    CHECK(late.Update(0x000002E8u) == kPadEmpty);  // 1000 ms later
}

TEST_CASE("rumble: both motors, a duration that ends it, and every pad stopped at once")
{
    UseFakePads use;
    CGamePad first(0), second(1);
    CHECK(first.SetRumble(100, 200) == kRumbleNoPad);  // not read yet
    use.pads.connected[0] = use.pads.connected[1] = true;
    REQUIRE(first.Update(5000) == kPadRead);
    REQUIRE(second.Update(5000) == kPadRead);

    REQUIRE(first.SetRumble(0x8000, 0xFFFF, 250) == kRumbleSet);
    CHECK(use.pads.rumbles == std::vector<Rumble>{{0, 0x8000, 0xFFFF}});
    first.Update(5249);
    CHECK(use.pads.rumbles.size() == 1);
    first.Update(5250);  // the duration is over: the motors stop by themselves
    CHECK(use.pads.rumbles == std::vector<Rumble>{{0, 0x8000, 0xFFFF}, {0, 0, 0}});
    first.Update(5300);
    CHECK(use.pads.rumbles.size() == 2);  // stopped once, not every frame

    use.pads.rumbles.clear();
    REQUIRE(first.SetRumble(1, 0) == kRumbleSet);  // no duration: until changed
    REQUIRE(second.SetRumble(0, 2) == kRumbleSet);
    first.Update(1000000);
    CGamePad::StopAllRumble();
    CHECK(use.pads.rumbles == std::vector<Rumble>{{0, 1, 0}, {1, 0, 2}, {0, 0, 0}, {1, 0, 0}});

    // A pad or system that takes no rumble says so.
    use.pads.takesRumble = false;
    CHECK(first.SetRumble(5, 5) == kRumbleRefused);
    use.pads.takesRumble = true;
    XInputApi noRumble = kFakeXInputApi;
    noRumble.setState = nullptr;
    SetXInputApi(&noRumble);
    CHECK(first.SetRumble(5, 5) == kRumbleRefused);
    SetXInputApi(&kFakeXInputApi);

    // A pad object that goes away stops its motors.
    use.pads.rumbles.clear();
    {
        CGamePad third(1);
        third.Update(0);
        third.SetRumble(7, 7);
    }
    CHECK(use.pads.rumbles == std::vector<Rumble>{{1, 7, 7}, {1, 0, 0}});
}
