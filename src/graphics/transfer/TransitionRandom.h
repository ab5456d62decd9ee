// The random numbers of the transition effects: the C runtime's linear congruential generator,
// written out here so that every build draws the same pieces, and the 256-byte table the tile
// animations take their offsets from.
#pragma once

#include <cstdint>

// The generator of the Windows C runtime's rand(): seed = seed * 214013 + 2531011, result the
// seed's bits 16-30. The host C library of a native build uses another generator (glibc's is
// not even linear congruential), so the effects cannot call rand() itself and still draw the
// same pixels on every build.
class CRuntimeRandom {
public:
    explicit CRuntimeRandom(uint32_t seed = 1) : seed_(seed) {}
    void Seed(uint32_t seed) { seed_ = seed; }
    // 0 to 32767.
    int32_t Next()
    {
        seed_ = seed_ * 214013u + 2531011u;
        return int32_t((seed_ >> 16) & 0x7FFF);
    }

private:
    uint32_t seed_;
};

// The generator the dissolving effects draw from, one per thread as the C runtime keeps it;
// it starts from seed 1, as rand() does without srand.
int32_t TransitionRand();
// Restarts it, as srand does: the same seed gives the same sequence of pieces.
void SeedTransitionRand(uint32_t seed);

// 256 bytes: the low bytes of the first 256 numbers from seed 0, made once on first use.
const uint8_t* RandomByteTable();
