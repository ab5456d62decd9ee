// The Windows entry point every program of the framework shares: the set-up each program needs
// before its own main routine runs. Built twice: as it is for Shift-JIS programs, and with
// PYRO_UTF8_PROGRAM for UTF-8 ones.
#include <pyro/app/AppServices.h>
#include <pyro/app/Main.h>
#include <pyro/file/BaseDirectory.h>
#include <pyro/file/StringEncoding.h>
#include "app/CommandLine.h"

#include <cstdlib>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
#ifdef PYRO_UTF8_PROGRAM
    // Before anything takes a string: the base directory and the arguments are UTF-8 already.
    SetStringEncoding(StringEncoding::kUtf8);
#endif
    SetEntryArguments(instance, previous, commandLine, showCommand);
    InitBaseDirectory();
    static CommandArguments arguments;  // lives as long as the program may read argv
    int argc = __argc;
    char** argv = __argv;
    UseCommandArguments(arguments, argc, argv);
    return PyroMain(argc, argv);
}
