#include <pyro/app/ErrorLog.h>

#include <cstdarg>
#include <cstdio>

namespace {
CErrorLog::Sink g_sink = nullptr;
void* g_context = nullptr;
}

void CErrorLog::Write(const char* format, ...)
{
    CErrorLog::Sink sink = g_sink;
    if (!sink) return;
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    sink(text, g_context);
}

CErrorLog::Sink CErrorLog::SetSink(Sink sink, void* context)
{
    Sink previous = g_sink;
    g_sink = sink;
    g_context = context;
    return previous;
}
