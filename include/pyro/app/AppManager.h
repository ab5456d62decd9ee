// CAppManager: the process-wide registry that maps threads to running applications and their
// display objects, and counts the live application objects. Every operation holds one lock.
#pragma once

#include <cstdint>

class CApplication;
class CDIBDraw;

class CAppManager {
public:
    // Registers the application for the calling thread (see the .cpp for the exact rule).
    static void Add(CApplication* application);
    static void Remove(CApplication* application);
    static CApplication* GetMyApp();
    static void SetMyDraw(CDIBDraw* draw);
    static void ClearMyDraw(CDIBDraw* draw);
    static CDIBDraw* GetMyDraw();
    // Invalidates every registered application, then waits until only one object is alive.
    static void StopAll();
    static void IncAppCount();
    static void DecAppCount();
    static int32_t GetAppCount();
    // Number of entries, for tests.
    static int GetEntryCount();
};

// The frame services: how the rest of the system finds the calling thread's application.
inline CApplication* GetMyApp() { return CAppManager::GetMyApp(); }
inline void SetMyDraw(CDIBDraw* draw) { CAppManager::SetMyDraw(draw); }
inline void ClearMyDraw(CDIBDraw* draw) { CAppManager::ClearMyDraw(draw); }
inline CDIBDraw* GetMyDraw() { return CAppManager::GetMyDraw(); }
