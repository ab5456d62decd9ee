// The error log's default sink on Windows. A debugger learns of OutputDebugStringA through the
// DBG_PRINTEXCEPTION_C exception it raises; a vectored handler sees that exception first, so
// the test reads the debugger channel the way a debugger does.
#include <pyro/app/ErrorLog.h>

#include <doctest/doctest.h>
#include <string>
#include <vector>
#include <windows.h>

#include "app/ErrorCapture.h"

#ifndef DBG_PRINTEXCEPTION_C
#define DBG_PRINTEXCEPTION_C 0x40010006
#endif

namespace {

std::vector<std::string> g_debugger;

LONG CALLBACK SeeDebugString(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
        // Parameters: the length including the terminator, then the text.
        const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
        g_debugger.emplace_back(text, record->ExceptionInformation[0] - 1);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// Watches the debugger channel while it lives.
class DebuggerWatch {
public:
    DebuggerWatch() : handler_(AddVectoredExceptionHandler(1, SeeDebugString)) { g_debugger.clear(); }
    ~DebuggerWatch() { RemoveVectoredExceptionHandler(handler_); }

private:
    void* handler_;
};

}  // namespace

TEST_CASE("by default the error log writes each message to the debugger channel as one line")
{
    DebuggerWatch watch;
    CErrorLog::Write("CWindow::Createで%s", "RegisterClassEx失敗");
    CErrorLog::Write("JoyStick Number %d", 3);
    REQUIRE(g_debugger.size() == 2);
    CHECK(g_debugger[0] == "CWindow::CreateでRegisterClassEx失敗\n");
    CHECK(g_debugger[1] == "JoyStick Number 3\n");

    SUBCASE("a long message is cut at 1023 bytes before its line end")
    {
        CErrorLog::Write("%s", std::string(2000, 'x').c_str());
        REQUIRE(g_debugger.size() == 3);
        CHECK(g_debugger[2] == std::string(1023, 'x') + "\n");
    }
}

TEST_CASE("a program's own sink replaces the debugger channel until the default is restored")
{
    DebuggerWatch watch;
    {
        ErrorCapture own;
        CErrorLog::Write("CDIBDraw::TestDisplayModeで%d", 2);
        CHECK(own.messages == std::vector<std::string>{"CDIBDraw::TestDisplayModeで2"});
        CHECK(g_debugger.empty());
        // A sink of its own may still pass messages on.
        CErrorLog::DebuggerSink("passed on", nullptr);
        CHECK(g_debugger == std::vector<std::string>{"passed on\n"});
    }
    CErrorLog::Write("after");
    CHECK(g_debugger.back() == "after\n");

    CErrorLog::SetSink([](const char*, void*) {});
    // SetSink answers the sink it replaces: here the program's own, not the default.
    CHECK((CErrorLog::SetSink(nullptr) != &CErrorLog::DebuggerSink));
    CErrorLog::Write("restored");
    CHECK(g_debugger.back() == "restored\n");
}
