// The in-place colour and alpha effects of CDIBPlane. Rectangles are clipped to the plane
// (null: the whole plane); an empty plane answers 1.
#include "graphics/DIBPlane.h"

#include <pyro/graphics/Plane.h>
#include "graphics/transfer/PixelOps.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

// A 256-entry table for one rate, rebuilt only when a call brings another rate. Each thread
// keeps its own, so no thread can read a table another is rebuilding.
class RateCache {
public:
    using Entry = uint32_t (*)(int64_t i, int64_t rate);
    explicit RateCache(Entry entry) : entry_(entry) {}
    const uint32_t* For(int32_t rate)
    {
        if (!built_ || rate != rate_) {
            for (int i = 0; i < 256; ++i) table_[i] = entry_(i, rate);
            rate_ = rate;
            built_ = true;
        }
        return table_;
    }

private:
    Entry entry_;
    int32_t rate_ = 0;
    bool built_ = false;
    uint32_t table_[256];
};

// floor(i * rate / 256), held to a channel's range (rates above 256 brighten up to white).
uint32_t ColourEntry(int64_t i, int64_t rate)
{
    return uint32_t(std::clamp<int64_t>((i * rate) >> 8, 0, 255));
}
// (floor(i * rate / 256) mod 256) << 24.
uint32_t AlphaEntry(int64_t i, int64_t rate) { return uint32_t((i * rate) >> 8 & 0xFF) << 24; }

thread_local RateCache g_scaleColor(ColourEntry);
thread_local RateCache g_scaleAlpha(AlphaEntry);
thread_local RateCache g_copyScaleAlpha(AlphaEntry);

bool SameSize(const CPlaneImpl& a, const CPlane* b)
{
    if (!b) return false;
    const Rect ra = a.GetRect();
    const Rect rb = b->GetImpl()->GetRect();
    return ra.right == rb.right && ra.bottom == rb.bottom;
}

}  // namespace

template <class Change>
int32_t CDIBPlane::ForEachPixel(const Rect* rect, Change change)
{
    if (!pixels_) return 1;
    Rect r;
    if (!EffectRect(rect, &r)) return 0;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        uint32_t* d = rows_[size_t(y)];
        for (int32_t x = r.left; x < r.right; ++x) d[x] = change(d[x]);
    }
    return 0;
}

bool CDIBPlane::EffectRect(const Rect* rect, Rect* out) const
{
    ClipToBounds(out, rect);
    return out->left < out->right && out->top < out->bottom;
}

int32_t CDIBPlane::ColourEffectRect(const Rect* rect, Rect* out) const
{
    if (rect && rect->right < rect->left) return 1;
    return pixels_ && EffectRect(rect, out) ? 0 : 1;
}

int32_t CDIBPlane::SetAlphaFromPlane(CPlane* mask, int32_t low, int32_t high, int32_t lowAlpha,
                                     int32_t highAlpha, const Rect* rect)
{
    if (!SameSize(*this, mask) || !pixels_) return 1;
    // The ramp: lowAlpha up to low, rising in equal steps (rounded toward zero) to highAlpha
    // at high, highAlpha from there on. Each rule overrides the one before it.
    int64_t ramp[256];
    const int64_t l = low, h = high, a0 = lowAlpha, a1 = highAlpha;
    for (int64_t i = 0; i < 256; ++i) ramp[i] = a0;
    int64_t step = 1;
    for (int64_t i = std::max<int64_t>(l + 1, 0); i < h && i < 256; ++i, ++step)
        ramp[i] = a0 + step * (a1 - a0) / (h - l);
    for (int64_t i = std::max<int64_t>(h, 0); i < 256; ++i) ramp[i] = a1;

    Rect r;
    if (!EffectRect(rect, &r)) return 0;
    const CPlaneImpl* m = mask->GetImpl();
    for (int32_t y = r.top; y < r.bottom; ++y) {
        uint32_t* d = rows_[size_t(y)];
        const uint32_t* s = m->GetPixels() + size_t(y) * size_t(m->GetRect().right);
        for (int32_t x = r.left; x < r.right; ++x)
            d[x] = (d[x] & 0xFFFFFF) | (uint32_t(ramp[s[x] & 0xFF]) & 0xFF) << 24;
    }
    return 0;
}

int32_t CDIBPlane::CopyScaleAlpha(CPlane* src, int32_t rate, const Rect* rect)
{
    if (!SameSize(*this, src) || !pixels_) return 1;
    Rect r;
    if (!EffectRect(rect, &r)) return 0;
    const uint32_t* table = g_copyScaleAlpha.For(rate);
    const CPlaneImpl* s = src->GetImpl();
    for (int32_t y = r.top; y < r.bottom; ++y) {
        uint32_t* d = rows_[size_t(y)];
        const uint32_t* from = s->GetPixels() + size_t(y) * size_t(s->GetRect().right);
        for (int32_t x = r.left; x < r.right; ++x)
            d[x] = (from[x] & 0xFFFFFF) | table[from[x] >> 24];
    }
    return 0;
}

