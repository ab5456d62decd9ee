// The processor probe behind GetCPUKind: CPUID function 1, EDX bits 23 (MMX), 15 (CMOV) and
// 26 (SSE2); for AVX2, function 7 EBX bit 5 together with the system's consent to the 256-bit
// registers (ECX bits 27 and 28 of function 1, then XGETBV). The environment switch holds the
// kind down. Processors of another family get the portable planes.
#include <pyro/graphics/CPUKind.h>

#include "graphics/CPUKindProbe.h"

#include <algorithm>
#include <cstdlib>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

int32_t ProbeCPUKind()
{
#if defined(__i386__) || defined(__x86_64__)
    // __get_cpuid_max reports 0 when bit 21 of the flags register cannot be toggled.
    if (__get_cpuid_max(0, nullptr) < 1) return 1;
    unsigned a = 0;
    unsigned b = 0;
    unsigned c = 0;
    unsigned d = 0;
    __cpuid(1, a, b, c, d);
    if (!(d & (1u << 23))) return 2;
    if (!(d & (1u << 15))) return 3;
    if (!(d & (1u << 26))) return 4;
    // The system saves the 256-bit registers only when XCR0 has both the SSE and AVX bits.
    const unsigned osxsaveAndAvx = (1u << 27) | (1u << 28);
    if ((c & osxsaveAndAvx) != osxsaveAndAvx || __get_cpuid_max(0, nullptr) < 7) return 5;
    unsigned xcr0 = 0;
    unsigned xcr0High = 0;
    __asm__ volatile("xgetbv" : "=a"(xcr0), "=d"(xcr0High) : "c"(0));
    if ((xcr0 & 6u) != 6u) return 5;
    __cpuid_count(7, 0, a, b, c, d);
    return (b & (1u << 5)) ? 6 : 5;
#else
    return 1;
#endif
}

int32_t ChooseCPUKind(int32_t probed, const char* forced)
{
    if (!forced || forced[0] < '1' || forced[0] > '6' || forced[1] != '\0') return probed;
    return std::min(probed, int32_t(forced[0] - '0'));
}

int32_t GetCPUKind()
{
    static const int32_t kind = ChooseCPUKind(ProbeCPUKind(), std::getenv("PYRO_CPU_KIND"));
    return kind;
}
