// The program's main routine. The framework supplies the Windows entry point (link the pyro_main
// library, Pyro::main in the installed package; pyro_main_utf8, Pyro::main_utf8, for a program
// whose strings are UTF-8): it stores the entry arguments for GetInstance,
// fixes the base directory at the current directory, then calls PyroMain on the process's first
// thread and returns its result as the exit code. A program defines PyroMain, typically as
//
//     int PyroMain(int, char*[]) { CMyApp app; app.Run(); return 0; }
#pragma once

// argc and argv are the parsed command line (argv[0] is the program), in the program's encoding
// (Shift-JIS, or UTF-8 with Pyro::main_utf8) whatever the machine's code page; an argument with
// characters that encoding cannot hold is an empty string.
int PyroMain(int argc, char* argv[]);
