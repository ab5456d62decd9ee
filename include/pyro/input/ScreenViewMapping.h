// IScreenViewMapping: what the key mapper needs to know of the screen view to turn a window
// position into a logical one: where logical (0, 0) lies and how many window pixels make one
// logical pixel. The screen view implements it.
#pragma once

#include <cstdint>

class IScreenViewMapping {
public:
    // The window position of logical (0, 0), across.
    virtual int32_t GetOriginX() const = 0;
    virtual int32_t GetOriginY() const = 0;  // and down
    // Whole window pixels per logical pixel, at least 1.
    virtual int32_t GetMagnification() const = 0;

protected:
    ~IScreenViewMapping() = default;
};

// A window coordinate as a logical one: (position - origin) / magnification, truncating toward
// zero. A magnification below 1 is taken as 1.
inline int32_t ToLogical(int32_t position, int32_t origin, int32_t magnification)
{
    const int64_t offset = int64_t{position} - origin;
    return static_cast<int32_t>(magnification > 1 ? offset / magnification : offset);
}
