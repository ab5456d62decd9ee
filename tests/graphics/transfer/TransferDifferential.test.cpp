// Thousands of random transfers of every operation through the portable and the MMX set. Each
// destination pixel must hold the operation's rule applied to the source pixel the portable copy
// maps there: the portable set exactly, the MMX set exactly too except for its documented
// differences (the top byte of add and subtract saturates, the alpha blend weights the
// destination by 256 - a). Then the SSE2 and AVX2 sets against the MMX set, with no difference
// allowed, over a hundred thousand small random cases of every operation.
#include "graphics/PlaneTesting.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

uint32_t Ch(uint32_t v, int k) { return (v >> (8 * k)) & 0xFF; }

// min(255, f(source channel, destination channel, k)) in each colour channel, over a top byte.
template <class F>
uint32_t PerChannel(uint32_t s, uint32_t d, uint32_t top, F f)
{
    uint32_t out = top << 24;
    for (int k = 0; k < 3; ++k) out |= std::min<uint32_t>(255, f(Ch(s, k), Ch(d, k), k)) << (8 * k);
    return out;
}

struct Rates {
    uint32_t dst, src;
};

// The rule of an operation written out channel by channel. mmx selects the MMX set's variant.
uint32_t Reference(const std::string& name, uint32_t s, uint32_t d, Rates rates, uint32_t key,
                   bool mmx)
{
    const bool keyed = name.find("Keyed") != std::string::npos;
    const bool opaque = name.find("Opaque") != std::string::npos;
    if (keyed && (opaque ? (s & 0xFFFFFF) : s) == key) return d;
    const uint32_t sa = s >> 24, da = d >> 24;
    auto is = [&](const char* prefix) { return name.rfind(prefix, 0) == 0; };

    if (is("TransferCopy")) return s;
    if (is("TransferAverage"))
        return PerChannel(s, d, sa & da, [](uint32_t a, uint32_t b, int) { return (a + b) / 2; });
    if (is("TransferAlphaMix"))
        return PerChannel(s, d, 0, [&](uint32_t a, uint32_t b, int k) {
            const uint32_t q = Ch(rates.src, k), p = Ch(rates.dst, k);
            const uint32_t f = sa == 255 ? q : sa * q / 256;
            const uint32_t g = sa == 255 ? p : 255 - sa * (255 - p) / 256;
            return a * f / 256 + b * g / 256;
        });
    if (is("TransferMix"))
        return PerChannel(s, d, 0, [&](uint32_t a, uint32_t b, int k) {
            return a * Ch(rates.src, k) / 256 + b * Ch(rates.dst, k) / 256;
        });
    if (is("TransferAdd")) {
        const uint32_t top = mmx ? std::min<uint32_t>(255, sa + da) : (sa + da) & 0xFF;
        return PerChannel(s, d, top, [](uint32_t a, uint32_t b, int) { return a + b; });
    }
    if (is("TransferSubtract")) {
        const uint32_t top = mmx ? (da > sa ? da - sa : 0) : (da - sa) & 0xFF;
        return PerChannel(s, d, top, [](uint32_t a, uint32_t b, int) { return b > a ? b - a : 0; });
    }
    if (is("TransferOpaque")) return s & 0xFFFFFF;
    if (is("TransferAlpha")) {
        const uint32_t sf = sa == 255 ? 256 : sa;
        const uint32_t df = mmx ? 256 - sf : (sa == 0 ? 256 : 255 - sa);
        return PerChannel(s, d, 0,
                          [&](uint32_t a, uint32_t b, int) { return a * sf / 256 + b * df / 256; });
    }
    if (is("TransferColourOnly")) return (s & 0xFFFFFF) | (d & 0xFF000000);
    FAIL("unknown operation " << name);
    return 0;
}

struct Case {
    int32_t sw, sh, dw, dh;
    int32_t x, y;
    bool useRect, useSize, useClip;
    Rect srcRect;
    Size size;
    Rect clip;
    Rates rates;
    uint32_t key;
    std::vector<uint32_t> src, dst;
};

