// CGameApp: the game's application class: its window settings and its main routine.
#pragma once

#include "app/Application.h"

class CGameApp : public CApplication {
public:
    int OnInit(CWindowOption& options) override;
};
