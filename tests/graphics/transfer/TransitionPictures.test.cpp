// Every transition effect against a model of it: the pieces each effect draws (a source
// rectangle and where its pixels land, or a stretched line) are listed here from the effect's
// description, drawn with the mode's transfer onto a second destination, and the two pictures
// must be identical, in every mode, at phases from 1 to 255.
#include <pyro/graphics/transfer/Transition.h>

#include "graphics/PlaneTesting.h"
#include "graphics/transfer/TransitionRandom.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr uint32_t Background = 0xFF0A0B0C;
constexpr uint32_t Key = 0x0000FF00;

// cos(k pi / 256) * 65536 truncated toward zero, any k.
int64_t C(int64_t k)
{
    return int64_t(std::cos(double(k & 511) * 3.14159265358979323846 / 256) * 65536.0);
}

// The 256 random bytes: the low bytes of the runtime generator's first numbers from seed 0.
int64_t R(int64_t i)
{
    static const std::vector<int64_t> table = [] {
        std::vector<int64_t> bytes;
        CRuntimeRandom random(0);
        for (int k = 0; k < 256; ++k) bytes.push_back(random.Next() & 0xFF);
        return bytes;
    }();
    return table[size_t(i & 255)];
}

// a * b / c rounded to the nearest, halves away from zero; c > 0.
int64_t MulDiv(int64_t a, int64_t b, int64_t c)
{
    const int64_t product = a * b;
    const int64_t magnitude = ((product < 0 ? -product : product) + c / 2) / c;
    return product < 0 ? -magnitude : magnitude;
}

constexpr int32_t SpiralA[4][4] = {{0, 1, 2, 3}, {11, 12, 13, 4}, {10, 15, 14, 5}, {9, 8, 7, 6}};
constexpr int32_t SpiralB[4][4] = {{6, 7, 8, 9}, {5, 0, 1, 10}, {4, 3, 2, 11}, {15, 14, 13, 12}};

// Draws what one step of an effect must draw, piece by piece, onto its own destination.
class CModel {
public:
    CModel(CPlane& dst, CPlane& src, int32_t x, int32_t y, int32_t phase, int32_t mode,
           int32_t fade, Rect* clip, uint32_t seed)
        : dst_(dst), src_(src), x(x), y(y), p(phase), mode_(mode), fade_(fade), clip_(clip),
          random_(seed)
    {
        int32_t sw = 0, sh = 0, dw = 0, dh = 0;
        src.GetSize(&sw, &sh);
        dst.GetSize(&dw, &dh);
        w = sw;
        h = sh;
        destW = dw;
        destH = dh;
    }

    void Run(int32_t effect);

private:
    int64_t Rand() { return random_.Next(); }
    int64_t RandomByte() { return random_.Next() & 0xFF; }

    void Transfer(int64_t px, int64_t py, const Rect* part, const Size* size)
    {
        CPlane* src = &src_;
        switch (mode_) {
        case 0: dst_.BltFast(src, int32_t(px), int32_t(py), part, size, clip_); break;
        case 1: dst_.Blt(src, int32_t(px), int32_t(py), part, size, clip_); break;
        case 2:
            dst_.BlendBltAlphaFade(src, int32_t(px), int32_t(py), fade_, part, size, clip_);
            break;
        case 3: dst_.BltNatural(src, int32_t(px), int32_t(py), part, size, clip_); break;
        }
    }

