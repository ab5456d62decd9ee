#include <pyro/app/FrameTimer.h>

#include <pyro/app/Clock.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <thread>
#endif

namespace {

#ifdef _WIN32
// CreateWaitableTimerExW's flag for a timer that keeps to the period asked instead of the system
// tick (Windows 10 1803 and later; older systems refuse the flag).
constexpr DWORD kHighResolutionTimer = 0x00000002;
using CreateTimerProc = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD);

// One high-resolution timer per thread, made at the first wait; null where the system has none.
struct ThreadTimer {
    HANDLE handle = nullptr;
    bool tried = false;
    ~ThreadTimer()
    {
        if (handle) CloseHandle(handle);
    }
    HANDLE Get()
    {
        if (tried) return handle;
        tried = true;
        // Looked up by name: the 32-bit program also starts on systems without the call.
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        auto create = kernel ? reinterpret_cast<CreateTimerProc>(
                                   reinterpret_cast<void*>(GetProcAddress(kernel, "CreateWaitableTimerExW")))
                             : nullptr;
        if (create) handle = create(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
        return handle;
    }
};
thread_local ThreadTimer t_timer;
#endif

class SystemClock final : public CFrameTimer::IClock {
public:
    explicit SystemClock(bool precise) : precise_(precise) {}
    uint32_t Now() override { return GetTime(); }
    void Sleep(uint32_t milliseconds) override
    {
#ifdef _WIN32
        HANDLE timer = precise_ && milliseconds > 0 ? t_timer.Get() : nullptr;
        if (timer) {
            LARGE_INTEGER due;
            due.QuadPart = -int64_t(milliseconds) * 10000;  // relative, in 100 ns
            // The timeout only guards against a timer that never fires.
            if (SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE) &&
                WaitForSingleObject(timer, milliseconds + 100) == WAIT_OBJECT_0) {
                return;
            }
        }
        ::Sleep(milliseconds);
#else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
#endif
    }
    void WaitObject(void* handle, uint32_t milliseconds) override
    {
#ifdef _WIN32
        WaitForSingleObjectEx(static_cast<HANDLE>(handle), milliseconds, TRUE);
#else
        (void)handle;
        Sleep(milliseconds);
#endif
    }

private:
    bool precise_;
};

SystemClock g_systemClock(true);
SystemClock g_sleepClock(false);
void* g_presentWaitable = nullptr;

}  // namespace

CFrameTimer::CFrameTimer(IClock* clock) : clock_(clock ? clock : &g_systemClock)
{
    SetFPS(60);
}

void CFrameTimer::SetPresentWaitable(void* handle) { g_presentWaitable = handle; }

void* CFrameTimer::GetPresentWaitable() { return g_presentWaitable; }

void CFrameTimer::SetPacing(Pacing pacing)
{
    pacing_ = pacing;
    // The platform clock has one form per pacing; a clock of the caller's stays.
    if (clock_ == &g_systemClock || clock_ == &g_sleepClock) {
        clock_ = pacing == kPaceSleep ? &g_sleepClock : &g_systemClock;
    }
}

void CFrameTimer::Wait(uint32_t milliseconds)
{
    void* waitable = pacing_ == kPacePrecise ? g_presentWaitable : nullptr;
    if (waitable) {
        // The display signals when it can take a frame; the schedule decides how long the frame
        // lasts, so the rest, if any, is slept.
        const uint32_t before = clock_->Now();
        clock_->WaitObject(waitable, milliseconds);
        const uint32_t spent = clock_->Now() - before;
        if (spent >= milliseconds) return;
        milliseconds -= spent;
    }
    clock_->Sleep(milliseconds);
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
        Wait(wait - elapsed);
        lastTime_ += wait;
        return;
    }
    uint32_t over = elapsed - wait;
    if (over >= 250) over = 0;  // a long stall restarts the schedule instead of catching up
    late_ = over >= 3 * wait;
    if (late_) ++skipAccumulator_;
    lastTime_ = now - over;
    // A frame that is already due still takes the display's signal, which it counts per frame.
    if (pacing_ == kPacePrecise && g_presentWaitable) clock_->WaitObject(g_presentWaitable, 0);
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
