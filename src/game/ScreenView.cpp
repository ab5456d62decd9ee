// CScreenView: logical-to-physical mapping of every drawing operation, the view's geometry from
// the back buffer's size, border painting, presentation and screenshots.
#include <pyro/game/ScreenView.h>

#include <pyro/app/AppServices.h>
#include <pyro/file/FileFinder.h>
#include <pyro/file/Path.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {

CScreenView* current = nullptr;

// Logical values are magnified in 64 bits and held to the 32-bit range: a far-off position stays
// far off instead of wrapping onto the screen, and the transfer finds nothing to draw.
int32_t Scaled(int64_t value, int64_t factor, int64_t offset)
{
    return int32_t(std::clamp<int64_t>(value * factor + offset, INT32_MIN, INT32_MAX));
}

}  // namespace

CScreenView::CScreenView(DisplayKind display) : draw_(CreateDisplay(ChooseDisplayKind(display)), true)
{
    current = this;
    HookMyWindow(this);
}

CScreenView::~CScreenView()
{
    UnhookMyWindow(this);
    draw_.Reset();
    // Widgets and labels ask for the current view: they must find none rather than a dead one.
    if (current == this) current = nullptr;
}

CScreenView* CScreenView::GetCurrent() { return current; }

int32_t CScreenView::SetLogicalSize(int32_t width, int32_t height)
{
    // A value of 0 or less keeps the present one, also for the back buffer.
    if (width > 0) logicalWidth_ = width;
    if (height > 0) logicalHeight_ = height;
    // A client area larger than the logical screen (a window opened magnified on a high-DPI
    // monitor) gets the back buffer it would get from WM_SIZE, so the first frame is magnified.
    RECT client = {0, 0, 0, 0};
    const HWND hwnd = GetMyHWnd();
    if (!hwnd || !GetClientRect(hwnd, &client)) client = {0, 0, 0, 0};
    draw_->SetDisplay(false, width > 0 ? std::max<int32_t>(width, client.right) : 0,
                      height > 0 ? std::max<int32_t>(height, client.bottom) : 0, 0);
    UpdateView();
    return 0;
}

LRESULT CScreenView::OnMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A display change resizes the window itself and sets the back buffer's size; a change
    // started from here would undo a switch to full screen in the middle of it.
    if (message == WM_SIZE && wParam != SIZE_MINIMIZED && !draw_->IsChanging()) {
        const int32_t width = std::max<int32_t>(LOWORD(lParam), logicalWidth_);
        const int32_t height = std::max<int32_t>(HIWORD(lParam), logicalHeight_);
        draw_->SetDisplay(draw_->IsFullScreenMode(), width, height, 0);
        UpdateView();
    }
    return 0;
}

void CScreenView::UpdateView()
{
    int32_t w = 0, h = 0;
    draw_->GetSize(&w, &h);
    viewWidth_ = w;
    viewHeight_ = h;
    const int32_t byWidth = w / logicalWidth_;
    const int32_t byHeight = h / logicalHeight_;
    magnification_ = byWidth >= byHeight ? byHeight : byWidth;
    if (magnification_ <= 0) magnification_ = 1;
    originX_ = (w - logicalWidth_ * magnification_) / 2;
    originY_ = (h - logicalHeight_ * magnification_) / 2;
    active_ = {originX_, originY_, originX_ + logicalWidth_ * magnification_,
               originY_ + logicalHeight_ * magnification_};
    border_ = true;
}

Rect CScreenView::MapRect(const Rect* rect) const
{
    if (!rect) return active_;
    const int32_t m = magnification_;
    return {Scaled(rect->left, m, originX_), Scaled(rect->top, m, originY_),
            Scaled(rect->right, m, originX_), Scaled(rect->bottom, m, originY_)};
}

CScreenView::Destination CScreenView::Map(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                          const Size* size, const Rect* clip) const
{
    const int32_t m = magnification_;
    Destination d = {Scaled(x, 1, originX_), Scaled(y, 1, originY_), {0, 0}, size, MapRect(clip)};
    if (m == 1) return d;
    Size logical = {0, 0};
    if (size) {
        logical = *size;
    } else if (srcRect) {
        logical = {srcRect->right - srcRect->left, srcRect->bottom - srcRect->top};
    } else if (src) {
        src->GetSize(&logical.cx, &logical.cy);
    } else {
        return d;  // nothing to draw; the transfer says so itself
    }
    // Each logical pixel becomes an m by m block; one more pixel across leaves no seam between
    // neighbouring blocks.
    d.size = {Scaled(logical.cx, m, 1), Scaled(logical.cy, m, 1)};
    d.sizeArg = &d.size;
    d.x = Scaled(x, m, originX_ - 1);
    d.y = Scaled(y, m, originY_ - 1);
    return d;
}

int32_t CScreenView::FillRect(uint32_t colour, const Rect* rect)
{
    const Rect physical = MapRect(rect);
    return draw_->Clear(colour, &physical);
}

int32_t CScreenView::BltNative(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                               const Size* size, const Rect* clip, int32_t dx, int32_t dy)
{
    Rect physical = MapRect(clip);
    const int32_t m = magnification_;
    return draw_->BltNatural(src, Scaled(x, m, int64_t(originX_) + dx),
                             Scaled(y, m, int64_t(originY_) + dy), srcRect, size, &physical);
}

