// CWindow is a Unicode window: its class, caption and messages are UTF-16 at the Windows side, so
// the caption reads the same on every Windows whatever its ANSI code page; the hooks still see the
// system's Shift-JIS characters (see DispatchCharacter).
#include <pyro/app/Window.h>

#include <pyro/app/AppServices.h>
#include <pyro/app/ErrorLog.h>
#include <pyro/file/Utf16.h>
#include "app/DpiScale.h"

#include <cstring>

namespace {

// Set at load; cleared by the first Create that registers (or tries to register) a class.
bool g_classToRegister = true;

const char* const kStandardClasses[] = {"BUTTON", "COMBOBOX", "EDIT", "LISTBOX", "MDICLIENT", "SCROLLBAR", "STATIC"};

bool IsStandardClass(const std::string& name)
{
    for (const char* standard : kStandardClasses) {
        if (name == standard) return true;
    }
    return false;
}

template <typename Proc>
Proc LibraryProc(const wchar_t* library, const char* name)
{
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryW(library);  // stays loaded: the process keeps using it
    if (!module) return nullptr;
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The DPI of the monitor the window is on, through the newest call this Windows offers:
// GetDpiForWindow (Windows 10), GetDpiForMonitor (8.1), else the screen's LOGPIXELSX.
uint32_t WindowDpi(HWND hwnd)
{
    using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
    using GetDpiForMonitorProc = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpiForWindow = LibraryProc<GetDpiForWindowProc>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(hwnd)) return dpi;
    }
    // Only now: shcore.dll is loaded only on a Windows that lacks the newer call.
    static const auto getDpiForMonitor = LibraryProc<GetDpiForMonitorProc>(L"shcore.dll", "GetDpiForMonitor");
    if (getDpiForMonitor) {
        UINT x = 0, y = 0;  // MDT_EFFECTIVE_DPI = 0
        if (SUCCEEDED(getDpiForMonitor(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) && x) return x;
    }
    HDC dc = GetDC(hwnd);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
    if (dc) ReleaseDC(hwnd, dc);
    return dpi > 0 ? static_cast<uint32_t>(dpi) : 0;
}

bool IsCharacterMessage(UINT message)
{
    return message == WM_CHAR || message == WM_DEADCHAR || message == WM_SYSCHAR || message == WM_SYSDEADCHAR ||
           message == WM_IME_CHAR;
}

}  // namespace

CWindow::CWindow() = default;

CWindow::~CWindow()
{
    RemoveHook(this);
    Destroy();
}

void CWindow::Destroy()
{
    if (!hwnd_) return;
    HWND hwnd = hwnd_;
    RECT area;
    const bool visible = IsWindowVisible(hwnd) && GetWindowRect(hwnd, &area);
    // The visible flag goes first, so that DestroyWindow does not hide the window on its way
    // out: under Wine a managed window's hide waits up to two seconds for a window manager to
    // confirm it, and with none (a bare X server) the frozen window stayed on screen that long.
    // Destroying the window removes it at once.
    if (visible) SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) & ~LONG_PTR(WS_VISIBLE));
    DestroyWindow(hwnd);
    hwnd_ = nullptr;
    // What lay beneath was never told the window went: repaint it.
    if (visible) RedrawWindow(nullptr, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int CWindow::Create(const CWindowOption& options, HWND parent)
{
    fullScreen_ = IsFullScreen();
    options_ = options;
    HINSTANCE instance = GetInstance();
    // A class name or caption that is not valid in the program's encoding fails like a refused registration or
    // creation.
    std::wstring className, caption;
    const bool namesConverted = ToWide(options_.className, className) && ToWide(options_.caption, caption);

    if (g_classToRegister && !IsStandardClass(options_.className)) {
        g_classToRegister = false;  // before registering: a failure is not retried
        if (FindResourceW(instance, L"IDR_MENU", MAKEINTRESOURCEW(4) /* RT_MENU */)) hasMenu_ = true;
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.style = 0;
        wc.lpfnWndProc = &CWindow::WindowProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconW(instance, L"MAIN");
        wc.hIconSm = wc.hIcon;
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(whiteBackground_ ? WHITE_BRUSH : BLACK_BRUSH));
        wc.lpszMenuName = L"IDR_MENU";
        wc.lpszClassName = className.c_str();
        if (!namesConverted || !RegisterClassExW(&wc)) {
            CErrorLog::WriteSystem("CWindow::CreateでRegisterClassEx失敗");
            return 1;
        }
    }

    const int screenX = GetSystemMetrics(SM_CXSCREEN);
    const int screenY = GetSystemMetrics(SM_CYSCREEN);
    if (!namesConverted) {
        hwnd_ = nullptr;
    } else if (fullScreen_) {
        hwnd_ = CreateWindowExW(0, className.c_str(), caption.c_str(), WS_POPUP | WS_VISIBLE, 0, 0, screenX, screenY,
                                parent, nullptr, instance, nullptr);
    } else {
        RECT rect;
        CalcWindowRect(&rect, options_);
        DWORD style = options_.WindowStyle() | (parent ? WS_CHILD : 0);
        hwnd_ = CreateWindowExW(0, className.c_str(), caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                                rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, instance, nullptr);
    }
    if (!hwnd_) {
        CErrorLog::WriteSystem("CWindow::CreateでCreateWindowに失敗。");
        return 1;
    }
    if (!fullScreen_ && !parent) ScaleForMonitor();

    if (!fullScreen_ && options_.sizeX != 0 && options_.sizeY != 0) {
        // The client size, not the outer size, is centred.
        MoveTo((screenX - options_.sizeX) >> 1, (screenY - options_.sizeY) >> 1);
    }
    if (options_.sizeX != 0 && options_.sizeY != 0) ShowWindow(hwnd_, SW_SHOW);
    SetFocus(hwnd_);

    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (IsStandardClass(options_.className)) {
        previousProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindow::WindowProc)));
    } else {
        previousProc_ = nullptr;
    }
    AddHook(this);
    return 0;
}

