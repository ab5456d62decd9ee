// The error log's default sink on Windows: the debugger channel. It shows nothing to the player,
// but a debugger prints each message, and so does Wine with WINEDEBUG=+debugstr.
#include <pyro/app/ErrorLog.h>

#include <cstdio>
#include <windows.h>

void CErrorLog::DebuggerSink(const char* message, void*)
{
    // One call per message with its line end, so a debugger's window shows one message a line.
    // No allocation: the log also reports failures to get memory.
    char line[1026];
    std::snprintf(line, sizeof line, "%s\n", message);
    OutputDebugStringA(line);
}
