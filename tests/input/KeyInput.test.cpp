#include <pyro/input/KeyInput.h>

#include <doctest/doctest.h>
#include <cstring>
#include <set>

namespace {

// A device whose next poll reports the keys in `held`, or fails without flipping.
class ScriptedKeys : public CKeyInput {
public:
    std::set<int> held;
    bool connected = true;
    int GetKeyState() override
    {
        if (!connected) return 1;
        keys_.Flip();
        std::memset(keys_.Current(), 0, CKeyBuffers::kKeyCount);
        for (int key : held) keys_.Current()[key] = 1;
        return 0;
    }
};

}  // namespace

TEST_CASE("a new device has no key down or triggered")
{
    ScriptedKeys device;
    for (int key = 0; key < 256; ++key) {
        CHECK_FALSE(device.IsDown(key));
        CHECK_FALSE(device.IsTriggered(key));
    }
}

TEST_CASE("a held key triggers on the first poll that sees it and again after a release")
{
    ScriptedKeys device;
    device.held = {0x1F, 255};
    REQUIRE(device.GetKeyState() == 0);
    CHECK(device.IsDown(0x1F));
    CHECK(device.IsTriggered(0x1F));
    CHECK(device.IsTriggered(255));
    for (int poll = 0; poll < 3; ++poll) {
        device.GetKeyState();
        CHECK(device.IsDown(0x1F));
        CHECK_FALSE(device.IsTriggered(0x1F));
    }
    device.held.clear();
    device.GetKeyState();
    CHECK_FALSE(device.IsDown(0x1F));
    CHECK_FALSE(device.IsTriggered(0x1F));
    device.held = {0x1F};
    device.GetKeyState();
    CHECK(device.IsTriggered(0x1F));
    CHECK(device.GetKeyBuffer()[0x1F] == 1);
}

TEST_CASE("a poll that fails without flipping keeps the answers of the last good poll")
{
    ScriptedKeys device;
    device.held = {7};
    device.GetKeyState();
    device.connected = false;
    device.held.clear();
    CHECK(device.GetKeyState() == 1);
    CHECK(device.IsDown(7));
    CHECK(device.IsTriggered(7));
}

TEST_CASE("key numbers outside the buffers are never down")
{
    ScriptedKeys device;
    device.held = {0, 255};
    device.GetKeyState();
    for (int key : {-1, 256, -2147483647 - 1, 2147483647}) {
        CHECK_FALSE(device.IsDown(key));
        CHECK_FALSE(device.IsTriggered(key));
    }
}

TEST_CASE("a mask tests only its bits, as the keyboard's bit 7 test does")
{
    CKeyBuffers keys;
    keys.Flip();
    keys.Current()[3] = 0x7F;
    keys.Current()[4] = 0x80;
    CHECK_FALSE(keys.IsSet(3, 0x80));
    CHECK(keys.IsSet(3));
    CHECK(keys.IsNewlySet(4, 0x80));
    keys.ClearBuffers();
    CHECK(keys.GetIndex() == 0);
    CHECK_FALSE(keys.IsSet(4));
}

TEST_CASE("ClearCurrent zeroes all 256 bytes of the newest poll and nothing of the one before")
{
    for (int index = 0; index < 2; ++index) {
        CAPTURE(index);
        CKeyBuffers keys;
        if (index == 1) keys.Flip();
        // The older buffer holds 1 + k (made current for a moment), the newer 0x80 | k.
        keys.Flip();
        for (int k = 0; k < 256; ++k) keys.Current()[k] = uint8_t(1 + k % 255);
        keys.Flip();
        for (int k = 0; k < 256; ++k) keys.Current()[k] = uint8_t(0x80 | k);
        REQUIRE(keys.GetIndex() == index);
        keys.ClearCurrent();
        CHECK(keys.GetIndex() == index);
        for (int k = 0; k < 256; ++k) {
            CAPTURE(k);
            CHECK(keys.Current()[k] == 0);
            CHECK(keys.Previous()[k] == uint8_t(1 + k % 255));
            CHECK_FALSE(keys.IsSet(k));
        }
        // The next poll flips: the cleared buffer is then the older one, so whatever that poll
        // sees held counts as just pressed.
        keys.Flip();
        keys.Current()[0x1F] = 0x80;
        CHECK(keys.IsNewlySet(0x1F, 0x80));
        CHECK(keys.Previous()[255] == 0);
    }
}
