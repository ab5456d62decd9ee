#include "app/CommandLine.h"

#include <pyro/file/Utf16.h>

#include <windows.h>
#include <shellapi.h>

bool ParseCommandArguments(const wchar_t* commandLine, CommandArguments& arguments)
{
    arguments.values.clear();
    arguments.pointers.clear();
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(commandLine ? commandLine : L"", &count);
    if (!wide) return false;
    arguments.values.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (!FromWide(wide[i], lstrlenW(wide[i]), arguments.values[i])) arguments.values[i].clear();
    }
    LocalFree(wide);
    for (std::string& value : arguments.values) arguments.pointers.push_back(&value[0]);
    arguments.pointers.push_back(nullptr);
    return true;
}

bool GetCommandArguments(CommandArguments& arguments)
{
    return ParseCommandArguments(GetCommandLineW(), arguments);
}

void UseCommandArguments(CommandArguments& arguments, int& argc, char**& argv)
{
    if (!GetCommandArguments(arguments)) return;
    argc = arguments.Count();
    argv = arguments.Argv();
}