// Planes of up to maxWidth by maxHeight pixels; runs of key pixels when spriteLike, as sprites
// have around their shapes.
Case RandomCase(std::mt19937& random, int maxWidth = 70, int maxHeight = 70,
                bool spriteLike = false)
{
    auto range = [&](int lo, int hi) { return lo + int(random() % uint32_t(hi - lo + 1)); };
    Case c;
    c.sw = range(1, maxWidth);
    c.sh = range(1, maxHeight);
    c.dw = range(1, maxWidth);
    c.dh = range(1, maxHeight);
    c.useRect = random() % 3 != 0;
    c.srcRect.left = range(-4, c.sw - 1);
    c.srcRect.top = range(-4, c.sh - 1);
    c.srcRect.right = c.srcRect.left + range(1, c.sw + 4);
    c.srcRect.bottom = c.srcRect.top + range(1, c.sh + 4);
    const int32_t w = c.useRect ? c.srcRect.right - c.srcRect.left : c.sw;
    const int32_t h = c.useRect ? c.srcRect.bottom - c.srcRect.top : c.sh;
    c.useSize = random() % 3 != 0;
    c.size = Size{std::max(1, w * range(1, 20) / 10), std::max(1, h * range(1, 20) / 10)};
    c.x = range(-w / 2, c.dw - 1);
    c.y = range(-h / 2, c.dh - 1);
    c.useClip = random() % 2 != 0;
    c.clip = Rect{range(-5, c.dw / 2), range(-5, c.dh / 2), range(c.dw / 2, c.dw + 5),
                  range(c.dh / 2, c.dh + 5)};
    c.rates = random() % 2 ? Rates{uint32_t(random()) & 0xFFFFFF, uint32_t(random()) & 0xFFFFFF}
                           : Rates{0xFFFFFFu - uint32_t(range(0, 255)) * 0x010101u, 0};
    if (c.rates.src == 0) c.rates.src = 0xFFFFFFu - c.rates.dst;
    c.key = uint32_t(random()) & 0xFFFFFF;
    for (int i = 0; i < c.sw * c.sh; ++i) {
        const uint32_t roll = random() % 20;
        const uint32_t alpha = roll < 6 ? 0 : roll < 12 ? 255 : random() & 0xFF;
        uint32_t pixel = (alpha << 24) | (uint32_t(random()) & 0xFFFFFF);
        if (roll % 4 == 0) pixel = c.key;
        if (roll == 13) pixel = c.key | (uint32_t(range(1, 255)) << 24);
        c.src.push_back(pixel);
    }
    if (spriteLike) {
        for (size_t i = 0; i < c.src.size(); i += size_t(range(1, 12))) {
            const size_t end = std::min(c.src.size(), i + size_t(range(1, 12)));
            std::fill(c.src.begin() + ptrdiff_t(i), c.src.begin() + ptrdiff_t(end), c.key);
            i = end;
        }
    }
    for (int i = 0; i < c.dw * c.dh; ++i) c.dst.push_back(uint32_t(random()));
    return c;
}

// Runs one operation of one set on the case; returns the destination.
std::vector<uint32_t> Run(const TransferOp& op, const Case& c, const std::vector<uint32_t>& src,
                          const std::vector<uint32_t>& dst, PixelSet set)
{
    auto s = MakePlane(c.sw, c.sh, src);
    s->GetImpl()->SetColorKey(int32_t(c.key >> 16), int32_t((c.key >> 8) & 0xFF),
                              int32_t(c.key & 0xFF));
    auto d = MakePlane(c.dw, c.dh, dst, set);
    Rect clip = c.clip;
    op.Run(*d->GetImpl(), s.get(), c.x, c.y, c.rates.dst, c.rates.src,
           c.useRect ? &c.srcRect : nullptr, c.useSize ? &c.size : nullptr,
           c.useClip ? &clip : nullptr);
    return PixelsOf(*d);
}

}  // namespace

