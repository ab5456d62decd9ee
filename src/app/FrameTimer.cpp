#include <pyro/app/FrameTimer.h>

#include <pyro/app/Clock.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <thread>
#endif

namespace {

class SystemClock final : public CFrameTimer::IClock {
public:
    uint32_t Now() override { return GetTime(); }
    void Sleep(uint32_t milliseconds) override
    {
#ifdef _WIN32
        ::Sleep(milliseconds);
#else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
#endif
    }
};

SystemClock g_systemClock;

}  // namespace

CFrameTimer::CFrameTimer(IClock* clock) : clock_(clock ? clock : &g_systemClock)
{
    SetFPS(60);
}

void CFrameTimer::SetFPS(uint32_t fps)
{
    ResetTime();
    ringIndex_ = 0;
    frameCounter_ = 0;
    skipAccumulator_ = 0;
    fps_ = fps;
    if (fps != 0) {
        frameTime_ = 65536000u / fps;
        accumulator_ = 0;
    }
}

void CFrameTimer::ResetTime()
{
    lastTime_ = clock_->Now();
    late_ = false;
    skipCount_ = 0;
    skipAccumulator_ = 0;
}

void CFrameTimer::WaitFrame()
{
    const uint32_t now = clock_->Now();
    if (fps_ != 0 && frameCounter_ % fps_ == 0) {
        skipCount_ = skipAccumulator_;
        skipAccumulator_ = 0;
    }
    timestamps_[ringIndex_ & 31] = now;
    if (++ringIndex_ == 64) ringIndex_ = 32;
    ++frameCounter_;
    if (fps_ == 0) return;

    accumulator_ = (accumulator_ & 0xFFFF) + frameTime_;
    const uint32_t wait = accumulator_ >> 16;
    const uint32_t elapsed = now - lastTime_;  // unsigned: survives the clock wrapping
    if (elapsed < wait) {
        late_ = false;
        clock_->Sleep(wait - elapsed);
        lastTime_ += wait;
        return;
    }
    uint32_t over = elapsed - wait;
    if (over >= 250) over = 0;  // a long stall restarts the schedule instead of catching up
    late_ = over >= 3 * wait;
    if (late_) ++skipAccumulator_;
    lastTime_ = now - over;
}

uint32_t CFrameTimer::GetRealFPS() const
{
    const uint32_t n = ringIndex_;
    if (n < 16) return 0;
    uint32_t d;
    uint32_t intervals;
    if (n < 32) {
        d = timestamps_[n - 1] - timestamps_[n - 16];
        intervals = 15;
    } else {
        d = timestamps_[(n - 1) & 31] - timestamps_[n & 31];
        intervals = 31;
    }
    if (d == 0) return 0;
    return (d / 2 + intervals * 1000) / d;
}
