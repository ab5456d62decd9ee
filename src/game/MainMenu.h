// CMainMenu: the game's one scene. It sets up the screen view, the frame timer, the frame-rate
// read-out, the key bindings and the number menu, runs the frame loop at 30 frames a second
// until Escape or a closed window, and takes everything down in reverse.
#pragma once

#include <pyro/app/Application.h>

#include <cstdint>

// The game's own logical keys, beside the mapper's defaults (input/LogicalKeys.h) and the menu
// buttons' hot keys 100 to 103.
enum : int32_t {
    kLogicalScreenshot = 10,
    kLogicalReadOut = 11,
};

class CMainMenu : public CAppMain {
public:
    void Start() override;

    // Binds S, F and the digits 0 to 3 in the key mapper's table.
    static void BindKeys();
};
