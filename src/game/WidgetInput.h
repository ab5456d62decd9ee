// CWidgetInput: one frame of input as the widget rules read it: logical keys just pressed, the
// mouse buttons' press and release edges, Shift held, and the mouse's logical position. The game
// reads it from the key mapper; tests fill one in to drive the rules without a device.
#pragma once

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

// Logical keys the widget rules use (the key mapper's defaults).
enum : int32_t {
    kLogicalUp = 2,
    kLogicalLeft = 3,
    kLogicalRight = 4,
    kLogicalDown = 5,
    kLogicalDecide = 6,
    kLogicalCancel = 7,
    kLogicalTab = 8,
    kLogicalShift = 9,
};
