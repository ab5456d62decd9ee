// CGameApp: the game's application class: its window settings and its main routine.
#pragma once

#include <pyro/app/Application.h>

class CGameApp : public CApplication {
public:
    int OnInit(CWindowOption& options) override;
    // Runs the main menu scene until the player quits or closes the window.
    void MainThread() override;
};
