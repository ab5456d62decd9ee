// CDIBDraw: the screen. It owns the back buffer (a plane kept in a DIB section), offers the whole
// plane drawing interface by forwarding to it, runs the drawing hooks and copies the back buffer
// onto the window with BitBlt, once per frame on request and on every WM_PAINT. Full-screen is a
// pop-up window covering the screen; the screen's colour depth is never changed.
#pragma once

#include <pyro/app/OwningPtr.h>
#include <pyro/app/WindowHook.h>
#include <pyro/graphics/DirectDrawBase.h>
#include <pyro/graphics/Plane.h>
#include <pyro/graphics/PlaneBase.h>
#include <pyro/graphics/Shapes.h>

#include <cstdint>
#include <list>

class CDrawHook;

class CDIBDraw : public IWindowHook, public CPlaneBase {
public:
    // The three hook lists run by OnDraw, in this order.
    enum HookList { kBeforeDraw, kGDI, kAfterDraw };

    // Needs a running application on the calling thread: registers itself as the thread's screen,
    // hooks the application's window and raises the timer resolution. No back buffer yet.
    CDIBDraw();
    ~CDIBDraw() override;
    CDIBDraw(const CDIBDraw&) = delete;
    CDIBDraw& operator=(const CDIBDraw&) = delete;

    // WM_PAINT repaints the window from the back buffer; no message is consumed.
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Runs the hooks when asked, applies the brightness and copies the back buffer (or the given
    // rectangle of it) to the window.
    virtual void OnDraw(const Rect* rect, bool runHooks);

    // Zero width or height keeps the stored one, colour depth 0 means 16; then ChangeDisplay.
    // Returns 0 whatever the change gives.
    int32_t SetDisplay(bool fullScreen, int32_t width, int32_t height, int32_t colorDepth);
    // Tries full-screen first when asked, then a window. 0, or 2 when no attempt succeeded.
    int32_t ChangeDisplay(bool fullScreen);
    // Starts a change sequence of TestDisplayMode attempts.
    void BeginChangeDisplay();
    // One attempt of a change sequence: only the first success acts, later ones do nothing.
    void TestDisplayMode(int32_t width, int32_t height, bool fullScreen, int32_t colorDepth);
    // 0, or 1 when no attempt of the sequence succeeded.
    int32_t EndChangeDisplay();

    // Clear of the back buffer with a colour (0xFFFFFFFF: its fill colour).
    int32_t Clear(uint32_t colour, const Rect* rect = nullptr);
    // The back buffer or null; the caller is taken to draw into it.
    CPlane* GetSecondary();
    // Shapes on the back buffer, marking the screen as needing a redraw (empty without one).
    CShapes Shapes();

    // Appends a drawing hook to one of the lists.
    void AddHook(HookList list, CDrawHook* hook);
    // Removes every node that refers to the hook; returns how many there were.
    int32_t RemoveHook(HookList list, CDrawHook* hook);
    // The number of hooks in the list.
    int32_t GetHookCount(HookList list) const;

    // Where the image sits in the window; presentation fills the uncovered bands with black.
    void SetOffset(int32_t x, int32_t y);
    // Rate applied to the whole back buffer before each OnDraw presents it; 256 leaves it.
    void SetBrightness(int32_t brightness) { brightness_ = brightness; }
    // The brightness rate.
    int32_t GetBrightness() const { return brightness_; }

    // Whether the screen is in full-screen mode.
    bool IsFullScreenMode() const { return fullScreen_ != 0; }
    // Whether a change sequence is running.
    bool IsChanging() const { return changing_ != 0; }
    // The screen's size as SetDisplay set it.
    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }  // and height
    // The colour depth asked for.
    int32_t GetColorDepth() const { return colorDepth_; }
    // The height of the window's menu bar, 0 without one.
    int32_t GetMenuHeight() const { return menuHeight_; }
    // Whether the back buffer was drawn on since it was last presented.
    bool NeedsRedraw() const { return needsRedraw_ != 0; }
    // The window the screen presents to.
    HWND GetWindow() const { return window_; }
    // The screen's bits per pixel as last read by EndChangeDisplay (-1 before).
    static int32_t GetScreenDepth();

