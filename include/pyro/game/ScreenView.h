// CScreenView: the current screen of a scene. It owns the display back-end and maps a fixed
// logical screen onto it at the largest whole magnification, centred, with black borders around.
// Drawing on the view takes logical coordinates; each transfer is stretched to physical pixels.
// It also finds the mouse's logical position for the key mapper and writes screenshots.
#pragma once

#include <pyro/app/OwningPtr.h>
#include <pyro/app/WindowHook.h>
#include <pyro/graphics/DIBDraw.h>
#include <pyro/graphics/DisplayChoice.h>
#include <pyro/graphics/PlaneBase.h>
#include <pyro/graphics/Shapes.h>
#include <pyro/input/ScreenViewMapping.h>

#include <cstdint>

class CScreenView : public IWindowHook, public CPlaneBase, public IScreenViewMapping {
public:
    // Needs a running application on the calling thread: creates the display back-end, hooks the
    // window and becomes the current screen view. The logical size starts at 640 by 480. The
    // back-end is the kind asked for unless PYRO_DISPLAY in the environment names another.
    explicit CScreenView(DisplayKind display = DisplayKind::kAuto);
    ~CScreenView() override;
    CScreenView(const CScreenView&) = delete;
    CScreenView& operator=(const CScreenView&) = delete;

    // The view that widgets and labels draw on; null when none exists.
    static CScreenView* GetCurrent();

    // A value above 0 replaces the logical width or height; the back buffer is made that size, or
    // the window's client size where that is larger (as WM_SIZE would make it).
    int32_t SetLogicalSize(int32_t width, int32_t height);
    // WM_SIZE: the back buffer follows the client area, never smaller than the logical screen.
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Fills a logical rectangle (null: the whole logical screen) with a colour 0x00RRGGBB.
    int32_t FillRect(uint32_t colour, const Rect* rect = nullptr);
    // Draws a plane that is already at physical scale (a label rendered at the magnified font
    // size) at a logical position without stretching, moved by (dx, dy) physical pixels.
    int32_t BltNative(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                      const Rect* clip, int32_t dx, int32_t dy);
    // Magnification, origin and active rectangle from the back buffer's size.
    void UpdateView();
    // Paints the borders and copies the back buffer to the window, running the drawing hooks.
    void Present();
    // Writes the logical screen at its physical size as the first free "000.bmp" to "999.bmp" in
    // the base directory: the file write's result; 9 when all names are taken; 1 without a back
    // buffer.
    int32_t SaveScreenshot();

    // The window position of logical (0, 0).
    int32_t GetOriginX() const override { return originX_; }
    int32_t GetOriginY() const override { return originY_; }
    int32_t GetMagnification() const override { return magnification_; }
    // The logical screen's size.
    int32_t GetLogicalWidth() const { return logicalWidth_; }
    int32_t GetLogicalHeight() const { return logicalHeight_; }  // and height
    // The physical rectangle the logical screen covers.
    const Rect& GetActiveRect() const { return active_; }
    // Whether black borders surround the logical screen in the window.
    bool NeedsBorder() const { return border_; }
    // The display back-end, whose back buffer holds the physical pixels.
    CDIBDraw* GetDraw() const { return draw_.Get(); }

    // ---- The drawing interface in logical coordinates ----
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
    // -1: the level form has no size to stretch with.
    int32_t BlendBltAlphaLevel(CPlane* src, int32_t x, int32_t y, int32_t level) override;
    // The block size is logical too.
    int32_t Mosaic(int32_t blockSize, const Rect* rect = nullptr) override;
    int32_t Negate(const Rect* rect = nullptr) override;
    // The logical size.
    int32_t GetSize(int32_t* width, int32_t* height) const override;
    bool IsLoaded() const override { return false; }
    bool IsAlpha() const override { return false; }
    // Fills with the back buffer's fill colour.
    int32_t Clear(const Rect* rect = nullptr) override;
    int32_t BltNatural(CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,
                       const Size* size = nullptr,
                       Rect* clip = nullptr) override;
    // A view is not loaded from a file: -1.
    int32_t Load(const char* fileName) override;
    int32_t LoadEx(const char* first, const char* second) override;
    int32_t Release() override;
    int32_t SetColorKey(int32_t r, int32_t g, int32_t b) override;
    int32_t SetColorKeyFromPixel(int32_t x, int32_t y) override;

