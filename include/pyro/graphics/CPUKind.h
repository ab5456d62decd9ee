// GetCPUKind: which plane implementation this processor runs, decided once per process.
//   1 no processor identification instruction, 2 no MMX, 3 MMX without conditional moves,
//   4 MMX with conditional moves, 5 SSE2 as well, 6 AVX2 as well (and a system that keeps the
//   256-bit registers).
// The environment variable PYRO_CPU_KIND, read at the first call, holds the kind down to the
// one it names (1 to 6), so that one machine can run every set: PYRO_CPU_KIND=1 gives the
// portable planes, 3 the MMX ones. A kind above the processor's own is lowered to it, and a
// value that names no kind is ignored.
#pragma once

#include <cstdint>

// The processor kind (above), probed on the first call.
int32_t GetCPUKind();
