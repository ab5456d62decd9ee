#include <pyro/app/Application.h>

#include <pyro/app/AppManager.h>
#include <pyro/app/AppServices.h>

namespace {
CApplication* g_mainApp = nullptr;
}

CApplication* GetMainApp() { return g_mainApp; }

CApplication::CApplication()
{
    CAppManager::IncAppCount();
}

CApplication::~CApplication()
{
    StopThread();
    CAppManager::DecAppCount();
    // Forget a destroyed main application, so that no later object at the same address is
    // mistaken for it.
    if (g_mainApp == this) g_mainApp = nullptr;
    // The window member is destroyed next, then the thread object (whose second stop finds no thread).
}

int CApplication::Run()
{
    if (!g_mainApp) g_mainApp = this;
    if (g_mainApp == this) {
        RunInline();
        return 0;
    }
    startResult_ = -1;
    if (StartThread() != 0) return 1;
    while (!ready_ && startResult_ < 0) Sleep(100);
    return 0;
}

void CApplication::Close()
{
    closing_ = true;
    SendMessageW(window_.GetHWnd(), WM_CLOSE, 0, 0);
}

void CApplication::MainThread()
{
    while (PumpMessage()) Wait(20);
}

int CApplication::OnPreCreate() { return 0; }

int CApplication::OnInit(CWindowOption& options)
{
    options.caption = "あぷりちゃん";
    options.className = "MIVOAPPLICATION";
    options.sizeX = 640;
    options.sizeY = 480;
    options.style = 0x00CA0000;
    return 0;
}

int CApplication::OnCreate() { return 0; }
int CApplication::OnExit() { return 0; }
int CApplication::OnPreClose() { return 0; }
void CApplication::OnReserved() {}

void CApplication::ThreadProc()
{
    // Whatever happens, a Run polling on another thread must learn that start-up is over.
    struct StartDone {
        std::atomic<int32_t>& result;
        ~StartDone()
        {
            if (result < 0) result = 1;
        }
    } startDone{startResult_};

    if (OnPreCreate() != 0) return;
    CWindowOption options;
    if (OnInit(options) != 0) return;
    if (window_.Create(options, nullptr) != 0) return;
    if (OnCreate() != 0) return;
    CAppManager::Add(this);
    HookMyWindow(this);
    startResult_ = 0;
    ready_ = true;
    MainThread();
    ready_ = false;
    OnExit();
    // The window's listeners see WM_DESTROY (the application posts the quit message) as the
    // window is destroyed; it leaves the screen at once instead of lingering hidden.
    window_.Destroy();
    UnhookMyWindow(this);
    CAppManager::Remove(this);
    if (g_mainApp == this) CAppManager::StopAll();
    CThreadObject::Invalidate();  // clears the valid flag
}

bool CApplication::PumpMessage()
{
    MSG msg;
    if (blockingWait) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got != 0 && got != -1) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    } else {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (pauseWhenMinimized) {
        while (window_.IsMinimized()) {
            BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0 || got == -1) break;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return IsValid();
}

void CApplication::Invalidate()
{
    if (blockingWait && window_.GetHWnd()) PostMessageW(window_.GetHWnd(), WM_CLOSE, 0, 0);
    CThreadObject::Invalidate();
}

LRESULT CApplication::OnMessage(HWND, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_CLOSE:
        if (!closing_ && OnPreClose() != 0) return 1;
        Invalidate();
        return 1;
    case WM_DESTROY:
        if (g_mainApp == this) PostQuitMessage(0);
        return 0;
    default:
        return 0;
    }
}
