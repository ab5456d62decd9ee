// Timing helpers shared by the benchmark programs: the best of a few timed runs, each long
// enough to swamp the clock's resolution, turned into million pixels per second.
#pragma once

#include <chrono>
#include <cstdio>

// Calls work() repeatedly; returns the best observed rate in million pixels per second.
template <class Work>
double MpixelsPerSecond(double pixelsPerCall, Work&& work, double secondsPerRun = 0.05,
                        int runs = 7)
{
    using Clock = std::chrono::steady_clock;
    double best = 0;
    for (int run = 0; run < runs; ++run) {
        long calls = 0;
        const Clock::time_point start = Clock::now();
        double elapsed = 0;
        do {
            work();
            ++calls;
            elapsed = std::chrono::duration<double>(Clock::now() - start).count();
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
