// What the joystick implementations share: the directions by thirds (JoyStickThirds), the
// number of button keys that fit the key buffer, and CJoyStickDevice, the base that keeps the
// valid flag, the button count and the selector.
#pragma once

#include <pyro/input/JoyStick.h>

#include <cstdint>

inline bool IsJoyButtonCount(int32_t count) { return count >= 0 && count <= kJoyMaxButtons; }

// A count out of range becomes the nearest one that fits.
inline int32_t ClampJoyButtonCount(int32_t count)
{
    return IsJoyButtonCount(count) ? count : (count < 0 ? 0 : kJoyMaxButtons);
}

// Each axis's calibrated range is cut into thirds; a stick counts as pushed once it leaves the
// middle third. Positions grow rightwards and downwards.
struct JoyStickThirds {
    uint32_t left = 0;   // (xMax + 2 xMin) / 3
    uint32_t right = 0;  // (xMin + 2 xMax) / 3
    uint32_t up = 0;     // (yMax + 2 yMin) / 3
    uint32_t down = 0;   // (yMin + 2 yMax) / 3

    // Computed wide, so that absurd calibration values cannot wrap around.
    static JoyStickThirds FromRange(uint32_t xMin, uint32_t xMax, uint32_t yMin, uint32_t yMax)
    {
        return {Third(xMax, xMin), Third(xMin, xMax), Third(yMax, yMin), Third(yMin, yMax)};
    }

    // A position within the calibrated range as -32768 to 32767, the range's ends at the ends,
    // outside values clamped. Computed wide: the range may be anything the driver reports.
    static int16_t Signed(uint32_t value, uint32_t min, uint32_t max)
    {
        if (max <= min) return 0;
        const int64_t clamped = value < min ? min : (value > max ? max : value);
        return static_cast<int16_t>((clamped - min) * 65535 / (max - min) - 32768);
    }

    // The four direction keys of a joystick key buffer, each 1 or 0.
    void SetDirectionKeys(uint8_t* keys, uint32_t x, uint32_t y) const
    {
        keys[kJoyUp] = y < up;
        keys[kJoyDown] = y > down;
        keys[kJoyLeft] = x < left;
        keys[kJoyRight] = x > right;
    }

private:
    // (a + 2b) / 3, the boundary one third of the way from b to a.
    static uint32_t Third(uint32_t a, uint32_t b)
    {
        return static_cast<uint32_t>((uint64_t{a} + 2 * uint64_t{b}) / 3);
    }
};

// The base of the joystick implementations: the valid flag, the button count and the selector,
// with the operations that need nothing else.
class CJoyStickDevice : public IJoyStick {
public:
    void ClearKeyState() override { keys_.ClearBuffers(); }
    // 0 to 252 buttons; stores the count and clears the keys. -1 for any other count.
    int SetButtonMax(int32_t count) override
    {
        if (!IsJoyButtonCount(count)) return -1;
        buttonMax_ = count;
        ClearKeyState();
        return 0;
    }
    int32_t GetButtonMax() const override { return buttonMax_; }
    int SelectJoyStick(int32_t number) override
    {
        number_ = number;
        return Initialize();
    }
    bool IsValid() const override { return valid_; }
    // The requested selector, or 3 once the requested device turned out to be missing.
    int32_t GetJoyStickNumber() const { return number_; }

protected:
    // The derived constructor initialises.
    CJoyStickDevice(int32_t number, int32_t buttonMax)
        : buttonMax_(ClampJoyButtonCount(buttonMax)), number_(number)
    {
    }
    // Finds the device for the selector and sets valid_: 0 ready, else a failure code.
    virtual int Initialize() = 0;

    bool valid_ = false;
    int32_t buttonMax_;
    int32_t number_;
};
