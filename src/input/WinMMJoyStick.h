// CWinMMJoyStick: a joystick read through the multimedia joystick functions of the system.
// The calibrated range of each axis is cut into thirds (JoyStickThirds); a stick counts as
// pushed once it leaves the middle third. The system calls go through a replaceable table, so
// the logic is portable and tests can stand in for a controller.
#pragma once

#include <pyro/input/JoyStick.h>

#include <cstdint>

#include "input/JoyStickDevice.h"

// What the joystick needs of the system: the calibrated axis ranges and the position readings.
struct JoyStickCaps {
    uint32_t xMin, xMax, yMin, yMax;
};
// Raw readings: joyGetPos fills the JOYINFO words, joyGetPosEx the JOYINFOEX ones.
struct JoyStickReading {
    uint32_t x, y, buttons;
};
struct JoyStickApi {
    uint32_t (*getNumDevs)();
    // Each returns true on success.
    bool (*getDevCaps)(uint32_t id, JoyStickCaps* caps);
    bool (*getPos)(uint32_t id, JoyStickReading* reading);    // up to 4 buttons
    bool (*getPosEx)(uint32_t id, JoyStickReading* reading);  // up to 32 buttons
};
// Null restores the platform's calls (none on a non-Windows build). Returns the previous table.
const JoyStickApi* SetJoyStickApi(const JoyStickApi* api);
const JoyStickApi& GetJoyStickApi();

class CWinMMJoyStick : public CJoyStickDevice {
public:
    // Initialises at once; IsValid tells whether that worked.
    CWinMMJoyStick(int32_t number, int32_t buttonMax);

    // 0 after a reading; 1 when not valid; 2 when the reading failed (the new current buffer
    // then still holds the poll before the previous one).
    int GetKeyState() override;

    uint32_t GetDeviceId() const { return deviceId_; }

private:
    // 0 ready; 1 no joystick devices at all; 2 the chosen one is missing or does not answer.
    int Initialize() override;

    uint32_t deviceId_ = 0;
    JoyStickThirds thirds_;
    JoyStickCaps caps_ = {};
};
