#include <pyro/app/Window.h>

#include <pyro/app/AppServices.h>
#include <pyro/app/ErrorLog.h>

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

}  // namespace

CWindow::CWindow() = default;

CWindow::~CWindow()
{
    RemoveHook(this);
    if (hwnd_) {
        HWND hwnd = hwnd_;
        DestroyWindow(hwnd);
        hwnd_ = nullptr;
    }
}

int CWindow::Create(const CWindowOption& options, HWND parent)
{
    fullScreen_ = IsFullScreen();
    options_ = options;
    HINSTANCE instance = GetInstance();

    if (g_classToRegister && !IsStandardClass(options_.className)) {
        g_classToRegister = false;  // before registering: a failure is not retried
        if (FindResourceA(instance, "IDR_MENU", MAKEINTRESOURCEA(4) /* RT_MENU */)) hasMenu_ = true;
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.style = 0;
        wc.lpfnWndProc = &CWindow::WindowProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, "MAIN");
        wc.hIconSm = wc.hIcon;
        wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(whiteBackground_ ? WHITE_BRUSH : BLACK_BRUSH));
        wc.lpszMenuName = "IDR_MENU";
        wc.lpszClassName = options_.className.c_str();
        if (!RegisterClassExA(&wc)) {
            CErrorLog::Write("CWindow::CreateでRegisterClassEx失敗");
            return 1;
        }
    }

    const int screenX = GetSystemMetrics(SM_CXSCREEN);
    const int screenY = GetSystemMetrics(SM_CYSCREEN);
    if (fullScreen_) {
        hwnd_ = CreateWindowExA(0, options_.className.c_str(), options_.caption.c_str(), WS_POPUP | WS_VISIBLE, 0, 0,
                                screenX, screenY, parent, nullptr, instance, nullptr);
    } else {
        RECT rect;
        CalcWindowRect(&rect, options_);
        DWORD style = options_.style | (parent ? WS_CHILD : 0);
        hwnd_ = CreateWindowExA(0, options_.className.c_str(), options_.caption.c_str(), style, CW_USEDEFAULT,
                                CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                instance, nullptr);
    }
    if (!hwnd_) {
        CErrorLog::Write("CWindow::CreateでCreateWindowに失敗。");
        return 1;
    }

    if (!fullScreen_ && options_.sizeX != 0 && options_.sizeY != 0) {
        // The client size, not the outer size, is centred.
        MoveTo((screenX - options_.sizeX) >> 1, (screenY - options_.sizeY) >> 1);
    }
    if (options_.sizeX != 0 && options_.sizeY != 0) ShowWindow(hwnd_, SW_SHOW);
    SetFocus(hwnd_);

    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (IsStandardClass(options_.className)) {
        previousProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindow::WindowProc)));
    } else {
        previousProc_ = nullptr;
    }
    AddHook(this);
    return 0;
}

void CWindow::CalcWindowRect(RECT* rect, const CWindowOption& options) const
{
    SetRect(rect, 0, 0, options.sizeX, options.sizeY);
    BOOL menu = (options.style & WS_SYSMENU) && (hasMenu_ || (hwnd_ && GetMenu(hwnd_)));
    AdjustWindowRect(rect, options.style, menu);
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
    if (!full) {
        RECT rect;
        CalcWindowRect(&rect, options_);
        SetWindowPos(hwnd_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top, SWP_NOZORDER);
        SetWindowLongPtrA(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(options_.style));
        SetMenu(hwnd_, GetMenu(hwnd_));
        ShowWindow(hwnd_, SW_SHOW);
        EnableIme();
    } else {
        SetWindowLongPtrA(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(WS_POPUP));
        SetMenu(hwnd_, GetMenu(hwnd_));
        ShowWindow(hwnd_, SW_SHOW);
        DisableIme();
    }
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

LRESULT CWindow::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_DESTROY:
        ShowWindow(hwnd, SW_HIDE);
        SetWindowLongPtrA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(WS_POPUP));
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
    }
    return 0;
}

LRESULT CWindow::Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    {
        CCriticalGuard guard(hookLock_);
        for (IWindowHook* hook : hooks_) {
            if (LRESULT result = hook->OnMessage(hwnd, message, wParam, lParam)) return result;
        }
    }
    if (previousProc_) return CallWindowProcA(previousProc_, hwnd, message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* window = reinterpret_cast<CWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!window) return DefWindowProcA(hwnd, message, wParam, lParam);
    return window->Dispatch(hwnd, message, wParam, lParam);
}
