// The parts of the transfer loop that do not depend on a set: the column table of a stretch with
// its gather, and the test for rows that join. Every set shares this one compiled copy.
#include "graphics/transfer/TransferLoop.h"

#include <algorithm>

ColumnTable::ColumnTable(const TransferState& st, bool mirrored)
    : width_(size_t(st.dst.right - st.dst.left)), columns_(localColumns_),
      scratch_(localScratch_)
{
    const size_t width = width_;
    if (width > kLocalColumns) {
        heapColumns_.reset(new int32_t[width]);
        heapScratch_.reset(new uint32_t[width]);
        columns_ = heapColumns_.get();
        scratch_ = heapScratch_.get();
    }
    int32_t* columns = columns_;
    // The index runs unsigned so that the step after the last read, which is never stored, is
    // well defined whatever its size; a mirrored index is one past the pixel read.
    const size_t stepped = width - size_t(st.xClamped);
    size_t index = size_t(mirrored ? st.srcRight : st.srcLeft);
    uint32_t error = st.xError;
    for (size_t i = 0; i < stepped; ++i) {
        columns[i] = int32_t(mirrored ? index - 1 : index);
        const uint32_t sum = error + st.xRemainder;
        const uint32_t carry = sum < error ? 1u : 0u;
        index = mirrored ? index - st.xStep - carry : index + st.xStep + carry;
        error = sum - (st.xDenominator & (0u - carry));
    }
    const int32_t edge = mirrored ? st.srcLeft : st.srcRight - 1;
    for (size_t i = stepped; i < width; ++i) columns[i] = edge;
    // The columns only rise, or only fall: the rightmost is at one end.
    end_ = std::max(columns[0], columns[width - 1]) + 1;
}

ColumnTable::~ColumnTable() = default;

void ColumnTable::Gather(uint32_t* out, const uint32_t* row) const
{
    const int32_t* columns = columns_;
    const size_t width = width_;
    size_t i = 0;
    for (; i + 4 <= width; i += 4) {
        const uint32_t a = row[columns[i]];
        const uint32_t b = row[columns[i + 1]];
        const uint32_t c = row[columns[i + 2]];
        const uint32_t d = row[columns[i + 3]];
        out[i] = a;
        out[i + 1] = b;
        out[i + 2] = c;
        out[i + 3] = d;
    }
    for (; i < width; ++i) out[i] = row[columns[i]];
}

bool RowsJoin(const TransferState& st, const PixelView& dst, const PixelView& src)
{
    const ptrdiff_t rowBytes = ptrdiff_t(st.dst.right - st.dst.left) * 4;
    return src.base != dst.base && dst.pitch == rowBytes && src.pitch == rowBytes;
}
