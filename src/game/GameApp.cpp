#include "game/GameApp.h"

int CGameApp::OnInit(CWindowOption& options)
{
    options.caption = "Pyro丸Plaza";
    options.className = "PYROPLAZ";
    options.sizeX = 320;
    options.sizeY = 240;
    options.style = 0x00CF0000;  // caption, system menu, sizing border, minimise and maximise boxes
    return 0;
}
