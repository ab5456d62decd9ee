// CKeyMapper: logical keys over the three input devices. It owns one keyboard, one mouse and
// one joystick, polls them once per frame, and answers for logical key numbers (1 escape,
// 2 to 5 up/left/right/down, 6 and 7 the action keys, 8 tab, 9 shift, 10 and up free for the
// application) through its keyTable of scan codes, with the joystick as a fallback.
#pragma once

#include <pyro/input/DirectInput.h>
#include <pyro/input/JoyStick.h>
#include <pyro/input/KeyCodes.h>
#include <pyro/input/LogicalKeys.h>
#include <pyro/input/Mouse.h>
#include <pyro/input/ScreenViewMapping.h>

#include <cstdint>
#include <memory>

class CKeyMapper {
public:
    // Default bindings; creates no device.
    CKeyMapper();
    virtual ~CKeyMapper();  // destroys the devices

    // Stores the view (null: positions stay in window coordinates); creates the keyboard, the
    // mouse and the joystick unless they exist. Needs the application's window.
    void Create(IScreenViewMapping* view);
    // The frame's poll: keyboard, mouse snapshot and position, joystick. Creates the devices
    // on first use.
    void Update();
    // Whether any scan code bound to the logical key (or its joystick key) is held / was just
    // pressed. False while the devices do not exist.
    bool IsDown(int32_t logicalKey) const;
    bool IsTriggered(int32_t logicalKey) const;  // (just pressed)
    // Destroys the three devices; a later Update creates a fresh set.
    void Destroy();

    // Whether Create has run and Destroy has not.
    bool IsCreated() const { return created_; }

    // The process's one mapper.
    static CKeyMapper& GetInstance();

    // Read by the widgets; keyTable is written by the application after Create.
    std::unique_ptr<CDirectInput> keyboard;  // the keyboard
    std::unique_ptr<CMouse> mouse;  // the mouse
    std::unique_ptr<CJoyStick> joystick;  // the joystick
    // keyTable[scan code] = logical key number; 0 = unbound.
    int32_t keyTable[CKeyBuffers::kKeyCount] = {};
    // Mouse position after the last Update, in logical coordinates when a view is set.
    int32_t mouseX = 0;
    int32_t mouseY = 0;  // the same, vertically
    // Whether the joystick answers for logical keys 2 to 7.
    bool useJoyStick = true;

private:
    bool Lookup(int32_t logicalKey, bool triggered) const;

    IScreenViewMapping* view_ = nullptr;
    bool created_ = false;
};
