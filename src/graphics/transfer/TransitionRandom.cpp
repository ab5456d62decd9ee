// The per-thread generator of the transition effects and their random byte table.
#include "graphics/transfer/TransitionRandom.h"

namespace {
thread_local CRuntimeRandom transitionRandom;
}

int32_t TransitionRand() { return transitionRandom.Next(); }

void SeedTransitionRand(uint32_t seed) { transitionRandom.Seed(seed); }

const uint8_t* RandomByteTable()
{
    static const struct Table {
        uint8_t bytes[256];
        Table()
        {
            CRuntimeRandom random(0);
            for (uint8_t& b : bytes) b = uint8_t(random.Next() & 0xFF);
        }
    } table;
    return table.bytes;
}
