// Frame services beside CAppManager: the calling thread's window, the stored entry arguments,
// the full-screen flag, per-thread counted COM initialisation and the IME switch.
#pragma once

#include <windows.h>

class IWindowHook;

// Adds or removes a hook on the window of the calling thread's application; no-op without one.
void HookMyWindow(IWindowHook* hook);
void UnhookMyWindow(IWindowHook* hook);  // takes the hook off again
// Window of the calling thread's application; null when the thread has none.
HWND GetMyHWnd();

// The process-wide full-screen flag; the display back-end keeps it.
bool IsFullScreen();  // whether the display is in full-screen mode
void SetFullScreen(bool fullScreen);  // sets the flag

// The four arguments of the entry point, stored once at entry.
void SetEntryArguments(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
// The module instance handed to the entry point.
HINSTANCE GetInstance();

// Counted per thread: only the first InitCOM of a thread calls CoInitialize (0 on S_OK,
// 1 otherwise), only the matching last ExitCOM calls CoUninitialize.
int InitCOM();
void ExitCOM();  // balances one InitCOM of the same thread

// Switch the IME of the calling thread's window; a repeated switch does not reach the platform.
void EnableIme();  // switches it on
void DisableIme();  // switches it off
// 0 not yet switched, 1 on, 2 off.
int GetImeState();
