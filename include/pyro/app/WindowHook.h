// IWindowHook: a listener in a window's ordered hook chain. A non-zero result consumes the
// message and becomes the window procedure's result; 0 passes it on.
#pragma once

#include <windows.h>

class IWindowHook {
public:
    // Sees a message of the window: non-zero consumes it (and is the window procedure's result).
    virtual LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~IWindowHook() = default;
};
