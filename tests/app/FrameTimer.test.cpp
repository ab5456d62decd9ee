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

TEST_CASE("a frame late by exactly three frame times is late; a millisecond less is not")
{
    // Punctual frames, then one that ends `over` ms after it was due; each frame's own wait
    // (33, 33, 33, 34 ... at 30 fps) is what three frame times are counted in.
    struct Result {
        bool late;
        uint32_t skipped;
    };
    auto run = [](int punctual, uint32_t wait, uint32_t over) {
        ManualClock clock;
        CFrameTimer timer(&clock);
        timer.SetFPS(30);
        for (int i = 0; i < punctual; ++i) timer.WaitFrame();
        clock.now += wait + over;
        clock.sleeps.clear();
        timer.WaitFrame();
        const bool late = timer.IsLate();
        CHECK(clock.sleeps.empty());
        // The rest of the period on time, then the boundary hands on the count.
        while (clock.sleeps.size() < 40) timer.WaitFrame();
        return Result{late, timer.GetSkipFrame()};
    };
    SUBCASE("a 33 ms frame: 99 ms over")
    {
        const Result exactly = run(1, 33, 99);
        CHECK(exactly.late);
        CHECK(exactly.skipped == 1);
        const Result under = run(1, 33, 98);
        CHECK_FALSE(under.late);
        CHECK(under.skipped == 0);
    }
    SUBCASE("a 34 ms frame: 102 ms over")
    {
        CHECK(run(3, 34, 102).late);
        CHECK(run(3, 34, 102).skipped == 1);
        CHECK_FALSE(run(3, 34, 101).late);
    }
    SUBCASE("249 ms over is still late and caught up; 250 restarts the schedule uncounted")
    {
        CHECK(run(1, 33, 249).late);
        // The frames that catch up count too while they are still three frame times behind:
        // 249, then 216, 183, 150 and 117 ms over; 84 is not.
        CHECK(run(1, 33, 249).skipped == 5);
        CHECK_FALSE(run(1, 33, 250).late);
        CHECK(run(1, 33, 250).skipped == 0);
    }
}

TEST_CASE("after a frame late by exactly three frame times the schedule is kept")
{
    ManualClock clock;
    CFrameTimer timer(&clock);
    timer.SetFPS(30);
    timer.WaitFrame();       // sleeps 33: due at 1033
    clock.now += 33 + 99;    // the second frame, due at 1066, ends at 1165
    timer.WaitFrame();
    CHECK(timer.IsLate());
    clock.sleeps.clear();
    // The next frames are due at 1099, 1133 (a 34 ms frame) and 1166: the first two pass at
    // 1165 without sleeping, the third is early again and sleeps to its due time.
    for (int i = 0; i < 2; ++i) timer.WaitFrame();
    CHECK(clock.sleeps.empty());
    timer.WaitFrame();
    CHECK(clock.sleeps == std::vector<uint32_t>{1166 - 1165});
}

namespace {

// A manual clock that also records the waits on the display's object; the object signals after
// `signalAfter` milliseconds (or never, when that is past the timeout).
struct DisplayClock : ManualClock {
    struct ObjectWait {
        void* handle;
        uint32_t timeout;
        bool operator==(const ObjectWait& o) const { return handle == o.handle && timeout == o.timeout; }
    };
    std::vector<ObjectWait> objectWaits;
    uint32_t signalAfter = 5;
    void WaitObject(void* handle, uint32_t ms) override
    {
        objectWaits.push_back({handle, ms});
        now += signalAfter < ms ? signalAfter : ms;
    }
};

// Sets the process-wide object for the lifetime of a test.
struct PresentWaitable {
    explicit PresentWaitable(void* handle) { CFrameTimer::SetPresentWaitable(handle); }
    ~PresentWaitable() { CFrameTimer::SetPresentWaitable(nullptr); }
};

}  // namespace

TEST_CASE("with the display's object the wait starts on it and the schedule sleeps the rest")
{
    int object = 0;
    PresentWaitable waitable(&object);
    DisplayClock clock;
    CFrameTimer timer(&clock);
    timer.SetFPS(60);
    timer.WaitFrame();  // due in 16: the object signals after 5, 11 are slept
    timer.WaitFrame();  // due in 17
    CHECK(clock.objectWaits == std::vector<DisplayClock::ObjectWait>{{&object, 16}, {&object, 17}});
    CHECK(clock.sleeps == std::vector<uint32_t>{11, 12});
    CHECK(clock.now == 1033);

    SUBCASE("an object that does not signal within the frame ends the wait: no sleep")
    {
        clock.signalAfter = 100;
        clock.sleeps.clear();
        timer.WaitFrame();  // due in 16
        CHECK(clock.objectWaits.back().timeout == 16);
        CHECK(clock.sleeps.empty());
        CHECK(clock.now == 1049);
    }
    SUBCASE("a late frame takes the object's signal without waiting")
    {
        clock.now += 200;
        timer.WaitFrame();
        CHECK(clock.objectWaits.back() == DisplayClock::ObjectWait{&object, 0});
        CHECK(timer.IsLate());
        CHECK(clock.sleeps.size() == 2);
    }
    SUBCASE("Sleep pacing leaves the object alone and keeps the schedule")
    {
        timer.SetPacing(CFrameTimer::kPaceSleep);
        CHECK(timer.GetPacing() == CFrameTimer::kPaceSleep);
        clock.objectWaits.clear();
        clock.sleeps.clear();
        timer.WaitFrame();
        timer.WaitFrame();
        CHECK(clock.objectWaits.empty());
        CHECK(clock.sleeps == std::vector<uint32_t>{16, 17});
    }
}

TEST_CASE("the platform clock's waits keep to the schedule with and without the precise timer")
{
    // Real time: 21 frames at 100 fps take 210 ms from the schedule's start on both pacings, never
    // less (the upper bound only catches a wait that does not end).
    for (CFrameTimer::Pacing pacing : {CFrameTimer::kPacePrecise, CFrameTimer::kPaceSleep}) {
        CAPTURE(int(pacing));
        BeginTimerPeriod();
        CFrameTimer timer;
        timer.SetPacing(pacing);
        const uint32_t start = GetTime();
        timer.SetFPS(100);
        for (int i = 0; i < 21; ++i) timer.WaitFrame();
        const uint32_t elapsed = GetTime() - start;
        EndTimerPeriod();
        CHECK(elapsed >= 210);
        CHECK(elapsed <= 2000);
    }
}
