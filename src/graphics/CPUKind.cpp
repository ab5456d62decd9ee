// The processor probe behind GetCPUKind: CPUID function 1, EDX bits 23 (MMX) and 15 (CMOV).
// Processors of another family get the portable planes.
#include <pyro/graphics/CPUKind.h>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {
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
    return 4;
#else
    return 1;
#endif
}
}  // namespace

int32_t GetCPUKind()
{
    static const int32_t kind = ProbeCPUKind();
    return kind;
}
