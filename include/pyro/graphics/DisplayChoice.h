// The display back-ends a screen can present with, and the choice between them: Direct3D 11
// where a device and a swap chain can be made, the DIB back-end (GDI) everywhere else.
#pragma once

#include <cstdint>

class CDIBDraw;

// Which back-end presents the back buffer.
enum class DisplayKind : int32_t {
    kAuto,   // Direct3D 11 when it starts (hardware or WARP device), else GDI
    kDIB,    // GDI alone
    kD3D11,  // Direct3D 11; still GDI, after one line in the error log, when it cannot start
};

// The kind the environment switch names ("auto", "dib" or "d3d11", as PYRO_DISPLAY holds it),
// which overrides the program's choice; anything else leaves the asked kind.
DisplayKind ChooseDisplayKind(DisplayKind asked, const char* forced);
// The kind PYRO_DISPLAY gives for the asked one.
DisplayKind ChooseDisplayKind(DisplayKind asked);
// Makes the screen for the calling thread's application window (as CDIBDraw's constructor
// needs): a CD3D11Draw that has started for kAuto and kD3D11, falling back inside itself to GDI
// when a step fails, or a plain CDIBDraw for kDIB. Never null except when memory runs out.
CDIBDraw* CreateDisplay(DisplayKind kind);