    // The source pixels of (left, top, width, height) that lie inside the source, each drawn at
    // its own position moved by (ox, oy): a cut piece keeps its remaining pixels in place.
    void Piece(int64_t left, int64_t top, int64_t width, int64_t height, int64_t ox, int64_t oy)
    {
        const int64_t l = std::max<int64_t>(left, 0);
        const int64_t t = std::max<int64_t>(top, 0);
        const int64_t r = std::min<int64_t>(left + width, w);
        const int64_t b = std::min<int64_t>(top + height, h);
        if (l >= r || t >= b) return;
        const Rect part{int32_t(l), int32_t(t), int32_t(r), int32_t(b)};
        Transfer(ox + l, oy + t, &part, nullptr);
    }
    // A piece drawn at (x + its left, y + its top) moved by (dx, dy).
    void At(int64_t left, int64_t top, int64_t width, int64_t height, int64_t dx = 0,
            int64_t dy = 0)
    {
        Piece(left, top, width, height, x + dx, y + dy);
    }
    void Stretched(int64_t left, int64_t top, int64_t width, int64_t height, int64_t px,
                   int64_t py, int64_t toWidth, int64_t toHeight)
    {
        if (toWidth <= 0 || toHeight <= 0) return;
        const Rect part{int32_t(left), int32_t(top), int32_t(left + width), int32_t(top + height)};
        const Size size{int32_t(toWidth), int32_t(toHeight)};
        Transfer(px, py, &part, &size);
    }
    template <class Visit>
    void Tiles(int64_t tileW, int64_t tileH, Visit visit)
    {
        for (int64_t r = 0; r < h; r += tileH)
            for (int64_t c = 0; c < w; c += tileW) visit(c, r);
    }
    // The area the whole source covers, cut to the clip (or the destination).
    Rect Covered() const
    {
        const Rect bounds = clip_ ? *clip_ : Rect{0, 0, int32_t(destW), int32_t(destH)};
        return {int32_t(std::max<int64_t>(x, bounds.left)),
                int32_t(std::max<int64_t>(y, bounds.top)),
                int32_t(std::min<int64_t>(x + w, bounds.right)),
                int32_t(std::min<int64_t>(y + h, bounds.bottom))};
    }

    void Bulge(bool rows);
    void Dissolve(int effect);
    void Interlace(bool rows);
    void InterlaceTwice(bool rows);
    void Curtain(bool down);
    void HalfDisc(int effect);
    void Blinds(int effect);
    void Flight(int effect);
    void Staircase(int effect);
    void Smear(int effect);

    CPlane& dst_;
    CPlane& src_;
    int64_t x, y, p;
    int64_t w = 0, h = 0, destW = 0, destH = 0;
    int32_t mode_;
    int32_t fade_;
    Rect* clip_;
    CRuntimeRandom random_;
};

void CModel::Bulge(bool rows)
{
    const double f = double(256 - p) / 256;
    const int64_t lines = rows ? h : w;
    const int64_t length = rows ? w : h;
    for (int64_t i = 0; i < lines; ++i) {
        const double s = double(C(i * 256 / lines + 384));
        const int64_t stretched = int64_t((2 * s * f / 65536 + 1) * double(length));
        const int64_t moved = int64_t(double(length >> 1) * (2 * s * f / 65536));
        if (rows) Stretched(0, i, w, 1, x - moved, y + i, stretched, 1);
        else Stretched(i, 0, 1, h, x + i, y - moved, 1, stretched);
    }
}

void CModel::Dissolve(int effect)
{
    Tiles(4, 2, [&](int64_t c, int64_t r) {
        int64_t threshold = p;
        if (effect == 8) threshold = (h - r - 1) * 256 / h + 2 * p - 256;
        if (effect == 9) threshold = r * 256 / h + 2 * p - 256;
        if (effect == 10) threshold = (w - c - 1) * 256 / w + 2 * p - 256;
        if (effect == 11) threshold = c * 256 / w + 2 * p - 256;
        if (threshold >= RandomByte()) At(c, r, 4, 2);
    });
}

void CModel::Interlace(bool rows)
{
    const int64_t lines = rows ? h : w;
    const int64_t length = rows ? w : h;
    const int64_t g = p * length / 256;
    for (int64_t i = 0; i < lines; ++i) {
        // Even lines from the near edge; odd lines from (length - g - 1) to the far edge.
        const int64_t from = i % 2 == 0 ? 0 : length - g - 1;
        const int64_t size = i % 2 == 0 ? g : length - from;
        if (rows) At(from, i, size, 1);
        else At(i, from, 1, size);
    }
}

void CModel::InterlaceTwice(bool rows)
{
    const int64_t lines = rows ? h : w;
    const int64_t length = rows ? w : h;
    const int64_t first = p * length / 128;
    const int64_t second = (p - 128) * length / 128;
    for (int64_t i = 0; i < lines; ++i) {
        int64_t from = 0;
        int64_t size = 0;
        switch (i % 4) {
        case 0: size = first; break;
        case 2: from = length - first, size = first; break;
        case 1: size = p > 128 ? second : 0; break;
        case 3: from = length - second, size = p > 128 ? second : 0; break;
        }
        if (rows) At(from, i, size, 1);
        else At(i, from, 1, size);
    }
}

