// Timing helpers shared by the benchmark programs: the best of a few timed runs, each long
// enough to swamp the clock's resolution, turned into million pixels per second.
#pragma once

#include <chrono>
#include <cstdio>

#if !defined(_WIN32)
#include <time.h>
#else
#include <windows.h>
#endif

// Seconds on a clock that, where the platform has one precise enough, counts only the time this
// thread ran: on a shared machine other work then takes turns on the processor without being
// counted (it still competes for the caches). Windows reports thread times in ticks of many
// milliseconds, so there the clock is the wall clock.
inline double BenchSeconds()
{
#if !defined(_WIN32)
    timespec t{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t) == 0) return double(t.tv_sec) + t.tv_nsec * 1e-9;
#endif
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Calls work() repeatedly; returns the best observed rate in million pixels per second.
template <class Work>
double MpixelsPerSecond(double pixelsPerCall, Work&& work, double secondsPerRun = 0.05,
                        int runs = 7)
{
    double best = 0;
    for (int run = 0; run < runs; ++run) {
        long calls = 0;
        const double start = BenchSeconds();
        double elapsed = 0;
        do {
            work();
            ++calls;
            elapsed = BenchSeconds() - start;
        } while (elapsed < secondsPerRun);
        const double rate = pixelsPerCall * double(calls) / elapsed / 1e6;
        if (rate > best) best = rate;
    }
    return best;
}

inline void WarnIfInstrumented()
{
#if defined(__SANITIZE_ADDRESS__)
    std::printf("warning: built with sanitizers; these figures say nothing about speed\n");
#endif
}

#if defined(_WIN32)
// The CPU time of the whole process in seconds, all its threads (a driver's among them).
inline double ProcessCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        ULARGE_INTEGER v;
        v.LowPart = t.dwLowDateTime;
        v.HighPart = t.dwHighDateTime;
        return v.QuadPart / 1e7;
    };
    return seconds(kernel) + seconds(user);
}
#endif
