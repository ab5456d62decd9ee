// The frame shared by the transition effects (phase limits, the mode's transfer, clamping the
// pieces to the source) and the table of effects by number.
#include <pyro/graphics/transfer/Transition.h>

#include "graphics/transfer/TransitionEffects.h"

#include <algorithm>
#include <limits>

namespace {

// A destination rectangle whose coordinates leave the 32-bit range cannot reach any target's
// pixels; such pieces are dropped instead of being handed to a transfer with wrapped values.
bool Fits(int64_t pos, int64_t extent)
{
    return pos >= std::numeric_limits<int32_t>::min() &&
           pos + extent <= std::numeric_limits<int32_t>::max();
}

}  // namespace

int32_t TransitionStep::Transfer(int32_t px, int32_t py, const Rect* srcRect,
                                 const Size* size) const
{
    switch (mode) {
    case 0: return dst->BltFast(src, px, py, srcRect, size, clip);
    case 1: return dst->Blt(src, px, py, srcRect, size, clip);
    case 2: return dst->BlendBltAlphaFade(src, px, py, fade, srcRect, size, clip);
    case 3: return dst->BltNatural(src, px, py, srcRect, size, clip);
    default: return 0;
    }
}

void TransitionStep::Draw(int64_t left, int64_t top, int64_t width, int64_t height, int64_t dx,
                          int64_t dy) const
{
    if (left < 0) {
        width += left;
        left = 0;
    }
    if (top < 0) {
        height += top;
        top = 0;
    }
    width = std::min<int64_t>(width, w - left);
    height = std::min<int64_t>(height, h - top);
    if (width <= 0 || height <= 0) return;
    const int64_t px = x + left + dx;
    const int64_t py = y + top + dy;
    if (!Fits(px, width) || !Fits(py, height)) return;
    const Rect piece{int32_t(left), int32_t(top), int32_t(left + width), int32_t(top + height)};
    Transfer(int32_t(px), int32_t(py), &piece, nullptr);
}

void TransitionStep::DrawStretched(int64_t left, int64_t top, int64_t width, int64_t height,
                                   int64_t dstX, int64_t dstY, int64_t toWidth,
                                   int64_t toHeight) const
{
    if (left < 0 || top < 0 || width <= 0 || height <= 0 || left + width > w || top + height > h)
        return;
    if (toWidth <= 0 || toHeight <= 0 || !Fits(dstX, toWidth) || !Fits(dstY, toHeight)) return;
    const Rect piece{int32_t(left), int32_t(top), int32_t(left + width), int32_t(top + height)};
    const Size size{int32_t(toWidth), int32_t(toHeight)};
    Transfer(int32_t(dstX), int32_t(dstY), &piece, &size);
}

int32_t RunTransition(TransitionBody body, CPlaneBase* dst, CPlane* src, int32_t x, int32_t y,
                      int32_t phase, int32_t mode, int32_t fade, Rect* clip)
{
    if (!dst || !src || phase <= 0 || mode < 0 || mode > 3) return 0;
    TransitionStep step{dst, src, x, y, phase, mode, fade, clip, 0, 0};
    if (phase >= 256) return step.Transfer(x, y, nullptr, nullptr);
    src->GetSize(&step.w, &step.h);
    if (step.w <= 0 || step.h <= 0) return 0;
    body(step);
    return 0;
}

const TransitionFunc TransitionTable[TransitionCount] = {
    Transition<MirrorColumns>,          // 0
    Transition<MirrorColumns>,          // 1
    Transition<MirrorRows>,             // 2
    Transition<BulgeRows>,              // 3
    Transition<BulgeColumns>,           // 4
    Transition<JitterRows>,             // 5
    Transition<Scatter>,                // 6
    Transition<Dissolve>,               // 7
    Transition<DissolveFromTop>,        // 8
    Transition<DissolveFromBottom>,     // 9
    Transition<DissolveFromLeft>,       // 10
    Transition<DissolveFromRight>,      // 11
    Transition<SquareCentre>,           // 12
    Transition<SquareTopLeft>,          // 13
    Transition<SquareTopRight>,         // 14
    Transition<SquareBottomLeft>,       // 15
    Transition<SquareBottomRight>,      // 16
    Transition<InterlaceRows>,          // 17
    Transition<InterlaceColumns>,       // 18
    Transition<InterlaceRowsTwice>,     // 19
    Transition<InterlaceColumnsTwice>,  // 20
    Transition<NoisyCircle>,            // 21
    Transition<CurtainDown>,            // 22
    Transition<CurtainUp>,              // 23
    Transition<Wave>,                   // 24
    Transition<WaveInverted>,           // 25
    Transition<ShortWave>,              // 26
    Transition<ShortWaveInverted>,      // 27
    Transition<HalfDiscTop>,            // 28
    Transition<HalfDiscBottom>,         // 29
    Transition<HalfDiscLeft>,           // 30
    Transition<HalfDiscRight>,          // 31
    Transition<Disc>,                   // 32
    Transition<GridSquares4>,           // 33
    Transition<GridSquares8>,           // 34
    Transition<GridSquares16>,          // 35
    Transition<BlindColumns8>,          // 36
    Transition<BlindColumns8Reversed>,  // 37
    Transition<BlindColumns16>,         // 38
    Transition<BlindColumns16Reversed>, // 39
    Transition<BlindRows8>,             // 40
    Transition<BlindRows8Reversed>,     // 41
    Transition<BlindRows16>,            // 42
    Transition<BlindRows16Reversed>,    // 43
    Transition<SlantedBlinds8>,         // 44
    Transition<SlantedBlinds16>,        // 45
    Transition<SpiralInward1>,          // 46
    Transition<SpiralOutward1>,         // 47
    Transition<SpiralInward2>,          // 48
    Transition<SpiralOutward2>,         // 49
    Transition<SpiralInward4>,          // 50
    Transition<SpiralOutward4>,         // 51
    Transition<SpiralInward8>,          // 52
    Transition<SpiralOutward8>,         // 53
    Transition<CrossFade>,              // 54
    Transition<TilesFlyIn>,             // 55
    Transition<RadialFlight>,           // 56
    Transition<RadialFlightFine>,       // 57
    Transition<RadialFlightTurning>,    // 58
    Transition<RadialFlightSwinging>,   // 59
    Transition<RadialFlightScaled>,     // 60
    Transition<Whirl2>,                 // 61
    Transition<Whirl4>,                 // 62
    Transition<Whirl8>,                 // 63
    Transition<WhirlFlight>,            // 64
    Transition<DroppingTiles8>,         // 65
    Transition<DroppingTiles16>,        // 66
    Transition<SettlingJitter>,         // 67
    Transition<SettlingDrift>,          // 68
    Transition<MosaicFade>,             // 69
    Transition<Negative>,               // 70
    Transition<StaircaseLeft16>,        // 71
    Transition<StaircaseRight16>,       // 72
    Transition<StaircaseLeft8>,         // 73
    Transition<StaircaseRight8>,        // 74
    Transition<StaircaseTop16>,         // 75
    Transition<StaircaseBottom16>,      // 76
    Transition<StaircaseTop8>,          // 77
    Transition<StaircaseBottom8>,       // 78
    Transition<SmearFromRight>,         // 79
    Transition<SmearFromLeft>,          // 80
    Transition<SmearFromBottom>,        // 81
    Transition<SmearFromTop>,           // 82
};
