// Joystick test helpers: stand-ins for the system calls (up to two winmm joysticks and up to
// four XInput pads, each with a scripted reading, installed for one test through the
// replaceable tables) and the keys a joystick holds.
#pragma once

#include <cstdint>
#include <vector>

#include "input/WinMMJoyStick.h"
#include "input/XInputJoyStick.h"

struct FakePads {
    bool connected[kXInputSlots] = {};
    XInputPadReading reading = {0, 0, 0};
    // When set, each slot reads its own entry of slotReadings instead of reading.
    bool perSlot = false;
    XInputPadReading slotReadings[kXInputSlots] = {};
    bool takesRumble = true;
    struct Rumble {
        uint32_t slot;
        uint16_t low, high;
        bool operator==(const Rumble& o) const { return slot == o.slot && low == o.low && high == o.high; }
    };
    std::vector<Rumble> rumbles;  // every motor setting, in order
    std::vector<uint32_t> slotsRead;
};
inline FakePads* g_pads = nullptr;

inline const XInputApi kFakeXInputApi = {
    [](uint32_t slot, XInputPadReading* reading) {
        g_pads->slotsRead.push_back(slot);
        if (slot >= kXInputSlots || !g_pads->connected[slot]) return false;
        *reading = g_pads->perSlot ? g_pads->slotReadings[slot] : g_pads->reading;
        return true;
    },
    [](uint32_t slot, uint16_t low, uint16_t high) {
        if (!g_pads->takesRumble || slot >= kXInputSlots || !g_pads->connected[slot]) return false;
        g_pads->rumbles.push_back({slot, low, high});
        return true;
    },
};

// No pad is connected until the test connects one.
struct UseFakePads {
    FakePads pads;
    const XInputApi* previous;
    UseFakePads()
    {
        g_pads = &pads;
        previous = SetXInputApi(&kFakeXInputApi);
    }
    ~UseFakePads()
    {
        SetXInputApi(previous);
        g_pads = nullptr;
    }
};

struct FakeJoySticks {
    uint32_t deviceCount = 2;
    bool present[2] = {true, true};
    bool answers = true;  // whether position readings succeed
    JoyStickCaps caps = {0, 65535, 0, 65535};
    JoyStickReading reading = {32768, 32768, 0};
    std::vector<uint32_t> posIds;    // ids read with joyGetPos
    std::vector<uint32_t> posExIds;  // ids read with joyGetPosEx
};
inline FakeJoySticks* g_fake = nullptr;

inline const JoyStickApi kFakeApi = {
    [] { return g_fake->deviceCount; },
    [](uint32_t id, JoyStickCaps* caps) {
        if (id > 1 || !g_fake->present[id]) return false;
        *caps = g_fake->caps;
        return true;
    },
    [](uint32_t id, JoyStickReading* reading) {
        g_fake->posIds.push_back(id);
        *reading = g_fake->reading;
        return g_fake->answers;
    },
    [](uint32_t id, JoyStickReading* reading) {
        g_fake->posExIds.push_back(id);
        *reading = g_fake->reading;
        return g_fake->answers;
    },
};

// Installs the winmm fake for one test, with no XInput pads connected.
struct UseFake {
    FakeJoySticks fake;
    UseFakePads pads;
    const JoyStickApi* previous;
    UseFake()
    {
        g_fake = &fake;
        previous = SetJoyStickApi(&kFakeApi);
    }
    ~UseFake()
    {
        SetJoyStickApi(previous);
        g_fake = nullptr;
    }
};

inline std::vector<int> DownKeys(const IJoyStick& joystick)
{
    std::vector<int> keys;
    for (int key = 0; key < 256; ++key) {
        if (joystick.IsDown(key)) keys.push_back(key);
    }
    return keys;
}
