#include "input/WinMMJoyStick.h"

CWinMMJoyStick::CWinMMJoyStick(int32_t number, int32_t buttonMax)
    : CJoyStickDevice(number, buttonMax)
{
    Initialize();
}

int CWinMMJoyStick::Initialize()
{
    valid_ = false;
    if (number_ == kJoyStickNone) return 2;
    const JoyStickApi& api = GetJoyStickApi();
    if (api.getNumDevs() == 0) return 1;

    JoyStickCaps caps = {};
    uint32_t id = 0;
    bool found = false;
    if (number_ == kJoyStickFirst || number_ == kJoyStickAny) found = api.getDevCaps(id = 0, &caps);
    if (!found && (number_ == kJoyStickSecond || number_ == kJoyStickAny)) found = api.getDevCaps(id = 1, &caps);
    if (!found) {
        number_ = kJoyStickNone;
        return 2;
    }
    deviceId_ = id;
    caps_ = caps;

    thirds_ = JoyStickThirds::FromRange(caps.xMin, caps.xMax, caps.yMin, caps.yMax);

    JoyStickReading probe = {};
    if (!api.getPos(deviceId_, &probe)) return 2;
    valid_ = true;
    keys_.ClearBuffers();
    return 0;
}

int CWinMMJoyStick::GetKeyState()
{
    if (!valid_) return 1;
    keys_.Flip();

    const JoyStickApi& api = GetJoyStickApi();
    JoyStickReading reading = {};
    uint32_t buttons;
    if (buttonMax_ <= 4) {
        if (!api.getPos(deviceId_, &reading)) return 2;
        buttons = reading.buttons & 0xFFFF;
    } else {
        if (!api.getPosEx(deviceId_, &reading)) return 2;
        buttons = reading.buttons;
    }
    const uint32_t x = reading.x & 0xFFFF;
    const uint32_t y = reading.y & 0xFFFF;

    uint8_t* keys = keys_.Current();
    thirds_.SetDirectionKeys(keys, x, y);
    // y grows downwards in winmm and upwards in the axes' form.
    axisX_ = JoyStickThirds::Signed(x, caps_.xMin, caps_.xMax);
    axisY_ = static_cast<int16_t>(-1 - JoyStickThirds::Signed(y, caps_.yMin, caps_.yMax));
    // Buttons past the 32nd read as released: the word is empty by then.
    for (int32_t i = 0; i < buttonMax_; ++i) {
        keys[kJoyButton1 + i] = buttons & 1;
        buttons >>= 1;
    }
    return 0;
}
