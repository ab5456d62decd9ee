// The platform's side of the XInput table: XInputGetState from the first XInput library that
// loads, looked up once and kept for the life of the process. The program imports none of them,
// so it starts on systems that have none. A build without the system has no pads.
#include "input/XInputJoyStick.h"

#ifdef _WIN32
#include <windows.h>
#include <xinput.h>
#endif

namespace {

#ifdef _WIN32
using GetStateProc = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

struct XInputLibrary {
    GetStateProc getState = nullptr;
    const char* name = nullptr;
};

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
        // GetProcAddress hands out one generic type; void (*)() converts to any function type.
        const auto getState = reinterpret_cast<GetStateProc>(
            reinterpret_cast<void (*)()>(::GetProcAddress(module, "XInputGetState")));
        if (getState) return {getState, library.name};
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
    *reading = {state.Gamepad.wButtons, state.Gamepad.sThumbLX, state.Gamepad.sThumbLY};
    return true;
}

const char* PlatformLibraryName() { return TheLibrary().name; }
#else
bool PlatformGetState(uint32_t, XInputPadReading*) { return false; }
const char* PlatformLibraryName() { return nullptr; }
#endif

const XInputApi kPlatformApi = {&PlatformGetState};
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
