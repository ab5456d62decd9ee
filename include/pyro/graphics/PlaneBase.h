// CPlaneBase: the drawing interface shared by planes, the screen and the widgets. Game code draws
// on any of them alike. The virtual operations are declared in their fixed slot order; the base
// supplies the fade conversions, the natural-transfer routing and the anchored transfer.
//
// Transfers take a source plane, the destination of the source rectangle's top-left corner,
// the source rectangle (null: the whole source), the stretch size (null or equal to the source
// rectangle's size: one to one) and the clip rectangle (null: the destination's bounds; a given
// one is clamped to them in place). They return 0, also when nothing shows. Rates are
// per-channel weights 0x00RRGGBB, each byte 0..255 out of 256.
#pragma once

#include <pyro/graphics/Rect.h>

#include <cstdint>

class CPlane;

class CPlaneBase {
public:
    /* 0 */ virtual ~CPlaneBase();  // releases what the object holds
    // The kind of object; 0 here.
    /* 1 */ virtual int32_t GetType() const;
    // Colour-keyed copy: source pixels equal to the source's colour key are skipped.
    /* 2 */ virtual int32_t Blt(CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,
                                const Size* size = nullptr, Rect* clip = nullptr) = 0;
    // Plain copy of every source pixel.
    /* 3 */ virtual int32_t BltFast(CPlane* src, int32_t x, int32_t y,
                                    const Rect* srcRect = nullptr,
                                    const Size* size = nullptr, Rect* clip = nullptr) = 0;
    // Fade levels: only the low byte h counts; the destination is weighted 255 - h, the source h.
    /* 4 */ virtual int32_t BlendBltFade(CPlane* src, int32_t x, int32_t y, int32_t level,
                                         const Rect* srcRect = nullptr, const Size* size = nullptr,
                                         Rect* clip = nullptr);
    // Colour-keyed mix: each channel is dst × dstRate / 256 + src × srcRate / 256, at most 255.
    /* 5 */ virtual int32_t BlendBlt(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                     uint32_t srcRate, const Rect* srcRect = nullptr,
                                     const Size* size = nullptr,
                                     Rect* clip = nullptr) = 0;
    // BlendBltFast with the rates of a fade level.
    /* 6 */ virtual int32_t BlendBltFastFade(CPlane* src, int32_t x, int32_t y, int32_t level,
                                             const Rect* srcRect = nullptr,
                                             const Size* size = nullptr, Rect* clip = nullptr);
    // The mix of BlendBlt without the colour key.
    /* 7 */ virtual int32_t BlendBltFast(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                         uint32_t srcRate, const Rect* srcRect = nullptr,
                                         const Size* size = nullptr,
                                         Rect* clip = nullptr) = 0;
    // BlendBltAlpha with the rates of a fade level.
    /* 8 */ virtual int32_t BlendBltAlphaFade(CPlane* src, int32_t x, int32_t y, int32_t level,
                                              const Rect* srcRect = nullptr,
                                              const Size* size = nullptr, Rect* clip = nullptr);
    // Alpha blend whose source and destination weights are scaled by the rates.
    /* 9 */ virtual int32_t BlendBltAlpha(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                                          uint32_t srcRate, const Rect* srcRect = nullptr,
                                          const Size* size = nullptr,
                                          Rect* clip = nullptr);
    // Alpha blend by each source pixel's alpha byte: 255 copies, 0 leaves the destination.
    /* 10 */ virtual int32_t BltAlpha(CPlane* src, int32_t x, int32_t y,
                                      const Rect* srcRect = nullptr,
                                      const Size* size = nullptr, Rect* clip = nullptr);
    // BlendBltAlpha of the whole source with the rates of a fade level.
    /* 11 */ virtual int32_t BlendBltAlphaLevel(CPlane* src, int32_t x, int32_t y,
                                                int32_t level) = 0;
    // Blocks of blockSize by blockSize pixels of the rectangle (null: all) take one colour each.
    /* 12 */ virtual int32_t Mosaic(int32_t blockSize, const Rect* rect = nullptr) = 0;
    // Inverts the colour channels of the rectangle (null: all).
    /* 13 */ virtual int32_t Negate(const Rect* rect = nullptr) = 0;
    // The size in pixels: 0, or non-zero with 0 by 0 when there are no pixels.
    /* 14 */ virtual int32_t GetSize(int32_t* width, int32_t* height) const = 0;
    // Whether the object holds pixels.
    /* 15 */ virtual bool IsLoaded() const = 0;
    // Whether the pixels carry an alpha channel; false here.
    /* 16 */ virtual bool IsAlpha() const;
    // Fills the rectangle (null: all) with the fill colour.
    /* 17 */ virtual int32_t Clear(const Rect* rect = nullptr) = 0;
    // Level above 254: the unweighted natural transfer; otherwise a fade by the level's low byte,
    // per-pixel alpha when the source has an alpha channel, colour-keyed otherwise.
    /* 18 */ virtual int32_t BlendBltNatural(CPlane* src, int32_t x, int32_t y, int32_t level,
                                             const Rect* srcRect = nullptr,
                                             const Size* size = nullptr, Rect* clip = nullptr);
    // Alpha transfer when the source has an alpha channel, colour-keyed copy otherwise.
    /* 19 */ virtual int32_t BltNatural(CPlane* src, int32_t x, int32_t y,
                                        const Rect* srcRect = nullptr,
                                        const Size* size = nullptr, Rect* clip = nullptr);
    // (x, y) names the source's centre (anchor 0), top-left (1), top-right (2), bottom-left (3)
    // or bottom-right corner (4). Null source: -1; other anchors: -2.
    /* 20 */ virtual int32_t BltAnchored(CPlane* src, int32_t x, int32_t y, int32_t anchor,
                                         int32_t level);
    // Fills the object from an image file (qga, bitmap, or a format of the picture decoders):
    // 0 on success.
    /* 21 */ virtual int32_t Load(const char* fileName) = 0;
    // Load from two files; what they mean depends on the object.
    /* 22 */ virtual int32_t LoadEx(const char* first, const char* second) = 0;
    // Frees the pixels.
    /* 23 */ virtual int32_t Release() = 0;
    // Sets the colour key from its components.
    /* 24 */ virtual int32_t SetColorKey(int32_t r, int32_t g, int32_t b) = 0;
    // Sets the colour key from the pixel at (x, y).
    /* 25 */ virtual int32_t SetColorKeyFromPixel(int32_t x, int32_t y) = 0;
    // Gives the object pixels of that size, cleared to the fill colour: 0 on success. 1 here.
    /* 26 */ virtual int32_t Create(int32_t width, int32_t height);
    // 255 inside (0, 0, width, height) as GetSize reports it, 0 outside.
    /* 27 */ virtual int32_t GetAlphaAt(int32_t x, int32_t y) const;
};

// The rate pair of a fade level: (destination rate, source rate).
inline uint32_t FadeDstRate(int32_t level)
{
    return 0xFFFFFFu - (uint32_t(level) & 0xFF) * 0x010101u;
}
// The source rate of a fade level.
inline uint32_t FadeSrcRate(int32_t level) { return (uint32_t(level) & 0xFF) * 0x010101u; }
