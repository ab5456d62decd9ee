// CPlaneImpl: the implementation behind a CPlane. It owns the pixels (a heap block, or a
// top-down DIB section with its memory DC on Windows), the colour key, the flags and the
// transfer state, and declares the 59 virtual operations in their slot order. It defines the
// load, the natural transfers, the alpha accessors and the alpha probe; CDIBPlane and its
// accelerated descendants implement the rest.
#pragma once

#include <pyro/graphics/GdiHandle.h>
#include <pyro/graphics/Rect.h>
#include <pyro/graphics/transfer/TransferList.h>
#include <pyro/graphics/transfer/TransferState.h>

#include <cstdint>
#include <vector>

class CPlane;

class CPlaneImpl {
public:
    CPlaneImpl() = default;
    CPlaneImpl(const CPlaneImpl&) = delete;
    CPlaneImpl& operator=(const CPlaneImpl&) = delete;

    // ---- Storage (not virtual). Results: 0 success, 1 failure. ----

    // Releases, then gets uninitialised pixels: a DIB section when the use-DIB flag is set (on
    // Windows), else a heap block aligned to 8 bytes. 1 for a size that is not positive, too
    // large to address, or cannot be allocated.
    int32_t Allocate(int32_t width, int32_t height);
    // Allocate, then clear to the fill colour.
    int32_t Create(int32_t width, int32_t height);
    // Keeps the pixels when the size is unchanged, else Create.
    int32_t Resize(int32_t width, int32_t height);
    // The plane's bounds, (0, 0, width, height).
    Rect GetRect() const { return bounds_; }
    // out = rect (null: the bounds) intersected with the bounds; may come out empty or inverted.
    void ClipToBounds(Rect* out, const Rect* rect) const;
    // Takes effect at the next Allocate.
    void SetUseDIB(bool useDIB) { useDIB_ = useDIB ? 1 : 0; }
    // Whether the next Allocate makes a DIB section.
    bool GetUseDIB() const { return useDIB_ != 0; }
    // The memory DC holding the DIB section, or null.
    PlaneDC GetDC() const { return dc_; }
    // Row 0 of the pixels, or null.
    uint32_t* GetPixels() const { return pixels_; }
    // Bytes from one row to the next.
    int32_t GetPitch() const { return pitch_; }
    // Frees everything the plane holds and clears the loaded and alpha flags; the colour key and
    // the fill colour stay.
    int32_t Release();
    // Whether the plane holds pixels.
    bool IsLoaded() const { return loaded_ != 0; }
    // Colour 0xFFFFFFFF means the fill colour; null rect: the whole plane. The rectangle is
    // clamped to the bounds. 1 when the plane has no pixels.
    int32_t Clear(uint32_t colour, const Rect* rect = nullptr);
    // Sets the colour key 0x00RRGGBB from its components.
    int32_t SetColorKey(int32_t r, int32_t g, int32_t b);
    // 1 (key unchanged) when the point lies outside the plane.
    int32_t SetColorKeyFromPixel(int32_t x, int32_t y);
    // The colour key.
    uint32_t GetColorKey() const { return colorKey_; }
    // 0 outside the plane.
    uint32_t GetPixel(int32_t x, int32_t y) const;
    // The size: 0, or 1 and 0 by 0 without pixels.
    int32_t GetSize(int32_t* width, int32_t* height) const;
    // Every pixel &= 0x00FFFFFF.
    int32_t ClearAlphaByte();
    // Writes the rectangle (null: the whole plane; clipped to it) as a 24-bit bitmap file, or
    // as a PNG file when the name ends in ".png" (any case; with the alpha bytes when the alpha
    // flag is set) (image module): 0, also when the plane has no pixels (nothing is written);
    // 1 nothing to save, no buffer or no PNG encoder; 2 the copy or the encoding failed; else
    // the file write's code.
    int32_t Save(const char* fileName, const Rect* rect = nullptr) const;

    // ---- Transfer set-up ----

    // Clip and stretch set-up into this plane's transfer state: 0 when there is something to
    // draw, 1 when not (also for a null or empty source).
    int32_t PrepareTransfer(CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,
                            const Size* size = nullptr, Rect* clip = nullptr);
    // The same for a left-right mirrored transfer.
    int32_t PrepareTransferMirrored(CPlane* src, int32_t x, int32_t y,
                                    const Rect* srcRect = nullptr,
                                    const Size* size = nullptr, Rect* clip = nullptr);
    // The state the last set-up left.
    const TransferState& GetTransferState() const { return transfer_; }
    // Where the pixels are, for the pixel loops.
    PixelView GetPixelView() const;

