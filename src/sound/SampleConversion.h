// Float samples (full scale 1.0) into 16-bit ones, as every decoder of the sound module turns
// them: scaled by 32768, rounded half up, clamped; NaN becomes 0.
#pragma once

#include <cmath>
#include <cstdint>

inline int16_t FloatToSample(float value)
{
    if (!(value == value)) return 0;  // NaN
    const double scaled = std::floor(static_cast<double>(value) * 32768.0 + 0.5);
    if (scaled >= 32767.0) return 32767;
    if (scaled <= -32768.0) return -32768;
    return static_cast<int16_t>(scaled);
}
