// Scanline mapping of one quadrilateral onto another. The destination's vertices are sorted by
// y (ties by x); from the top vertex a left and a right edge run down, each continuing along the
// next side of the quadrilateral when it reaches its end vertex, so the height falls into
// three bands. Both edges step once before each row is drawn.
#include "graphics/QuadMapper.h"

#include <algorithm>

namespace {

constexpr int64_t kOne = int64_t(1) << 20;

// Each vertex's two neighbours along the sides 0-1, 0-2, 1-3, 2-3, and its opposite vertex.
constexpr int kNeighbour[4][2] = {{1, 2}, {0, 3}, {0, 3}, {1, 2}};
constexpr int kOpposite[4] = {3, 2, 1, 0};

// A 128-bit product, for the sign of a cross product of 33-bit differences.
struct Wide {
    int64_t hi;
    uint64_t lo;
};

Wide Multiply(int64_t a, int64_t b)
{
    const bool negative = (a < 0) != (b < 0);
    const uint64_t ua = a < 0 ? 0 - uint64_t(a) : uint64_t(a);
    const uint64_t ub = b < 0 ? 0 - uint64_t(b) : uint64_t(b);
    const uint64_t a0 = ua & 0xFFFFFFFF, a1 = ua >> 32, b0 = ub & 0xFFFFFFFF, b1 = ub >> 32;
    const uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const uint64_t mid = (p00 >> 32) + (p01 & 0xFFFFFFFF) + (p10 & 0xFFFFFFFF);
    uint64_t lo = (mid << 32) | (p00 & 0xFFFFFFFF);
    uint64_t hi = p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32);
    if (negative) {
        lo = ~lo + 1;
        hi = ~hi + (lo == 0 ? 1 : 0);
    }
    return {int64_t(hi), lo};
}

bool Greater(const Wide& x, const Wide& y) { return x.hi != y.hi ? x.hi > y.hi : x.lo > y.lo; }

// Divisions round toward +infinity: the stepped values then never fall short of the exact
// ones, so a sample meant to land on a source pixel's edge (a corner, or the far end of a row)
// is not pulled into the pixel before it by accumulated rounding.
int64_t CeilDiv(int64_t num, int64_t den) { return num > 0 ? (num - 1) / den + 1 : num / den; }

// ceil(num * 2^20 / den) for den > 0, exact also where num * 2^20 would not fit 64 bits.
int64_t ScaledQuotient(int64_t num, int64_t den)
{
    const int64_t whole = num / den;
    const int64_t rest = num % den;
    uint64_t r = rest < 0 ? 0 - uint64_t(rest) : uint64_t(rest);
    uint64_t fraction = 0;
    if (r < (uint64_t(1) << 43)) {
        fraction = (r << 20) / uint64_t(den);
        r = (r << 20) % uint64_t(den);
    } else {
        for (int bit = 0; bit < 20; ++bit) {
            r <<= 1;
            fraction <<= 1;
            if (r >= uint64_t(den)) {
                r -= uint64_t(den);
                fraction |= 1;
            }
        }
    }
    if (rest < 0) return whole * kOne - int64_t(fraction);
    return whole * kOne + int64_t(fraction) + (r ? 1 : 0);
}

struct Vertex {
    int64_t x, y, u, v;
};

// One side being walked: its values at row r are start + (r - startRow + 1) * delta, the
// running sum of one step per row taken before the row is drawn.
struct Edge {
    int from = 0, to = 0;
    int64_t startRow = 0;
    int64_t x = 0, u = 0, v = 0;
    int64_t dx = 0, du = 0, dv = 0;

    Edge() = default;
    Edge(const Vertex* vertices, int a, int b) : from(a), to(b)
    {
        const Vertex& p = vertices[a];
        const Vertex& q = vertices[b];
        const int64_t rows = q.y - p.y;
        startRow = p.y;
        x = p.x * kOne;
        u = p.u * kOne;
        v = p.v * kOne;
        if (rows > 0) {
            dx = CeilDiv((q.x - p.x) * kOne, rows);
            du = CeilDiv((q.u - p.u) * kOne, rows);
            dv = CeilDiv((q.v - p.v) * kOne, rows);
        }
    }
    int64_t Steps(int64_t row) const { return row - startRow + 1; }
};

