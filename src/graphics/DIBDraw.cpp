// CDIBDraw: the back buffer, its forwarding of the drawing interface, display changes and the
// GDI presentation onto the application's window.
#include <pyro/graphics/DIBDraw.h>

#include <pyro/app/AppManager.h>
#include <pyro/app/AppServices.h>
#include <pyro/app/Application.h>
#include <pyro/app/Clock.h>
#include <pyro/app/ErrorLog.h>
#include <pyro/text/DrawHook.h>

#include <new>

namespace {

// The screen's bits per pixel, read at the end of every display change.
int32_t g_screenDepth = -1;

const char kCreateSecondaryFailed[] = "CDIBDraw::TestDisplayModeでCreateSecondaryに失敗";

int32_t ReadScreenDepth(HDC screen)
{
    return GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
}

// BitBlt that leaves out empty or inverted areas: GDI would mirror them, or paint outside.
void Blit(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t srcX, int32_t srcY,
          DWORD rop)
{
    if (width <= 0 || height <= 0) return;
    BitBlt(dst, x, y, width, height, src, srcX, srcY, rop);
}

void Black(HDC dst, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    Blit(dst, left, top, right - left, bottom - top, nullptr, 0, 0, BLACKNESS);
}

}  // namespace

CDIBDraw::CDIBDraw()
{
    // The height a menu bar adds to a captioned window.
    RECT withMenu = {0, 0, 0, 0};
    RECT withoutMenu = {0, 0, 0, 0};
    AdjustWindowRect(&withMenu, 0x00C80000, TRUE);
    AdjustWindowRect(&withoutMenu, 0x00C00000, FALSE);
    menuHeight_ = (withMenu.bottom - withMenu.top) - (withoutMenu.bottom - withoutMenu.top);

    window_ = GetMyHWnd();
    windowFullScreen_ = IsFullScreen();
    SetMyDraw(this);
    // Without an application on this thread there is no window to hook (and nothing to present).
    if (GetMyApp()) HookMyWindow(this);
    BeginTimerPeriod();
}

CDIBDraw::~CDIBDraw()
{
    EndTimerPeriod();
    if (GetMyApp()) UnhookMyWindow(this);
    ClearMyDraw(this);
    beforeDrawHooks_.clear();
    afterDrawHooks_.clear();
    gdiHooks_.clear();
    secondary_.Reset();
}

int32_t CDIBDraw::GetScreenDepth() { return g_screenDepth; }

// ---- Display changes ----

int32_t CDIBDraw::SetDisplay(bool fullScreen, int32_t width, int32_t height, int32_t colorDepth)
{
    if (width != 0) width_ = width;
    if (height != 0) height_ = height;
    colorDepth_ = colorDepth == 0 ? 16 : colorDepth;
    ChangeDisplay(fullScreen);
    return 0;
}

int32_t CDIBDraw::ChangeDisplay(bool fullScreen)
{
    BeginChangeDisplay();
    if (fullScreen) TestDisplayMode(width_, height_, true, colorDepth_);
    // Acts only when the full-screen attempt failed or was not made.
    TestDisplayMode(width_, height_, false, 0);
    return EndChangeDisplay() != 0 ? 2 : 0;
}

void CDIBDraw::BeginChangeDisplay()
{
    needsRedraw_ = 1;
    changing_ = 1;
    fullScreenChanged_ = 0;
}

void CDIBDraw::TestDisplayMode(int32_t width, int32_t height, bool fullScreen, int32_t colorDepth)
{
    if (!changing_) return;
    if (fullScreen != (fullScreen_ != 0) || fullScreen_) fullScreenChanged_ = 1;
    fullScreen_ = fullScreen ? 1 : 0;

    CPlane* secondary = CreateSecondary();
    secondary_.Reset(secondary, true);
    if (!secondary) {
        CErrorLog::WriteSystem(kCreateSecondaryFailed);
        return;
    }
    secondary->GetImpl()->SetUseDIB(true);
    if (secondary->Create(width, height) != 0) {
        CErrorLog::WriteSystem(kCreateSecondaryFailed);
        secondary_.Reset();
        return;
    }

    SetFullScreen(fullScreen);
    ApplyScreenMode();
    changing_ = 0;
    // A window keeps the screen's depth: its attempt passes 0, which keeps the requested value.
    if (colorDepth != 0) colorDepth_ = colorDepth;
    width_ = width;
    height_ = height;
}

