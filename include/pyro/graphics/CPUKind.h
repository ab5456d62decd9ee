// GetCPUKind: which plane implementation this processor runs, probed once per process.
//   1 no processor identification instruction, 2 no MMX, 3 MMX without conditional moves,
//   4 MMX with conditional moves.
#pragma once

#include <cstdint>

// The processor kind (above), probed on the first call.
int32_t GetCPUKind();
