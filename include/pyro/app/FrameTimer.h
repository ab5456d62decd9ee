// CFrameTimer: paces a game loop to a target frame rate by sleeping away the rest of each frame.
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

    protected:
        ~IClock() = default;
    };

    // Null: the process-wide clock (GetTime) and the platform's sleep.
    explicit CFrameTimer(IClock* clock = nullptr);

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
    IClock* clock_;
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
