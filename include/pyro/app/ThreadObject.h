// CThreadObject: a thread whose body is a virtual operation, with an auto-reset event that both
// wakes the body and tells it to stop. The application class is one; further applications run
// their start-up sequence on the thread it starts.
#pragma once

#include <atomic>

class CThreadObject {
public:
    CThreadObject();  // no thread and no event yet

    // The thread's body.
    virtual void ThreadProc() = 0;
    // Stops (joins) a previous thread, then starts a new one running InitEvent, ThreadProc,
    // CloseEvent. 0 on success, 1 when no thread could be started.
    virtual int StartThread();
    // Invalidate, then wait without limit for the thread to end and close its handle.
    // 0 when there was no thread or it ended normally, 1 when the wait failed.
    virtual int StopThread();
    // Runs InitEvent, ThreadProc, CloseEvent on the calling thread.
    virtual int RunInline();
    // Whether the body is running.
    virtual bool IsExecuting();
    // Whether the body should go on; Invalidate clears it.
    virtual bool IsValid();
    // Clears the valid flag and signals the event; safe from any thread.
    virtual void Invalidate();
    // -1 without an event; 1 when signalled (or the wait failed); 0 on time-out.
    virtual int Wait(unsigned milliseconds);
    // Stops the thread.
    virtual ~CThreadObject();
    // Creates the event and sets the valid flag; runs before the body.
    virtual void InitEvent();
    // Closes the event; runs after the body.
    virtual void CloseEvent();

    CThreadObject(const CThreadObject&) = delete;
    CThreadObject& operator=(const CThreadObject&) = delete;

private:
    static unsigned __stdcall ThreadEntry(void* self);

    std::atomic<bool> executing_{false};
    std::atomic<bool> valid_{false};
    void* thread_;  // owned thread handle, or INVALID_HANDLE_VALUE when there is none
    void* event_ = nullptr;
};
