// CCriticalLock: a recursive lock. On Windows it is a platform critical section; the native
// build of the portable code uses the standard library's recursive mutex.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <mutex>
#endif

class CCriticalLock {
public:
    CCriticalLock();  // an unheld lock
    virtual ~CCriticalLock();  // the lock must not be held
    CCriticalLock(const CCriticalLock&) = delete;
    CCriticalLock& operator=(const CCriticalLock&) = delete;

    // Waits for the lock; the holding thread may enter again.
    void Enter();
    // Leaves once for each Enter.
    void Leave();

private:
#ifdef _WIN32
    CRITICAL_SECTION section_;
#else
    std::recursive_mutex mutex_;
#endif
};

// Holds a CCriticalLock for the lifetime of a scope.
class CCriticalGuard {
public:
    // Enters the lock.
    explicit CCriticalGuard(CCriticalLock& lock) : lock_(lock) { lock_.Enter(); }
    ~CCriticalGuard() { lock_.Leave(); }  // leaves it
    CCriticalGuard(const CCriticalGuard&) = delete;
    CCriticalGuard& operator=(const CCriticalGuard&) = delete;

private:
    CCriticalLock& lock_;
};
