// The cosine table shared by the plane rotation and the scene transitions: 512 entries,
// entry k = cos(k * pi / 256) * 65536 truncated toward zero, so entry (k + 384) mod 512 is the
// sine. Built once, on first use.
#pragma once

#include <cstdint>

const int32_t* GetCosTable();
