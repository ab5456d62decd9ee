// The two halves of GetCPUKind, apart so that each can be tested.
#pragma once

#include <cstdint>

// The processor's own kind (1 to 6), whatever the environment says.
int32_t ProbeCPUKind();

// The kind the planes use: the probed kind, held down to the kind the switch's text names when
// it names one ("1" to "6"); forced may be null.
int32_t ChooseCPUKind(int32_t probed, const char* forced);