void CModel::Curtain(bool down)
{
    const int64_t v = p * h / 256;
    const int64_t shifts[6] = {-w / 9, w / 9, -(2 * w) / 9, (2 * w) / 9, -w / 3, w / 3};
    At(0, down ? 0 : h - v, w, v);
    for (int j = 0; j < 6; ++j) {
        const int64_t row = down ? v + j : h - v - 1 - j;
        if (row >= 0 && row < h) At(0, row, w, 1, shifts[j], 0);
    }
}

void CModel::HalfDisc(int effect)
{
    const double W = double(w), H = double(h);
    if (effect == 28 || effect == 29) {
        const double d = 2.0 * double(p) * std::sqrt(W * W / 4 + H * H) / 256;
        for (int64_t i = 0; i < h && double(i) < d / 2; ++i) {
            const int64_t width = int64_t(2 * std::sqrt(d * d / 4 - double(i * i)));
            At((w >> 1) - (width >> 1), effect == 28 ? i : h - 1 - i, width, 1);
        }
        return;
    }
    const double d = effect == 32 ? double(p * (w + h) / 256)
                                  : 2.0 * double(p) * std::sqrt(W * W + H * H / 4) / 256;
    for (int64_t row = 0; row < h; ++row) {
        const double v = double(row - (h >> 1));
        const double q = d * d / 4 - v * v;
        if (q < 0) continue;
        if (effect == 32) {
            const int64_t width = int64_t(2 * std::sqrt(q));
            At((w >> 1) - (width >> 1), row, width, 1);
        } else {
            const int64_t width = int64_t(std::sqrt(q));
            At(effect == 30 ? 0 : w - width, row, width, 1);
        }
    }
}

void CModel::Blinds(int effect)
{
    const bool rows = effect >= 40;
    const int64_t n = (effect - 36) % 4 < 2 ? 8 : 16;
    const bool reversed = effect % 2 == 1;
    const int64_t count = n == 8 ? p >> 5 : p >> 4;
    for (int64_t i = 0; i < (rows ? h : w); ++i) {
        if (count < (reversed ? n - 1 - i % n : i % n)) continue;
        if (rows) At(0, i, w, 1);
        else At(i, 0, 1, h);
    }
}

void CModel::Flight(int effect)
{
    const int64_t tileW = effect == 57 ? 2 : 4;
    const int64_t tileH = effect == 64 ? 4 : 2;
    const int64_t D = (w + h) - p * (w + h) / 256;
    const int64_t k = 2 * (256 - p);
    Tiles(tileW, tileH, [&](int64_t c, int64_t r) {
        const int64_t dx = c - w / 2;
        const int64_t dy = r - h / 2;
        const int64_t L = int64_t(std::sqrt(double(dx * dx + dy * dy)));
        const int64_t ux = L ? dx * 256 / L : dx;
        const int64_t uy = L ? dy * 256 / L : dy;
        const int64_t fx = (D * ux * R(r * 13 + c)) >> 16;
        const int64_t fy = (D * uy * R(c + r * 19 + 1)) >> 16;
        const int64_t turnedX = (fx * C(k)) >> 16;
        const int64_t turnedY = (fy * C(k + 384)) >> 16;
        switch (effect) {
        case 56:
        case 57: At(c, r, tileW, tileH, fx, fy); break;
        case 58: At(c, r, tileW, tileH, turnedX, turnedY); break;
        case 59: {
            const int64_t sx = L ? ((dx * 256) * C(k + 384) >> 16) / L : dx;
            const int64_t sy = L ? ((dy * 256) * C(k) >> 16) / L : dy;
            At(c, r, tileW, tileH, (D * sx) >> 8, (D * sy) >> 8);
            break;
        }
        case 60:
            At(c, r, tileW, tileH, MulDiv(D, dx * C(k), int64_t(1) << 24),
               MulDiv(D, dy * C(k + 384), int64_t(1) << 24));
            break;
        case 64: {
            const int64_t rx = ((dx * C(k)) >> 16) - ((dy * C(k + 384)) >> 16);
            const int64_t ry = ((dx * C(k + 384)) >> 16) + ((dy * C(k)) >> 16);
            At(c, r, tileW, tileH, rx - dx + turnedX, ry - dy + turnedY);
            break;
        }
        }
    });
}

