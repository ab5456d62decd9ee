// Transition effects that draw small tiles at random: scatter, dissolves and the noisy circle.
// The tiles take their numbers from the transition generator in tile order, so the same seed
// draws the same pieces.
#include "graphics/transfer/TransitionEffects.h"
#include "graphics/transfer/TransitionRandom.h"

#include <cmath>

namespace {

int32_t RandomByte() { return TransitionRand() & 0xFF; }

// A 4 by 2 tile is drawn when its threshold reaches a random byte; the threshold rises with
// the phase, and with the tile's place for the directed dissolves.
template <class Threshold>
void DissolveTiles(const TransitionStep& t, Threshold threshold)
{
    ForEachTile(t, 4, 2, [&](int32_t c, int32_t r) {
        if (threshold(int64_t(c), int64_t(r)) >= RandomByte()) t.Draw(c, r, 4, 2);
    });
}

}  // namespace

// Tiles not yet due show a nearby part of the source, closer as the phase rises.
void Scatter(const TransitionStep& t)
{
    const int32_t p = t.phase;
    const int32_t k = p <= 127 ? 10 : p <= 199 ? 6 : p <= 229 ? 4 : 2;
    ForEachTile(t, 4, 2, [&](int32_t c, int32_t r) {
        int32_t mx = 0;
        int32_t my = 0;
        if (p < RandomByte()) {
            mx = TransitionRand() % k;
            my = TransitionRand() % k;
            // A move that would leave the source is not made on that axis.
            if (int64_t(c) + mx + 4 > t.w) mx = 0;
            if (int64_t(r) + my + 2 > t.h) my = 0;
        }
        t.Draw(int64_t(c) + mx, int64_t(r) + my, 4, 2, -mx, -my);
    });
}

void Dissolve(const TransitionStep& t)
{
    DissolveTiles(t, [&](int64_t, int64_t) { return int64_t(t.phase); });
}

// The directed dissolves sweep a 256-wide band of thresholds across the picture: a tile's
// place gives 0 to 255, twice the phase less 256 moves the band.
void DissolveFromTop(const TransitionStep& t)
{
    DissolveTiles(t, [&](int64_t, int64_t r) { return (t.h - r - 1) * 256 / t.h + 2 * t.phase - 256; });
}

void DissolveFromBottom(const TransitionStep& t)
{
    DissolveTiles(t, [&](int64_t, int64_t r) { return r * 256 / t.h + 2 * t.phase - 256; });
}

void DissolveFromLeft(const TransitionStep& t)
{
    DissolveTiles(t, [&](int64_t c, int64_t) { return (t.w - c - 1) * 256 / t.w + 2 * t.phase - 256; });
}

void DissolveFromRight(const TransitionStep& t)
{
    DissolveTiles(t, [&](int64_t c, int64_t) { return c * 256 / t.w + 2 * t.phase - 256; });
}

// 2 by 2 blocks around a growing radius from the centre, the edge frayed by up to 255 pixels.
void NoisyCircle(const TransitionStep& t)
{
    const int64_t radius = t.phase * (int64_t(t.w) + t.h) / 256;
    ForEachTile(t, 2, 2, [&](int32_t bx, int32_t by) {
        const double dx = 2.0 * bx - t.w;
        const double dy = 2.0 * by - t.h;
        if (double(radius) - std::sqrt(dx * dx + dy * dy) >= RandomByte()) t.Draw(bx, by, 2, 2);
    });
}
