// Per-thread counted COM initialisation.
#include <pyro/app/AppServices.h>

#include <pyro/app/CriticalLock.h>
#include <pyro/app/ErrorLog.h>

#include <map>
#include <objbase.h>

namespace {

struct ComCounts {
    CCriticalLock lock;
    std::map<DWORD, int> counts;
};

ComCounts& TheCounts()
{
    static ComCounts counts;
    return counts;
}

}  // namespace

int InitCOM()
{
    ComCounts& c = TheCounts();
    int previous;
    {
        CCriticalGuard guard(c.lock);
        int& count = c.counts[GetCurrentThreadId()];
        previous = count++;
    }
    if (previous != 0) return 0;
    if (CoInitialize(nullptr) == S_OK) return 0;
    // The count stays raised, so the matching ExitCOM still balances whatever happened.
    CErrorLog::WriteSystem("CoInitializeに失敗...");
    return 1;
}

void ExitCOM()
{
    ComCounts& c = TheCounts();
    CCriticalGuard guard(c.lock);
    auto it = c.counts.find(GetCurrentThreadId());
    if (it == c.counts.end()) return;
    if (--it->second == 0) {
        CoUninitialize();
        c.counts.erase(it);
    }
}
