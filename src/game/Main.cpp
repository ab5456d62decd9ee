// Entry point of the game: store the arguments, record the base directory, run the game
// application on this thread, and return 0 whatever happened.
#include "app/AppServices.h"
#include "file/BaseDirectory.h"
#include "game/GameApp.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    SetEntryArguments(instance, previous, commandLine, showCommand);
    InitBaseDirectory();
    {
        CGameApp app;
        app.Run();
    }
    return 0;
}
