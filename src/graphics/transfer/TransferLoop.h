// The one loop shape of every transfer: it walks the destination rectangle a TransferState
// describes row by row and hands each row, with a cursor over its source pixels, to a row
// function. Each transfer set supplies one row function per pixel rule; the rows, the mirroring
// and the stretch stepping live here only. A stretch works out the source column of every
// destination column once per transfer (ColumnTable), since the stepping is the same on every
// row; each source row it reads is gathered through that table once, and the row function then
// runs over the gathered pixels as over an unstretched row.
#pragma once

#include <pyro/graphics/transfer/TransferState.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

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

// The same pixel for every read (the colour of AddColor and SubColor).
struct FixedCursor {
    uint32_t pixel;
    uint32_t Next() { return pixel; }
};

// The source column each destination column of a stretched transfer reads (the set-up's error
// stepping followed from the clipped start, and the edge column for the last xClamped pixels),
// and room for one source row gathered through it.
class ColumnTable {
public:
    // A run of `group` table entries, for gathers that move that many pixels at once: base is
    // the lowest column of the run when every column lies within `group` pixels from it (and
    // those pixels lie before End()), -1 otherwise. shape is all ones in runs without a base;
    // in runs of four with one it holds each entry's column - base in two bits, the first
    // entry lowest (the selector of a four-lane shuffle), and 0 in longer runs. same counts
    // the runs from this one on with its shape, so that a gather can treat them in one loop.
    struct Group {
        int32_t base;
        uint32_t shape;
        uint32_t same;
    };
    // group, 4 or 8, makes the table describe its entries in runs of that many (Groups(),
    // Offsets()); 0 leaves them undescribed.
    ColumnTable(const TransferState& st, bool mirrored, size_t group = 0);
    // Out of line, like every function of this class with a body of any size: the files of the
    // vector sets are compiled for their instructions, and a copy of an inline function emitted
    // there could be the one the linker keeps for every caller.
    ~ColumnTable();
    ColumnTable(const ColumnTable&) = delete;
    ColumnTable& operator=(const ColumnTable&) = delete;
    // out[i] = row[column i] for every destination column, one pixel at a time.
    void Gather(uint32_t* out, const uint32_t* row) const;
    // The same for the entries first to last - 1 only.
    void Gather(uint32_t* out, const uint32_t* row, size_t first, size_t last) const;
    const int32_t* Columns() const { return columns_; }
    size_t Width() const { return width_; }
    // One past the rightmost column any entry names.
    int32_t End() const { return end_; }
    // A row of the table's width for Gather, owned by the table.
    uint32_t* Scratch() const { return scratch_; }
    // Run g covers entries g * group to g * group + group - 1; the entries after the last full
    // run belong to none.
    const Group* Groups() const { return groups_; }
    // Each entry's column - base of its run, where the run has a base.
    const int32_t* Offsets() const { return offsets_; }

private:
    // Tables of screen-sized transfers stay on the stack; wider ones take the heap.
    static constexpr size_t kLocalColumns = 1024;
    size_t width_;
    int32_t end_;
    int32_t localColumns_[kLocalColumns];
    uint32_t localScratch_[kLocalColumns];
    Group localGroups_[kLocalColumns / 4];
    int32_t localOffsets_[kLocalColumns];
    std::unique_ptr<int32_t[]> heapColumns_;
    std::unique_ptr<uint32_t[]> heapScratch_;
    std::unique_ptr<Group[]> heapGroups_;
    std::unique_ptr<int32_t[]> heapOffsets_;
    int32_t* columns_;
    uint32_t* scratch_;
    Group* groups_;
    int32_t* offsets_;
};

// Whether the rows of a one-to-one transfer from src onto dst form one unbroken run of pixels
// in each plane (whole rows of planes as wide as the transfer), so that the rows can be treated
// as one. Only for two different planes: within one plane the order of the rows matters.
bool RowsJoin(const TransferState& st, const PixelView& dst, const PixelView& src);

// The source row of each destination row of a stretch: the set-up's error stepping, and the
// source rectangle's bottom row for the last yClamped rows.
class RowStepper {
public:
    explicit RowStepper(const TransferState& st)
        : st_(st), row_(size_t(st.srcTop)), error_(st.yError),
          stepped_(size_t(st.dst.bottom - st.dst.top) - size_t(st.yClamped))
    {
    }
    // The source row of destination row r (rows asked for in order, each once).
    size_t Row(size_t r)
    {
        const size_t row = r < stepped_ ? row_ : size_t(st_.srcBottom - 1);
        const uint32_t sum = error_ + st_.yRemainder;
        const uint32_t carry = sum < error_ ? 1u : 0u;
        row_ += st_.yStep + carry;
        error_ = sum - (st_.yDenominator & (0u - carry));
        return row;
    }

private:
    const TransferState& st_;
    size_t row_;
    uint32_t error_;
    size_t stepped_;
};

