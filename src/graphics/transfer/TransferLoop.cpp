// The parts of the transfer loop that do not depend on a set: the column table of a stretch with
// its gather, and the test for rows that join. Every set shares this one compiled copy.
#include "graphics/transfer/TransferLoop.h"

#include <algorithm>

ColumnTable::ColumnTable(const TransferState& st, bool mirrored, size_t group)
    : width_(size_t(st.dst.right - st.dst.left)), columns_(localColumns_),
      scratch_(localScratch_), groups_(localGroups_), offsets_(localOffsets_)
{
    const size_t width = width_;
    if (width > kLocalColumns) {
        heapColumns_.reset(new int32_t[width]);
        heapScratch_.reset(new uint32_t[width]);
        heapGroups_.reset(new Group[width / 4]);
        heapOffsets_.reset(new int32_t[width]);
        columns_ = heapColumns_.get();
        scratch_ = heapScratch_.get();
        groups_ = heapGroups_.get();
        offsets_ = heapOffsets_.get();
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
    if (group < 4 || group > 8) return;
    const size_t runs = width / group;
    for (size_t g = 0; g < runs; ++g) {
        const int32_t* run = columns + g * group;
        const int32_t low = std::min(run[0], run[group - 1]);
        const int32_t high = std::max(run[0], run[group - 1]);
        Group& out = groups_[g];
        out = Group{-1, ~0u, 1};
        if (high - low >= int32_t(group) || low + int32_t(group) > end_) continue;
        out = Group{low, 0, 1};
        for (size_t k = 0; k < group; ++k) {
            offsets_[g * group + k] = run[k] - low;
            if (group == 4) out.shape |= uint32_t(run[k] - low) << (2 * k);
        }
    }
    for (size_t g = runs; g-- > 1;)
        if (groups_[g - 1].shape == groups_[g].shape) groups_[g - 1].same = groups_[g].same + 1;
}

ColumnTable::~ColumnTable() = default;

void ColumnTable::Gather(uint32_t* out, const uint32_t* row) const { Gather(out, row, 0, width_); }

void ColumnTable::Gather(uint32_t* out, const uint32_t* row, size_t first, size_t last) const
{
    const int32_t* columns = columns_;
    size_t i = first;
    for (; i + 4 <= last; i += 4) {
        const uint32_t a = row[columns[i]];
        const uint32_t b = row[columns[i + 1]];
        const uint32_t c = row[columns[i + 2]];
        const uint32_t d = row[columns[i + 3]];
        out[i] = a;
        out[i + 1] = b;
        out[i + 2] = c;
        out[i + 3] = d;
    }
    for (; i < last; ++i) out[i] = row[columns[i]];
}

bool RowsJoin(const TransferState& st, const PixelView& dst, const PixelView& src)
{
    const ptrdiff_t rowBytes = ptrdiff_t(st.dst.right - st.dst.left) * 4;
    return src.base != dst.base && dst.pitch == rowBytes && src.pitch == rowBytes;
}
