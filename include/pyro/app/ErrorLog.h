// CErrorLog: the process-wide error log. Failures hand it a message naming the class and
// operation, in the program's encoding (Shift-JIS or UTF-8, see file/StringEncoding.h).
// Nothing of it is shown to the player: on Windows each message goes to the debugger channel by
// default (a debugger shows it; so does Wine, see the guide), and a program or a test may attach
// a sink of its own, for example one that writes a log file.
#pragma once

class CErrorLog {
public:
    // Receives each formatted message with the context given to SetSink.
    using Sink = void (*)(const char* message, void* context);

    // printf-style; the formatted text is cut at 1023 bytes.
    static void Write(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 1, 2)))
#endif
        ;

    // A message of the framework itself: the format is Shift-JIS and is converted to the program's
    // encoding before formatting, so a UTF-8 program logs UTF-8 throughout; the arguments are
    // in the program's encoding already (a file name, say). A format that does not convert is
    // used as it is.
    static void WriteSystem(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 1, 2)))
#endif
        ;

    // Replaces the sink (null restores the default, DebuggerSink). Returns the previous one.
    static Sink SetSink(Sink sink, void* context = nullptr);

    // The default sink: the message converted from the program's encoding to UTF-16, with a
    // line feed, through OutputDebugStringW on Windows (cut at 1023 bytes, without allocating);
    // elsewhere the message is dropped. A program's own sink may pass messages on to it.
    static void DebuggerSink(const char* message, void* context);
};
