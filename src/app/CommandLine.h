// The program's arguments as Shift-JIS strings. The C runtime's narrow arguments are converted
// with the machine's ANSI code page, which garbles Japanese names on a Western Windows; these come
// from the wide command line instead. An argument with characters outside Shift-JIS becomes an
// empty string.
#pragma once

#include <string>
#include <vector>

struct CommandArguments {
    std::vector<std::string> values;
    std::vector<char*> pointers;  // an argv over values, ending in a null pointer

    int Count() const { return static_cast<int>(values.size()); }
    char** Argv() { return pointers.data(); }
};

// Parses a command line the way Windows parses one into arguments; false when it cannot.
bool ParseCommandArguments(const wchar_t* commandLine, CommandArguments& arguments);

// The process's own command line.
bool GetCommandArguments(CommandArguments& arguments);

// Points a main routine's argc and argv at the process's arguments held in arguments (which must
// outlive their use); leaves them as they are when the command line cannot be read.
void UseCommandArguments(CommandArguments& arguments, int& argc, char**& argv);
