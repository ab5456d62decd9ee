// CGameApp: window settings and the main routine.
#include "game/GameApp.h"

#include <pyro/app/AppManager.h>
#include "game/MainMenu.h"

int CGameApp::OnInit(CWindowOption& options)
{
    options.caption = "Pyro丸Plaza";
    options.className = "PYROPLAZ";
    options.sizeX = 320;
    options.sizeY = 240;
    options.style = 0x00CF0000;  // caption, system menu, sizing border, minimise and maximise boxes
    return 0;
}

void CGameApp::MainThread()
{
    CMainMenu scene;
    scene.app = GetMyApp();
    scene.Start();
}
