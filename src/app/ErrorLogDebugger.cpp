// The error log's default sink on Windows: the debugger channel. It shows nothing to the player,
// but a debugger prints each message. The text goes out through the wide call, converted from
// the program's encoding, so that a debugger shows it whatever the machine's ANSI code page is.
#include <pyro/app/ErrorLog.h>

#include <pyro/file/StringEncoding.h>

#include <cstring>
#include <windows.h>

void CErrorLog::DebuggerSink(const char* message, void*)
{
    // No allocation: the log also reports failures to get memory. A message of at most 1023
    // bytes never needs more than 1023 UTF-16 units; a longer one (a program's own sink may pass
    // any text on) is cut there, as Write cuts its own.
    constexpr int kMaxBytes = 1023;
    wchar_t line[kMaxBytes + 2];
    const size_t length = std::strlen(message);
    const int bytes = length < size_t(kMaxBytes) ? int(length) : kMaxBytes;
    // Converted without the line end: a message cut inside a multi-byte character ends in a
    // lone lead byte, which must not take the line feed with it.
    int units = bytes ? MultiByteToWideChar(IsUtf8Program() ? CP_UTF8 : 932, 0, message, bytes, line, kMaxBytes) : 0;
    // One call per message with its line end, so a debugger's window shows one message a line.
    line[units++] = L'\n';
    line[units] = L'\0';
    OutputDebugStringW(line);
}
