// Transition effects drawn one whole row or column at a time: mirrors, bulges, jitter,
// interlaced wipes, curtains and waves.
#include "graphics/transfer/CosTable.h"
#include "graphics/transfer/TransitionEffects.h"
#include "graphics/transfer/TransitionRandom.h"

#include <cmath>

namespace {

// Part of row (or column) i from `from` of `length` pixels, moved along the line by `shift`.
void DrawLine(const TransitionStep& t, bool rows, int64_t i, int64_t from, int64_t length,
              int64_t shift = 0)
{
    if (rows) t.Draw(from, i, length, 1, shift, 0);
    else t.Draw(i, from, 1, length, 0, shift);
}

// Each line stretched along itself by a sine hump across the lines, shrinking back to the
// plain picture as the phase rises; the stretch grows equally on both sides.
void Bulge(const TransitionStep& t, bool rows)
{
    const double f = (256 - t.phase) / 256.0;
    const int64_t lines = rows ? t.h : t.w;
    const int64_t length = rows ? t.w : t.h;
    for (int64_t i = 0; i < lines; ++i) {
        const double s = 2.0 * Cos512(int32_t(i * 256 / lines + 384)) * f / 65536.0;
        const int64_t stretched = int64_t((s + 1.0) * double(length));
        const int64_t moved = int64_t(double(length >> 1) * s);
        if (rows) t.DrawStretched(0, i, t.w, 1, t.x - moved, t.y + i, stretched, 1);
        else t.DrawStretched(i, 0, 1, t.h, t.x + i, t.y - moved, 1, stretched);
    }
}

// Even lines grow from the near edge, odd lines from the far edge (one pixel longer there).
void Interlace(const TransitionStep& t, bool rows)
{
    const int64_t lines = rows ? t.h : t.w;
    const int64_t length = rows ? t.w : t.h;
    const int64_t grown = t.phase * length / 256;
    for (int64_t i = 0; i < lines; i += 2) {
        DrawLine(t, rows, i, 0, grown);
        if (i + 1 < lines) DrawLine(t, rows, i + 1, length - grown - 1, grown + 1);
    }
}

// Lines 4k from the near edge and 4k + 2 from the far edge in the first half of the phase;
// lines 4k + 1 and 4k + 3 join in the second half.
void InterlaceTwice(const TransitionStep& t, bool rows)
{
    const int64_t lines = rows ? t.h : t.w;
    const int64_t length = rows ? t.w : t.h;
    const int64_t first = t.phase * length / 128;
    const int64_t second = t.phase > 128 ? (t.phase - 128) * length / 128 : 0;
    for (int64_t i = 0; i < lines; i += 4) {
        DrawLine(t, rows, i, 0, first);
        DrawLine(t, rows, i + 2, length - first, first);
        if (second > 0) {
            DrawLine(t, rows, i + 1, 0, second);
            DrawLine(t, rows, i + 3, length - second, second);
        }
    }
}

// The six rows at the curtain's edge swing alternately left and right, further each row.
void CurtainEdge(const TransitionStep& t, int64_t firstRow, int64_t direction)
{
    const int64_t w = t.w;
    const int64_t shifts[6] = {-w / 9, w / 9, -2 * w / 9, 2 * w / 9, -w / 3, w / 3};
    for (int j = 0; j < 6; ++j) {
        const int64_t row = firstRow + direction * j;
        if (row >= 0 && row < t.h) DrawLine(t, true, row, 0, w, shifts[j]);
    }
}

// Row i moved sideways by amplitude * the table entry of angle(i) / 65536.
template <class Angle>
void WaveRows(const TransitionStep& t, int64_t amplitude, Angle angle)
{
    for (int64_t i = 0; i < t.h; ++i)
        DrawLine(t, true, i, 0, t.w, (Cos512(angle(int32_t(i))) * amplitude) >> 16);
}

}  // namespace

void MirrorColumns(const TransitionStep& t)
{
    for (int64_t i = 0; i < t.w; ++i) t.Draw(i, 0, 1, t.h, t.w - 1 - 2 * i, 0);
}

void MirrorRows(const TransitionStep& t)
{
    for (int64_t i = 0; i < t.h; ++i) t.Draw(0, i, t.w, 1, 0, t.h - 1 - 2 * i);
}

void BulgeRows(const TransitionStep& t) { Bulge(t, true); }
void BulgeColumns(const TransitionStep& t) { Bulge(t, false); }

void JitterRows(const TransitionStep& t)
{
    const int32_t range = 256 - t.phase;
    for (int64_t i = 0; i < t.h; ++i)
        DrawLine(t, true, i, 0, t.w, TransitionRand() % range - range / 2);
}

void InterlaceRows(const TransitionStep& t) { Interlace(t, true); }
void InterlaceColumns(const TransitionStep& t) { Interlace(t, false); }
void InterlaceRowsTwice(const TransitionStep& t) { InterlaceTwice(t, true); }
void InterlaceColumnsTwice(const TransitionStep& t) { InterlaceTwice(t, false); }

void CurtainDown(const TransitionStep& t)
{
    const int64_t v = t.phase * int64_t(t.h) / 256;
    t.Draw(0, 0, t.w, v);
    CurtainEdge(t, v, 1);
}

void CurtainUp(const TransitionStep& t)
{
    const int64_t v = t.phase * int64_t(t.h) / 256;
    t.Draw(0, t.h - v, t.w, v);
    CurtainEdge(t, t.h - v - 1, -1);
}

// Entry 256 + i of the cosine table is the negated entry i.
void Wave(const TransitionStep& t)
{
    WaveRows(t, 2 * (255 - t.phase), [](int32_t i) { return i; });
}

void WaveInverted(const TransitionStep& t)
{
    WaveRows(t, 2 * (255 - t.phase), [](int32_t i) { return i + 256; });
}

void ShortWave(const TransitionStep& t)
{
    WaveRows(t, 255 - t.phase, [](int32_t i) { return (i % 64) * 8; });
}

void ShortWaveInverted(const TransitionStep& t)
{
    WaveRows(t, 255 - t.phase, [](int32_t i) { return (i % 64) * 8 + 256; });
}