int32_t CDIBDraw::EndChangeDisplay()
{
    if (changing_) {
        CErrorLog::WriteSystem("CDirectDraw::BeginChangeDisplay～EndChangeDisplayに失敗");
        return 1;
    }
    if (fullScreenChanged_) Sleep(500);

    HDC screen = ::GetDC(nullptr);
    g_screenDepth = ReadScreenDepth(screen);
    if (g_screenDepth == 0) {
        // Right after a mode switch the device may not report its format yet.
        Sleep(1000);
        g_screenDepth = ReadScreenDepth(screen);
    }
    ::ReleaseDC(nullptr, screen);

    SetFullScreen(fullScreen_ != 0);
    ApplyScreenMode();
    if (secondary_) secondary_->GetImpl()->Resize(width_, height_);
    return 0;
}

CPlane* CDIBDraw::CreateSecondary()
{
    try {
        return new CPlane;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void CDIBDraw::ApplyScreenMode()
{
    CApplication* app = GetMyApp();
    if (!app) return;
    CWindow& window = app->GetWindow();
    window.ChangeScreenMode();
    const bool full = IsFullScreen();
    HWND hwnd = window.GetHWnd();
    if (full == windowFullScreen_ || !hwnd) return;
    windowFullScreen_ = full;
    // The window only changed its style: let the new frame take effect and, in full-screen,
    // make the pop-up cover the screen.
    if (full) {
        SetWindowPos(hwnd, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                     SWP_NOZORDER | SWP_FRAMECHANGED);
    } else {
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
}

// ---- Presentation ----

void CDIBDraw::OnDraw(const Rect* rect, bool runHooks)
{
    needsRedraw_ = 1;
    if (!secondary_ || !secondary_->GetImpl()->GetDC() || !window_) return;
    HDC windowDC = fullScreen_ ? GetWindowDC(window_) : ::GetDC(window_);
    if (!windowDC) return;
    if (runHooks) RunHooks();
    // A hook may have changed the display; present whatever back buffer there is now.
    if (secondary_ && secondary_->GetImpl()->GetDC()) {
        if (brightness_ != 256) secondary_->ScaleColor(brightness_, nullptr);
        CopyToWindow(windowDC, secondary_->GetImpl()->GetDC(), rect);
    }
    ReleaseDC(window_, windowDC);
    needsRedraw_ = 0;
}

void CDIBDraw::RunHooks()
{
    for (CDrawHook* hook : beforeDrawHooks_) {
        if (hook->enabled) hook->OnDrawScreen(this);
    }
    if (!gdiHooks_.empty() && secondary_) {
        HDC dc = secondary_->GetImpl()->GetDC();
        for (CDrawHook* hook : gdiHooks_) {
            if (hook->enabled) hook->OnDrawDC(dc);
        }
        // GDI may batch its drawing; the pixels must be in place before code reads them.
        GdiFlush();
    }
    for (CDrawHook* hook : afterDrawHooks_) {
        if (hook->enabled) hook->OnDrawScreen(this);
    }
}

void CDIBDraw::CopyToWindow(HDC windowDC, HDC secondaryDC, const Rect* rect)
{
    CApplication* app = GetMyApp();
    if (app && app->GetWindow().IsMinimized()) return;

    // In full-screen the menu bar shows while the cursor is at the top of the screen; the image
    // leaves its rows alone.
    int32_t menuTop = 0;
    POINT cursor;
    if (fullScreen_ && GetActiveWindow() == window_ && GetCursorPos(&cursor) && cursor.y < menuHeight_ &&
        GetMenu(window_)) {
        menuTop = menuHeight_;
        DrawMenuBar(window_);
    }

    if (offsetX_ == 0 && offsetY_ == 0) {
        if (rect) {
            const int32_t top = rect->top < menuTop ? menuTop : rect->top;
            Blit(windowDC, rect->left, top, rect->right - rect->left, rect->bottom - top, secondaryDC, rect->left,
                 top, SRCCOPY);
        } else {
            Blit(windowDC, 0, menuTop, width_, height_ - menuTop, secondaryDC, 0, menuTop, SRCCOPY);
        }
        return;
    }
    if (rect) {
        Rect src = *rect;
        Rect dst = {rect->left + offsetX_, rect->top + offsetY_, rect->right + offsetX_, rect->bottom + offsetY_};
        if (dst.top < menuTop) {
            src.top += menuTop - dst.top;
            dst.top = menuTop;
        }
        Blit(windowDC, dst.left, dst.top, src.right - src.left, src.bottom - src.top, secondaryDC, src.left,
             src.top, SRCCOPY);
        return;
    }
    CopyWithOffsets(windowDC, secondaryDC, menuTop);
}

void CDIBDraw::CopyWithOffsets(HDC windowDC, HDC secondaryDC, int32_t menuTop)
{
    Rect src = {0, menuTop, width_, height_};
    Rect dst = src;
    if (offsetX_ <= 0) {
        src.left -= offsetX_;
        dst.right += offsetX_;
    } else {
        src.right -= offsetX_;
        dst.left += offsetX_;
    }
    if (offsetY_ <= 0) {
        src.top -= offsetY_;
        dst.bottom += offsetY_;
    } else {
        src.bottom -= offsetY_;
        dst.top += offsetY_;
    }
    Blit(windowDC, dst.left, dst.top, src.right - src.left, src.bottom - src.top, secondaryDC, src.left, src.top,
         SRCCOPY);

    // Black bands where the moved image leaves the window uncovered.
    const int32_t topBandEnd = (menuTop != 0 && dst.top > 0) ? menuTop : dst.top;
    Black(windowDC, 0, menuTop, width_, topBandEnd);
    Black(windowDC, 0, dst.top, dst.left, dst.bottom);
    Black(windowDC, dst.right, dst.top, width_, dst.bottom);
    Black(windowDC, 0, dst.bottom, width_, height_);
}

void CDIBDraw::Paint(HWND hwnd)
{
    needsRedraw_ = 1;
    if (!secondary_) return;
    HDC secondaryDC = secondary_->GetImpl()->GetDC();
    if (!secondaryDC) return;
    if (fullScreen_) {
        HDC windowDC = GetWindowDC(hwnd);
        if (!windowDC) return;
        CopyToWindow(windowDC, secondaryDC, nullptr);
        ReleaseDC(hwnd, windowDC);
    } else {
        PAINTSTRUCT paint;
        HDC windowDC = BeginPaint(hwnd, &paint);
        if (windowDC) CopyToWindow(windowDC, secondaryDC, nullptr);
        EndPaint(hwnd, &paint);
    }
}

LRESULT CDIBDraw::OnMessage(HWND hwnd, UINT message, WPARAM, LPARAM)
{
    if (message == WM_PAINT) Paint(hwnd);
    return 0;
}

void CDIBDraw::SetOffset(int32_t x, int32_t y)
{
    offsetX_ = x;
    offsetY_ = y;
}

// ---- Hook lists ----

std::list<CDrawHook*>& CDIBDraw::Hooks(HookList list)
{
    switch (list) {
    case kBeforeDraw: return beforeDrawHooks_;
    case kGDI: return gdiHooks_;
    default: return afterDrawHooks_;
    }
}

const std::list<CDrawHook*>& CDIBDraw::Hooks(HookList list) const
{
    return const_cast<CDIBDraw*>(this)->Hooks(list);
}

void CDIBDraw::AddHook(HookList list, CDrawHook* hook) { Hooks(list).push_back(hook); }

int32_t CDIBDraw::RemoveHook(HookList list, CDrawHook* hook)
{
    std::list<CDrawHook*>& hooks = Hooks(list);
    const size_t before = hooks.size();
    hooks.remove(hook);
    return static_cast<int32_t>(before - hooks.size());
}

int32_t CDIBDraw::GetHookCount(HookList list) const { return static_cast<int32_t>(Hooks(list).size()); }

// ---- The drawing interface ----

CPlane* CDIBDraw::Drawn() const
{
    needsRedraw_ = 1;
    return secondary_.Get();
}

CPlane* CDIBDraw::GetSecondary() { return Drawn(); }

CShapes CDIBDraw::Shapes()
{
    CPlane* s = Drawn();
    if (s) return s->Shapes();
    return CShapes(ShapeSurface{nullptr, 0, 0, 0, {0, 0, 0, 0}, 1, 0, 0, 1});
}

int32_t CDIBDraw::Clear(uint32_t colour, const Rect* rect)
{
    CPlane* s = Drawn();
    return s ? s->GetImpl()->Clear(colour, rect) : 1;
}

int32_t CDIBDraw::GetType() const { return 0; }

int32_t CDIBDraw::Blt(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size, Rect* clip)
{
    CPlane* s = Drawn();
    return s ? s->Blt(src, x, y, srcRect, size, clip) : 1;
}

int32_t CDIBDraw::BltFast(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size, Rect* clip)
{
    CPlane* s = Drawn();
    return s ? s->BltFast(src, x, y, srcRect, size, clip) : 1;
}

int32_t CDIBDraw::BlendBlt(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                           const Rect* srcRect, const Size* size, Rect* clip)
{
    CPlane* s = Drawn();
    return s ? s->BlendBlt(src, x, y, dstRate, srcRate, srcRect, size, clip) : 1;
}

int32_t CDIBDraw::BlendBltFast(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                               const Rect* srcRect, const Size* size, Rect* clip)
{
    CPlane* s = Drawn();
    return s ? s->BlendBltFast(src, x, y, dstRate, srcRate, srcRect, size, clip) : 1;
}

int32_t CDIBDraw::BlendBltAlpha(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                                const Rect* srcRect, const Size* size, Rect* clip)
{
    CPlane* s = Drawn();
    return s ? s->BlendBltAlpha(src, x, y, dstRate, srcRate, srcRect, size, clip) : 1;
}

int32_t CDIBDraw::BltAlpha(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size, Rect* clip)
{
    CPlane* s = Drawn();
    return s ? s->BltAlpha(src, x, y, srcRect, size, clip) : 1;
}

int32_t CDIBDraw::BlendBltAlphaLevel(CPlane* src, int32_t x, int32_t y, int32_t level)
{
    CPlane* s = Drawn();
    return s ? s->BlendBltAlphaLevel(src, x, y, level) : 1;
}

int32_t CDIBDraw::Mosaic(int32_t blockSize, const Rect* rect)
{
    CPlane* s = Drawn();
    return s ? s->Mosaic(blockSize, rect) : 1;
}

int32_t CDIBDraw::Negate(const Rect* rect)
{
    CPlane* s = Drawn();
    return s ? s->Negate(rect) : 1;
}

int32_t CDIBDraw::GetSize(int32_t* width, int32_t* height) const
{
    if (CPlane* s = Drawn()) return s->GetSize(width, height);
    if (width) *width = 0;
    if (height) *height = 0;
    return 1;
}

bool CDIBDraw::IsLoaded() const { return secondary_ && secondary_->IsLoaded(); }

bool CDIBDraw::IsAlpha() const { return false; }

int32_t CDIBDraw::Clear(const Rect* rect)
{
    CPlane* s = Drawn();
    return s ? s->Clear(rect) : 1;
}

int32_t CDIBDraw::BlendBltNatural(CPlane* src, int32_t x, int32_t y, int32_t level, const Rect* srcRect,
                                  const Size* size, Rect* clip)
{
    CPlane* s = Drawn();
    return s ? s->BlendBltNatural(src, x, y, level, srcRect, size, clip) : 1;
}

int32_t CDIBDraw::BltNatural(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                             Rect* clip)
{
    CPlane* s = Drawn();
    return s ? s->BltNatural(src, x, y, srcRect, size, clip) : 1;
}

int32_t CDIBDraw::Load(const char* fileName)
{
    CPlane* s = Drawn();
    return s ? s->Load(fileName) : 1;
}

int32_t CDIBDraw::LoadEx(const char* first, const char* second)
{
    CPlane* s = Drawn();
    return s ? s->LoadEx(first, second) : 1;
}

int32_t CDIBDraw::Release()
{
    CPlane* s = Drawn();
    return s ? s->Release() : 1;
}

int32_t CDIBDraw::SetColorKey(int32_t r, int32_t g, int32_t b)
{
    CPlane* s = Drawn();
    return s ? s->SetColorKey(r, g, b) : 1;
}

int32_t CDIBDraw::SetColorKeyFromPixel(int32_t x, int32_t y)
{
    CPlane* s = Drawn();
    return s ? s->SetColorKeyFromPixel(x, y) : 1;
}

int32_t CDIBDraw::Create(int32_t, int32_t) { return 1; }
