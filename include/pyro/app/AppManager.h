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
    // Takes the application's entry out of the registry.
    static void Remove(CApplication* application);
    // The application registered for the calling thread, or null.
    static CApplication* GetMyApp();
    // Records the screen of the calling thread's application.
    static void SetMyDraw(CDIBDraw* draw);
    // Forgets the screen wherever it is recorded (when it is destroyed).
    static void ClearMyDraw(CDIBDraw* draw);
    // The screen of the calling thread's application, or null.
    static CDIBDraw* GetMyDraw();
    // Invalidates every registered application, then waits until only one object is alive.
    static void StopAll();
    // Counts an application object in (constructor) and out (destructor).
    static void IncAppCount();
    static void DecAppCount();  // the counterpart of IncAppCount
    // The number of application objects alive.
    static int32_t GetAppCount();
    // Number of entries, for tests.
    static int GetEntryCount();
};

// The frame services: how the rest of the system finds the calling thread's application.
// The application of the calling thread, or null.
inline CApplication* GetMyApp() { return CAppManager::GetMyApp(); }
// Records the calling thread's screen; the screen does this itself when built.
inline void SetMyDraw(CDIBDraw* draw) { CAppManager::SetMyDraw(draw); }
// Forgets a screen that is going away.
inline void ClearMyDraw(CDIBDraw* draw) { CAppManager::ClearMyDraw(draw); }
// The calling thread's screen, or null.
inline CDIBDraw* GetMyDraw() { return CAppManager::GetMyDraw(); }
