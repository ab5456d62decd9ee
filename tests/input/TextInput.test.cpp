#include <pyro/input/TextInput.h>

#include <doctest/doctest.h>

#include <string>

#include "file/EncodingScope.h"

namespace {

void Type(CTextInput& input, const std::string& bytes)
{
    for (unsigned char byte : bytes) input.Receive(byte);
}

}  // namespace

TEST_CASE("typed characters, Backspace and Enter reach the frame in order, control codes do not")
{
    CTextInput input;
    Type(input, "ab");
    input.Receive(8);
    Type(input, "\x83\x41");  // ア
    input.Receive(9);     // Tab
    input.Receive(0x1B);  // Escape
    input.Receive(0x7F);  // Ctrl+Backspace's DEL
    Type(input, "c");
    input.Receive(13);
    CHECK(input.GetEvents().empty());  // nothing before the frame's Update
    input.Update();
    const auto& events = input.GetEvents();
    REQUIRE(events.size() == 4);
    CHECK(events[0].kind == TextInputEvent::kCharacters);
    CHECK(events[0].text == "ab");
    CHECK(events[1].kind == TextInputEvent::kBackspace);
    CHECK(events[2].text == "\x83\x41" "c");
    CHECK(events[3].kind == TextInputEvent::kEnter);
    CHECK(input.GetText() == "ab\x83\x41" "c");
    // The next frame starts empty.
    input.Update();
    CHECK(input.GetEvents().empty());
    CHECK(input.GetText().empty());
}

TEST_CASE("a line is edited a whole character at a time and kept within its length")
{
    CHECK(LastCharacterSize("") == 0);
    CHECK(LastCharacterSize("a") == 1);
    CHECK(LastCharacterSize("a\x83\x41") == 2);
    CHECK(LastCharacterSize("\x83\x41" "a") == 1);
    // A trail byte that looks like a lead byte: 0x83 0x81 is one character, not a lead at the end.
    CHECK(LastCharacterSize("\x83\x81") == 2);
    CHECK(LastCharacterSize("\x83\x81\x81") == 1);  // a lone lead byte at the end
    CHECK(LastCharacterSize("\xB1") == 1);          // a half-width katakana

    CTextInput input;
    std::string name = "AB";
    Type(input, "\x96\xBC" "C\x82\xA0");  // 名 C あ
    input.Update();
    CHECK_FALSE(input.EditLine(name, 6));
    // あ would need bytes 6 and 7: dropped whole, not split.
    CHECK(name == "AB\x96\xBC" "C");
    input.Receive(8);
    input.Receive(8);
    input.Update();
    CHECK_FALSE(input.EditLine(name, 6));
    CHECK(name == "AB");
    for (int i = 0; i < 4; ++i) input.Receive(8);
    input.Receive(13);
    input.Update();
    CHECK(input.EditLine(name, 6));  // Enter; Backspace on an empty line does nothing
    CHECK(name.empty());
}

TEST_CASE("a UTF-8 program's line is edited by whole UTF-8 characters")
{
    EncodingScope utf8(StringEncoding::kUtf8);
    CHECK(LastCharacterSize("a\xC3\xA9") == 2);                // é
    CHECK(LastCharacterSize("\xED\x95\x9C") == 3);             // 한: 9C is no Shift-JIS lead here
    CHECK(LastCharacterSize("x\xF0\x9F\x98\x80") == 4);        // U+1F600
    CHECK(LastCharacterSize("\xED\x95") == 1);                 // a cut sequence, byte by byte

    CTextInput input;
    std::string name = "A";
    Type(input, "\xC3\xA9\xED\x95\x9C" "b");  // é 한 b
    input.Update();
    CHECK_FALSE(input.EditLine(name, 5));
    CHECK(name == "A\xC3\xA9" "b");  // 한 would need bytes 4 to 6: dropped whole, not split
    input.Receive(8);
    input.Receive(8);
    input.Update();
    input.EditLine(name, 5);
    CHECK(name == "A");  // b, then é whole
}
