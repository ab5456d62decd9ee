// Frame pacing at a target rate: runs CFrameTimer for a number of seconds with an empty frame,
// and prints the mean, deviation and worst frame interval and the CPU time used per wall-clock
// second (pacing sleeps, so this stays near zero).
//   FramePacing [fps] [seconds]
#include <pyro/app/Clock.h>
#include <pyro/app/FrameTimer.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include <windows.h>

namespace {

double Seconds(const FILETIME& t)
{
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return v.QuadPart / 1e7;
}

double CpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

}  // namespace

int main(int argc, char** argv)
{
    const int fps = argc > 1 ? std::atoi(argv[1]) : 30;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    BeginTimerPeriod();
    LARGE_INTEGER frequency, previous, now;
    QueryPerformanceFrequency(&frequency);
    CFrameTimer timer;
    timer.SetFPS(fps);
    std::vector<double> intervals;
    const double cpuStart = CpuSeconds();
    QueryPerformanceCounter(&previous);
    const LONGLONG start = previous.QuadPart;
    for (int i = 0; i < fps * seconds; ++i) {
        timer.WaitFrame();
        QueryPerformanceCounter(&now);
        intervals.push_back((now.QuadPart - previous.QuadPart) * 1000.0 / frequency.QuadPart);
        previous = now;
    }
    const double wall = double(now.QuadPart - start) / frequency.QuadPart;
    const double cpu = CpuSeconds() - cpuStart;
    EndTimerPeriod();

    // The first interval includes the schedule's start; leave it out.
    intervals.erase(intervals.begin());
    double sum = 0, worst = 0;
    for (double v : intervals) {
        sum += v;
        if (v > worst) worst = v;
    }
    const double mean = sum / intervals.size();
    double var = 0;
    for (double v : intervals) var += (v - mean) * (v - mean);
    const double sd = std::sqrt(var / intervals.size());
    std::printf("target %d fps for %.1f s (%zu intervals)\n", fps, wall, intervals.size());
    std::printf("mean interval   %.3f ms (ideal %.3f ms, ratio %.4f)\n", mean, 1000.0 / fps, mean * fps / 1000.0);
    std::printf("std deviation   %.3f ms\n", sd);
    std::printf("worst interval  %.3f ms\n", worst);
    std::printf("measured rate   %u fps (GetRealFPS)\n", timer.GetRealFPS());
    std::printf("CPU per second  %.4f s/s\n", cpu / wall);
    return 0;
}
