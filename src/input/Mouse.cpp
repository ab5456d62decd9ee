#include <pyro/input/Mouse.h>

#include <pyro/app/AppManager.h>
#include <pyro/app/AppServices.h>

namespace {

// The client area's origin in screen coordinates; (0, 0) in full-screen.
POINT ClientOrigin()
{
    POINT origin = {0, 0};
    if (!IsFullScreen()) ClientToScreen(GetMyHWnd(), &origin);
    return origin;
}

}  // namespace

CMouseBase::CMouseBase()
{
    // Without an application on this thread there is no window whose messages could arrive.
    if (GetMyApp()) {
        HookMyWindow(this);
        hooked_ = true;
    }
}

CMouseBase::~CMouseBase()
{
    if (hooked_ && GetMyApp()) UnhookMyWindow(this);
}

LRESULT CMouseBase::OnMessage(HWND, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_MOUSEMOVE:
        left_ = (wParam & MK_LBUTTON) != 0;
        right_ = (wParam & MK_RBUTTON) != 0;
        break;
    case WM_LBUTTONDOWN: left_ = true; break;
    case WM_LBUTTONUP: left_ = false; break;
    case WM_RBUTTONDOWN: right_ = true; break;
    case WM_RBUTTONUP: right_ = false; break;
    default: break;
    }
    return 0;
}

void CMouseBase::GetXY(int32_t* x, int32_t* y)
{
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    const POINT origin = ClientOrigin();
    *x = cursor.x - origin.x;
    *y = cursor.y - origin.y;
    if (IsFullScreen() || keepButtonsOutside_) return;
    RECT client = {0, 0, 0, 0};
    GetClientRect(GetMyHWnd(), &client);
    if (*x < 0 || *x >= client.right || *y < 0 || *y >= client.bottom) left_ = right_ = false;
}

void CMouseBase::GetInfo(int32_t* x, int32_t* y, uint32_t* buttons)
{
    // The live reading, also when called for CMouse's snapshot.
    CMouseBase::GetXY(x, y);
    *buttons = (right_ ? kMouseRight : 0) | (left_ ? kMouseLeft : 0);
}

void CMouseBase::GetButtonEdges(bool* leftPressed, bool* rightPressed)
{
    *leftPressed = left_ && !previousLeft_;
    *rightPressed = right_ && !previousRight_;
    previousLeft_ = left_;
    previousRight_ = right_;
}

void CMouseBase::ResetButtonEdges() { previousLeft_ = previousRight_ = false; }

void CMouseBase::SetXY(int32_t x, int32_t y)
{
    const POINT origin = ClientOrigin();
    SetCursorPos(x + origin.x, y + origin.y);
}

void CMouse::GetXY(int32_t* x, int32_t* y)
{
    *x = snapshotX_;
    *y = snapshotY_;
}

void CMouse::GetInfo(int32_t* x, int32_t* y, uint32_t* buttons)
{
    GetXY(x, y);
    *buttons = snapshotButtons_;
}

void CMouse::GetButtonEdges(bool* leftPressed, bool* rightPressed)
{
    *leftPressed = snapshotLeft_ && !previousLeft_;
    *rightPressed = snapshotRight_ && !previousRight_;
}

void CMouse::GetButtonReleases(bool* leftReleased, bool* rightReleased)
{
    *leftReleased = previousLeft_ && !snapshotLeft_;
    *rightReleased = previousRight_ && !snapshotRight_;
}

void CMouse::ResetButtonState()
{
    snapshotLeft_ = snapshotRight_ = false;
    previousLeft_ = previousRight_ = false;
}

void CMouse::SetXY(int32_t x, int32_t y)
{
    snapshotX_ = x;
    snapshotY_ = y;
    CMouseBase::SetXY(x, y);
}

int CMouse::GetState()
{
    if (guard_ > 0) --guard_;
    previousLeft_ = snapshotLeft_;
    previousRight_ = snapshotRight_;
    CMouseBase::GetInfo(&snapshotX_, &snapshotY_, &snapshotButtons_);
    snapshotRight_ = (snapshotButtons_ & kMouseRight) != 0;
    snapshotLeft_ = (snapshotButtons_ & kMouseLeft) != 0;
    return 0;
}