    // ---- The drawing interface: forwarded to the back buffer; 1 while there is none. ----
    int32_t GetType() const override;
    int32_t Blt(CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,
                const Size* size = nullptr,
                Rect* clip = nullptr) override;
    int32_t BltFast(CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,
                    const Size* size = nullptr,
                    Rect* clip = nullptr) override;
    int32_t BlendBlt(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                     const Rect* srcRect = nullptr, const Size* size = nullptr,
                     Rect* clip = nullptr) override;
    int32_t BlendBltFast(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                         const Rect* srcRect = nullptr, const Size* size = nullptr,
                         Rect* clip = nullptr) override;
    int32_t BlendBltAlpha(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                          const Rect* srcRect = nullptr, const Size* size = nullptr,
                          Rect* clip = nullptr) override;
    int32_t BltAlpha(CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,
                     const Size* size = nullptr,
                     Rect* clip = nullptr) override;
    int32_t BlendBltAlphaLevel(CPlane* src, int32_t x, int32_t y, int32_t level) override;
    int32_t Mosaic(int32_t blockSize, const Rect* rect = nullptr) override;
    int32_t Negate(const Rect* rect = nullptr) override;
    // Without a back buffer: 0 by 0 and result 1.
    int32_t GetSize(int32_t* width, int32_t* height) const override;
    bool IsLoaded() const override;
    bool IsAlpha() const override;
    int32_t Clear(const Rect* rect = nullptr) override;
    int32_t BlendBltNatural(CPlane* src, int32_t x, int32_t y, int32_t level,
                            const Rect* srcRect = nullptr, const Size* size = nullptr,
                            Rect* clip = nullptr) override;
    int32_t BltNatural(CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,
                       const Size* size = nullptr,
                       Rect* clip = nullptr) override;
    int32_t Load(const char* fileName) override;
    int32_t LoadEx(const char* first, const char* second) override;
    int32_t Release() override;
    int32_t SetColorKey(int32_t r, int32_t g, int32_t b) override;
    int32_t SetColorKeyFromPixel(int32_t x, int32_t y) override;
    // The screen's size is set by SetDisplay: returns 1 and does nothing.
    int32_t Create(int32_t width, int32_t height) override;

protected:
    // Makes a new, empty back buffer; null when that fails. Tests replace it to make attempts fail.
    virtual CPlane* CreateSecondary();
    // For back-ends that replace the copy to the window: runs the hooks of OnDraw.
    void RunHooks();
    // The back buffer, without marking a redraw.
    CPlane* Secondary() const { return secondary_.Get(); }
    // Ends a presentation: a presented screen needs no redraw until it is drawn on again.
    void MarkPresented(bool presented) { needsRedraw_ = presented ? 0 : 1; }
    // The window position of the back buffer's top-left pixel.
    int32_t GetOffsetX() const { return offsetX_; }
    int32_t GetOffsetY() const { return offsetY_; }  // and its row

private:
    // The back buffer for a drawing operation, marking the screen as needing a redraw.
    CPlane* Drawn() const;
    std::list<CDrawHook*>& Hooks(HookList list);
    const std::list<CDrawHook*>& Hooks(HookList list) const;
    void CopyToWindow(HDC windowDC, HDC secondaryDC, const Rect* rect = nullptr);
    void CopyWithOffsets(HDC windowDC, HDC secondaryDC, int32_t menuTop);
    void Paint(HWND hwnd);
    void ApplyScreenMode();

    CDirectDrawBase directDraw_{false};
    uint8_t fullScreen_ = 0;
    int32_t width_ = 640;
    int32_t height_ = 480;
    int32_t colorDepth_ = 16;
    uint8_t changing_ = 0;
    uint8_t fullScreenChanged_ = 0;
    int32_t menuHeight_ = 0;
    OwningPtr<CPlane> secondary_;
    int32_t offsetX_ = 0;
    int32_t offsetY_ = 0;
    mutable uint8_t needsRedraw_ = 0;  // also set by GetSize, a const operation
    HWND window_ = nullptr;
    bool windowFullScreen_ = false;  // the mode the window was last set up for
    std::list<CDrawHook*> beforeDrawHooks_;
    std::list<CDrawHook*> afterDrawHooks_;
    std::list<CDrawHook*> gdiHooks_;
    int32_t brightness_ = 256;
};
