#include <pyro/input/KeyCodes.h>

#include <doctest/doctest.h>

TEST_CASE("a scan code becomes the key message's lParam that names it; codes outside 1 to 255 none")
{
    CHECK(KeyNameParam(kKeyA) == 0x1E0000u);
    CHECK(KeyNameParam(kKeyEscape) == 0x010000u);
    // The extended keys: the low seven bits and the extended flag.
    CHECK(KeyNameParam(kKeyRightCtrl) == (0x1D0000u | 1u << 24));
    CHECK(KeyNameParam(kKeyUp) == (0x480000u | 1u << 24));
    CHECK(KeyNameParam(kKeyPad8) == 0x480000u);  // the same key without E0: the keypad's
    CHECK(KeyNameParam(0xFF) == (0x7F0000u | 1u << 24));
    CHECK(KeyNameParam(0) == 0);
    CHECK(KeyNameParam(0x100) == 0);
    CHECK(KeyNameParam(-1) == 0);
    CHECK(GetKeyName(0).empty());
    CHECK(GetKeyName(0x100).empty());
}

#ifdef _WIN32
TEST_CASE("keys are named by the keyboard layout")
{
    // The letters and digits are named by their characters on every layout with Latin letters.
    CHECK(GetKeyName(kKeyA) == "A");
    CHECK(GetKeyName(kKeyZ) == "Z");
    CHECK(GetKeyName(kKey1) == "1");
    // Keys without a character have a name of the layout's own.
    CHECK_FALSE(GetKeyName(kKeyEscape).empty());
    CHECK_FALSE(GetKeyName(kKeySpace).empty());
    CHECK_FALSE(GetKeyName(kKeyF1).empty());
}
#endif
