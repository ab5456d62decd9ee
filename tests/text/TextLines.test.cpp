#include "text/TextLines.h"

#include "file/EncodingScope.h"

#include <doctest/doctest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<std::string, bool>> Lines(const std::string& text)
{
    std::vector<std::pair<std::string, bool>> lines;
    ForEachLine(text.c_str(), [&](const char* line, size_t length, bool last) { lines.emplace_back(std::string(line, length), last); });
    return lines;
}

}  // namespace

TEST_CASE("text splits at line feeds; the last line is the one the terminating zero ends")
{
    using L = std::vector<std::pair<std::string, bool>>;
    CHECK(Lines("") == L{{"", true}});
    CHECK(Lines("ab") == L{{"ab", true}});
    CHECK(Lines("ab\ncd") == L{{"ab", false}, {"cd", true}});
    CHECK(Lines("ab\n") == L{{"ab", false}, {"", true}});
    CHECK(Lines("\n\nx") == L{{"", false}, {"", false}, {"x", true}});
}

TEST_CASE("a line longer than 255 bytes is cut at 255 bytes, never inside a double-byte character")
{
    const std::string a300(300, 'a');
    CHECK(Lines(a300 + "\nb") == std::vector<std::pair<std::string, bool>>{{std::string(255, 'a'), false}, {"b", true}});

    // 128 double-byte characters (256 bytes): the 128th would end at byte 256, so 127 remain.
    std::string wide;
    for (int i = 0; i < 128; ++i) wide += "あ";
    REQUIRE(wide.size() == 256);
    CHECK(Lines(wide)[0].first == wide.substr(0, 254));

    // One single byte first shifts the pairs: the cut now falls after a whole pair at 255.
    CHECK(Lines("x" + wide)[0].first.size() == 255);
}

TEST_CASE("cutting keeps whole characters, and a lead byte with no second byte counts as one")
{
    const char text[] = "\x82\xa0\x82\xa2z";  // "あい" then 'z'
    CHECK(CutAtCharBoundary(text, 5, 5) == 5);
    CHECK(CutAtCharBoundary(text, 5, 3) == 2);
    CHECK(CutAtCharBoundary(text, 5, 1) == 0);
    // A trail byte that looks like a lead byte (0x82 0x82) is still the second half of a pair.
    CHECK(CutAtCharBoundary("\x82\x82\x82", 3, 3) == 3);
    CHECK(CutAtCharBoundary("\x82\x82\x82", 3, 2) == 2);
    CHECK(CutAtCharBoundary("ab\x82", 3, 10) == 3);
    CHECK(CutAtCharBoundary("", 0, 10) == 0);
}

TEST_CASE("a UTF-8 program's long lines are cut between whole UTF-8 sequences")
{
    EncodingScope utf8(StringEncoding::kUtf8);
    // 86 three-byte characters are 258 bytes: 85 of them (255 bytes) fit, one more does not.
    std::string line;
    for (int i = 0; i < 86; ++i) line += U8(L"日");
    CHECK(Lines(line)[0].first == line.substr(0, 255));
    // One byte first: 84 whole characters after it (253 bytes) fit, the 85th would end at 256.
    CHECK(Lines("x" + line)[0].first.size() == 253);
    // Four-byte characters, and a broken sequence whose bytes count one by one.
    CHECK(CutAtCharBoundary("\xF0\x9F\x98\x80z", 5, 3) == 0);
    CHECK(CutAtCharBoundary("\xF0\x9F\x98\x80z", 5, 4) == 4);
    CHECK(CutAtCharBoundary("\xF0\x9F\x98", 3, 2) == 2);
}
