// CXInputJoyStick: an XInput pad (the Xbox controller family) as a joystick. The left stick and
// the D-pad give the four directions, the stick by the same thirds as the winmm joystick; the
// buttons A, B, X, Y, left and right shoulder, Back, Start, left and right stick press give
// buttons 1 to 10. XInputGetState comes from a library loaded at run time through a replaceable
// table, so a system without the library still runs and tests can stand in for a pad.
#pragma once

#include <pyro/input/JoyStick.h>

#include <cstdint>

#include "input/JoyStickDevice.h"

// One reading of a pad, as XINPUT_GAMEPAD holds it: the button bits, the sticks from -32768 to
// 32767 with y growing upwards, and the triggers from 0 to 255.
struct XInputPadReading {
    uint16_t buttons;
    int16_t thumbLX, thumbLY;
    int16_t thumbRX = 0, thumbRY = 0;
    uint8_t leftTrigger = 0, rightTrigger = 0;
};
struct XInputApi {
    // True when a pad is connected in that slot (0 to 3) and was read.
    bool (*getState)(uint32_t slot, XInputPadReading* reading);
    // Sets the two motors' speeds (0 to 65535): true when the pad took them. May be null: no
    // rumble then.
    bool (*setState)(uint32_t slot, uint16_t lowFrequency, uint16_t highFrequency) = nullptr;
};
// Null restores the platform's call (a pad never connects where the library is missing, and
// on a non-Windows build). Returns the previous table.
const XInputApi* SetXInputApi(const XInputApi* api);
const XInputApi& GetXInputApi();
// The library the platform's call came from ("xinput1_4.dll", "xinput1_3.dll" or
// "xinput9_1_0.dll", the first that loads), or null when none could be loaded.
const char* GetXInputLibraryName();

// The four slots XInput knows.
constexpr uint32_t kXInputSlots = 4;
// The pad buttons in the order of joystick buttons 1 to 10.
constexpr int32_t kXInputButtons = 10;

class CXInputJoyStick : public CJoyStickDevice {
public:
    // Initialises at once; IsValid tells whether a pad answered. Selector 0 and 1 ask for the
    // pad in slot 0 or 1, selector 2 takes the first connected pad of the four slots.
    CXInputJoyStick(int32_t number, int32_t buttonMax);

    // 0 after a reading; 1 when not valid; 2 when the pad did not answer (pulled out): its keys
    // then read as released, so that nothing stays held. Of the button keys only the first 10
    // have a pad button.
    int GetKeyState() override;

    uint32_t GetSlot() const { return slot_; }

private:
    // 0 ready; 2 no pad for the selector.
    int Initialize() override;

    uint32_t slot_ = 0;
};
