// The joystick as keys: IJoyStick is the implementation interface (keys 0 up, 1 down, 2 left,
// 3 right, 4 + i button i + 1), CJoyStick the object the key mapper owns, which picks the
// joystick and creates its implementation on the first poll. Portable: no platform calls here.
#pragma once

#include <pyro/input/KeyInput.h>

#include <cstdint>
#include <memory>

// Joystick selectors.
constexpr int32_t kJoyStickFirst = 0;
constexpr int32_t kJoyStickSecond = 1;
constexpr int32_t kJoyStickAny = 2;  // the first of the two that is present
constexpr int32_t kJoyStickNone = 3;

// Key numbers of a joystick's buffer.
constexpr int32_t kJoyUp = 0;
constexpr int32_t kJoyDown = 1;
constexpr int32_t kJoyLeft = 2;
constexpr int32_t kJoyRight = 3;
constexpr int32_t kJoyButton1 = 4;
// Key 4 + count - 1 must fit the 256-byte buffer.
constexpr int32_t kJoyMaxButtons = CKeyBuffers::kKeyCount - kJoyButton1;

class IJoyStick {
public:
    virtual int GetKeyState() = 0;
    // Zeroes both buffers.
    virtual void ClearKeyState() = 0;
    virtual bool IsDown(int32_t key) const { return keys_.IsSet(key); }
    virtual bool IsTriggered(int32_t key) const { return keys_.IsNewlySet(key); }
    virtual const uint8_t* GetKeyBuffer() const { return keys_.Current(); }
    virtual int SetButtonMax(int32_t count) = 0;
    virtual int32_t GetButtonMax() const = 0;
    // Chooses another joystick and initialises again.
    virtual int SelectJoyStick(int32_t number) = 0;
    virtual bool IsValid() const = 0;
    virtual ~IJoyStick() = default;

protected:
    CKeyBuffers keys_;
};

// Its own buffers stay empty: every question goes to the implementation.
class CJoyStick : public CKeyInput {
public:
    CJoyStick() = default;
    ~CJoyStick() override;

    // Creates the implementation when there is none (reporting a failure once per creation),
    // then polls it. -1 when no implementation could be made or initialised.
    int GetKeyState() override;
    bool IsDown(int32_t key) const override;
    bool IsTriggered(int32_t key) const override;
    // Null without an implementation.
    const uint8_t* GetKeyBuffer() const override;
    virtual void ClearKeyState();
    // 0 to 252 buttons; -1 (nothing stored) for any other count.
    virtual int SetButtonMax(int32_t count);
    virtual int32_t GetButtonMax() const { return buttonMax_; }
    // Stores the selector and drops the implementation; the next poll creates it again.
    virtual int SelectJoyStick(int32_t number);

    int32_t GetJoyStickNumber() const { return number_; }
    IJoyStick* GetImplementation() const { return impl_.get(); }

private:
    int CreateImplementation();

    int32_t buttonMax_ = 2;
    int32_t number_ = kJoyStickAny;
    std::unique_ptr<IJoyStick> impl_;
};
