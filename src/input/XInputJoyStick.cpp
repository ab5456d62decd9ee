#include "input/XInputJoyStick.h"

namespace {

// XINPUT_GAMEPAD button bits.
constexpr uint16_t kPadUp = 0x0001;
constexpr uint16_t kPadDown = 0x0002;
constexpr uint16_t kPadLeft = 0x0004;
constexpr uint16_t kPadRight = 0x0008;
constexpr uint16_t kPadButtonBits[kXInputButtons] = {
    0x1000,  // A
    0x2000,  // B
    0x4000,  // X
    0x8000,  // Y
    0x0100,  // left shoulder
    0x0200,  // right shoulder
    0x0020,  // Back
    0x0010,  // Start
    0x0040,  // left stick press
    0x0080,  // right stick press
};

// The stick's range shifted to 0..65535 with y growing downwards, like a winmm joystick's.
const JoyStickThirds kStickThirds = JoyStickThirds::FromRange(0, 65535, 0, 65535);

}  // namespace

CXInputJoyStick::CXInputJoyStick(int32_t number, int32_t buttonMax)
    : CJoyStickDevice(number, buttonMax)
{
    Initialize();
}

int CXInputJoyStick::Initialize()
{
    valid_ = false;
    const XInputApi& api = GetXInputApi();
    XInputPadReading reading = {};
    bool found = false;
    if (number_ == kJoyStickFirst || number_ == kJoyStickSecond) {
        slot_ = uint32_t(number_);
        found = api.getState(slot_, &reading);
    } else if (number_ == kJoyStickAny) {
        for (uint32_t slot = 0; slot < kXInputSlots && !found; ++slot) {
            slot_ = slot;
            found = api.getState(slot, &reading);
        }
    }
    if (!found) {
        number_ = kJoyStickNone;
        return 2;
    }
    valid_ = true;
    keys_.ClearBuffers();
    return 0;
}

int CXInputJoyStick::GetKeyState()
{
    if (!valid_) return 1;
    keys_.Flip();
    XInputPadReading reading = {};
    if (!GetXInputApi().getState(slot_, &reading)) {
        keys_.ClearCurrent();
        axisX_ = axisY_ = 0;
        return 2;
    }
    axisX_ = reading.thumbLX;
    axisY_ = reading.thumbLY;
    uint8_t* keys = keys_.Current();
    kStickThirds.SetDirectionKeys(keys, uint32_t(reading.thumbLX + 32768),
                                  uint32_t(32767 - reading.thumbLY));
    keys[kJoyUp] |= (reading.buttons & kPadUp) != 0;
    keys[kJoyDown] |= (reading.buttons & kPadDown) != 0;
    keys[kJoyLeft] |= (reading.buttons & kPadLeft) != 0;
    keys[kJoyRight] |= (reading.buttons & kPadRight) != 0;
    // Keys past the tenth button are never written and stay released.
    for (int32_t i = 0; i < buttonMax_ && i < kXInputButtons; ++i)
        keys[kJoyButton1 + i] = (reading.buttons & kPadButtonBits[i]) != 0;
    return 0;
}
