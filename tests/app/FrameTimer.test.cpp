#include <pyro/app/Clock.h>
#include <pyro/app/FrameTimer.h>

#include <doctest/doctest.h>
#include <vector>

namespace {

// A clock that only moves when told to or when the timer sleeps.
struct ManualClock : CFrameTimer::IClock {
    uint32_t now = 1000;
    std::vector<uint32_t> sleeps;
    uint32_t Now() override { return now; }
    void Sleep(uint32_t ms) override
    {
        sleeps.push_back(ms);
        now += ms;
    }
};

std::vector<uint32_t> Waits(uint32_t fps, int frames)
{
    ManualClock clock;
    CFrameTimer timer(&clock);
    timer.SetFPS(fps);
    for (int i = 0; i < frames; ++i) timer.WaitFrame();
    return clock.sleeps;
}

}  // namespace

TEST_CASE("frame pacing keeps fractional frame times exact on average")
{
    CHECK(Waits(30, 10) == std::vector<uint32_t>{33, 33, 33, 34, 33, 33, 34, 33, 33, 34});
    CHECK(Waits(60, 9) == std::vector<uint32_t>{16, 17, 16, 17, 17, 16, 17, 17, 16});
    // The truncated 16.16 frame time loses less than a millisecond in 300 frames.
    uint32_t total = 0;
    for (uint32_t w : Waits(30, 300)) total += w;
    CHECK(total == 9999);
}

TEST_CASE("a late frame is caught up, a stall restarts the schedule, very late frames are counted")
{
    ManualClock clock;
    CFrameTimer timer(&clock);
    timer.SetFPS(30);
    timer.WaitFrame();  // sleeps 33: due at 1033
    clock.now += 200;   // 200 ms of work: over = 200 - 33 = 167 >= 99, late
    clock.sleeps.clear();
    timer.WaitFrame();
    CHECK(clock.sleeps.empty());
    CHECK(timer.IsLate());
    // The schedule stays: this frame was due at 1066 and the next at 1100, so the following
    // frames run without sleeping until they are back on time.
    timer.WaitFrame();
    CHECK(clock.sleeps.empty());

    SUBCASE("a 300 ms stall is not counted and restarts at now")
    {
        ManualClock c;
        CFrameTimer t(&c);
        t.SetFPS(30);
        c.now += 300;
        t.WaitFrame();
        CHECK_FALSE(t.IsLate());
        c.sleeps.clear();
        t.WaitFrame();
        CHECK(c.sleeps == std::vector<uint32_t>{33});
    }
}

TEST_CASE("late frames of one period become the skip count at the next period boundary")
{
    ManualClock clock;
    CFrameTimer timer(&clock);
    timer.SetFPS(30);
    for (int i = 0; i < 30; ++i) {
        if (i == 5 || i == 20) clock.now += 140;  // two frames more than 3 frame times late
        timer.WaitFrame();
    }
    CHECK(timer.GetSkipFrame() == 0);
    timer.WaitFrame();  // 31st call: frame counter 30 starts a new period
    CHECK(timer.GetSkipFrame() == 2);
}

TEST_CASE("the measured rate uses 15 intervals, then the last 31")
{
    ManualClock clock;
    CFrameTimer timer(&clock);
    timer.SetFPS(0);  // no pacing, but timestamps are still recorded
    const uint32_t gaps[] = {33, 33, 34};
    for (int i = 0; i < 15; ++i) {
        timer.WaitFrame();
        clock.now += gaps[i % 3];
    }
    CHECK(clock.sleeps.empty());
    CHECK(timer.GetRealFPS() == 0);
    timer.WaitFrame();
    CHECK(timer.GetRealFPS() == 30);
    for (int i = 0; i < 40; ++i) {
        clock.now += 20;
        timer.WaitFrame();
    }
    CHECK(timer.GetRealFPS() == 50);
    timer.SetFPS(30);
    CHECK(timer.GetRealFPS() == 0);
}

TEST_CASE("the timer period is raised by the first holder and lowered by the last")
{
    static int begun, ended;
    static uint32_t minimum;
    begun = ended = 0;
    TimerApi fake = {
        [](uint32_t* m) {
            *m = minimum;
            return true;
        },
        [](uint32_t) { ++begun; },
        [](uint32_t) { ++ended; },
    };
    const TimerApi* previous = SetTimerApi(&fake);
    minimum = 1;
    CHECK(BeginTimerPeriod() == 1);
    CHECK(BeginTimerPeriod() == 1);
    CHECK(IsHighResolutionTimer());
    EndTimerPeriod();
    CHECK(ended == 0);
    EndTimerPeriod();
    CHECK(begun == 1);
    CHECK(ended == 1);

    minimum = 10;  // too coarse: no high resolution, nothing raised, tick-count clock
    CHECK(BeginTimerPeriod() == 1);
    CHECK_FALSE(IsHighResolutionTimer());
    EndTimerPeriod();
    CHECK(begun == 1);
    CHECK(ended == 1);
    SetTimerApi(previous);
    ProbeTimer();
}