void CScreenView::Present()
{
    int32_t w = 0, h = 0;
    draw_->GetSize(&w, &h);
    // The back buffer changed size without a WM_SIZE here (a display change made on the screen).
    if (w != viewWidth_ || h != viewHeight_) UpdateView();
    // Top, right, bottom, left: together they tile the border without overlap.
    const Rect strips[4] = {{0, 0, active_.right, active_.top},
                            {active_.right, 0, w, active_.bottom},
                            {active_.left, active_.bottom, w, h},
                            {0, active_.top, active_.left, h}};
    for (const Rect& strip : strips) {
        if (strip.right > strip.left && strip.bottom > strip.top) draw_->Clear(&strip);
    }
    draw_->OnDraw(nullptr, true);
    border_ = false;
}

int32_t CScreenView::SaveScreenshot()
{
    CFileFinder finder;
    char name[16];
    int n = 0;
    for (; n < 1000; ++n) {
        std::snprintf(name, sizeof name, "%03d.bmp", n);
        if (!finder.IsExist(NormalizePath(name))) break;
    }
    if (n == 1000) return 9;
    CPlane* secondary = draw_->GetSecondary();
    if (!secondary) return 1;
    return secondary->GetImpl()->Save(name, &active_);
}

// ---- The drawing interface ----

int32_t CScreenView::Blt(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                         Rect* clip)
{
    Destination d = Map(src, x, y, srcRect, size, clip);
    return draw_->Blt(src, d.x, d.y, srcRect, d.sizeArg, &d.clip);
}

int32_t CScreenView::BltFast(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                             const Size* size, Rect* clip)
{
    Destination d = Map(src, x, y, srcRect, size, clip);
    return draw_->BltFast(src, d.x, d.y, srcRect, d.sizeArg, &d.clip);
}

int32_t CScreenView::BlendBlt(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                              uint32_t srcRate, const Rect* srcRect, const Size* size, Rect* clip)
{
    Destination d = Map(src, x, y, srcRect, size, clip);
    return draw_->BlendBlt(src, d.x, d.y, dstRate, srcRate, srcRect, d.sizeArg, &d.clip);
}

int32_t CScreenView::BlendBltFast(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                  uint32_t srcRate, const Rect* srcRect, const Size* size,
                                  Rect* clip)
{
    Destination d = Map(src, x, y, srcRect, size, clip);
    return draw_->BlendBltFast(src, d.x, d.y, dstRate, srcRate, srcRect, d.sizeArg, &d.clip);
}

int32_t CScreenView::BlendBltAlpha(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                   uint32_t srcRate, const Rect* srcRect, const Size* size,
                                   Rect* clip)
{
    Destination d = Map(src, x, y, srcRect, size, clip);
    return draw_->BlendBltAlpha(src, d.x, d.y, dstRate, srcRate, srcRect, d.sizeArg, &d.clip);
}

int32_t CScreenView::BltAlpha(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                              const Size* size, Rect* clip)
{
    Destination d = Map(src, x, y, srcRect, size, clip);
    return draw_->BltAlpha(src, d.x, d.y, srcRect, d.sizeArg, &d.clip);
}

int32_t CScreenView::BlendBltAlphaLevel(CPlane*, int32_t, int32_t, int32_t) { return -1; }

int32_t CScreenView::Mosaic(int32_t blockSize, const Rect* rect)
{
    const Rect physical = MapRect(rect);
    return draw_->Mosaic(Scaled(blockSize, magnification_, 0), &physical);
}

int32_t CScreenView::Negate(const Rect* rect)
{
    const Rect physical = MapRect(rect);
    return draw_->Negate(&physical);
}

int32_t CScreenView::GetSize(int32_t* width, int32_t* height) const
{
    *width = logicalWidth_;
    *height = logicalHeight_;
    return 0;
}

int32_t CScreenView::Clear(const Rect* rect)
{
    const Rect physical = MapRect(rect);
    return draw_->Clear(&physical);
}

int32_t CScreenView::BltNatural(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                const Size* size, Rect* clip)
{
    Destination d = Map(src, x, y, srcRect, size, clip);
    return draw_->BltNatural(src, d.x, d.y, srcRect, d.sizeArg, &d.clip);
}

int32_t CScreenView::Load(const char*) { return -1; }

int32_t CScreenView::LoadEx(const char*, const char*) { return -1; }

int32_t CScreenView::Release() { return draw_->Release(); }

int32_t CScreenView::SetColorKey(int32_t r, int32_t g, int32_t b) { return draw_->SetColorKey(r, g, b); }

int32_t CScreenView::SetColorKeyFromPixel(int32_t x, int32_t y)
{
    return draw_->SetColorKeyFromPixel(Scaled(x, magnification_, originX_),
                                       Scaled(y, magnification_, originY_));
}

// ---- Shapes ----

CShapes CScreenView::Shapes()
{
    CShapes shapes = draw_->Shapes();
    ShapeSurface surface = shapes.GetSurface();
    if (!surface.pixels) return shapes;
    surface.bounds = {0, 0, logicalWidth_, logicalHeight_};
    surface.scale = magnification_;
    surface.originX = originX_;
    surface.originY = originY_;
    return CShapes(surface);
}
