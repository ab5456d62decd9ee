// The program's main routine. The framework supplies the Windows entry point (link the pyro_main
// library, Pyro::main in the installed package): it stores the entry arguments for GetInstance,
// fixes the base directory at the current directory, then calls PyroMain on the process's first
// thread and returns its result as the exit code. A program defines PyroMain, typically as
//
//     int PyroMain(int, char*[]) { CMyApp app; app.Run(); return 0; }
#pragma once

// argc and argv are the C runtime's parsed command line (argv[0] is the program).
int PyroMain(int argc, char* argv[]);