TEST_CASE("the MMX set gives the portable set's pixels but for the documented differences")
{
    std::mt19937 random(20240601);
    const int kCases = 2000;
    int drawn = 0;
    for (int i = 0; i < kCases; ++i) {
        const Case c = RandomCase(random);
        // Where each destination pixel reads from: the copy of a source of pixel indexes + 1.
        std::vector<uint32_t> indexes(c.src.size());
        for (size_t k = 0; k < indexes.size(); ++k) indexes[k] = uint32_t(k + 1);
        const std::vector<uint32_t> none(c.dst.size(), 0);
        const std::vector<uint32_t> map =
            Run(FindTransfer("TransferCopy"), c, indexes, none, PixelSet::Portable);
        const std::vector<uint32_t> mirroredMap =
            Run(FindTransfer("TransferCopyMirrored"), c, indexes, none, PixelSet::Portable);
        drawn += std::count_if(map.begin(), map.end(), [](uint32_t v) { return v != 0; }) > 0;

        for (const TransferOp& op : AllTransfers()) {
            const std::vector<uint32_t>& from = op.mirrored ? mirroredMap : map;
            const std::vector<uint32_t> portable = Run(op, c, c.src, c.dst, PixelSet::Portable);
            const std::vector<uint32_t> mmx = Run(op, c, c.src, c.dst, PixelSet::MMX);
            for (size_t p = 0; p < c.dst.size(); ++p) {
                uint32_t wantPortable = c.dst[p];
                uint32_t wantMMX = c.dst[p];
                if (from[p]) {
                    const uint32_t s = c.src[from[p] - 1];
                    wantPortable = Reference(op.name, s, c.dst[p], c.rates, c.key, false);
                    wantMMX = Reference(op.name, s, c.dst[p], c.rates, c.key, true);
                }
                if (portable[p] != wantPortable || mmx[p] != wantMMX) {
                    CAPTURE(i);
                    CAPTURE(op.name);
                    CAPTURE(p);
                    CAPTURE(from[p]);
                    CHECK(portable[p] == wantPortable);
                    CHECK(mmx[p] == wantMMX);
                    break;
                }
            }
        }
    }
    // The random cases must mostly draw something, or they test little.
    CHECK(drawn > kCases / 2);
}

TEST_CASE("every MMX transfer leaves the floating-point registers free, also when it draws nothing")
{
    // MMX registers are the x87 registers: without EMMS after them, the next x87 load (long
    // double here; all floating point in a 32-bit build) overflows the register stack into NaN.
    auto src = MakePlane(4, 4, std::vector<uint32_t>(16, 0x80123456), PixelSet::MMX);
    auto dst = MakePlane(8, 8, {}, PixelSet::MMX);
    for (const TransferOp& op : AllTransfers()) {
        const std::string name = op.name;
        for (int32_t at : {2, 100}) {  // drawn, and clipped away before any pixel
            CAPTURE(name);
            CAPTURE(at);
            op.Run(*dst->GetImpl(), src.get(), at, at, 0x808080, 0x7F7F7F, nullptr, nullptr,
                   nullptr);
            volatile long double three = 3;
            const long double nine = three * three;
            CHECK(double(nine) == 9.0);
        }
    }
    for (int32_t at : {0, 100}) {
        const Rect rect{at, at, at + 4, at + 4};
        dst->GetImpl()->AddColor(0x00010101, &rect);
        dst->GetImpl()->SubColor(0x00010101, &rect);
        volatile long double three = 3;
        const long double nine = three * three;
        CHECK(double(nine) == 9.0);
    }
}