void CModel::Staircase(int effect)
{
    const bool rows = effect >= 75;
    const int64_t g = (effect - 71) % 4 < 2 ? 16 : 8;
    const bool fromFar = effect % 2 == 0;
    const int64_t extent = rows ? h : w;
    const int64_t n = (extent + g + 1) / g;
    const int64_t q = p * (g + n) / 256;
    for (int64_t i = 0; i < n && i < q; ++i) {
        const int64_t width = std::min(g, q - i);
        int64_t left = fromFar ? extent - g * i - width : g * i;
        int64_t right = fromFar ? extent - g * i : left + width;
        right = std::min(right, extent - 1);
        left = std::max<int64_t>(left, 0);
        if (rows) At(0, left, w, right - left);
        else At(left, 0, right - left, h);
    }
}

void CModel::Smear(int effect)
{
    if (effect == 79 || effect == 80) {
        const int64_t v = p * w / 256;
        if (effect == 79) {
            At(w - v, 0, v, h);
            Stretched(w - v - 1, 0, 1, h, 0, y, x + w - v, h);
        } else {
            At(0, 0, v, h);
            Stretched(v, 0, 1, h, x + v, y, destW - v - x, h);
        }
        return;
    }
    const int64_t v = p * h / 256;
    if (effect == 81) {
        At(0, h - v, w, v);
        Stretched(0, h - v - 1, w, 1, x, 0, w, y + h - v);
    } else {
        At(0, 0, w, v);
        Stretched(0, v, w, 1, x, y + v, w, destH - v - y);
    }
}

