#include "input/KeyMapper.h"

namespace {

// Default bindings: DirectInput scan code -> logical key.
constexpr struct {
    uint8_t scanCode;
    int32_t logicalKey;
} kDefaultBindings[] = {
    {0x01, 1},                                  // Escape
    {0xC8, 2}, {0x48, 2},                       // up, numeric pad 8
    {0xCB, 3}, {0x4B, 3},                       // left, numeric pad 4
    {0xCD, 4}, {0x4D, 4},                       // right, numeric pad 6
    {0xD0, 5}, {0x50, 5},                       // down, numeric pad 2
    {0x2C, 6}, {0x39, 6},                       // Z, Space
    {0x2D, 7},                                  // X
    {0x0F, 8},                                  // Tab
    {0x2A, 9}, {0x36, 9},                       // left and right Shift
};

// Joystick key answering for logical keys 2 to 7 (up, left, right, down, two buttons).
constexpr int32_t kJoyStickFallback[] = {kJoyUp, kJoyLeft, kJoyRight, kJoyDown, kJoyButton1, kJoyButton1 + 1};
constexpr int32_t kFirstFallbackKey = 2;
constexpr int32_t kLastFallbackKey = 7;

CKeyMapper g_keyMapper;

}  // namespace

CKeyMapper& CKeyMapper::GetInstance() { return g_keyMapper; }

CKeyMapper::CKeyMapper()
{
    for (const auto& binding : kDefaultBindings) keyTable[binding.scanCode] = binding.logicalKey;
}

CKeyMapper::~CKeyMapper() { Destroy(); }

void CKeyMapper::Create(IScreenViewMapping* view)
{
    view_ = view;
    if (created_) return;
    keyboard = std::make_unique<CDirectInput>();
    mouse = std::make_unique<CMouse>();
    joystick = std::make_unique<CJoyStick>();
    created_ = true;
}

void CKeyMapper::Update()
{
    if (!created_) Create(nullptr);
    keyboard->GetKeyState();
    mouse->GetState();
    mouse->GetXY(&mouseX, &mouseY);
    joystick->GetKeyState();
    if (view_) {
        const int32_t magnification = view_->GetMagnification();
        mouseX = ToLogical(mouseX, view_->GetOriginX(), magnification);
        mouseY = ToLogical(mouseY, view_->GetOriginY(), magnification);
    }
}

bool CKeyMapper::Lookup(int32_t logicalKey, bool triggered) const
{
    if (!created_) return false;
    for (int32_t i = 0; i < CKeyBuffers::kKeyCount; ++i) {
        if (keyTable[i] == logicalKey && (triggered ? keyboard->IsTriggered(i) : keyboard->IsDown(i))) return true;
    }
    if (!useJoyStick || logicalKey < kFirstFallbackKey || logicalKey > kLastFallbackKey) return false;
    const int32_t key = kJoyStickFallback[logicalKey - kFirstFallbackKey];
    return triggered ? joystick->IsTriggered(key) : joystick->IsDown(key);
}

bool CKeyMapper::IsDown(int32_t logicalKey) const { return Lookup(logicalKey, false); }

bool CKeyMapper::IsTriggered(int32_t logicalKey) const { return Lookup(logicalKey, true); }

void CKeyMapper::Destroy()
{
    if (!created_) return;
    // In the order they were made; cleared, so that nothing reaches a destroyed device.
    keyboard.reset();
    mouse.reset();
    joystick.reset();
    created_ = false;
}
