// The error log's default sink on Windows. A debugger learns of OutputDebugString through the
// exception it raises; a vectored handler sees that exception first, so the test reads the
// debugger channel the way a debugger does. Windows 10 and later raise the wide exception with
// the UTF-16 text; Wine 8 passes the text on in the ANSI code page through the older exception,
// so a message reads there as its UTF-16 text does in that code page.
#include <pyro/app/ErrorLog.h>

#include <doctest/doctest.h>
#include <string>
#include <vector>
#include <windows.h>

#include "app/ErrorCapture.h"

#ifndef DBG_PRINTEXCEPTION_C
#define DBG_PRINTEXCEPTION_C 0x40010006
#endif
#ifndef DBG_PRINTEXCEPTION_WIDE_C
#define DBG_PRINTEXCEPTION_WIDE_C 0x4001000A
#endif

namespace {

std::vector<std::string> g_debugger;
bool g_wide = false;  // the system raised the wide exception: g_debugger holds UTF-8

std::string Encode(UINT codePage, const wchar_t* text, int length)
{
    std::string out(size_t(length) * 4, '\0');
    out.resize(size_t(WideCharToMultiByte(codePage, 0, text, length, &out[0], int(out.size()), nullptr, nullptr)));
    return out;
}

LONG CALLBACK SeeDebugString(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    // Parameters: the length including the terminator, then the text.
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C && record->NumberParameters >= 2) {
        g_wide = true;
        g_debugger.push_back(Encode(CP_UTF8, reinterpret_cast<const wchar_t*>(record->ExceptionInformation[1]),
                                    int(record->ExceptionInformation[0] - 1)));
    } else if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2 && !g_wide) {
        const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
        g_debugger.emplace_back(text, record->ExceptionInformation[0] - 1);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// The UTF-16 text as the channel carries it.
std::string OnChannel(const std::wstring& text)
{
    return Encode(g_wide ? CP_UTF8 : CP_ACP, text.c_str(), int(text.size()));
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

TEST_CASE("by default the error log writes each message to the debugger channel as one line of UTF-16")
{
    DebuggerWatch watch;
    CErrorLog::Write("CWindow::Createで%s", "RegisterClassEx失敗");
    CErrorLog::Write("JoyStick Number %d", 3);
    REQUIRE(g_debugger.size() == 2);
    // Wide literals are UTF-16 whatever the execution character set: the Shift-JIS message
    // converted to them, not passed on as bytes.
    CHECK(g_debugger[0] == OnChannel(L"CWindow::CreateでRegisterClassEx失敗\n"));
    CHECK(g_debugger[1] == "JoyStick Number 3\n");

    SUBCASE("a long message is cut at 1023 bytes before its line end")
    {
        CErrorLog::Write("%s", std::string(2000, 'x').c_str());
        REQUIRE(g_debugger.size() == 3);
        CHECK(g_debugger[2] == std::string(1023, 'x') + "\n");
    }

    SUBCASE("a message cut inside a double-byte character keeps its line end")
    {
        CErrorLog::Write("%s", (std::string(1022, 'x') + "失").c_str());
        REQUIRE(g_debugger.size() == 3);
        // The lone lead byte becomes the code page's default character.
        CHECK(g_debugger[2] == std::string(1022, 'x') + OnChannel(L"・\n"));
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