// A pixel rule that never reads the destination (an unkeyed copy) marks itself with
// kIgnoresDestination: a stretch then gathers straight into the destination row and applies the
// rule there, and repeats a destination row instead of gathering the same source row again.
template <class Rule, class = void>
struct IgnoresDestination : std::false_type {};
template <class Rule>
struct IgnoresDestination<Rule, std::void_t<decltype(Rule::kIgnoresDestination)>>
    : std::bool_constant<Rule::kIgnoresDestination> {};

// A row function that can apply its rule along two destination rows from one source row, each
// source pixel read once, marks itself with kPairs and offers Pair(d0, d1, count, cursor).
template <class RowFn, class = void>
struct HasPairs : std::false_type {};
template <class RowFn>
struct HasPairs<RowFn, std::void_t<decltype(RowFn::kPairs)>>
    : std::bool_constant<RowFn::kPairs> {};

// What the sets without an instruction for it share: the source rows of a stretch gathered one
// pixel at a time, and nothing to do after a loop.
struct PixelAtATimeGather {
    static constexpr size_t kGatherGroup = 0;
    static void Gather(const ColumnTable& table, uint32_t* out, const uint32_t* row)
    {
        table.Gather(out, row);
    }
    static void Leave() {}
};

// Calls row(destination pixels, count, cursor) for every destination row of the state. The row
// function reaches the pixel rule as its member rule; Set::Gather(table, out, row) gathers the
// source rows of a stretch.
template <bool Mirrored, class Set, class RowFn>
void ForEachTransferRow(const TransferState& st, const PixelView& dst, const PixelView& src,
                        RowFn&& row)
{
    size_t width = size_t(st.dst.right - st.dst.left);
    size_t height = size_t(st.dst.bottom - st.dst.top);
    uint8_t* dRow = dst.base + st.dst.top * dst.pitch + ptrdiff_t(st.dst.left) * 4;

    if (st.oneToOne) {
        const uint8_t* sRow = src.base + st.srcTop * src.pitch;
        if (!Mirrored && RowsJoin(st, dst, src)) {
            width *= height;
            height = 1;
        }
        for (size_t r = 0; r < height; ++r) {
            const uint32_t* s = reinterpret_cast<const uint32_t*>(sRow);
            LinearCursor<Mirrored> cursor{s + (Mirrored ? st.srcRight : st.srcLeft)};
            row(reinterpret_cast<uint32_t*>(dRow), width, cursor);
            sRow += src.pitch;
            dRow += dst.pitch;
        }
        return;
    }

    // Within one plane a row written can be a row read later: every row is gathered afresh.
    const bool apart = src.base != dst.base;
    using Rule = std::remove_cv_t<decltype(std::decay_t<RowFn>::rule)>;
    const bool inPlace = IgnoresDestination<Rule>::value && apart;
    const ColumnTable columns(st, Mirrored, Set::kGatherGroup);
    RowStepper rows(st);
    size_t lastRow = ~size_t(0);
    size_t sy = rows.Row(0);
    for (size_t r = 0; r < height;) {
        // The stepping runs a row ahead, to see two destination rows that read one source row.
        const size_t next = r + 1 < height ? rows.Row(r + 1) : ~size_t(0);
        uint32_t* d = reinterpret_cast<uint32_t*>(dRow);
        const uint32_t* s =
            reinterpret_cast<const uint32_t*>(src.base + ptrdiff_t(sy) * src.pitch);
        size_t done = 1;
        if (inPlace) {
            if (sy == lastRow) {
                std::memcpy(d, dRow - dst.pitch, width * 4);
            } else {
                Set::Gather(columns, d, s);
                LinearCursor<false> cursor{d};
                row(d, width, cursor);
            }
        } else {
            if (sy != lastRow || !apart) Set::Gather(columns, columns.Scratch(), s);
            LinearCursor<false> cursor{columns.Scratch()};
            if constexpr (HasPairs<std::decay_t<RowFn>>::value) {
                if (apart && next == sy) {
                    row.Pair(d, reinterpret_cast<uint32_t*>(dRow + dst.pitch), width, cursor);
                    done = 2;
                } else {
                    row(d, width, cursor);
                }
            } else {
                row(d, width, cursor);
            }
        }
        lastRow = sy;
        r += done;
        dRow += ptrdiff_t(done) * dst.pitch;
        sy = done == 1 ? next : r < height ? rows.Row(r) : 0;
    }
}