void CWindow::ScaleForMonitor()
{
    if (options_.sizeX <= 0 || options_.sizeY <= 0) return;
    RECT outer;
    CalcWindowRect(&outer, options_);
    const int32_t frameX = (outer.right - outer.left) - options_.sizeX;
    const int32_t frameY = (outer.bottom - outer.top) - options_.sizeY;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const int32_t scale = LargestWholeScale(WindowDpi(hwnd_), options_.sizeX, options_.sizeY,
                                            work.right - work.left - frameX, work.bottom - work.top - frameY);
    if (scale == 1) return;
    options_.sizeX *= scale;
    options_.sizeY *= scale;
    CalcWindowRect(&outer, options_);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindow::CalcWindowRect(RECT* rect, const CWindowOption& options) const
{
    SetRect(rect, 0, 0, options.sizeX, options.sizeY);
    BOOL menu = (options.style & WS_SYSMENU) && (hasMenu_ || (hwnd_ && GetMenu(hwnd_)));
    AdjustWindowRect(rect, options.WindowStyle(), menu);
}

int CWindow::MoveTo(int x, int y)
{
    if (!hwnd_ || fullScreen_) return 0;
    return SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER) ? 0 : 1;
}

void CWindow::ChangeScreenMode()
{
    const bool full = IsFullScreen();
    if (fullScreen_ == full && !forceModeSwitch_) return;
    fullScreen_ = full;
    forceModeSwitch_ = false;
    if (!hwnd_) return;
    if (borderless_) {
        // The display's full-screen takes over; its windowed mode rebuilds the window anew.
        borderless_ = false;
        if (savedMenu_) SetMenu(hwnd_, savedMenu_);
        savedMenu_ = nullptr;
    }
    if (!full) {
        RECT rect;
        CalcWindowRect(&rect, options_);
        SetWindowPos(hwnd_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top, SWP_NOZORDER);
        SetWindowLongPtrW(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(options_.WindowStyle()));
        SetMenu(hwnd_, GetMenu(hwnd_));
        ShowWindow(hwnd_, SW_SHOW);
        EnableIme();
    } else {
        SetWindowLongPtrW(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(WS_POPUP));
        SetMenu(hwnd_, GetMenu(hwnd_));
        ShowWindow(hwnd_, SW_SHOW);
        DisableIme();
    }
}

int CWindow::SetBorderlessFullScreen(bool on)
{
    if (!hwnd_ || fullScreen_) return 1;
    if (on == borderless_) return 0;
    if (on) {
        if (IsIconic(hwnd_)) return 1;
        savedPlacement_ = WINDOWPLACEMENT();
        savedPlacement_.length = sizeof savedPlacement_;
        if (!GetWindowPlacement(hwnd_, &savedPlacement_)) return 1;
        savedStyle_ = GetWindowLongPtrW(hwnd_, GWL_STYLE);
        savedExStyle_ = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
        // A menu bar would take rows off the client area.
        savedMenu_ = GetMenu(hwnd_);
        if (savedMenu_) SetMenu(hwnd_, nullptr);
        borderless_ = true;
        CoverMonitor();
    } else {
        borderless_ = false;
        SetWindowLongPtrW(hwnd_, GWL_STYLE, savedStyle_);
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, savedExStyle_);
        if (savedMenu_) SetMenu(hwnd_, savedMenu_);
        savedMenu_ = nullptr;
        // The placement keeps a maximised window's own size for its later restore as well.
        SetWindowPlacement(hwnd_, &savedPlacement_);
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    }
    return 0;
}

