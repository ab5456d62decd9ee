// CWindowOption: what an application's OnInit fills and window creation consumes.
#pragma once

#include <cstdint>
#include <string>

struct CWindowOption {
    std::string caption;
    std::string className;
    int32_t sizeX = 0;
    int32_t sizeY = 0;
    uint32_t style = 0x10CA0000;  // WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX
};