int Other(int vertex, int from)
{
    return kNeighbour[vertex][0] == from ? kNeighbour[vertex][1] : kNeighbour[vertex][0];
}

template <bool Keyed>
void DrawRow(uint32_t* d, const Rect& clip, const QuadSource& src, const Edge& left,
             const Edge& right, int64_t row, int64_t divisorCut)
{
    const int64_t kl = left.Steps(row);
    const int64_t kr = right.Steps(row);
    const int64_t xl = left.x + kl * left.dx;
    const int64_t xr = right.x + kr * right.dx;
    const int64_t ul = left.u + kl * left.du;
    const int64_t vl = left.v + kl * left.dv;
    const int64_t first = xl >> 20;
    const int64_t n = (xr >> 20) - first;
    if (n <= 0) return;
    int64_t du = 0;
    int64_t dv = 0;
    if (n >= 2) {
        const int64_t ur = right.u + kr * right.du;
        const int64_t vr = right.v + kr * right.dv;
        du = ScaledQuotient(ur - ul, n * kOne - divisorCut);
        dv = ScaledQuotient(vr - vl, n * kOne - divisorCut);
    }
    const int64_t skip = std::max<int64_t>(0, clip.left - first);
    const int64_t end = std::min<int64_t>(first + n, clip.right);
    int64_t u = ul + skip * du;
    int64_t v = vl + skip * dv;
    for (int64_t x = first + skip; x < end; ++x, u += du, v += dv) {
        const int64_t su = u >> 20;
        const int64_t sv = v >> 20;
        if (su < 0 || sv < 0 || su >= src.width || sv >= src.height) continue;
        const uint32_t pixel =
            reinterpret_cast<const uint32_t*>(src.pixels.base + sv * src.pixels.pitch)[su];
        if (Keyed && pixel == *src.key) continue;
        d[x] = pixel;
    }
}

}  // namespace

void MapQuad(const PixelView& dst, const Rect& clip, const QuadSource& src,
             const Point* srcPoints, const Point* dstPoints, int32_t divisorFlag)
{
    if (!srcPoints || !dstPoints || clip.left >= clip.right || clip.top >= clip.bottom) return;
    Vertex vertices[4];
    for (int i = 0; i < 4; ++i)
        vertices[i] = {dstPoints[i].x, dstPoints[i].y, srcPoints[i].x, srcPoints[i].y};
    int order[4] = {0, 1, 2, 3};
    std::sort(order, order + 4, [&](int a, int b) {
        return vertices[a].y != vertices[b].y ? vertices[a].y < vertices[b].y
                                              : vertices[a].x < vertices[b].x;
    });
    const int top = order[0];
    if (order[1] == kOpposite[top]) return;  // twisted or not convex

    // The neighbour that lies clockwise of the other (y grows downwards) starts the right edge.
    const int n1 = kNeighbour[top][0];
    const int n2 = kNeighbour[top][1];
    const Vertex& t = vertices[top];
    const Wide a = Multiply(vertices[n1].x - t.x, vertices[n2].y - t.y);
    const Wide b = Multiply(vertices[n1].y - t.y, vertices[n2].x - t.x);
    const bool n1Right = Greater(a, b);
    Edge left(vertices, top, n1Right ? n2 : n1);
    Edge right(vertices, top, n1Right ? n1 : n2);

    const int64_t cut = divisorFlag ? 0 : kOne;
    for (int band = 0; band < 3; ++band) {
        if (band > 0) {
            const int reached = order[band];
            if (left.to == reached)
                left = Edge(vertices, reached, Other(reached, left.from));
            else if (right.to == reached)
                right = Edge(vertices, reached, Other(reached, right.from));
        }
        const int64_t from = std::max<int64_t>(vertices[order[band]].y, clip.top);
        const int64_t to = std::min<int64_t>(vertices[order[band + 1]].y, clip.bottom);
        for (int64_t row = from; row < to; ++row) {
            uint32_t* d = reinterpret_cast<uint32_t*>(dst.base + row * dst.pitch);
            if (src.key) DrawRow<true>(d, clip, src, left, right, row, cut);
            else DrawRow<false>(d, clip, src, left, right, row, cut);
        }
    }
}
