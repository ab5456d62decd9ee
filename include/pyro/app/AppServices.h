// Frame services beside CAppManager: the calling thread's window, the stored entry arguments,
// the full-screen flag, per-thread counted COM initialisation and the IME switch.
#pragma once

#include <windows.h>

class IWindowHook;

// Adds or removes a hook on the window of the calling thread's application; no-op without one.
void HookMyWindow(IWindowHook* hook);
void UnhookMyWindow(IWindowHook* hook);
// Window of the calling thread's application; null when the thread has none.
HWND GetMyHWnd();

// The process-wide full-screen flag; the display back-end keeps it.
bool IsFullScreen();
void SetFullScreen(bool fullScreen);

// The four arguments of the entry point, stored once at entry.
void SetEntryArguments(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
HINSTANCE GetInstance();

// Counted per thread: only the first InitCOM of a thread calls CoInitialize (0 on S_OK,
// 1 otherwise), only the matching last ExitCOM calls CoUninitialize.
int InitCOM();
void ExitCOM();

// Switch the IME of the calling thread's window; a repeated switch does not reach the platform.
void EnableIme();
void DisableIme();
// 0 not yet switched, 1 on, 2 off.
int GetImeState();
