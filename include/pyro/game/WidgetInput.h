// CWidgetInput: one frame of input as the widget rules read it: logical keys just pressed, the
// mouse buttons' press and release edges, Shift held, and the mouse's logical position. The game
// reads it from the key mapper; tests fill one in to drive the rules without a device.
#pragma once

#include <pyro/input/LogicalKeys.h>

#include <cstdint>

class CWidgetInput {
public:
    virtual ~CWidgetInput() = default;  // the input of one frame
    // Whether the logical key was just pressed.
    virtual bool IsTriggered(int32_t logicalKey) const = 0;

    bool leftPress = false;  // the left button went down this frame
    bool rightPress = false;  // the right button went down
    bool leftRelease = false;  // the left button went up
    bool rightRelease = false;  // the right button went up
    bool shift = false;  // Shift is held: decide and cancel swap
    int32_t mouseX = 0;  // the mouse's logical position
    int32_t mouseY = 0;  // the same, vertically
};
