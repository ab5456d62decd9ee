// CApplication: the base of every application. The first one to Run becomes the main
// application and runs on the calling thread: start-up hooks, window, registration, the main
// routine (which pumps the window's messages itself), then an orderly take-down.
#pragma once

#include <pyro/app/ThreadObject.h>
#include <pyro/app/Window.h>
#include <pyro/app/WindowHook.h>
#include <pyro/app/WindowOption.h>

#include <atomic>

class CApplication : public IWindowHook, public CThreadObject {
public:
    CApplication();

    // Close and destroy handling; never consumes anything else.
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Main application: runs inline and returns 0 when it has ended. A further application:
    // starts its thread and returns once its main routine has begun (or start-up gave up).
    virtual int Run();
    // A close from the program itself; OnPreClose cannot veto it.
    virtual void Close();
    // Default main routine: pump, then wait 20 ms on the event, until invalidated.
    virtual void MainThread();
    virtual int OnPreCreate();
    virtual int OnInit(CWindowOption& options);
    virtual int OnCreate();
    virtual int OnExit();
    virtual int OnPreClose();
    virtual void OnReserved();

    ~CApplication() override;

    // Dispatches the pending messages; returns whether the application should go on.
    bool PumpMessage();
    void Invalidate() override;
    CWindow& GetWindow() { return window_; }
    bool IsReady() const { return ready_; }

    // Options for derived applications.
    bool pauseWhenMinimized = false;
    bool blockingWait = false;

protected:
    void ThreadProc() override;

private:
    CWindow window_;
    std::atomic<bool> ready_{false};
    bool closing_ = false;
    std::atomic<int32_t> startResult_{0};
};

// CAppMain: the main object of an application's main routine.
class CAppMain {
public:
    virtual ~CAppMain() = default;
    virtual void Start() = 0;

    CApplication* app = nullptr;
};

// The main application (the first to call Run), or null.
CApplication* GetMainApp();
