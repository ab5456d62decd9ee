#include <pyro/input/GamePad.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <vector>

#include "input/XInputJoyStick.h"

#ifdef _WIN32
#include <pyro/app/AppManager.h>
#include <pyro/app/Application.h>
#endif

namespace {

// The live pads, so that the application's pause and end can stop every motor.
std::mutex g_padsLock;
std::vector<CGamePad*>& LivePads()
{
    static std::vector<CGamePad*> pads;
    return pads;
}

uint32_t NowMs()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Whether a moment given by a wrapping millisecond count has come.
bool Reached(uint32_t now, uint32_t moment) { return static_cast<int32_t>(now - moment) >= 0; }

#ifdef _WIN32
// Watches the main application's window: losing the focus, minimising and the window's end stop
// every pad's rumble, since a pad left shaking while the player is elsewhere is a fault.
class CRumbleStopper : public IWindowHook {
public:
    LRESULT OnMessage(HWND, UINT message, WPARAM wParam, LPARAM) override
    {
        if ((message == WM_ACTIVATEAPP && !wParam) || (message == WM_SIZE && wParam == SIZE_MINIMIZED) ||
            message == WM_DESTROY)
            CGamePad::StopAllRumble();
        // A later window may get the same handle: it is watched afresh.
        if (message == WM_DESTROY) watched_ = nullptr;
        return 0;
    }

    // Joins the calling thread's application's window once per window.
    void Watch()
    {
        CApplication* application = GetMyApp();
        if (!application) return;
        HWND hwnd = application->GetWindow().GetHWnd();
        if (!hwnd || hwnd == watched_) return;
        application->GetWindow().AddHook(this);
        watched_ = hwnd;
    }

private:
    HWND watched_ = nullptr;
};

void WatchApplication()
{
    static CRumbleStopper stopper;
    stopper.Watch();
}
#else
void WatchApplication() {}
#endif

}  // namespace

StickPosition ApplyStickDeadZone(int32_t x, int32_t y, int32_t deadZone)
{
    const double length = std::sqrt(double(x) * x + double(y) * y);
    if (length <= deadZone || deadZone >= 32767) return {};
    const double magnitude = (std::min(length, 32767.0) - deadZone) / (32767.0 - deadZone);
    // The direction of the raw vector, its length the rescaled one.
    return {float(x / length * magnitude), float(y / length * magnitude), float(magnitude)};
}

float ApplyTriggerThreshold(int32_t value, int32_t threshold)
{
    if (value <= threshold || threshold >= 255) return 0;
    return float(std::min(value, 255) - threshold) / float(255 - threshold);
}

CGamePad::CGamePad(uint32_t slot) : slot_(slot)
{
    std::lock_guard<std::mutex> guard(g_padsLock);
    LivePads().push_back(this);
}

CGamePad::~CGamePad()
{
    StopRumble();
    std::lock_guard<std::mutex> guard(g_padsLock);
    auto& pads = LivePads();
    pads.erase(std::remove(pads.begin(), pads.end(), this), pads.end());
}

int CGamePad::Update() { return Update(NowMs()); }

int CGamePad::Update(uint32_t nowMs)
{
    now_ = nowMs;
    wasConnected_ = connected_;
    previousButtons_ = state_.buttons;
    if (slot_ >= kPadSlots) return kPadBadSlot;
    if (!connected_ && probed_ && !Reached(nowMs, lastProbe_ + kPadEmptySlotInterval))
        return kPadNotPolled;
    XInputPadReading reading = {};
    if (!GetXInputApi().getState(slot_, &reading)) {
        Disconnect();
        probed_ = true;
        lastProbe_ = nowMs;
        return kPadEmpty;
    }
    connected_ = true;
    state_ = {reading.buttons, reading.thumbLX,     reading.thumbLY,     reading.thumbRX,
              reading.thumbRY, reading.leftTrigger, reading.rightTrigger};
    if (rumbling_ && rumbleTimed_ && Reached(nowMs, rumbleEnd_)) StopRumble();
    return kPadRead;
}

void CGamePad::Disconnect()
{
    connected_ = false;
    rumbling_ = false;
    state_ = {};
}

StickPosition CGamePad::GetLeftStick() const
{
    return ApplyStickDeadZone(state_.leftX, state_.leftY, kPadLeftStickDeadZone);
}

StickPosition CGamePad::GetRightStick() const
{
    return ApplyStickDeadZone(state_.rightX, state_.rightY, kPadRightStickDeadZone);
}

float CGamePad::GetLeftTrigger() const { return ApplyTriggerThreshold(state_.leftTrigger, kPadTriggerThreshold); }

float CGamePad::GetRightTrigger() const { return ApplyTriggerThreshold(state_.rightTrigger, kPadTriggerThreshold); }

int CGamePad::SetRumble(uint16_t lowFrequency, uint16_t highFrequency, uint32_t durationMs)
{
    if (!connected_) return kRumbleNoPad;
    const XInputApi& api = GetXInputApi();
    if (!api.setState || !api.setState(slot_, lowFrequency, highFrequency)) return kRumbleRefused;
    rumbling_ = lowFrequency != 0 || highFrequency != 0;
    rumbleTimed_ = durationMs != 0;
    rumbleEnd_ = now_ + durationMs;
    if (rumbling_) WatchApplication();
    return kRumbleSet;
}

void CGamePad::StopRumble()
{
    if (!rumbling_) return;
    rumbling_ = false;
    const XInputApi& api = GetXInputApi();
    if (api.setState) api.setState(slot_, 0, 0);
}

void CGamePad::StopAllRumble()
{
    std::lock_guard<std::mutex> guard(g_padsLock);
    for (CGamePad* pad : LivePads()) pad->StopRumble();
}