void CWindow::CoverMonitor()
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        SetRect(&monitor.rcMonitor, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
    const LONG_PTR style = (savedStyle_ & ~static_cast<LONG_PTR>(WS_OVERLAPPEDWINDOW)) | WS_POPUP | WS_VISIBLE;
    SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
    const RECT& r = monitor.rcMonitor;
    SetWindowPos(hwnd_, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
}

void CWindow::AddHook(IWindowHook* hook)
{
    CCriticalGuard guard(hookLock_);
    hooks_.push_back(hook);
}

void CWindow::RemoveHook(IWindowHook* hook)
{
    CCriticalGuard guard(hookLock_);
    hooks_.remove(hook);
}

LRESULT CWindow::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        ShowWindow(hwnd, SW_HIDE);
        SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(WS_POPUP));
        SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        break;
    case WM_SIZE:
        if (wParam == SIZE_RESTORED) minimized_ = false;
        else if (wParam == SIZE_MINIMIZED) minimized_ = true;
        break;
    case WM_ACTIVATEAPP:
        if (wParam) minimized_ = false;
        break;
    case WM_NCDESTROY:
        hwnd_ = nullptr;
        break;
    case WM_SYSKEYDOWN:
        // Alt+Enter toggles on the press; its auto-repeat (bit 30: the key was already down) is
        // swallowed too.
        if (wParam == VK_RETURN && (lParam & (1 << 29)) && options_.altEnterFullScreen && !fullScreen_) {
            if (!(lParam & (1 << 30))) ToggleBorderlessFullScreen();
            return 1;
        }
        break;
    case WM_SYSCHAR:
        // The character of Alt+Enter would otherwise make the default procedure beep.
        if (wParam == '\r' && options_.altEnterFullScreen && !fullScreen_) return 1;
        break;
    case WM_DISPLAYCHANGE:
        if (borderless_) CoverMonitor();
        break;
    case WM_DPICHANGED:
        // Moved to a monitor of another scale: the system's suggested rectangle keeps the window's
        // size in proportion. Other hooks still see the message.
        if (borderless_) {
            CoverMonitor();
        } else if (lParam && !fullScreen_) {
            const RECT* r = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
    }
    return 0;
}

LRESULT CWindow::RunHooks(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (IWindowHook* hook : hooks_) {
        if (LRESULT result = hook->OnMessage(hwnd, message, wParam, lParam)) return result;
    }
    return 0;
}

LRESULT CWindow::DispatchCharacter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (wParam > 0xFFFF) return RunHooks(hwnd, message, wParam, lParam);  // not a UTF-16 unit
    const wchar_t unit = static_cast<wchar_t>(wParam);
    // A character beyond U+FFFF comes as two messages; Shift-JIS has no such character.
    wchar_t units[2] = {unit, 0};
    size_t count = 1;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        pendingSurrogate_ = unit;
        return 0;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF && pendingSurrogate_) {
        units[0] = pendingSurrogate_;
        units[1] = unit;
        count = 2;
    }
    pendingSurrogate_ = 0;
    std::string bytes;
    if (!FromWide(units, count, bytes) || bytes.empty()) return 0;
    if (bytes.size() > 2) {
        // UTF-8 only: three or four bytes.
        if (message == WM_IME_CHAR) {
            WPARAM packed = 0;
            for (char byte : bytes) packed = packed << 8 | static_cast<unsigned char>(byte);
            return RunHooks(hwnd, message, packed, lParam);
        }
        LRESULT result = 0;
        for (char byte : bytes) {
            if (LRESULT r = RunHooks(hwnd, message, static_cast<unsigned char>(byte), lParam)) result = r;
        }
        return result;
    }
    const WPARAM lead = static_cast<unsigned char>(bytes[0]);
    if (bytes.size() == 1) return RunHooks(hwnd, message, lead, lParam);
    const WPARAM trail = static_cast<unsigned char>(bytes[1]);
    if (message == WM_IME_CHAR) return RunHooks(hwnd, message, lead << 8 | trail, lParam);
    const LRESULT first = RunHooks(hwnd, message, lead, lParam);
    const LRESULT second = RunHooks(hwnd, message, trail, lParam);
    return second ? second : first;
}

LRESULT CWindow::Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    {
        CCriticalGuard guard(hookLock_);
        const LRESULT result = IsCharacterMessage(message) && wParam >= 0x80
            ? DispatchCharacter(hwnd, message, wParam, lParam)
            : RunHooks(hwnd, message, wParam, lParam);
        if (result) return result;
    }
    if (previousProc_) return CallWindowProcW(previousProc_, hwnd, message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* window = reinterpret_cast<CWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
    return window->Dispatch(hwnd, message, wParam, lParam);
}
