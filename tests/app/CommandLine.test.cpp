#include "app/CommandLine.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

TEST_CASE("arguments come in Shift-JIS from the wide command line; one without a Shift-JIS form is empty")
{
    CommandArguments arguments;
    const wchar_t* commandLine = L"game.exe データ\\絵.dat \"b c\" café ソ表";
    REQUIRE(ParseCommandArguments(commandLine, arguments));
    CHECK(arguments.values == std::vector<std::string>{"game.exe", "データ\\絵.dat", "b c", "", "ソ表"});
    REQUIRE(arguments.Count() == 5);
    for (int i = 0; i < 5; ++i) CHECK(std::string(arguments.Argv()[i]) == arguments.values[i]);
    CHECK(arguments.Argv()[5] == nullptr);

    REQUIRE(GetCommandArguments(arguments));
    CHECK(arguments.Count() >= 1);
    CHECK(arguments.values[0].find("test_app") != std::string::npos);
}