void CModel::Run(int32_t effect)
{
    const int64_t side = p * std::max(w, h) / 256;
    switch (effect) {
    case 0:
    case 1:
        for (int64_t i = 0; i < w; ++i) Piece(i, 0, 1, h, x + (w - 1 - i) - i, y);
        break;
    case 2:
        for (int64_t i = 0; i < h; ++i) Piece(0, i, w, 1, x, y + (h - 1 - i) - i);
        break;
    case 3: Bulge(true); break;
    case 4: Bulge(false); break;
    case 5:
        for (int64_t i = 0; i < h; ++i) At(0, i, w, 1, Rand() % (256 - p) - (256 - p) / 2, 0);
        break;
    case 6: {
        const int64_t k = p <= 127 ? 10 : p <= 199 ? 6 : p <= 229 ? 4 : 2;
        Tiles(4, 2, [&](int64_t c, int64_t r) {
            int64_t mx = 0, my = 0;
            if (p < RandomByte()) {
                mx = Rand() % k;
                my = Rand() % k;
                if (c + mx + 4 > w) mx = 0;
                if (r + my + 2 > h) my = 0;
            }
            // The moved source rectangle, drawn where the tile belongs.
            Piece(c + mx, r + my, 4, 2, x - mx, y - my);
        });
        break;
    }
    case 7:
    case 8:
    case 9:
    case 10:
    case 11: Dissolve(effect); break;
    case 12: At((w >> 1) - (side >> 1), (h >> 1) - (side >> 1), side, side); break;
    case 13: At(0, 0, side, side); break;
    case 14: At(w - side, 0, side, side); break;
    case 15: At(0, h - side, side, side); break;
    case 16: At(w - side, h - side, side, side); break;
    case 17: Interlace(true); break;
    case 18: Interlace(false); break;
    case 19: InterlaceTwice(true); break;
    case 20: InterlaceTwice(false); break;
    case 21: {
        const int64_t reach = p * (w + h) / 256;
        Tiles(2, 2, [&](int64_t bx, int64_t by) {
            const double ex = double(2 * bx - w), ey = double(2 * by - h);
            if (double(reach) - std::sqrt(ex * ex + ey * ey) >= double(RandomByte()))
                At(bx, by, 2, 2);
        });
        break;
    }
    case 22: Curtain(true); break;
    case 23: Curtain(false); break;
    case 24:
    case 25:
    case 26:
    case 27:
        for (int64_t i = 0; i < h; ++i) {
            const int64_t angle = effect <= 25 ? i : (i % 64) * 8;
            const int64_t cosine = C(effect % 2 == 0 ? angle : angle + 256);
            const int64_t amplitude = effect <= 25 ? 2 * (255 - p) : 255 - p;
            At(0, i, w, 1, (cosine * amplitude) >> 16, 0);
        }
        break;
    case 28:
    case 29:
    case 30:
    case 31:
    case 32: HalfDisc(effect); break;
    case 33:
    case 34:
    case 35: {
        const int64_t cell = int64_t(4) << (effect - 33);
        const int64_t grown = p >> (6 - (effect - 33));
        Tiles(cell, cell, [&](int64_t c, int64_t r) { At(c, r, grown, grown); });
        break;
    }
    case 44:
    case 45: {
        const int64_t period = effect == 44 ? 8 : 16;
        const int64_t width = effect == 44 ? p >> 5 : p >> 4;
        for (int64_t i = 0; i < h; ++i)
            for (int64_t s = -(i % (period - 1)); s < w; s += period) At(s, i, width, 1);
        break;
    }
    case 54: {
        // The whole source faded by the phase, through each mode's blending operation.
        CPlane* s = &src_;
        const int32_t px = int32_t(x), py = int32_t(y), level = int32_t(p);
        switch (mode_) {
        case 0: dst_.BlendBltFastFade(s, px, py, level, nullptr, nullptr, clip_); break;
        case 1: dst_.BlendBltFade(s, px, py, level, nullptr, nullptr, clip_); break;
        case 2: dst_.BlendBltAlphaFade(s, px, py, level, nullptr, nullptr, clip_); break;
        case 3: dst_.BlendBltNatural(s, px, py, level, nullptr, nullptr, clip_); break;
        }
        break;
    }
    case 55: {
        const int64_t D = (w + h) - p * (w + h) / 256;
        Tiles(4, 2, [&](int64_t c, int64_t r) {
            At(c, r, 4, 2, (R(c + r) * D) >> 8, (R(c + r + 1) * D) >> 8);
        });
        break;
    }
    case 56:
    case 57:
    case 58:
    case 59:
    case 60:
    case 64: Flight(effect); break;
    case 61:
    case 62:
    case 63: {
        const int64_t tile = int64_t(2) << (effect - 61);
        const int64_t k = 2 * (256 - p);
        Tiles(tile, tile, [&](int64_t c, int64_t r) {
            const int64_t dx = c - w / 2, dy = r - h / 2;
            const int64_t rx = ((dx * C(k)) >> 16) - ((dy * C(k + 384)) >> 16);
            const int64_t ry = ((dx * C(k + 384)) >> 16) + ((dy * C(k)) >> 16);
            At(c, r, tile, tile, rx - dx, ry - dy);
        });
        break;
    }
    case 65:
    case 66: {
        const int64_t tile = effect == 65 ? 8 : 16;
        Tiles(tile, tile, [&](int64_t c, int64_t r) {
            const int64_t t = (p + R(c / 8 + r * 13) / 2) >> (effect == 65 ? 4 : 3);
            if (t <= tile) return;
            const int64_t v = std::min(t - tile, tile);
            At(c, r, tile, v, 0, tile - v);
        });
        break;
    }
    case 67:
    case 68:
        Tiles(4, 4, [&](int64_t c, int64_t r) {
            const int64_t rx = R(c / 4 + (r / 4) * 13);
            const int64_t ry = R(c / 4 + (r / 4) * 19);
            const int64_t s = (p >> 1) + 1;
            if (effect == 67) At(c, r, 4, 4, (rx - 128) / s, (ry - 128) / s);
            else At(c, r, 4, 4, ((rx - 128) * (256 - p)) >> 11, (ry * (256 - p)) >> 11);
        });
        break;
    case 69:
    case 70: {
        Transfer(x, y, nullptr, nullptr);
        const Rect area = Covered();
        if (area.left >= area.right || area.top >= area.bottom) break;
        if (effect == 69) dst_.Mosaic(int32_t(((255 - p) >> 2) + 1), &area);
        else dst_.Negate(&area);
        break;
    }
    default:
        if (effect >= 36 && effect <= 43) Blinds(effect);
        if (effect >= 46 && effect <= 53) {
            const int64_t cell = int64_t(1) << ((effect - 46) / 2);
            const auto& matrix = effect % 2 == 0 ? SpiralA : SpiralB;
            Tiles(cell, cell, [&](int64_t c, int64_t r) {
                if ((p >> 4) >= matrix[(r / cell) % 4][(c / cell) % 4]) At(c, r, cell, cell);
            });
        }
        if (effect >= 71 && effect <= 78) Staircase(effect);
        if (effect >= 79 && effect <= 82) Smear(effect);
        break;
    }
}