    // ---- The whole transfer family in logical coordinates ----
    // Each transfer of the list (add, subtract, average, mix, opaque, colour only, alpha and the
    // keyed and mirrored twins of each) is drawn as on a plane of the logical size, each logical
    // pixel then being its magnified block: positions, stretch sizes and the clip (null: the
    // logical screen) are logical. A stretch is resampled once, at physical resolution, as Blt's
    // is; a mirrored stretch samples the centres of the physical pixels. Unlike Blt, nothing is
    // drawn outside the logical destination.
    PYRO_TRANSFERS(PYRO_TRANSFER_READ)
    // TransferFade and TransferAuto, as the implementation's, with a read-only source.
    PYRO_TRANSFER_READ_ROUTING
    // Turns the zoomed source about its corner or centre (anchor 0-4), as CPlaneImpl::RotateBlt:
    // (x, y) and the zoom are logical, and the turned picture is sampled at physical resolution.
    int32_t RotateBlt(const CPlane* src, const Rect* srcRect, int32_t x, int32_t y, int32_t angle,
                      int32_t zoom, int32_t anchor, const Rect* clip = nullptr);
    // RotateBlt without the colour key.
    int32_t RotateBltFast(const CPlane* src, const Rect* srcRect, int32_t x, int32_t y,
                          int32_t angle, int32_t zoom, int32_t anchor, const Rect* clip = nullptr);
    // Quadrilateral mapping as CPlaneImpl::MorphBlt: destination points are logical and go to
    // the corner of their logical pixel's block; the source points are the source's pixels. The
    // mapping is sampled at physical resolution.
    int32_t MorphBlt(const CPlane* src, const Point* srcPoints, const Point* dstPoints,
                     const Rect* clip = nullptr, int32_t divisorFlag = 0);
    // MorphBlt without the colour key.
    int32_t MorphBltFast(const CPlane* src, const Point* srcPoints, const Point* dstPoints,
                         const Rect* clip = nullptr, int32_t divisorFlag = 0);
    // Keyed mapping of a source rectangle (null: the source) onto four logical points.
    int32_t MorphBltFromRect(const CPlane* src, const Rect* srcRect, const Point* dstPoints,
                             const Rect* clip = nullptr);
    // MorphBltFromRect without the colour key.
    int32_t MorphBltFastFromRect(const CPlane* src, const Rect* srcRect, const Point* dstPoints,
                                 const Rect* clip = nullptr);
    // Keyed mapping of four source points onto the blocks of a logical rectangle (null: the
    // logical screen).
    int32_t MorphBltToRect(const CPlane* src, const Point* srcPoints, const Rect* dstRect,
                           const Rect* clip = nullptr);
    // MorphBltToRect without the colour key.
    int32_t MorphBltFastToRect(const CPlane* src, const Point* srcPoints, const Rect* dstRect,
                               const Rect* clip = nullptr);
    // The displacement transfer cannot stretch (one table offset per source pixel): it draws one
    // to one in physical pixels from the block of logical (x, y), inside the logical clip.
    int32_t DisplaceBlt(const CPlane* src, const Point* table, int32_t x, int32_t y,
                        const Rect* srcRect = nullptr, const Rect* clip = nullptr);
    // The in-place effects on a logical rectangle (null: the logical screen), on its physical
    // blocks; as on a plane, 1 when the rectangle has no pixel on the screen or there is no back
    // buffer. Saturating add of a colour 0x00RRGGBB in each channel.
    int32_t AddColor(uint32_t colour, const Rect* rect = nullptr);
    // Saturating subtract of a colour in each channel.
    int32_t SubColor(uint32_t colour, const Rect* rect = nullptr);
    // Weighted average with the four neighbours, of physical pixels: it softens the block
    // edges, which a blur of the logical pixels would not.
    int32_t Blur(const Rect* rect = nullptr);
    // Each colour channel times rate / 256 (at most 255): a dimmed pause screen.
    int32_t ScaleColor(int32_t rate, const Rect* rect = nullptr);
    // The screen's alpha bytes times rate / 256, mod 256.
    int32_t ScaleAlpha(int32_t rate, const Rect* rect = nullptr);
    // Inverts the screen's alpha bytes.
    int32_t NegateAlpha(const Rect* rect = nullptr);

    // ---- Shapes ----
    // Lines, rectangles, circles and polygons in logical coordinates on the back buffer: each
    // logical pixel is a block of the magnification, as a plane of the logical size drawn here
    // would show it (empty without a back buffer).
    CShapes Shapes();

private:
    // A transfer's destination in physical pixels: the position, the stretch size (null when
    // unscaled and none was given) and the clip rectangle.
    struct Destination {
        int32_t x, y;
        Size size;
        const Size* sizeArg;
        Rect clip;
    };
    Destination Map(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                    const Rect* clip) const;
    // A logical rectangle in physical pixels; null gives the active rectangle.
    Rect MapRect(const Rect* rect) const;

    OwningPtr<CDIBDraw> draw_;
    int32_t logicalWidth_ = 640;
    int32_t logicalHeight_ = 480;
    int32_t originX_ = 0;
    int32_t originY_ = 0;
    int32_t magnification_ = 1;
    Rect active_ = {0, 0, 640, 480};
    bool border_ = false;
    int32_t viewWidth_ = 0;  // the back buffer's size when the geometry was worked out
    int32_t viewHeight_ = 0;
    CPlane mirrorScratch_;  // a mirrored source's visible part, mirrored before it is magnified
};
