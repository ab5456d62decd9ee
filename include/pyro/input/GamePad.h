// CGamePad: one XInput pad (the Xbox controller family) read as a whole: its buttons, both sticks
// and both triggers, its two rumble motors, and its coming and going. Up to four pads, one object
// per slot; a pad plugged in after start is found by the next poll of its slot. The key mapper's
// joystick keys are separate and unchanged (CJoyStick).
#pragma once

#include <cstdint>

// A stick after its dead zone, as XInput's documentation applies it: the vector's length inside
// the dead zone counts as zero; beyond it, the length is rescaled so that the zone's edge is 0
// and full deflection is 1. x grows rightwards, y upwards, both in -1 to 1; magnitude in 0 to 1.
struct StickPosition {
    float x = 0;  // -1 (left) to 1 (right)
    float y = 0;  // -1 (down) to 1 (up)
    float magnitude = 0;  // 0 to 1, the length of (x, y)
};
// The dead zone applied to a raw reading (-32768 to 32767 on each axis).
StickPosition ApplyStickDeadZone(int32_t x, int32_t y, int32_t deadZone);
// A trigger (0 to 255) after its threshold: 0 up to the threshold, then rising to 1 at 255.
float ApplyTriggerThreshold(int32_t value, int32_t threshold);

// A pad's raw state, as XINPUT_GAMEPAD holds it.
struct GamePadState {
    uint16_t buttons = 0;  // kPad* bits
    int16_t leftX = 0;  // the left stick, -32768 to 32767
    int16_t leftY = 0;  // -32768 to 32767, up positive
    int16_t rightX = 0;  // the right stick, as the left
    int16_t rightY = 0;  // up positive
    uint8_t leftTrigger = 0;  // 0 to 255
    uint8_t rightTrigger = 0;  // 0 to 255
};

// The button bits of GamePadState::buttons (XINPUT_GAMEPAD_* values).
enum : uint16_t {
    kPadUp = 0x0001,
    kPadDown = 0x0002,
    kPadLeft = 0x0004,
    kPadRight = 0x0008,
    kPadStart = 0x0010,
    kPadBack = 0x0020,
    kPadLeftThumb = 0x0040,  // the left stick pressed
    kPadRightThumb = 0x0080,
    kPadLeftShoulder = 0x0100,
    kPadRightShoulder = 0x0200,
    kPadA = 0x1000,
    kPadB = 0x2000,
    kPadX = 0x4000,
    kPadY = 0x8000,
};

// Results of CGamePad::Update.
constexpr int kPadRead = 0;  // connected and read
constexpr int kPadEmpty = 1;  // nothing in the slot (or just pulled out): the state is all released
constexpr int kPadNotPolled = 2;  // the slot was empty less than kPadEmptySlotInterval ago
constexpr int kPadBadSlot = 3;  // the object's slot is not 0 to 3

// Results of CGamePad::SetRumble.
constexpr int kRumbleSet = 0;
constexpr int kRumbleNoPad = 1;  // not connected, or a slot out of range
constexpr int kRumbleRefused = 2;  // the pad or the system took no rumble

// XInput's documented dead zones.
constexpr int32_t kPadLeftStickDeadZone = 7849;  // the left stick's
constexpr int32_t kPadRightStickDeadZone = 8689;  // the right stick's
constexpr int32_t kPadTriggerThreshold = 30;  // both triggers'

// XInputGetState on an empty slot is slow on Windows: such a slot is asked again only this often.
constexpr uint32_t kPadEmptySlotInterval = 1000;  // ms
// The slots XInput knows, 0 to 3.
constexpr uint32_t kPadSlots = 4;

// CGamePad: the pad in one slot, read once a frame.
class CGamePad {
public:
    // The pad in slot 0 to 3. Nothing is read before the first Update.
    explicit CGamePad(uint32_t slot);
    // Stops the pad's rumble.
    ~CGamePad();
    CGamePad(const CGamePad&) = delete;
    CGamePad& operator=(const CGamePad&) = delete;

    // Reads the pad once a frame (kPadRead, kPadEmpty, kPadNotPolled or kPadBadSlot); ends a rumble
    // whose duration has passed. The overload takes the time in milliseconds, for tests.
    int Update();
    int Update(uint32_t nowMs);  // the same at a given time

    uint32_t GetSlot() const { return slot_; }  // 0 to 3 as made
    bool IsConnected() const { return connected_; }  // as the latest Update found it
    // Whether the latest Update found the pad newly plugged in, or found it gone.
    bool WasConnected() const { return connected_ && !wasConnected_; }
    bool WasDisconnected() const { return !connected_ && wasConnected_; }  // the pad went

    // The latest reading; all zero while disconnected.
    const GamePadState& GetState() const { return state_; }
    // Held in the latest reading (any of the kPad* bits given).
    bool IsDown(uint16_t buttons) const { return (state_.buttons & buttons) != 0; }
    // Held in the latest reading and not in the one before.
    bool IsTriggered(uint16_t buttons) const { return (state_.buttons & ~previousButtons_ & buttons) != 0; }
    // The sticks after the documented dead zones, the triggers after their threshold.
    StickPosition GetLeftStick() const;
    StickPosition GetRightStick() const;  // after its own dead zone
    float GetLeftTrigger() const;  // 0 to 1
    float GetRightTrigger() const;  // 0 to 1

    // Runs the low-frequency (left, heavy) and high-frequency (right, light) motors at 0 to 65535;
    // a duration in milliseconds stops them by themselves at the first Update after it (0: until
    // changed). Every pad's rumble stops when the application loses the focus, is minimised or
    // ends.
    int SetRumble(uint16_t lowFrequency, uint16_t highFrequency, uint32_t durationMs = 0);
    void StopRumble();  // both motors off now
    // Stops the rumble of every pad object alive.
    static void StopAllRumble();

private:
    void Disconnect();

    uint32_t slot_;
    bool connected_ = false;
    bool wasConnected_ = false;
    bool rumbling_ = false;
    bool probed_ = false;  // the slot was asked at least once
    uint32_t lastProbe_ = 0;  // when an empty slot was last asked
    uint32_t now_ = 0;  // the time of the latest Update
    bool rumbleTimed_ = false;  // rumbleEnd_ ends the rumble
    uint32_t rumbleEnd_ = 0;
    uint16_t previousButtons_ = 0;
    GamePadState state_;
};