// A source whose pixels all differ, with alpha, and some of them in the key colour.
std::unique_ptr<CPlane> Source(int32_t w, int32_t h, PixelSet set = PixelSet::Portable)
{
    std::vector<uint32_t> pixels(size_t(w) * size_t(h));
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t alpha = uint32_t(i % 5) * 0x3F000000u;
        pixels[i] = i % 11 == 3 ? Key : alpha + 0x00400000u + uint32_t(i) * 0x0103u;
    }
    auto plane = MakePlane(w, h, pixels, set);
    plane->SetColorKey(0, 0xFF, 0);
    plane->GetImpl()->GetAlphaFlag() = 1;
    return plane;
}

std::unique_ptr<CPlane> Destination(int32_t w, int32_t h, PixelSet set = PixelSet::Portable)
{
    return MakePlane(w, h, std::vector<uint32_t>(size_t(w) * size_t(h), Background), set);
}

struct Placement {
    int32_t srcW, srcH;
    int32_t x, y;
    int32_t destW, destH;
    bool clipped;
    PixelSet set;
};

// Wider than high and higher than wide, neither a multiple of the tile sizes; placed inside the
// destination with a clip, hanging off its left edge without one, and tall on a destination
// wide enough for the waves' and the flights' long offsets; the first once more with MMX planes.
const Placement Placements[] = {{37, 23, 5, 3, 64, 48, true, PixelSet::Portable},
                                {19, 41, -4, 6, 64, 48, false, PixelSet::Portable},
                                {13, 300, 250, 2, 520, 304, true, PixelSet::Portable},
                                {37, 23, 5, 3, 64, 48, true, PixelSet::MMX}};

constexpr int32_t Fade = 200;

// The effect's picture and the model's, drawn on two destinations of the placement's size.
class CPictures {
public:
    explicit CPictures(const Placement& at)
        : at_(at), src_(Source(at.srcW, at.srcH, at.set)),
          drawn_(Destination(at.destW, at.destH, at.set)),
          expected_(Destination(at.destW, at.destH, at.set))
    {
    }

    // Draws both pictures afresh; true when they are identical.
    bool Draw(int32_t effect, int32_t phase, int32_t mode)
    {
        drawn_->GetImpl()->Clear(Background, nullptr);
        expected_->GetImpl()->Clear(Background, nullptr);
        const Rect clip{3, 2, at_.destW - 5, at_.destH - 4};
        const uint32_t seed = uint32_t(phase * 7 + mode);
        SeedTransitionRand(seed);
        Rect passed = clip;
        TransitionTable[effect](drawn_.get(), src_.get(), at_.x, at_.y, phase, mode, Fade,
                                at_.clipped ? &passed : nullptr);
        Rect modelClip = clip;
        CModel(*expected_, *src_, at_.x, at_.y, phase, mode, Fade,
               at_.clipped ? &modelClip : nullptr, seed)
            .Run(effect);
        const uint32_t* a = drawn_->GetImpl()->GetPixels();
        return std::equal(a, a + Count(), expected_->GetImpl()->GetPixels());
    }

    // Where the two pictures first differ, for the failure message.
    std::string FirstDifference() const
    {
        const uint32_t* a = drawn_->GetImpl()->GetPixels();
        const uint32_t* b = expected_->GetImpl()->GetPixels();
        const size_t i = size_t(std::mismatch(a, a + Count(), b).first - a);
        return "(" + std::to_string(i % size_t(at_.destW)) + ", " +
               std::to_string(i / size_t(at_.destW)) + ")";
    }

    // Whether the model's picture shows any of the source.
    bool ModelDrew() const
    {
        const uint32_t* b = expected_->GetImpl()->GetPixels();
        return std::any_of(b, b + Count(), [](uint32_t pixel) { return pixel != Background; });
    }

    CPlane& Src() { return *src_; }

private:
    size_t Count() const { return size_t(at_.destW) * size_t(at_.destH); }

    Placement at_;
    std::unique_ptr<CPlane> src_;
    std::unique_ptr<CPlane> drawn_;
    std::unique_ptr<CPlane> expected_;
};

}  // namespace

