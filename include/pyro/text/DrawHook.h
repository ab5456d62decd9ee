// Drawing hooks of the screen: CDrawHook is called back while the screen presents, with the
// screen itself or with the back buffer's device context; CGDIHook registers itself in the GDI
// hook list of the calling thread's screen for as long as it lives.
#pragma once

#include <windows.h>

#include <cstdint>

class CDIBDraw;
class CPlaneBase;

class CDrawHook {
public:
    CDrawHook() = default;  // not registered anywhere
    CDrawHook(const CDrawHook&) = delete;
    CDrawHook& operator=(const CDrawHook&) = delete;

    // Called with the back buffer's device context; does nothing here.
    virtual void OnDrawDC(HDC dc);
    // Called with the screen; passes its drawing interface (or null) on to OnDrawPlane.
    virtual void OnDrawScreen(CDIBDraw* screen);
    virtual ~CDrawHook();
    // Does nothing here.
    virtual void OnDrawPlane(CPlaneBase* plane);

    int32_t x = 0;  // where a hook draws, across
    int32_t y = 0;  // and down
    // The screen skips a hook whose flag is 0.
    uint8_t enabled = 1;
};

// CGDIHook: a drawing hook in the GDI list of the calling thread's screen while it lives.
class CGDIHook : public CDrawHook {
public:
    // Appended to the GDI hook list of the calling thread's screen, when there is one.
    CGDIHook();
    // Removed from that list, every time it appears there.
    ~CGDIHook() override;
};
