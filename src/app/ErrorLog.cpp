#include <pyro/app/ErrorLog.h>

#include <pyro/file/StringEncoding.h>

#include <cstdarg>
#include <cstdio>
#include <new>
#include <string>

namespace {
CErrorLog::Sink g_sink = &CErrorLog::DebuggerSink;
void* g_context = nullptr;
}

void CErrorLog::Write(const char* format, ...)
{
    CErrorLog::Sink sink = g_sink;
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    sink(text, g_context);
}

void CErrorLog::WriteSystem(const char* format, ...)
{
    CErrorLog::Sink sink = g_sink;
    std::string converted;
    const char* used = format;
    if (IsUtf8Program()) {
        try {
            if (SjisToProgram(format, converted)) used = converted.c_str();
        } catch (const std::bad_alloc&) {
            // Out of memory: the message goes out unconverted rather than not at all.
        }
    }
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, used, args);
    va_end(args);
    sink(text, g_context);
}

CErrorLog::Sink CErrorLog::SetSink(Sink sink, void* context)
{
    Sink previous = g_sink;
    g_sink = sink ? sink : &CErrorLog::DebuggerSink;
    g_context = context;
    return previous;
}

#ifndef _WIN32
// Only Windows has a debugger channel (src/app/ErrorLogDebugger.cpp).
void CErrorLog::DebuggerSink(const char*, void*) {}
#endif
