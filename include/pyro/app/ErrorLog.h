// CErrorLog: the process-wide error log. Failures hand it a Shift-JIS message naming the class
// and operation. The game shows nothing to the player, so by default every message is dropped;
// a test or a tool may attach a sink to see them.
#pragma once

class CErrorLog {
public:
    using Sink = void (*)(const char* message, void* context);

    // printf-style; the formatted text is cut at 1023 bytes.
    static void Write(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 1, 2)))
#endif
        ;

    // Replaces the sink (null restores the default, which discards). Returns the previous one.
    static Sink SetSink(Sink sink, void* context = nullptr);
};