    // ---- Virtual operations in slot order ----

    // Fills the plane from an image file (image module): 0, or a failure code with the plane
    // left empty. The alpha flag is set after a qga file, and after a picture (PNG, TIFF...)
    // with a pixel that is not fully opaque.
    /* 0 */ virtual int32_t Load(const char* fileName);

    // Slots 1-32: the transfers of TransferList.h, in its order (x, y: where the source
    // rectangle's top-left lands; see CPlaneBase). Each returns 0. The keyed ones skip source
    // pixels equal to the source's colour key; the mirrored ones put the source's rightmost
    // column on the left.
    PYRO_TRANSFERS(PYRO_TRANSFER_PURE)
    // Level 0: nothing; 256: TransferAuto; between: the source weighted by the level and the
    // destination by 255 - level (alpha mix for an alpha source, keyed mix otherwise).
    /* 33 */ virtual int32_t TransferFade(CPlane* src, int32_t x, int32_t y, int32_t level,
                                          const Rect* srcRect = nullptr,
                                          const Size* size = nullptr, Rect* clip = nullptr);
    // TransferAlpha for an alpha source, TransferCopyKeyed otherwise.
    /* 34 */ virtual int32_t TransferAuto(CPlane* src, int32_t x, int32_t y,
                                          const Rect* srcRect = nullptr,
                                          const Size* size = nullptr, Rect* clip = nullptr);
    // Whether the alpha flag is set.
    /* 35 */ virtual bool IsAlpha() const;
    // The alpha flag itself, to set or clear.
    /* 36 */ virtual uint8_t& GetAlphaFlag();

    // ---- Effects and geometry (rect: null for the whole plane, clipped to it) ----