int32_t CDIBPlane::AddColor(uint32_t colour, const Rect* rect)
{
    return ColourEffect<PixelOps::Set, PixelOps::Add>(colour, rect);
}

int32_t CDIBPlane::SubColor(uint32_t colour, const Rect* rect)
{
    return ColourEffect<PixelOps::Set, PixelOps::Subtract>(colour, rect);
}

// Every value is computed from the pixels as they were: the original of the row above is kept
// aside before a row is overwritten. Channels are masked to multiples of 8 so that the eight
// weighted terms add up without carrying into the next channel. The pixel's own alpha byte
// stays (with alpha bytes of 0, as the sum needs, this changes nothing).
int32_t CDIBPlane::Blur(const Rect* rect)
{
    Rect r;
    if (!pixels_ || !EffectRect(rect, &r)) return 1;
    const int32_t width = r.right - r.left;
    if (width < 4 || r.bottom - r.top <= 3) return 2;
    std::vector<uint32_t> above;
    std::vector<uint32_t> result;
    try {
        above.resize(size_t(width));
        result.resize(size_t(width));
    } catch (const std::bad_alloc&) {
        return 1;
    }
    const uint32_t mask = 0x00F8F8F8;
    std::copy(rows_[size_t(r.top)] + r.left, rows_[size_t(r.top)] + r.right, above.begin());
    for (int32_t y = r.top + 1; y <= r.bottom - 2; ++y) {
        const uint32_t* c = rows_[size_t(y)] + r.left;
        const uint32_t* down = rows_[size_t(y) + 1] + r.left;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t vertical = (above[size_t(x)] & mask) + (down[x] & mask);
            const uint32_t centre = (c[x] & mask) * 4;
            uint32_t sides;
            if (x == 0) sides = (c[x + 1] & mask) * 2;
            else if (x == width - 1) sides = (c[x - 1] & mask) * 2;
            else sides = (c[x - 1] & mask) + (c[x + 1] & mask);
            result[size_t(x)] = ((vertical + centre + sides) >> 3) | (c[x] & 0xFF000000);
        }
        std::copy(c, c + width, above.begin());
        std::copy(result.begin(), result.end(), rows_[size_t(y)] + r.left);
    }
    // The bottom row repeats the last computed one, keeping its own alpha bytes.
    uint32_t* bottom = rows_[size_t(r.bottom) - 1] + r.left;
    for (int32_t x = 0; x < width; ++x)
        bottom[x] = (result[size_t(x)] & 0xFFFFFF) | (bottom[x] & 0xFF000000);
    return 0;
}

int32_t CDIBPlane::Mosaic(int32_t blockSize, const Rect* rect)
{
    if (blockSize <= 0) return -2;
    if (!pixels_) return 1;
    Rect r;
    if (!EffectRect(rect, &r)) return 0;
    for (int64_t by = r.top; by < r.bottom; by += blockSize) {
        const int64_t yEnd = std::min<int64_t>(by + blockSize, r.bottom);
        for (int64_t bx = r.left; bx < r.right; bx += blockSize) {
            const int64_t xEnd = std::min<int64_t>(bx + blockSize, r.right);
            const uint32_t colour = rows_[size_t(by)][bx];
            for (int64_t y = by; y < yEnd; ++y)
                std::fill(rows_[size_t(y)] + bx, rows_[size_t(y)] + xEnd, colour);
        }
    }
    return 0;
}

int32_t CDIBPlane::Negate(const Rect* rect)
{
    return ForEachPixel(rect, [](uint32_t p) { return p ^ 0x00FFFFFF; });
}

int32_t CDIBPlane::ScaleColor(int32_t rate, const Rect* rect)
{
    const uint32_t* t = g_scaleColor.For(rate);
    return ForEachPixel(rect, [t](uint32_t p) {
        return t[(p >> 16) & 0xFF] << 16 | t[(p >> 8) & 0xFF] << 8 | t[p & 0xFF];
    });
}

int32_t CDIBPlane::ScaleAlpha(int32_t rate, const Rect* rect)
{
    if (!pixels_) return 1;
    if (rate == 256) return 0;
    const uint32_t* t = g_scaleAlpha.For(rate);
    return ForEachPixel(rect, [t](uint32_t p) { return (p & 0xFFFFFF) | t[p >> 24]; });
}

int32_t CDIBPlane::NegateAlpha(const Rect* rect)
{
    return ForEachPixel(rect, [](uint32_t p) { return p ^ 0xFF000000; });
}
