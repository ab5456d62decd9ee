// Scene transitions: 83 effects that draw a source plane onto any drawing target step by step as
// a phase runs from 0 to 256, built only from ordinary transfers on many small pieces of the
// source. TransitionTable holds them by effect number; TransitionStep is the frame they share.
#pragma once

#include <pyro/graphics/Plane.h>
#include <pyro/graphics/PlaneBase.h>
#include <pyro/graphics/Rect.h>

#include <cstdint>

// An effect: draws `src` with its top-left corner at (x, y) on `dst` at `phase` (0: nothing,
// 256 and above: the whole source) with the transfer of `mode` (0 BltFast, 1 Blt,
// 2 BlendBltAlphaFade with the low byte of `fade`, 3 BltNatural; others draw nothing). `clip`
// may be null and is passed on to every transfer. Returns 0, or at phase 256 the result of the
// one whole transfer.
using TransitionFunc = int32_t (*)(CPlaneBase* dst, CPlane* src, int32_t x, int32_t y,
                                   int32_t phase, int32_t mode, int32_t fade, Rect* clip);

// The number of effects.
constexpr int32_t TransitionCount = 83;
// Effect numbers 0 to 82; 0 and 1 are the same effect.
extern const TransitionFunc TransitionTable[TransitionCount];
// A short English name of each effect, such as "dissolve from top" or "spiral inward 4".
extern const char* const TransitionName[TransitionCount];

// One step of one effect, as its body sees it: the phase is 1 to 255, the mode 0 to 3 and the
// source at least 1 by 1. Bodies describe pieces of the source; the frame clamps them and
// issues the transfers.
struct TransitionStep {
    CPlaneBase* dst;  // the drawing target
    CPlane* src;  // the picture coming in
    int32_t x;  // where the source's top-left corner goes, across
    int32_t y;  // and down
    int32_t phase;  // 1 to 255
    int32_t mode;  // 0 to 3, as TransitionFunc
    int32_t fade;  // the fade level of mode 2
    Rect* clip;  // passed to every transfer; may be null
    int32_t w;  // the source's width
    int32_t h;  // the source's height

    // Draws the source piece at (left, top) of width by height where it belongs, x + left,
    // y + top, moved by (dx, dy). The piece is first cut to the source; cutting its left or top
    // keeps the remaining pixels in place.
    void Draw(int64_t left, int64_t top, int64_t width, int64_t height, int64_t dx = 0,
              int64_t dy = 0) const;
    // Draws the source piece, which must lie inside the source, at the destination point
    // (dstX, dstY) stretched to toWidth by toHeight.
    void DrawStretched(int64_t left, int64_t top, int64_t width, int64_t height, int64_t dstX,
                       int64_t dstY, int64_t toWidth, int64_t toHeight) const;
    // One transfer in the mode's operation.
    int32_t Transfer(int32_t px, int32_t py, const Rect* srcRect, const Size* size) const;
};

// Visits the tiles of tileW by tileH pixels row by row from the top, left to right, with the
// source coordinates of their top-left corners.
template <class Visit>
void ForEachTile(const TransitionStep& t, int32_t tileW, int32_t tileH, Visit visit)
{
    for (int32_t r = 0; r < t.h; r += tileH)
        for (int32_t c = 0; c < t.w; c += tileW) visit(c, r);
}

// The body of an effect: the pieces of one step.
using TransitionBody = void (*)(const TransitionStep& step);

// The frame every effect shares: nothing at phase 0 or below, the whole source at 256 and
// above, the body in between; a null target or source and an unknown mode draw nothing.
int32_t RunTransition(TransitionBody body, CPlaneBase* dst, CPlane* src, int32_t x, int32_t y,
                      int32_t phase, int32_t mode, int32_t fade, Rect* clip);

template <TransitionBody Body>
// An effect as a TransitionFunc: RunTransition with its body.
int32_t Transition(CPlaneBase* dst, CPlane* src, int32_t x, int32_t y, int32_t phase,
                   int32_t mode, int32_t fade, Rect* clip)
{
    return RunTransition(Body, dst, src, x, y, phase, mode, fade, clip);
}
