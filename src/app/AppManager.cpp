#include <pyro/app/AppManager.h>

#include <pyro/app/Application.h>
#include <pyro/app/CriticalLock.h>
#include <pyro/app/ErrorLog.h>

#include <list>
#include <windows.h>

namespace {

struct Entry {
    CApplication* application;
    CDIBDraw* draw;
    DWORD threadId;
};

// Built on first use, so that applications constructed during static initialisation find them.
struct Registry {
    CCriticalLock lock;
    std::list<Entry> entries;
    int32_t appCount = 0;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

// The calling thread's entry, or null; the caller holds the lock.
Entry* FindMine(Registry& r)
{
    const DWORD me = GetCurrentThreadId();
    for (Entry& entry : r.entries) {
        if (entry.threadId == me) return &entry;
    }
    return nullptr;
}

const char kNoRoom[] = "CAppManager::Addするのに空きが無い";

}  // namespace

void CAppManager::Add(CApplication* application)
{
    Registry& r = TheRegistry();
    CCriticalGuard guard(r.lock);
    const DWORD me = GetCurrentThreadId();
    for (Entry& entry : r.entries) {
        if (entry.application != application) continue;
        if (entry.threadId == 0) entry.threadId = me;
        else CErrorLog::WriteSystem(kNoRoom);
        return;
    }
    r.entries.push_back({application, nullptr, me});
}

void CAppManager::Remove(CApplication* application)
{
    Registry& r = TheRegistry();
    CCriticalGuard guard(r.lock);
    r.entries.remove_if([application](const Entry& e) { return e.application == application; });
}

CApplication* CAppManager::GetMyApp()
{
    Registry& r = TheRegistry();
    CCriticalGuard guard(r.lock);
    const Entry* mine = FindMine(r);
    return mine ? mine->application : nullptr;
}

void CAppManager::SetMyDraw(CDIBDraw* draw)
{
    Registry& r = TheRegistry();
    CCriticalGuard guard(r.lock);
    if (Entry* mine = FindMine(r)) mine->draw = draw;
    else CErrorLog::WriteSystem(kNoRoom);
}

void CAppManager::ClearMyDraw(CDIBDraw* draw)
{
    Registry& r = TheRegistry();
    CCriticalGuard guard(r.lock);
    // Every entry of this thread: a destroyed display object must not stay behind in any of them.
    const DWORD me = GetCurrentThreadId();
    for (Entry& entry : r.entries) {
        if (entry.threadId == me && entry.draw == draw) entry.draw = nullptr;
    }
}

CDIBDraw* CAppManager::GetMyDraw()
{
    Registry& r = TheRegistry();
    CCriticalGuard guard(r.lock);
    const Entry* mine = FindMine(r);
    return mine ? mine->draw : nullptr;
}

void CAppManager::StopAll()
{
    Registry& r = TheRegistry();
    {
        CCriticalGuard guard(r.lock);
        for (Entry& entry : r.entries) entry.application->Invalidate();
    }
    while (GetAppCount() > 1) Sleep(100);
}

void CAppManager::IncAppCount()
{
    Registry& r = TheRegistry();
    CCriticalGuard guard(r.lock);
    ++r.appCount;
}

void CAppManager::DecAppCount()
{
    Registry& r = TheRegistry();
    CCriticalGuard guard(r.lock);
    --r.appCount;
}

int32_t CAppManager::GetAppCount()
{
    Registry& r = TheRegistry();
    CCriticalGuard guard(r.lock);
    return r.appCount;
}

int CAppManager::GetEntryCount()
{
    Registry& r = TheRegistry();
    CCriticalGuard guard(r.lock);
    return static_cast<int>(r.entries.size());
}
