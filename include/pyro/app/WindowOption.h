// CWindowOption: what an application's OnInit fills and window creation consumes.
#pragma once

#include <cstdint>
#include <string>

struct CWindowOption {
    // WS_THICKFRAME | WS_MAXIMIZEBOX: what `resizable` adds to the style.
    static constexpr uint32_t kSizingStyle = 0x00050000;

    std::string caption;  // the window's title
    std::string className;  // the window class registered for it
    int32_t sizeX = 0;  // client area width
    int32_t sizeY = 0;  // client area height
    // The window style. The default has no sizing border: the player cannot drag it larger.
    uint32_t style = 0x10CA0000;  // WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX
    // Adds a sizing border and a maximise box to the style: the player can drag the window
    // larger or maximise it, and a screen view magnifies into it.
    bool resizable = false;
    // Alt+Enter switches borderless full screen on and off (CWindow::ToggleBorderlessFullScreen).
    bool altEnterFullScreen = true;

    // The style the window is made with.
    uint32_t WindowStyle() const { return style | (resizable ? kSizingStyle : 0); }
};
