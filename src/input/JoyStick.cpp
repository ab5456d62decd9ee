#include <pyro/input/JoyStick.h>

#include <pyro/app/ErrorLog.h>
#include "input/WinMMJoyStick.h"
#include "input/XInputJoyStick.h"

CJoyStick::~CJoyStick() = default;

int CJoyStick::CreateImplementation()
{
    if (number_ == kJoyStickNone) return 2;
    if (number_ < kJoyStickFirst || number_ > kJoyStickAny) return 1;
    // A connected XInput pad first; otherwise the winmm joystick.
    auto pad = std::make_unique<CXInputJoyStick>(number_, buttonMax_);
    if (pad->IsValid()) {
        impl_ = std::move(pad);
        return 0;
    }
    // An implementation that fails to initialise stays: later polls quietly read nothing.
    impl_ = std::make_unique<CWinMMJoyStick>(number_, buttonMax_);
    return impl_->IsValid() ? 0 : 2;
}

int CJoyStick::GetKeyState()
{
    if (!impl_) {
        const int code = CreateImplementation();
        if (code != 0) {
            CErrorLog::WriteSystem("JoyStick Number %d", number_ + 1);
            CErrorLog::WriteSystem(code == 1 ? "CJoyStick::GetKeyState IJoyStickの生成に失敗"
                                       : "CJoyStick::GetKeyState IJoyStickの初期化に失敗");
            return -1;
        }
    }
    return impl_->GetKeyState();
}

bool CJoyStick::IsDown(int32_t key) const { return impl_ && impl_->IsDown(key); }

bool CJoyStick::IsTriggered(int32_t key) const { return impl_ && impl_->IsTriggered(key); }

const uint8_t* CJoyStick::GetKeyBuffer() const { return impl_ ? impl_->GetKeyBuffer() : nullptr; }

void CJoyStick::GetAxes(int16_t& x, int16_t& y) const
{
    x = y = 0;
    if (impl_) impl_->GetAxes(x, y);
}

void CJoyStick::ClearKeyState()
{
    if (impl_) impl_->ClearKeyState();
}

int CJoyStick::SetButtonMax(int32_t count)
{
    if (count < 0 || count > kJoyMaxButtons) return -1;
    buttonMax_ = count;
    return impl_ ? impl_->SetButtonMax(count) : 0;
}

int CJoyStick::SelectJoyStick(int32_t number)
{
    number_ = number;
    impl_.reset();
    return 0;
}
