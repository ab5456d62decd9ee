// The game's main routine: run the game application on this thread and end with 0 whatever
// happened. The framework's entry point has already stored the arguments and fixed the base
// directory.
#include <pyro/app/Main.h>

#include "game/GameApp.h"

int PyroMain(int, char*[])
{
    CGameApp app;
    app.Run();
    return 0;
}
