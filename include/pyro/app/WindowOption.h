// CWindowOption: what an application's OnInit fills and window creation consumes.
#pragma once

#include <cstdint>
#include <string>

struct CWindowOption {
    std::string caption;  // the window's title
    std::string className;  // the window class registered for it
    int32_t sizeX = 0;  // client area width
    int32_t sizeY = 0;  // client area height
    // The window style.
    uint32_t style = 0x10CA0000;  // WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX
};
