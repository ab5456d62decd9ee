// CWidgetInput: one frame of input as the widget rules read it: logical keys just pressed, the
// mouse buttons' press and release edges, Shift held, and the mouse's logical position. The game
// reads it from the key mapper; tests fill one in to drive the rules without a device.
#pragma once

#include <pyro/input/LogicalKeys.h>

#include <cstdint>

class CWidgetInput {
public:
    virtual ~CWidgetInput() = default;
    virtual bool IsTriggered(int32_t logicalKey) const = 0;

    bool leftPress = false;
    bool rightPress = false;
    bool leftRelease = false;
    bool rightRelease = false;
    bool shift = false;
    int32_t mouseX = 0;
    int32_t mouseY = 0;
};
