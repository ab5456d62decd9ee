// The Windows entry point every program of the framework shares: the set-up each program needs
// before its own main routine runs.
#include <pyro/app/AppServices.h>
#include <pyro/app/Main.h>
#include <pyro/file/BaseDirectory.h>

#include <cstdlib>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    SetEntryArguments(instance, previous, commandLine, showCommand);
    InitBaseDirectory();
    return PyroMain(__argc, __argv);
}
