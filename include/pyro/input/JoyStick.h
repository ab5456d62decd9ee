// The joystick as keys: IJoyStick is the implementation interface (keys 0 up, 1 down, 2 left,
// 3 right, 4 + i button i + 1), CJoyStick the object the key mapper owns, which picks the
// joystick and creates its implementation on the first poll: an XInput pad when one is
// connected (buttons 1 to 10: A, B, X, Y, left and right shoulder, Back, Start, left and right
// stick press), otherwise the winmm joystick. Portable: no platform calls here.
#pragma once

#include <pyro/input/KeyInput.h>

#include <cstdint>
#include <memory>

// Joystick selectors.
constexpr int32_t kJoyStickFirst = 0;  // the first joystick
constexpr int32_t kJoyStickSecond = 1;  // the second joystick
constexpr int32_t kJoyStickAny = 2;  // the first of the two that is present
constexpr int32_t kJoyStickNone = 3;  // no joystick

// Key numbers of a joystick's buffer.
constexpr int32_t kJoyUp = 0;  // the stick pushed up
constexpr int32_t kJoyDown = 1;  // down
constexpr int32_t kJoyLeft = 2;  // left
constexpr int32_t kJoyRight = 3;  // right
constexpr int32_t kJoyButton1 = 4;  // button 1; button n is kJoyButton1 + n - 1
// Key 4 + count - 1 must fit the 256-byte buffer.
constexpr int32_t kJoyMaxButtons = CKeyBuffers::kKeyCount - kJoyButton1;

// IJoyStick: a joystick implementation that reports its directions and buttons as keys.
class IJoyStick {
public:
    // Polls the joystick into the key buffers: 0 on success.
    virtual int GetKeyState() = 0;
    // Zeroes both buffers.
    virtual void ClearKeyState() = 0;
    // Held in the newest poll.
    virtual bool IsDown(int32_t key) const { return keys_.IsSet(key); }
    // Held in the newest poll and not in the one before.
    virtual bool IsTriggered(int32_t key) const { return keys_.IsNewlySet(key); }
    // The newest poll's 256 bytes.
    virtual const uint8_t* GetKeyBuffer() const { return keys_.Current(); }
    // How many buttons become keys.
    virtual int SetButtonMax(int32_t count) = 0;
    virtual int32_t GetButtonMax() const = 0;  // the count SetButtonMax set
    // Chooses another joystick and initialises again.
    virtual int SelectJoyStick(int32_t number) = 0;
    // Whether a joystick was found and initialised.
    virtual bool IsValid() const = 0;
    virtual ~IJoyStick() = default;  // the implementation's resources
    // The stick of the newest poll as an XInput pad reports its left stick: -32768 to 32767 on
    // each axis, x rightwards, y upwards, the centre of the calibrated range at 0. Both 0 before
    // a reading.
    void GetAxes(int16_t& x, int16_t& y) const
    {
        x = axisX_;
        y = axisY_;
    }

protected:
    // The two key buffers of the implementation.
    CKeyBuffers keys_;
    // The newest poll's stick, in the form GetAxes gives.
    int16_t axisX_ = 0;
    int16_t axisY_ = 0;  // up positive
};

// Its own buffers stay empty: every question goes to the implementation.
// CJoyStick: the joystick the key mapper owns.
class CJoyStick : public CKeyInput {
public:
    CJoyStick() = default;  // no implementation yet
    ~CJoyStick() override;

    // Creates the implementation when there is none (a connected XInput pad for the selector,
    // else the winmm joystick; a failure is reported once per creation), then polls it. -1 when
    // no implementation could be made or initialised.
    int GetKeyState() override;
    bool IsDown(int32_t key) const override;
    bool IsTriggered(int32_t key) const override;
    // Null without an implementation.
    const uint8_t* GetKeyBuffer() const override;
    // Zeroes the implementation's buffers.
    virtual void ClearKeyState();
    // 0 to 252 buttons; -1 (nothing stored) for any other count.
    virtual int SetButtonMax(int32_t count);
    // The button count.
    virtual int32_t GetButtonMax() const { return buttonMax_; }
    // Stores the selector and drops the implementation; the next poll creates it again.
    virtual int SelectJoyStick(int32_t number);

    // The selector (kJoyStickFirst, kJoyStickSecond, kJoyStickAny or kJoyStickNone).
    int32_t GetJoyStickNumber() const { return number_; }
    // The implementation, or null before the first poll.
    IJoyStick* GetImplementation() const { return impl_.get(); }
    // The stick of the newest poll (IJoyStick::GetAxes); both 0 without an implementation. Apply
    // ApplyStickDeadZone (GamePad.h) with the dead zone of your choice.
    void GetAxes(int16_t& x, int16_t& y) const;

private:
    int CreateImplementation();

    int32_t buttonMax_ = 2;
    int32_t number_ = kJoyStickAny;
    std::unique_ptr<IJoyStick> impl_;
};
