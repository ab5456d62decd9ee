#include <pyro/input/KeyMapper.h>

namespace {

// Default bindings: DirectInput scan code -> logical key.
constexpr struct {
    uint8_t scanCode;
    int32_t logicalKey;
} kDefaultBindings[] = {
    {0x01, kLogicalEscape},                           // Escape
    {0xC8, kLogicalUp}, {0x48, kLogicalUp},           // up, numeric pad 8
    {0xCB, kLogicalLeft}, {0x4B, kLogicalLeft},       // left, numeric pad 4
    {0xCD, kLogicalRight}, {0x4D, kLogicalRight},     // right, numeric pad 6
    {0xD0, kLogicalDown}, {0x50, kLogicalDown},       // down, numeric pad 2
    {0x2C, kLogicalDecide}, {0x39, kLogicalDecide},   // Z, Space
    {0x2D, kLogicalCancel},                           // X
    {0x0F, kLogicalTab},                              // Tab
    {0x2A, kLogicalShift}, {0x36, kLogicalShift},     // left and right Shift
};

// Joystick key answering for logical keys 2 to 7 (up, left, right, down, two buttons).
constexpr int32_t kJoyStickFallback[] = {kJoyUp, kJoyLeft, kJoyRight, kJoyDown, kJoyButton1, kJoyButton1 + 1};
constexpr int32_t kFirstFallbackKey = kLogicalUp;
constexpr int32_t kLastFallbackKey = kLogicalCancel;
static_assert(kLastFallbackKey - kFirstFallbackKey + 1 == sizeof kJoyStickFallback / sizeof kJoyStickFallback[0]);

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
