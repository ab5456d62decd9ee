// Helpers for the input tests that need the real window system: pumping messages while
// waiting for a condition, placing the cursor, and running X tools (xdotool) from the Windows
// test program.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

// Dispatches the calling thread's pending messages.
inline void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Pumps messages and asks the condition every 10 ms until it holds or the time-out passes.
// Time-outs are generous: they only bound a failing test.
template <class Condition>
bool WaitFor(Condition condition, DWORD timeoutMs = 5000)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
}

// Lets the window system deliver what a cursor move or a focus change produced.
inline void Settle(DWORD milliseconds = 100)
{
    WaitFor([] { return false; }, milliseconds);
}

// The client area's top-left corner in screen coordinates.
inline POINT ClientOrigin(HWND hwnd)
{
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    return origin;
}

// Places the cursor at a client position and lets the moves it causes arrive first, so that
// they cannot overwrite the button messages that follow.
inline void PlaceCursor(HWND hwnd, int x, int y)
{
    const POINT origin = ClientOrigin(hwnd);
    SetCursorPos(origin.x + x, origin.y + y);
    Settle();
}

// Runs a command of the host system through /bin/sh and returns its exit status (-1 when it
// did not finish in time). Wine starts native executables but hands back no process handle,
// so the shell writes the status into a file that this side polls for.
inline int RunHostCommand(const std::string& command, DWORD timeoutMs = 10000)
{
    static int serial = 0;
    char unixPath[128];
    std::snprintf(unixPath, sizeof unixPath, "/tmp/pyro-input-%lu-%d", GetCurrentProcessId(), serial++);
    std::string windowsPath = std::string("Z:") + unixPath;
    for (char& c : windowsPath) {
        if (c == '/') c = '\\';
    }
    const std::string script = command + "; echo $? > " + unixPath + ".part && mv " + unixPath + ".part " + unixPath;
    std::string commandLine = "/bin/sh -c \"" + script + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    if (!WaitFor([&] { return GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs))
        return -1;
    int status = -1;
    if (FILE* file = std::fopen(windowsPath.c_str(), "r")) {
        if (std::fscanf(file, "%d", &status) != 1) status = -1;
        std::fclose(file);
    }
    DeleteFileA(windowsPath.c_str());
    return status;
}

// Gives the window the X input focus and makes it the foreground window. Without a window
// manager Wine does not always move the X focus to a window it activates, and it does not
// activate a window that only received the X focus; both are needed for keys to arrive and for
// a later focus change to be noticed. A unique caption lets xdotool find the window.
inline bool Focus(HWND hwnd)
{
    char caption[64];
    std::snprintf(caption, sizeof caption, "pyro-input-%lu", GetCurrentProcessId());
    SetWindowTextA(hwnd, caption);
    if (RunHostCommand(std::string("xdotool search --sync --name '^") + caption + "$' windowfocus --sync") != 0)
        return false;
    return WaitFor([hwnd] {
        SetForegroundWindow(hwnd);
        return GetForegroundWindow() == hwnd;
    });
}

// Gives the X focus to the root window, as when the user turns to another program.
inline int FocusElsewhere()
{
    return RunHostCommand("xdotool search --maxdepth 0 --name '' windowfocus --sync");
}
