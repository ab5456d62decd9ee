// Transition effects that fill a regular pattern: squares growing in a grid, vertical and
// horizontal blinds, slanted blinds and the spiral dithers.
#include "graphics/transfer/TransitionEffects.h"

namespace {

// 4 by 4 orders in which the cells of each block appear, indexed [row][column]: A from the
// outside in, B from the centre out.
constexpr int32_t SpiralA[4][4] = {{0, 1, 2, 3}, {11, 12, 13, 4}, {10, 15, 14, 5}, {9, 8, 7, 6}};
constexpr int32_t SpiralB[4][4] = {{6, 7, 8, 9}, {5, 0, 1, 10}, {4, 3, 2, 11}, {15, 14, 13, 12}};

// In every cell of the grid a square grows from its top-left corner; `shift` makes the side
// reach the cell size just before phase 256.
void GridSquares(const TransitionStep& t, int32_t cell, int32_t shift)
{
    const int32_t side = t.phase >> shift;
    if (side == 0) return;
    ForEachTile(t, cell, cell, [&](int32_t c, int32_t r) { t.Draw(c, r, side, side); });
}

// Lines i with (i mod period) up to the phase's count are drawn; reversed counts from the
// period's other end. The count reaches period - 1 at the end. One transfer per line.
void Blinds(const TransitionStep& t, bool rows, int32_t period, bool reversed)
{
    const int32_t count = t.phase / (256 / period);
    const int32_t lines = rows ? t.h : t.w;
    for (int32_t i = 0; i < lines; ++i) {
        const int32_t slot = reversed ? period - 1 - i % period : i % period;
        if (count < slot) continue;
        if (rows) t.Draw(0, i, t.w, 1);
        else t.Draw(i, 0, 1, t.h);
    }
}

// Segments every `period` pixels of each row, each row's start one pixel further left, so the
// blinds lean; the segments widen with the phase.
void SlantedBlinds(const TransitionStep& t, int32_t period, int32_t width)
{
    if (width == 0) return;
    for (int32_t i = 0; i < t.h; ++i)
        for (int64_t s = -(i % (period - 1)); s < t.w; s += period) t.Draw(s, i, width, 1);
}

// Cells of cell by cell pixels appear in the order of the 4 by 4 matrix tiled over them.
void Spiral(const TransitionStep& t, int32_t cell, const int32_t (&matrix)[4][4])
{
    const int32_t step = t.phase >> 4;
    ForEachTile(t, cell, cell, [&](int32_t c, int32_t r) {
        if (step >= matrix[(r / cell) % 4][(c / cell) % 4]) t.Draw(c, r, cell, cell);
    });
}

}  // namespace

void GridSquares4(const TransitionStep& t) { GridSquares(t, 4, 6); }
void GridSquares8(const TransitionStep& t) { GridSquares(t, 8, 5); }
void GridSquares16(const TransitionStep& t) { GridSquares(t, 16, 4); }

void BlindColumns8(const TransitionStep& t) { Blinds(t, false, 8, false); }
void BlindColumns8Reversed(const TransitionStep& t) { Blinds(t, false, 8, true); }
void BlindColumns16(const TransitionStep& t) { Blinds(t, false, 16, false); }
void BlindColumns16Reversed(const TransitionStep& t) { Blinds(t, false, 16, true); }
void BlindRows8(const TransitionStep& t) { Blinds(t, true, 8, false); }
void BlindRows8Reversed(const TransitionStep& t) { Blinds(t, true, 8, true); }
void BlindRows16(const TransitionStep& t) { Blinds(t, true, 16, false); }
void BlindRows16Reversed(const TransitionStep& t) { Blinds(t, true, 16, true); }

void SlantedBlinds8(const TransitionStep& t) { SlantedBlinds(t, 8, t.phase >> 5); }
void SlantedBlinds16(const TransitionStep& t) { SlantedBlinds(t, 16, t.phase >> 4); }

void SpiralInward1(const TransitionStep& t) { Spiral(t, 1, SpiralA); }
void SpiralOutward1(const TransitionStep& t) { Spiral(t, 1, SpiralB); }
void SpiralInward2(const TransitionStep& t) { Spiral(t, 2, SpiralA); }
void SpiralOutward2(const TransitionStep& t) { Spiral(t, 2, SpiralB); }
void SpiralInward4(const TransitionStep& t) { Spiral(t, 4, SpiralA); }
void SpiralOutward4(const TransitionStep& t) { Spiral(t, 4, SpiralB); }
void SpiralInward8(const TransitionStep& t) { Spiral(t, 8, SpiralA); }
void SpiralOutward8(const TransitionStep& t) { Spiral(t, 8, SpiralB); }
