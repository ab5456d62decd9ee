// The one loop shape of every transfer: it walks the destination rectangle a TransferState
// describes row by row and hands each row, with a cursor over its source pixels, to a row
// function. The portable and the MMX set each supply one row function per pixel rule; the
// rows, the mirroring and the stretch stepping live here only.
#pragma once

#include <pyro/graphics/transfer/TransferState.h>

#include <cstddef>
#include <cstdint>

// One-to-one source: consecutive pixels, leftwards for a mirrored transfer (each read takes the
// pixel before the pointer).
template <bool Mirrored>
struct LinearCursor {
    const uint32_t* p;
    uint32_t Next()
    {
        if constexpr (Mirrored) return *--p;
        else return *p++;
    }
};

// Stretched source: advances step pixels per read, plus one when adding the remainder to the
// error carries out of 32 bits. Indexes are unsigned so that the step past the last read,
// which is never dereferenced, is well defined whatever its size.
template <bool Mirrored>
struct StepCursor {
    const uint32_t* row;
    size_t index;  // Mirrored: one past the next pixel read
    uint32_t error;
    uint32_t remainder;
    uint32_t denominator;
    size_t step;
    uint32_t Next()
    {
        const uint32_t pixel = Mirrored ? row[index - 1] : row[index];
        const uint32_t sum = error + remainder;
        const uint32_t carry = sum < error ? 1u : 0u;
        index = Mirrored ? index - step - carry : index + step + carry;
        error = sum - (denominator & (0u - carry));
        return pixel;
    }
};

// The pixels past the source rectangle's edge that a mirrored stretch would reach: the edge.
struct FixedCursor {
    uint32_t pixel;
    uint32_t Next() { return pixel; }
};

// Calls row(destination pixels, count, cursor) for every destination row of the state.
template <bool Mirrored, class RowFn>
void ForEachTransferRow(const TransferState& st, const PixelView& dst, const PixelView& src,
                        RowFn&& row)
{
    const size_t width = size_t(st.dst.right - st.dst.left);
    const size_t height = size_t(st.dst.bottom - st.dst.top);
    uint8_t* dRow = dst.base + st.dst.top * dst.pitch + ptrdiff_t(st.dst.left) * 4;

    if (st.oneToOne) {
        const uint8_t* sRow = src.base + st.srcTop * src.pitch;
        for (size_t r = 0; r < height; ++r) {
            const uint32_t* s = reinterpret_cast<const uint32_t*>(sRow);
            LinearCursor<Mirrored> cursor{s + (Mirrored ? st.srcRight : st.srcLeft)};
            row(reinterpret_cast<uint32_t*>(dRow), width, cursor);
            sRow += src.pitch;
            dRow += dst.pitch;
        }
        return;
    }

    const size_t stepped = width - size_t(st.xClamped);
    const size_t steppedRows = height - size_t(st.yClamped);
    const size_t edgeColumn = size_t(Mirrored ? st.srcLeft : st.srcRight - 1);
    size_t sy = size_t(st.srcTop);
    uint32_t yError = st.yError;
    for (size_t r = 0; r < height; ++r) {
        const size_t rowIndex = r < steppedRows ? sy : size_t(st.srcBottom - 1);
        const uint32_t* s =
            reinterpret_cast<const uint32_t*>(src.base + ptrdiff_t(rowIndex) * src.pitch);
        uint32_t* d = reinterpret_cast<uint32_t*>(dRow);
        StepCursor<Mirrored> cursor{s, size_t(Mirrored ? st.srcRight : st.srcLeft), st.xError,
                                    st.xRemainder, st.xDenominator, st.xStep};
        row(d, stepped, cursor);
        if (st.xClamped) {
            FixedCursor edge{s[edgeColumn]};
            row(d + stepped, size_t(st.xClamped), edge);
        }
        const uint32_t sum = yError + st.yRemainder;
        const uint32_t carry = sum < yError ? 1u : 0u;
        sy += st.yStep + carry;
        yError = sum - (st.yDenominator & (0u - carry));
        dRow += dst.pitch;
    }
}
