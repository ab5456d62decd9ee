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
    // Start-up hook before the window exists: non-zero gives up. Does nothing here (0).
    virtual int OnPreCreate();
    // Fills the window options (caption, class name, client size, style): non-zero gives up.
    virtual int OnInit(CWindowOption& options);
    // Start-up hook after the window exists: non-zero gives up. Does nothing here (0).
    virtual int OnCreate();
    // Called after the main routine has returned; the result is ignored.
    virtual int OnExit();
    // Asked when the user closes the window: non-zero vetoes the close. 0 here.
    virtual int OnPreClose();
    // Reserved; does nothing.
    virtual void OnReserved();

    // Destroys the window.
    ~CApplication() override;

    // Dispatches the pending messages; returns whether the application should go on.
    bool PumpMessage();
    // Ends the main routine: clears the valid flag and wakes the pump.
    void Invalidate() override;
    // The application's window.
    CWindow& GetWindow() { return window_; }
    // Whether start-up has completed and the main routine runs.
    bool IsReady() const { return ready_; }

    // Options for derived applications.
    bool pauseWhenMinimized = false;  // the pump blocks while the window is minimised
    bool blockingWait = false;  // the pump waits for one message instead of draining the queue

protected:
    // The start-up sequence, the main routine and the take-down, on the application's thread.
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
    virtual ~CAppMain() = default;  // destroys the scene
    // Runs the scene: set-up, the frame loop, take-down.
    virtual void Start() = 0;

    CApplication* app = nullptr;  // the application the scene belongs to
};

// The main application (the first to call Run), or null.
CApplication* GetMainApp();
