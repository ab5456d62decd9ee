// CWindow: the application's top-level window. Registers the window class once per process,
// creates a centred window whose client area has the requested size (or a full-screen pop-up),
// and passes every message through its ordered list of hooks before the default procedure.
//
// It is a Unicode window (caption and class given in Shift-JIS, handed to Windows in UTF-16).
// Hooks see character messages in Shift-JIS, as on a Japanese system: WM_CHAR, WM_SYSCHAR and the
// dead-key forms once per byte (a double-byte character as two messages, lead byte first; the
// message counts as consumed when a hook consumed either), WM_IME_CHAR with both bytes in one
// (lead byte high). A character without a Shift-JIS form goes to the default procedure only.
// Other messages that carry text (WM_SETTEXT, WM_GETTEXT, the creation record) are UTF-16.
//
// Borderless full screen covers the monitor the window is on with the client area, without
// changing the display mode: a screen view magnifies into it as into a large window. Alt+Enter
// switches it unless the options turn that off; leaving it restores the window exactly.
//
// On a high-DPI monitor a windowed top-level window is magnified by the largest whole factor the
// monitor's scale allows and its work area fits (a 320 by 240 client area becomes 640 by 480 at
// 200 %); WM_DPICHANGED moves it to the rectangle the system suggests.
#pragma once

#include <pyro/app/CriticalLock.h>
#include <pyro/app/WindowHook.h>
#include <pyro/app/WindowOption.h>

#include <list>

class CWindow : public IWindowHook {
public:
    CWindow();  // no window yet
    // The window's own handling: size changes and the minimised flag.
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Destroys the window.
    virtual ~CWindow();

    // 0 on success, 1 when class registration or window creation failed (also when the class
    // name or caption is not valid Shift-JIS).
    int Create(const CWindowOption& options, HWND parent = nullptr);
    // The window handle, or null.
    HWND GetHWnd() const { return hwnd_; }
    // Whether the window is minimised.
    bool IsMinimized() const { return minimized_; }
    // Places the outer top-left corner; 0 also when there is no window or it is full-screen.
    int MoveTo(int x, int y);
    // Rebuilds the window for the current full-screen flag (after the display changed mode).
    void ChangeScreenMode();
    // Switches borderless full screen on or off; 0, or 1 when there is no window, it is minimised
    // or the display is in full-screen mode. Switching off restores the style, menu and placement.
    int SetBorderlessFullScreen(bool on);
    // Whether the window covers its monitor borderless.
    bool IsBorderlessFullScreen() const { return borderless_; }
    // SetBorderlessFullScreen with the opposite of the present state (what Alt+Enter does).
    int ToggleBorderlessFullScreen() { return SetBorderlessFullScreen(!borderless_); }
    // Whether Alt+Enter toggles borderless full screen (the option altEnterFullScreen at first).
    void SetAltEnterFullScreen(bool enabled) { options_.altEnterFullScreen = enabled; }
    // Takes the window off the screen at once and destroys it (its hooks see WM_DESTROY and
    // WM_NCDESTROY). The application calls it when its main routine has ended.
    void Destroy();
    // Appends a hook to the chain; messages reach hooks in the order they were added.
    void AddHook(IWindowHook* hook);
    // Takes the hook out of the chain.
    void RemoveHook(IWindowHook* hook);
    // The number of hooks in the chain.
    int GetHookCount() const { return static_cast<int>(hooks_.size()); }
    // The outer window rectangle for a client area of options.sizeX by options.sizeY.
    void CalcWindowRect(RECT* rect, const CWindowOption& options) const;

    // The class background of a window created after this: white instead of black.
    void SetWhiteBackground(bool white) { whiteBackground_ = white ? 1 : 0; }
    // Makes the next ChangeScreenMode rebuild the window even when the mode is unchanged.
    void ForceModeSwitch() { forceModeSwitch_ = true; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The hooks in order; the first non-zero result, or 0. The hook list's lock is held.
    LRESULT RunHooks(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // A character message of a character at or above 0x80, handed to the hooks in the program's
    // encoding: WM_CHAR once per byte, WM_IME_CHAR once with the bytes packed first byte highest.
    LRESULT DispatchCharacter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Makes the window a pop-up covering the rectangle of the monitor it is on.
    void CoverMonitor();
    // Multiplies the requested client size by the monitor's whole scale and resizes the window.
    void ScaleForMonitor();

    int32_t whiteBackground_ = 0;
    HWND hwnd_ = nullptr;
    bool fullScreen_ = false;
    CWindowOption options_;
    std::list<IWindowHook*> hooks_;
    CCriticalLock hookLock_;
    bool hasMenu_ = false;
    bool forceModeSwitch_ = false;
    WNDPROC previousProc_ = nullptr;
    bool minimized_ = false;
    // Borderless full screen and what leaving it restores.
    bool borderless_ = false;
    WINDOWPLACEMENT savedPlacement_ = {};
    LONG_PTR savedStyle_ = 0;
    LONG_PTR savedExStyle_ = 0;
    HMENU savedMenu_ = nullptr;
    wchar_t pendingSurrogate_ = 0;  // the first half of a character beyond U+FFFF
};
