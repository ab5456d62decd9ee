// CFrameTimer: paces a game loop to a target frame rate by sleeping away the rest of each frame.
// Where the display offers an object that is signalled when it can take the next frame (the
// Direct3D swap chain with vsync), the wait starts on that object; the rest of the frame is slept
// on a high-resolution waitable timer where the system has one, otherwise with Sleep.
// A 16.16 fixed-point frame time keeps rates like 30 or 60 exact on average; small delays are
// caught up, stalls of 250 ms or more restart the schedule, and very late frames are counted.
#pragma once

#include <cstdint>

class CFrameTimer {
public:
    // Where the timer reads the time and how it sleeps; tests inject a manual clock.
    class IClock {
    public:
        // The time in milliseconds.
        virtual uint32_t Now() = 0;
        // Waits for the given milliseconds.
        virtual void Sleep(uint32_t milliseconds) = 0;
        // Waits until the display's object is signalled or the milliseconds pass; the default
        // sleeps them out.
        virtual void WaitObject(void* handle, uint32_t milliseconds)
        {
            (void)handle;
            Sleep(milliseconds);
        }

    protected:
        ~IClock() = default;
    };

    // How the platform clock waits out the rest of a frame.
    enum Pacing {
        kPacePrecise,  // the display's object, then a high-resolution timer, then Sleep
        kPaceSleep,    // Sleep alone, with the raised timer resolution
    };

    // Null: the process-wide clock (GetTime) and the platform's sleep.
    explicit CFrameTimer(IClock* clock = nullptr);

    // The object the display signals when it can take the next frame (null: none); set by the
    // Direct3D screen while it presents with vsync, for every timer of the process.
    static void SetPresentWaitable(void* handle);
    // The object set by SetPresentWaitable.
    static void* GetPresentWaitable();
    // Chooses how the rest of each frame is waited (kPacePrecise by default).
    void SetPacing(Pacing pacing);
    // The pacing chosen.
    Pacing GetPacing() const { return pacing_; }

    // Sets the target frame rate and restarts the schedule.
    void SetFPS(uint32_t fps);
    // Restarts the schedule from now.
    void ResetTime();
    // The target frame rate.
    uint32_t GetFPS() const { return fps_; }
    // Called once per frame after presenting: records the time and sleeps until the frame is due.
    void WaitFrame();
    // Frames per second measured over the last 15 or 31 frame intervals; 0 before 16 frames.
    uint32_t GetRealFPS() const;
    // Frames late by three frame times or more in the previous period of fps frames.
    uint32_t GetSkipFrame() const { return skipCount_; }
    // Whether the last frame came three frame times or more late.
    bool IsLate() const { return late_; }

private:
    void Wait(uint32_t milliseconds);

    IClock* clock_;
    Pacing pacing_ = kPacePrecise;
    uint32_t fps_ = 0;
    uint32_t frameTime_ = 0;
    uint32_t lastTime_ = 0;
    uint32_t accumulator_ = 0;
    uint32_t timestamps_[32] = {};
    uint32_t ringIndex_ = 0;
    uint32_t frameCounter_ = 0;
    bool late_ = false;
    uint32_t skipCount_ = 0;
    uint32_t skipAccumulator_ = 0;
};
