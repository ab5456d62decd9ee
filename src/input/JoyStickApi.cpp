// The platform's side of the joystick table: the winmm joystick calls. A build without the
// system has no joysticks.
#include "input/WinMMJoyStick.h"

#ifdef _WIN32
#include <windows.h>
#include <mmsystem.h>
#endif

namespace {

#ifdef _WIN32
static_assert(sizeof(JOYCAPSA) == 404 && sizeof(JOYINFOEX) == 52, "winmm structure sizes");

uint32_t PlatformNumDevs() { return joyGetNumDevs(); }

bool PlatformDevCaps(uint32_t id, JoyStickCaps* caps)
{
    JOYCAPSA joyCaps = {};
    if (joyGetDevCapsA(id, &joyCaps, sizeof joyCaps) != JOYERR_NOERROR) return false;
    *caps = {joyCaps.wXmin, joyCaps.wXmax, joyCaps.wYmin, joyCaps.wYmax};
    return true;
}

bool PlatformPos(uint32_t id, JoyStickReading* reading)
{
    JOYINFO info = {};
    if (joyGetPos(id, &info) != JOYERR_NOERROR) return false;
    *reading = {info.wXpos, info.wYpos, info.wButtons};
    return true;
}

bool PlatformPosEx(uint32_t id, JoyStickReading* reading)
{
    JOYINFOEX info = {};
    info.dwSize = sizeof info;
    info.dwFlags = JOY_RETURNALL;
    if (joyGetPosEx(id, &info) != JOYERR_NOERROR) return false;
    *reading = {info.dwXpos, info.dwYpos, info.dwButtons};
    return true;
}
#else
uint32_t PlatformNumDevs() { return 0; }
bool PlatformDevCaps(uint32_t, JoyStickCaps*) { return false; }
bool PlatformPos(uint32_t, JoyStickReading*) { return false; }
bool PlatformPosEx(uint32_t, JoyStickReading*) { return false; }
#endif

const JoyStickApi kPlatformApi = {&PlatformNumDevs, &PlatformDevCaps, &PlatformPos, &PlatformPosEx};
const JoyStickApi* g_api = &kPlatformApi;

}  // namespace

const JoyStickApi* SetJoyStickApi(const JoyStickApi* api)
{
    const JoyStickApi* previous = g_api;
    g_api = api ? api : &kPlatformApi;
    return previous;
}

const JoyStickApi& GetJoyStickApi() { return *g_api; }
