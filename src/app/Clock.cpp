#include <pyro/app/Clock.h>

#ifdef _WIN32
#include <windows.h>
#include <mmsystem.h>
#else
#include <chrono>
#endif

namespace {

#ifdef _WIN32
bool PlatformDevCaps(uint32_t* minimumPeriod)
{
    TIMECAPS caps = {};
    if (timeGetDevCaps(&caps, sizeof caps) != TIMERR_NOERROR) return false;
    *minimumPeriod = caps.wPeriodMin;
    return true;
}
void PlatformBegin(uint32_t period) { timeBeginPeriod(period); }
void PlatformEnd(uint32_t period) { timeEndPeriod(period); }
#else
bool PlatformDevCaps(uint32_t* minimumPeriod)
{
    *minimumPeriod = 1;
    return true;
}
void PlatformBegin(uint32_t) {}
void PlatformEnd(uint32_t) {}
#endif

const TimerApi kPlatformApi = {&PlatformDevCaps, &PlatformBegin, &PlatformEnd};
const TimerApi* g_api = &kPlatformApi;

uint32_t g_minimumPeriod = 1;
bool g_highResolution = false;
int32_t g_periodUsers = 0;

// Returns false only when the capabilities could not be read at all.
bool Probe()
{
    uint32_t minimum = 0;
    const bool read = g_api->getDevCaps(&minimum);
    if (!read || minimum >= 10) {
        g_minimumPeriod = 1;
        g_highResolution = false;
    } else {
        g_minimumPeriod = minimum;
        g_highResolution = true;
    }
    return read;
}

// Probed before the entry point runs.
const bool g_probedAtStart = (Probe(), true);

}  // namespace

uint32_t GetTime()
{
#ifdef _WIN32
    return g_highResolution ? timeGetTime() : GetTickCount();
#else
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
#endif
}

void ProbeTimer() { Probe(); }

uint32_t BeginTimerPeriod()
{
    if (!Probe()) return 1;
    if (g_periodUsers++ == 0 && g_highResolution) g_api->beginPeriod(g_minimumPeriod);
    return g_minimumPeriod;
}

void EndTimerPeriod()
{
    // A holder whose Begin found no capabilities was never counted; never go below zero.
    if (g_periodUsers <= 0) return;
    if (--g_periodUsers == 0 && g_highResolution) g_api->endPeriod(g_minimumPeriod);
}

bool IsHighResolutionTimer() { return g_highResolution; }
int32_t GetTimerPeriodUsers() { return g_periodUsers; }

const TimerApi* SetTimerApi(const TimerApi* api)
{
    const TimerApi* previous = g_api;
    g_api = api ? api : &kPlatformApi;
    return previous;
}
