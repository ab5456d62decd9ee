// The custom mutators' random numbers: a small linear congruential generator seeded with the
// seed libFuzzer passes, so that a mutation can be replayed from its seed alone.
#pragma once

#include <cstdint>

class CFuzzRandom {
public:
    explicit CFuzzRandom(uint32_t seed) : state_(seed) {}
    // A number below n, or 0 when n is 0.
    uint32_t operator()(uint32_t n)
    {
        state_ = state_ * 1103515245u + 12345u;
        return n ? (state_ >> 8) % n : 0;
    }

private:
    uint32_t state_;
};
