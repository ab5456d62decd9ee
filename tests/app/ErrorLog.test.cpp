#include <pyro/app/ErrorLog.h>

#include <doctest/doctest.h>
#include <string>
#include <vector>

TEST_CASE("the error log formats for an attached sink and drops nothing into it once detached")
{
    CErrorLog::Write("dropped %d", 1);
    std::vector<std::string> seen;
    auto sink = [](const char* text, void* context) {
        static_cast<std::vector<std::string>*>(context)->push_back(text);
    };
    CErrorLog::Sink previous = CErrorLog::SetSink(sink, &seen);
    CErrorLog::Write("CWindow::Createで%s", "RegisterClassEx失敗");
    CErrorLog::SetSink(previous);
    CErrorLog::Write("dropped again");
    REQUIRE(seen.size() == 1);
    // Shift-JIS at run time: "で" is 0x82 0xC5.
    CHECK(seen[0] == "CWindow::CreateでRegisterClassEx失敗");
    CHECK(static_cast<unsigned char>(seen[0][15]) == 0x82);
    CHECK(static_cast<unsigned char>(seen[0][16]) == 0xC5);
}
