// The process-wide millisecond clock and the counted raising of the system timer resolution
// that the display object holds for its lifetime.
#pragma once

#include <cstdint>

// timeGetTime when the platform offers a period of at most 9 ms, otherwise GetTickCount.
uint32_t GetTime();
// Reads the timer capabilities; runs once during static initialisation.
void ProbeTimer();
// Returns the minimum period (1 when the probe fails, without counting a user).
uint32_t BeginTimerPeriod();
// Gives back one BeginTimerPeriod.
void EndTimerPeriod();

// Whether GetTime reads timeGetTime.
bool IsHighResolutionTimer();
// How many BeginTimerPeriod calls are not yet given back.
int32_t GetTimerPeriodUsers();

// The three winmm calls the probe and the period use; tests replace them to reach other paths.
struct TimerApi {
    // Fills the minimum period and returns true on success.
    bool (*getDevCaps)(uint32_t* minimumPeriod);
    void (*beginPeriod)(uint32_t period);  // raises the timer resolution
    void (*endPeriod)(uint32_t period);  // lowers it again
};
// Null restores the platform's calls. Returns the previous table.
const TimerApi* SetTimerApi(const TimerApi* api);
