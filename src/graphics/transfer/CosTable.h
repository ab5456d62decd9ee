// The cosine table shared by rotation and the transition effects: 512 steps make a full turn;
// entry k is cos(k * pi / 256) * 65536 truncated toward zero (16.16 fixed point).
#pragma once

#include <cstdint>

// The 512 entries, built once on first use.
const int32_t* CosTable();

// Cosine and sine of an angle in 512ths of a turn, any integer (taken modulo 512).
inline int32_t Cos512(int32_t k) { return CosTable()[k & 511]; }
inline int32_t Sin512(int32_t k) { return CosTable()[(k - 128) & 511]; }