TEST_CASE("the SSE2 and AVX2 sets give exactly the MMX set's pixels")
{
    std::vector<PixelSet> sets = AllSets();
    sets.erase(sets.begin(), sets.begin() + 2);  // the vector sets this processor runs
    std::mt19937 random(20250101);
    // Small planes keep the run short and still cover every remainder of the eight-pixel loop
    // on both sides, every clip and every stretch step.
    const int kCases = 100000;
    const Rect rects[] = {{-1, -1, 100, 100}, {1, 0, 7, 3}, {3, 1, 4, 2}, {2, 2, 1, 3}};
    for (int i = 0; i < kCases; ++i) {
        const Case c = RandomCase(random, 21, 4, i % 2 == 0);
        auto src = MakePlane(c.sw, c.sh, c.src);
        src->SetColorKey(int32_t(c.key >> 16), int32_t((c.key >> 8) & 0xFF), int32_t(c.key & 0xFF));
        auto mmx = MakePlane(c.dw, c.dh, c.dst, PixelSet::MMX);
        std::vector<std::unique_ptr<CPlane>> planes;
        for (PixelSet set : sets) planes.push_back(MakePlane(c.dw, c.dh, c.dst, set));
        const size_t bytes = c.dst.size() * 4;
        // Runs draw(plane) on the MMX plane and every vector plane, each from the case's
        // destination; false after reporting the first difference.
        auto same = [&](const char* what, auto draw) {
            std::memcpy(mmx->GetImpl()->GetPixels(), c.dst.data(), bytes);
            draw(*mmx->GetImpl());
            for (size_t k = 0; k < planes.size(); ++k) {
                CPlaneImpl& impl = *planes[k]->GetImpl();
                std::memcpy(impl.GetPixels(), c.dst.data(), bytes);
                draw(impl);
                if (std::memcmp(mmx->GetImpl()->GetPixels(), impl.GetPixels(), bytes) != 0) {
                    const std::string name = what;
                    CAPTURE(i);
                    CAPTURE(name);
                    CAPTURE(SetName(sets[k]));
                    CHECK(PixelsOf(*planes[k]) == PixelsOf(*mmx));
                    return false;
                }
            }
            return true;
        };
        for (const TransferOp& op : AllTransfers()) {
            const bool ok = same(op.name, [&](CPlaneImpl& impl) {
                Rect clip = c.clip;
                op.Run(impl, src.get(), c.x, c.y, c.rates.dst, c.rates.src,
                       c.useRect ? &c.srcRect : nullptr, c.useSize ? &c.size : nullptr,
                       c.useClip ? &clip : nullptr);
            });
            if (!ok) return;
        }
        const Rect* rect = i % 5 ? &rects[i % 4] : nullptr;
        const uint32_t colour = uint32_t(random());
        if (!same("AddColor", [&](CPlaneImpl& impl) { impl.AddColor(colour, rect); }) ||
            !same("SubColor", [&](CPlaneImpl& impl) { impl.SubColor(colour, rect); }))
            return;
    }
}

TEST_CASE("stretches of long rows by every width give the MMX set's pixels in the vector sets")
{
    // The vector sets move runs of neighbouring source columns with shuffles chosen per run;
    // rows much longer than a run, every destination width from a third to three times the
    // source's (each run shape a stretch makes), both directions, and a table too wide to be
    // kept on the stack.
    std::vector<PixelSet> sets = AllSets();
    sets.erase(sets.begin(), sets.begin() + 2);
    std::mt19937 random(77);
    const char* const names[] = {"TransferCopy", "TransferCopyMirrored", "TransferAdd",
                                 "TransferAddMirrored"};
    auto check = [&](int32_t sw, int32_t dw, int32_t left) {
        std::vector<uint32_t> pixels(size_t(sw) * 2);
        for (uint32_t& p : pixels) p = uint32_t(random());
        auto src = MakePlane(sw, 2, pixels);
        std::vector<uint32_t> dst(size_t(dw) * 3);
        for (uint32_t& p : dst) p = uint32_t(random());
        const Rect srcRect{left, 0, sw, 2};
        const Size size{dw, 3};
        for (const char* name : names) {
            const TransferOp& op = FindTransfer(name);
            auto run = [&](PixelSet set) {
                auto plane = MakePlane(dw, 3, dst, set);
                op.Run(*plane->GetImpl(), src.get(), 0, 0, 0, 0, &srcRect, &size, nullptr);
                return PixelsOf(*plane);
            };
            const std::vector<uint32_t> want = run(PixelSet::MMX);
            for (PixelSet set : sets) {
                if (run(set) == want) continue;
                CAPTURE(sw);
                CAPTURE(dw);
                CAPTURE(left);
                CAPTURE(std::string(name));
                CAPTURE(SetName(set));
                CHECK(run(set) == want);
                return false;
            }
        }
        return true;
    };
    for (int32_t dw = 13; dw <= 120; ++dw)
        if (!check(40, dw, dw % 3)) return;
    check(700, 1400, 0);
    check(700, 1399, 1);
}
