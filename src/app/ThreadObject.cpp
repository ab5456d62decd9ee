#include <pyro/app/ThreadObject.h>

#include <process.h>
#include <windows.h>

CThreadObject::CThreadObject() : thread_(INVALID_HANDLE_VALUE) {}

CThreadObject::~CThreadObject()
{
    StopThread();
    CloseEvent();
}

unsigned __stdcall CThreadObject::ThreadEntry(void* self)
{
    auto* object = static_cast<CThreadObject*>(self);
    object->InitEvent();
    object->ThreadProc();
    object->CloseEvent();
    return 0;
}

int CThreadObject::StartThread()
{
    StopThread();
    // _beginthreadex hands back a handle that stays valid after the thread ends, so
    // StopThread can always wait on it; it is closed only after that wait.
    uintptr_t handle = _beginthreadex(nullptr, 0, &CThreadObject::ThreadEntry, this, 0, nullptr);
    if (handle == 0) {
        thread_ = INVALID_HANDLE_VALUE;
        return 1;
    }
    thread_ = reinterpret_cast<HANDLE>(handle);
    return 0;
}

int CThreadObject::StopThread()
{
    Invalidate();
    if (thread_ == INVALID_HANDLE_VALUE) return 0;
    DWORD result = WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = INVALID_HANDLE_VALUE;
    return result == WAIT_OBJECT_0 ? 0 : 1;
}

int CThreadObject::RunInline()
{
    InitEvent();
    ThreadProc();
    CloseEvent();
    return 0;
}

bool CThreadObject::IsExecuting() { return executing_; }

bool CThreadObject::IsValid() { return valid_; }

void CThreadObject::Invalidate()
{
    valid_ = false;
    if (event_) SetEvent(event_);
}

int CThreadObject::Wait(unsigned milliseconds)
{
    if (!event_) return -1;
    return WaitForSingleObject(event_, milliseconds) == WAIT_TIMEOUT ? 0 : 1;
}

void CThreadObject::InitEvent()
{
    CloseEvent();
    event_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    executing_ = true;
    valid_ = true;
}

void CThreadObject::CloseEvent()
{
    if (event_) {
        CloseHandle(event_);
        event_ = nullptr;
    }
    executing_ = false;
}
