// Frame pacing at a target rate, side by side in one run: CFrameTimer with an empty frame, paced
//   Sleep        with Sleep alone (the raised timer resolution), as before the precise pacing;
//   timer        with the high-resolution waitable timer (Sleep where the system has none);
//   swap chain   presenting each frame through Direct3D 11 with vsync in a window: the timer waits
//                on the swap chain's frame-latency object where there is one, else as "timer".
// For each: the mean, standard deviation and worst frame interval, the intervals of 34 ms or
// more, and the CPU time used per wall-clock second (pacing waits, so this stays low).
//   bench_frame_pacing [fps] [frames]      (60 fps and 3600 frames by default)
#include <pyro/app/Application.h>
#include <pyro/app/Clock.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/app/Main.h>
#include <pyro/game/ScreenView.h>
#include <pyro/graphics/D3D11Draw.h>

#include "BenchTiming.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>
#include <windows.h>

namespace {

struct Stats {
    double mean = 0, sd = 0, worst = 0, cpuPerSecond = 0;
    int over34 = 0;
    uint32_t realFPS = 0;
    const char* note = "";
};

// Runs the frames on the timer, calling frame() before each wait.
Stats Pace(CFrameTimer& timer, int fps, int frames, const std::function<void()>& frame)
{
    LARGE_INTEGER frequency, previous, now;
    QueryPerformanceFrequency(&frequency);
    timer.SetFPS(fps);
    std::vector<double> intervals;
    const double cpuStart = ProcessCpuSeconds();
    QueryPerformanceCounter(&previous);
    const LONGLONG start = previous.QuadPart;
    for (int i = 0; i < frames + 1; ++i) {
        if (frame) frame();
        timer.WaitFrame();
        QueryPerformanceCounter(&now);
        intervals.push_back((now.QuadPart - previous.QuadPart) * 1000.0 / frequency.QuadPart);
        previous = now;
    }
    const double wall = double(now.QuadPart - start) / frequency.QuadPart;
    Stats s;
    s.cpuPerSecond = (ProcessCpuSeconds() - cpuStart) / wall;
    // The first interval includes the schedule's start; leave it out.
    intervals.erase(intervals.begin());
    double sum = 0;
    for (double v : intervals) {
        sum += v;
        if (v > s.worst) s.worst = v;
        if (v >= 34.0) ++s.over34;
    }
    s.mean = sum / intervals.size();
    double var = 0;
    for (double v : intervals) var += (v - s.mean) * (v - s.mean);
    s.sd = std::sqrt(var / intervals.size());
    s.realFPS = timer.GetRealFPS();
    return s;
}

class BenchApp : public CApplication {
public:
    explicit BenchApp(std::function<void(CApplication&)> body) : body_(body) {}
    int OnInit(CWindowOption& options) override
    {
        options.caption = "bench_frame_pacing";
        options.className = "PYROPACE";
        options.sizeX = 320;
        options.sizeY = 240;
        return 0;
    }
    void MainThread() override { body_(*this); }

private:
    std::function<void(CApplication&)> body_;
};

}  // namespace

int PyroMain(int argc, char* argv[])
{
    const int fps = argc > 1 ? std::atoi(argv[1]) : 60;
    const int frames = argc > 2 ? std::atoi(argv[2]) : 3600;
    BeginTimerPeriod();
    Stats results[3];
    {
        CFrameTimer timer;
        timer.SetPacing(CFrameTimer::kPaceSleep);
        results[0] = Pace(timer, fps, frames, nullptr);
    }
    {
        CFrameTimer timer;
        results[1] = Pace(timer, fps, frames, nullptr);
    }
    BenchApp app([&](CApplication& self) {
        CScreenView view(DisplayKind::kD3D11);
        view.SetLogicalSize(320, 240);
        auto* d3d = dynamic_cast<CD3D11Draw*>(view.GetDraw());
        const bool active = d3d && d3d->IsActive();
        // The first frames make the texture and let the driver compile its shaders.
        for (int i = 0; i < 5; ++i) view.Present();
        CFrameTimer timer;
        int n = 0;
        results[2] = Pace(timer, fps, frames, [&] {
            self.PumpMessage();
            view.FillRect(0x00203060 + uint32_t(n++ & 0xFF), nullptr);
            view.Present();
        });
        results[2].note = !active ? " (no Direct3D 11: GDI presented, timer pacing)"
                          : d3d->GetFrameLatencyWaitable() ? " (waited on the frame-latency object)"
                                                           : " (no frame-latency object: timer pacing)";
    });
    app.Run();
    EndTimerPeriod();

    const char* const names[3] = {"Sleep", "timer", "swap chain"};
    std::printf("target %d fps, %d frames per way (ideal interval %.3f ms)\n", fps, frames, 1000.0 / fps);
    std::printf("%-11s %9s %9s %9s %8s %9s %9s\n", "way", "mean ms", "sd ms", "worst ms", ">=34 ms", "real fps",
                "CPU s/s");
    for (int i = 0; i < 3; ++i) {
        const Stats& s = results[i];
        std::printf("%-11s %9.3f %9.3f %9.3f %8d %9u %9.4f%s\n", names[i], s.mean, s.sd, s.worst, s.over34,
                    s.realFPS, s.cpuPerSecond, s.note);
    }
    std::printf("sd ratio Sleep/timer %.2f, Sleep/swap chain %.2f; worst ratio Sleep/timer %.2f\n",
                results[0].sd / results[1].sd, results[0].sd / results[2].sd, results[0].worst / results[1].worst);
    return 0;
}