TEST_CASE("every effect draws exactly its pieces, in every mode, at phases 1 to 255")
{
    const int32_t everyMode[] = {1, 64, 128, 255};
    const int32_t firstMode[] = {17, 100, 127, 129, 199, 200, 229, 230};
    for (const Placement& at : Placements) {
        CPictures pictures(at);
        for (int32_t effect = 0; effect < TransitionCount; ++effect) {
            const auto check = [&](int32_t phase, int32_t mode) {
                if (pictures.Draw(effect, phase, mode)) return;
                const std::string set = SetName(at.set);
                CAPTURE(at.srcW);
                CAPTURE(set);
                CAPTURE(effect);
                CAPTURE(phase);
                CAPTURE(mode);
                FAIL_CHECK("first difference at " << pictures.FirstDifference());
            };
            for (int32_t phase : everyMode)
                for (int32_t mode = 0; mode <= 3; ++mode) check(phase, mode);
            for (int32_t phase : firstMode) check(phase, 0);
        }
    }
}

TEST_CASE("the model and the effects draw something at the checked phases")
{
    // A model that drew nothing would agree with an effect that drew nothing: in every
    // placement, every effect shows part of the source at phase 128 (the waves only on the
    // wide destination: elsewhere their rows swing out of sight).
    for (const Placement& at : Placements) {
        CPictures pictures(at);
        for (int32_t effect = 0; effect < TransitionCount; ++effect) {
            if (at.destW < 100 && (effect == 24 || effect == 25)) continue;
            CAPTURE(at.srcW);
            CAPTURE(effect);
            pictures.Draw(effect, 128, 0);
            CHECK(pictures.ModelDrew());
        }
    }
}

TEST_CASE("the dissolve and the scatter cover every pixel at phase 255")
{
    for (const Placement& at : Placements) {
        auto src = Source(at.srcW, at.srcH, at.set);
        auto whole = Destination(at.destW, at.destH, at.set);
        whole->BltFast(src.get(), at.x, at.y, nullptr, nullptr, nullptr);
        for (int32_t effect : {6, 7}) {
            for (uint32_t seed : {1u, 2u, 77u}) {
                CAPTURE(effect);
                CAPTURE(seed);
                auto dst = Destination(at.destW, at.destH, at.set);
                SeedTransitionRand(seed);
                TransitionTable[effect](dst.get(), src.get(), at.x, at.y, 255, 0, 0, nullptr);
                CHECK(PixelsOf(*dst) == PixelsOf(*whole));
            }
        }
    }
}

TEST_CASE("a piece cut at the source's left or top edge keeps its remaining pixels in place")
{
    // Records the transfers a step hands its target.
    struct CRecorder : CStubTarget {
        std::vector<std::vector<int32_t>> calls;
        CRecorder() : CStubTarget(100, 100) {}
        int32_t BltFast(CPlane*, int32_t px, int32_t py, const Rect* r, const Size* size,
                        Rect*) override
        {
            calls.push_back({px, py, r->left, r->top, r->right, r->bottom, size ? size->cx : -1});
            return 0;
        }
    } target;
    auto src = Source(10, 8);
    const TransitionStep step{&target, src.get(), 20, 30, 100, 0, 0, nullptr, 10, 8};
    step.Draw(-3, 2, 5, 4);         // columns -3 to 1: 0 and 1 remain, at x + 0 and x + 1
    step.Draw(4, -2, 3, 3, 1, -1);  // rows -2 to 0: row 0 remains, moved by (1, -1)
    step.Draw(-5, -6, 7, 9, 2, 0);  // both: columns 0-1, rows 0-2
    step.Draw(8, 6, 5, 5);          // past the right and bottom: columns 8-9, rows 6-7
    step.Draw(-4, 0, 4, 8);         // wholly left of the source: nothing
    step.Draw(0, -3, 10, 3);        // wholly above: nothing
    step.Draw(10, 0, 2, 8);         // right of it: nothing
    step.Draw(2, 2, 0, 3);          // empty
    const std::vector<std::vector<int32_t>> expected = {
        {20, 32, 0, 2, 2, 6, -1},
        {25, 29, 4, 0, 7, 1, -1},
        {22, 30, 0, 0, 2, 3, -1},
        {28, 36, 8, 6, 10, 8, -1},
    };
    CHECK(target.calls == expected);
}
