#include <pyro/app/CriticalLock.h>

#ifdef _WIN32
CCriticalLock::CCriticalLock() { InitializeCriticalSection(&section_); }
CCriticalLock::~CCriticalLock() { DeleteCriticalSection(&section_); }
void CCriticalLock::Enter() { EnterCriticalSection(&section_); }
void CCriticalLock::Leave() { LeaveCriticalSection(&section_); }
#else
CCriticalLock::CCriticalLock() = default;
CCriticalLock::~CCriticalLock() = default;
void CCriticalLock::Enter() { mutex_.lock(); }
void CCriticalLock::Leave() { mutex_.unlock(); }
#endif
