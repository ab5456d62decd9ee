// One-to-one transfers treat the rows of two planes as one run only when both planes are exactly
// as wide as the transfer. These cases sit next to that condition: a full-width transfer from a
// wider or a narrower source, a source rectangle inside a wider plane, and the joining case
// itself, in every set this processor runs and for every unmirrored operation.
#include "graphics/PlaneTesting.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Source pixel (x, y) of a plane: a different colour and alpha at every place.
uint32_t SourcePixel(int32_t x, int32_t y) { return 0x40000000u * uint32_t(x & 3) + 0x00100000u * uint32_t(y + 1) + 0x00000101u * uint32_t(x + 1); }

std::vector<uint32_t> SourcePixels(int32_t w, int32_t h)
{
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) out.push_back(SourcePixel(x, y));
    return out;
}

std::vector<uint32_t> DestinationPixels(int32_t w, int32_t h)
{
    std::vector<uint32_t> out;
    for (int32_t i = 0; i < w * h; ++i) out.push_back(0x80604020u + 0x00010203u * uint32_t(i));
    return out;
}

struct Shape {
    const char* what;
    int32_t sw, sh, dw, dh;
    bool useRect;
    Rect srcRect;
};

const Shape kShapes[] = {
    {"a wider source onto the full width", 7, 3, 4, 3, false, {}},
    {"a narrower source across its full width", 3, 3, 5, 3, false, {}},
    {"a sub-rectangle of a wider plane onto the full width", 8, 4, 4, 3, true, {3, 1, 7, 4}},
    {"planes of one width: the rows join", 4, 3, 4, 3, false, {}},
};

// Runs op of set with the shape's planes placed at (0, 0); returns the destination.
std::vector<uint32_t> Transfer(const TransferOp& op, PixelSet set, const Shape& s, const Rect* rect,
                               int32_t y, std::vector<uint32_t> dst)
{
    auto src = MakePlane(s.sw, s.sh, SourcePixels(s.sw, s.sh));
    src->GetImpl()->SetColorKey(0, 0x20, 0x02);  // SourcePixel(1, 1) without its alpha
    auto d = MakePlane(s.dw, s.dh, dst, set);
    op.Run(*d->GetImpl(), src.get(), 0, y, 0x808080, 0x606060, rect, nullptr, nullptr);
    return PixelsOf(*d);
}

}  // namespace

TEST_CASE("full-width one-to-one transfers between planes of different widths keep every row in place")
{
    for (const Shape& s : kShapes) {
        CAPTURE(s.what);
        const Rect whole{0, 0, s.sw, s.sh};
        const Rect area = s.useRect ? s.srcRect : whole;
        const int32_t rows = area.bottom - area.top;
        const int32_t width = std::min(area.right - area.left, s.dw);
        for (PixelSet set : AllSets()) {
            CAPTURE(SetName(set));
            // The plain copy, pixel by pixel: row r of the destination holds source row
            // area.top + r from area.left on; the rest of the destination is untouched.
            std::vector<uint32_t> want = DestinationPixels(s.dw, s.dh);
            for (int32_t r = 0; r < rows; ++r)
                for (int32_t x = 0; x < width; ++x)
                    want[size_t(r * s.dw + x)] = SourcePixel(area.left + x, area.top + r);
            CHECK(Transfer(FindTransfer("TransferCopy"), set, s, s.useRect ? &area : nullptr, 0,
                           DestinationPixels(s.dw, s.dh)) == want);

            // Every operation gives, in one transfer, what it gives one row at a time (a single
            // row never takes the joined path).
            for (const TransferOp& op : AllTransfers()) {
                if (op.mirrored) continue;
                CAPTURE(op.name);
                std::vector<uint32_t> rowByRow = DestinationPixels(s.dw, s.dh);
                for (int32_t r = 0; r < rows; ++r) {
                    const Rect line{area.left, area.top + r, area.right, area.top + r + 1};
                    rowByRow = Transfer(op, set, s, &line, r, rowByRow);
                }
                CHECK(Transfer(op, set, s, s.useRect ? &area : nullptr, 0, DestinationPixels(s.dw, s.dh))
                      == rowByRow);
            }
        }
    }
}