    // Alpha byte = a ramp (lowAlpha up to low, rising to highAlpha at high) indexed by the
    // blue channel of the mask's pixel at the same place. 1 when the sizes differ or the plane
    // is empty, as for every in-place effect.
    /* 37 */ virtual int32_t SetAlphaFromPlane(CPlane* mask, int32_t low, int32_t high,
                                               int32_t lowAlpha, int32_t highAlpha,
                                               const Rect* rect = nullptr) = 0;
    // Colour from src, alpha from src scaled by rate / 256 (mod 256). 1 when the sizes differ
    // or the plane is empty.
    /* 38 */ virtual int32_t CopyScaleAlpha(CPlane* src, int32_t rate,
                                            const Rect* rect = nullptr) = 0;
    // Quadrilateral mapping; points in the order top-left, top-right, bottom-left, bottom-right.
    // divisorFlag 0: a row's last pixel samples the source edge exactly; 1: the row's width
    // divides the edge-to-edge distance. The keyed forms skip the source's key colour. The
    // FromRect forms map srcRect (null: the source) by its outermost pixels; the ToRect forms
    // fill dstRect (null: this plane) to its edges.
    /* 39 */ virtual int32_t MorphBlt(CPlane* src, const Point* srcPoints, const Point* dstPoints,
                                      const Rect* clip, int32_t divisorFlag) = 0;
    // Keyed mapping of a source rectangle onto four points.
    /* 40 */ virtual int32_t MorphBltFromRect(CPlane* src, const Rect* srcRect,
                                              const Point* dstPoints,
                                              const Rect* clip = nullptr) = 0;
    // Keyed mapping of four source points onto a rectangle.
    /* 41 */ virtual int32_t MorphBltToRect(CPlane* src, const Point* srcPoints,
                                            const Rect* dstRect, const Rect* clip = nullptr) = 0;
    // MorphBlt without the colour key.
    /* 42 */ virtual int32_t MorphBltFast(CPlane* src, const Point* srcPoints,
                                          const Point* dstPoints, const Rect* clip,
                                          int32_t divisorFlag) = 0;
    // MorphBltFromRect without the colour key.
    /* 43 */ virtual int32_t MorphBltFastFromRect(CPlane* src, const Rect* srcRect,
                                                  const Point* dstPoints,
                                                  const Rect* clip = nullptr) = 0;
    // MorphBltToRect without the colour key.
    /* 44 */ virtual int32_t MorphBltFastToRect(CPlane* src, const Point* srcPoints,
                                                const Rect* dstRect,
                                                const Rect* clip = nullptr) = 0;
    // Turns the zoomed source, placed at (x, y), about its corner or centre (anchor 0-4; others
    // answer -2). angle in 1/512 of a turn, zoom in 16.16 fixed point.
    /* 45 */ virtual int32_t RotateBlt(CPlane* src, const Rect* srcRect, int32_t x, int32_t y,
                                       int32_t angle, int32_t zoom, int32_t anchor,
                                       const Rect* clip = nullptr) = 0;
    // RotateBlt without the colour key.
    /* 46 */ virtual int32_t RotateBltFast(CPlane* src, const Rect* srcRect, int32_t x, int32_t y,
                                           int32_t angle, int32_t zoom, int32_t anchor,
                                           const Rect* clip = nullptr) = 0;
    // Reserved: does nothing and returns 0.
    /* 47 */ virtual int32_t Reserved(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t) = 0;
    // A one-to-one transfer whose every source position is first moved by the table's offset
    // for it (one entry per pixel of srcRect, row by row). Offsets leading outside the source
    // leave the destination pixel. -1 for a null table.
    /* 48 */ virtual int32_t DisplaceBlt(CPlane* src, const Point* table, int32_t x, int32_t y,
                                         const Rect* srcRect = nullptr, Rect* clip = nullptr) = 0;
    // Saturating add or subtract of the colour in each channel; 1 for an inverted or empty
    // rectangle.
    /* 49 */ virtual int32_t AddColor(uint32_t colour, const Rect* rect = nullptr) = 0;
    // The subtracting twin of AddColor.
    /* 50 */ virtual int32_t SubColor(uint32_t colour, const Rect* rect = nullptr) = 0;
    // Weighted average with the four neighbours; 1 empty, 2 narrower than 4 or lower than 4.
    /* 51 */ virtual int32_t Blur(const Rect* rect = nullptr) = 0;
    // Blocks of blockSize x blockSize take their top-left pixel; -2 for a size below 1.
    /* 52 */ virtual int32_t Mosaic(int32_t blockSize, const Rect* rect = nullptr) = 0;
    // Inverts the colour channels.
    /* 53 */ virtual int32_t Negate(const Rect* rect = nullptr) = 0;
    // Each colour channel times rate / 256 (at most 255); the alpha byte becomes 0.
    /* 54 */ virtual int32_t ScaleColor(int32_t rate, const Rect* rect = nullptr) = 0;
    // Alpha times rate / 256, mod 256; rate 256 leaves the plane alone.
    /* 55 */ virtual int32_t ScaleAlpha(int32_t rate, const Rect* rect = nullptr) = 0;
    // Inverts the alpha bytes.
    /* 56 */ virtual int32_t NegateAlpha(const Rect* rect = nullptr) = 0;
    // Alpha flag set: the pixel's alpha byte; else 0 outside the plane or on the key, 255
    // elsewhere.
    /* 57 */ virtual int32_t GetAlphaAt(int32_t x, int32_t y) const;
    /* 58 */ virtual ~CPlaneImpl();  // releases the pixels

protected:
    uint8_t* rawBlock_ = nullptr;  // heap block when no DIB section is used
    uint32_t* pixels_ = nullptr;   // row 0; 8-byte aligned
    Rect bounds_{0, 0, 0, 0};  // (0, 0, width, height)
    std::vector<uint32_t*> rows_;  // row i at pixels_ + i * pitch_ bytes
    int32_t pitch_ = 0;  // bytes from one row to the next
    uint32_t colorKey_ = 0;  // 0x00RRGGBB
    uint32_t fillColor_ = 0;  // what Clear fills with
    uint8_t useDIB_ = 0;  // the next Allocate makes a DIB section
    PlaneBitmap bitmap_ = nullptr;  // the DIB section, or null
    PlaneDC dc_ = nullptr;  // the memory DC holding it, or null
    uint8_t loaded_ = 0;  // whether there are pixels
    TransferState transfer_;  // what the last transfer set-up left
    uint8_t hasAlpha_ = 0;  // the alpha flag
};
