// The logical key numbers of the key mapper's default bindings: what its keyTable maps the
// keyboard's scan codes to, and what the joystick answers for (up to the two action keys).
// Numbers from 10 up are free for the application.
#pragma once

#include <cstdint>

enum : int32_t {
    kLogicalEscape = 1,
    kLogicalUp = 2,
    kLogicalLeft = 3,
    kLogicalRight = 4,
    kLogicalDown = 5,
    kLogicalDecide = 6,  // the first action key
    kLogicalCancel = 7,  // the second action key
    kLogicalTab = 8,
    kLogicalShift = 9,
};
