// The platform's side of the XInput table: XInputGetState and XInputSetState from the first
// XInput library that loads, looked up once and kept for the life of the process. The program imports none of them,
// so it starts on systems that have none. A build without the system has no pads.
#include "input/XInputJoyStick.h"

#ifdef _WIN32
#include <windows.h>
#include <xinput.h>
#endif

namespace {

#ifdef _WIN32
using GetStateProc = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);
using SetStateProc = DWORD(WINAPI*)(DWORD, XINPUT_VIBRATION*);

struct XInputLibrary {
    GetStateProc getState = nullptr;
    SetStateProc setState = nullptr;
    const char* name = nullptr;
};

// GetProcAddress hands out one generic type; void (*)() converts to any function type.
template <typename Proc>
Proc Lookup(HMODULE module, const char* name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// Newest first: xinput1_4 comes with Windows 8 and later, xinput1_3 with the DirectX runtime,
// xinput9_1_0 with Windows Vista and 7.
XInputLibrary LoadXInput()
{
    static const struct {
        const wchar_t* file;
        const char* name;
    } kLibraries[] = {{L"xinput1_4.dll", "xinput1_4.dll"},
                      {L"xinput1_3.dll", "xinput1_3.dll"},
                      {L"xinput9_1_0.dll", "xinput9_1_0.dll"}};
    for (const auto& library : kLibraries) {
        HMODULE module = ::LoadLibraryW(library.file);
        if (!module) continue;
        const auto getState = Lookup<GetStateProc>(module, "XInputGetState");
        if (getState) return {getState, Lookup<SetStateProc>(module, "XInputSetState"), library.name};
        ::FreeLibrary(module);
    }
    return {};
}

const XInputLibrary& TheLibrary()
{
    static const XInputLibrary library = LoadXInput();
    return library;
}

bool PlatformGetState(uint32_t slot, XInputPadReading* reading)
{
    const GetStateProc getState = TheLibrary().getState;
    XINPUT_STATE state = {};
    if (!getState || getState(slot, &state) != ERROR_SUCCESS) return false;
    const XINPUT_GAMEPAD& pad = state.Gamepad;
    *reading = {pad.wButtons,      pad.sThumbLX,     pad.sThumbLY, pad.sThumbRX,
                pad.sThumbRY,      pad.bLeftTrigger, pad.bRightTrigger};
    return true;
}

bool PlatformSetState(uint32_t slot, uint16_t lowFrequency, uint16_t highFrequency)
{
    const SetStateProc setState = TheLibrary().setState;
    XINPUT_VIBRATION vibration = {lowFrequency, highFrequency};
    return setState && setState(slot, &vibration) == ERROR_SUCCESS;
}

const char* PlatformLibraryName() { return TheLibrary().name; }
#else
bool PlatformGetState(uint32_t, XInputPadReading*) { return false; }
bool PlatformSetState(uint32_t, uint16_t, uint16_t) { return false; }
const char* PlatformLibraryName() { return nullptr; }
#endif

const XInputApi kPlatformApi = {&PlatformGetState, &PlatformSetState};
const XInputApi* g_api = &kPlatformApi;

}  // namespace

const XInputApi* SetXInputApi(const XInputApi* api)
{
    const XInputApi* previous = g_api;
    g_api = api ? api : &kPlatformApi;
    return previous;
}

const XInputApi& GetXInputApi() { return *g_api; }

const char* GetXInputLibraryName() { return PlatformLibraryName(); }
