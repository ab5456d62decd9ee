// Transfer throughput: every transfer of every set this processor runs, one to one (640 x 480
// onto 640 x 480) and stretched twice (320 x 240 onto 640 x 480), against memcpy of the same
// bytes. The native build also measures SDL2 and pixman blits of the same sizes in the same run.
// The targets at the end are ratios of figures from this one run, for the set GetCPUKind picks.
// Build without sanitizers to get meaningful figures (see README.md in this folder).
#include "BenchTiming.h"

#include <pyro/graphics/CPUKind.h>
#include <pyro/graphics/Plane.h>
#include "graphics/CPUKindProbe.h"

#if defined(PYRO_BENCH_PEERS)
#include <SDL.h>
#include <pixman.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
constexpr uint32_t kKey = 0x00FF00FF;
constexpr double kPixels = double(kWidth) * kHeight;

struct Op {
    const char* name;
    int32_t (CPlaneImpl::*six)(CPlane*, int32_t, int32_t, const Rect*, const Size*, Rect*);
    int32_t (CPlaneImpl::*eight)(CPlane*, int32_t, int32_t, uint32_t, uint32_t, const Rect*,
                                 const Size*, Rect*);
    int32_t (CPlaneImpl::*level)(CPlane*, int32_t, int32_t, int32_t, const Rect*, const Size*,
                                 Rect*);
};

#define POINTERS_Plain(n) &CPlaneImpl::n, nullptr, nullptr
#define POINTERS_Rates(n) nullptr, &CPlaneImpl::n, nullptr
#define OP(name, rule, mirrored, key, args) {#name, POINTERS_##args(name)},
const Op kOps[] = {
    PYRO_TRANSFERS(OP)
    {"TransferFade", nullptr, nullptr, &CPlaneImpl::TransferFade},
    {"TransferAuto", &CPlaneImpl::TransferAuto, nullptr, nullptr},
};
#undef OP
#undef POINTERS_Plain
#undef POINTERS_Rates

// The sets measured, by the processor kind that selects them.
struct SetColumn {
    const char* name;
    int32_t kind;
};

// Random colours with random alpha bytes, a quarter of them the colour key.
void Fill(uint32_t* p, size_t count, std::mt19937& random)
{
    for (size_t i = 0; i < count; ++i) p[i] = random() % 4 ? uint32_t(random()) : kKey;
}

// Sprite-like data: opaque discs of radius 24 every 64 pixels on the key, 56 % of it key.
void FillSprites(uint32_t* p, int32_t w, int32_t h, std::mt19937& random)
{
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const int32_t dx = x % 64 - 32;
            const int32_t dy = y % 64 - 32;
            p[size_t(y) * size_t(w) + size_t(x)] =
                dx * dx + dy * dy < 24 * 24 ? (uint32_t(random()) | 0xFF000000u) & 0xFFFEFEFE
                                            : kKey;
        }
}

// One call of the operation, as a function without arguments.
auto Call(const Op& op, CPlaneImpl& dst, CPlane& src, const Rect* srcRect, const Size* size)
{
    return [&op, &dst, &src, srcRect, size] {
        if (op.six) (dst.*op.six)(&src, 0, 0, srcRect, size, nullptr);
        else if (op.eight)
            (dst.*op.eight)(&src, 0, 0, 0x404040, 0xBFBFBF, srcRect, size, nullptr);
        else (dst.*op.level)(&src, 0, 0, 0xC0, srcRect, size, nullptr);
    };
}

double Measure(const Op& op, CPlaneImpl& dst, CPlane& src, const Rect* srcRect,
               const Size* size)
{
    return MpixelsPerSecond(kPixels, Call(op, dst, src, srcRect, size));
}

struct Row {
    std::string name;
    std::vector<double> one, two;  // per set
    double ratio;                  // stretched against one to one, the planes' set, in turns
};

// Ours and a reference take turns, one timed run each per round, so that both meet the shared
// machine in the same moods; each keeps its best. Returns the two rates.
template <class Ours, class Reference>
std::pair<double, double> SideBySide(Ours&& ours, Reference&& reference)
{
    double a = 0;
    double b = 0;
    for (int round = 0; round < 9; ++round) {
        a = std::max(a, MpixelsPerSecond(kPixels, ours, 0.05, 1));
        b = std::max(b, MpixelsPerSecond(kPixels, reference, 0.05, 1));
    }
    return {a, b};
}

struct Pair {
    std::string ours, reference;
    double oursRate, referenceRate, goal;
};

void PrintPairs(const std::vector<Pair>& pairs)
{
    std::printf("\n%-30s %9s  %-36s %9s %7s %6s\n", "ours (the planes' set)", "Mpx/s",
                "reference, measured in turn", "Mpx/s", "ratio", "goal");
    for (const Pair& p : pairs) {
        std::printf("%-30s %9.1f  %-36s %9.1f %7.2f", p.ours.c_str(), p.oursRate,
                    p.reference.c_str(), p.referenceRate, p.oursRate / p.referenceRate);
        if (p.goal > 0)
            std::printf(" %6.2f  %s", p.goal,
                        p.oursRate / p.referenceRate >= p.goal ? "met" : "NOT MET");
        std::printf("\n");
    }
}

}  // namespace

// An argument limits the table to the operations whose names contain it.
int main(int argc, char** argv)
{
    const char* only = argc > 1 ? argv[1] : nullptr;
    WarnIfInstrumented();
    std::mt19937 random(1);
    std::vector<SetColumn> sets = {{"portable", 1}, {"MMX", 3}};
    if (ProbeCPUKind() >= 5) sets.push_back({"SSE2", 5});
    if (ProbeCPUKind() >= 6) sets.push_back({"AVX2", 6});
    // The set the planes of this process use: the last one at or below GetCPUKind.
    size_t ours = 0;
    for (size_t i = 0; i < sets.size(); ++i)
        if (sets[i].kind <= GetCPUKind()) ours = i;

    CPlane src(CPlane::CreateImpl(1), true);
    CPlane sprites(CPlane::CreateImpl(1), true);
    src.Create(kWidth, kHeight);
    sprites.Create(kWidth, kHeight);
    Fill(src.GetImpl()->GetPixels(), size_t(kPixels), random);
    FillSprites(sprites.GetImpl()->GetPixels(), kWidth, kHeight, random);
    src.SetColorKey(255, 0, 255);
    sprites.SetColorKey(255, 0, 255);
    std::vector<std::unique_ptr<CPlane>> dst;
    for (const SetColumn& set : sets) {
        dst.push_back(std::make_unique<CPlane>(CPlane::CreateImpl(set.kind), true));
        dst.back()->Create(kWidth, kHeight);
        Fill(dst.back()->GetImpl()->GetPixels(), size_t(kPixels), random);
    }

    std::vector<uint32_t> a(size_t(kPixels), 1), b(size_t(kPixels), 2);
    const double memcpyRate = MpixelsPerSecond(kPixels, [&] {
        std::memcpy(b.data(), a.data(), a.size() * 4);
        a[size_t(random() % a.size())] ^= b[0];  // keep the copies from being merged
    });
    std::printf("memcpy of 640 x 480 pixels: %.1f Mpx/s; the planes use the %s set\n\n",
                memcpyRate, sets[ours].name);

    const Rect quarter{0, 0, kWidth / 2, kHeight / 2};
    const Size full{kWidth, kHeight};
    std::printf("%-33s  %-*s  %-*s %7s\n", "Mpx/s", int(sets.size() * 9), "640x480 one to one",
                int(sets.size() * 9), "320x240 stretched 2x", "2x/1:1");
    std::printf("%-33s ", "operation");
    for (int pass = 0; pass < 2; ++pass)
        for (const SetColumn& set : sets) std::printf(" %8s", set.name);
    std::printf("  %7s\n", sets[ours].name);
    std::vector<Row> rows;
    for (const Op& op : kOps) {
        if (only && !std::strstr(op.name, only)) continue;
        Row row{op.name, {}, {}, 0};
        for (size_t i = 0; i < sets.size(); ++i) {
            row.one.push_back(Measure(op, *dst[i]->GetImpl(), src, nullptr, nullptr));
            row.two.push_back(Measure(op, *dst[i]->GetImpl(), src, &quarter, &full));
        }
        // The ratio from its own pair of measurements in turns: the columns are measured one
        // after the other, and the machine's mood between them would show in their quotient.
        CPlaneImpl& plane = *dst[ours]->GetImpl();
        const auto [two, one] = SideBySide(Call(op, plane, src, &quarter, &full),
                                           Call(op, plane, src, nullptr, nullptr));
        row.ratio = two / one;
        std::printf("%-33s ", op.name);
        for (double r : row.one) std::printf(" %8.1f", r);
        for (double r : row.two) std::printf(" %8.1f", r);
        std::printf("  %7.2f\n", row.ratio);
        std::fflush(stdout);
        rows.push_back(row);
    }
    std::vector<double> keyedSprites;
    for (size_t i = 0; i < sets.size(); ++i)
        keyedSprites.push_back(Measure(kOps[0], *dst[i]->GetImpl(), sprites, nullptr, nullptr));
    std::printf("%-33s ", "TransferCopyKeyed, sprites");
    for (double r : keyedSprites) std::printf(" %8.1f", r);
    std::printf("\n");

    // Targets: ours against the references, side by side.
    CPlaneImpl& plane = *dst[ours]->GetImpl();
    auto run = [&](const char* name, CPlane& from, bool stretched) {
        const Op* op = nullptr;
        for (const Op& o : kOps)
            if (std::strcmp(o.name, name) == 0) op = &o;
        return [&plane, &from, op, stretched, &quarter, &full] {
            (plane.*op->six)(&from, 0, 0, stretched ? &quarter : nullptr,
                             stretched ? &full : nullptr, nullptr);
        };
    };
    std::vector<Pair> pairs;
    auto add = [&](const char* ours, const char* reference, std::pair<double, double> rates,
                   double goal) {
        pairs.push_back({ours, reference, rates.first, rates.second, goal});
    };
    add("TransferCopy", "memcpy", SideBySide(run("TransferCopy", src, false), [&] {
            std::memcpy(b.data(), a.data(), a.size() * 4);
            a[size_t(random() % a.size())] ^= b[0];
        }), 0.95);
#if defined(PYRO_BENCH_PEERS)
    auto surface = [](int w, int h) {
        return SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    };
    SDL_Surface* sSrc = surface(kWidth, kHeight);
    SDL_Surface* sSprites = surface(kWidth, kHeight);
    SDL_Surface* sSmall = surface(kWidth / 2, kHeight / 2);
    SDL_Surface* sDst = surface(kWidth, kHeight);
    for (SDL_Surface* s : {sSrc, sSmall, sDst})
        Fill(static_cast<uint32_t*>(s->pixels), size_t(s->w) * size_t(s->h), random);
    FillSprites(static_cast<uint32_t*>(sSprites->pixels), kWidth, kHeight, random);
    auto sdl = [&](SDL_Surface* from, SDL_BlendMode mode, bool keyed, bool scaled) {
        SDL_SetColorKey(from, keyed ? SDL_TRUE : SDL_FALSE, kKey);
        SDL_SetSurfaceBlendMode(from, mode);
        return [=] {
            SDL_Rect whole{0, 0, kWidth, kHeight};
            if (scaled) SDL_BlitScaled(from, nullptr, sDst, &whole);
            else SDL_BlitSurface(from, nullptr, sDst, nullptr);
        };
    };
    auto image = [](SDL_Surface* s) {
        return pixman_image_create_bits(PIXMAN_a8r8g8b8, s->w, s->h,
                                        static_cast<uint32_t*>(s->pixels), s->pitch);
    };
    pixman_image_t* pSrc = image(sSrc);
    pixman_image_t* pDst = image(sDst);
    auto pix = [&](pixman_op_t op) {
        return [=] {
            pixman_image_composite32(op, pSrc, nullptr, pDst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
        };
    };
    add("TransferAlpha", "pixman OVER",
        SideBySide(run("TransferAlpha", src, false), pix(PIXMAN_OP_OVER)), 1.0);
    add("TransferAdd", "pixman ADD", SideBySide(run("TransferAdd", src, false), pix(PIXMAN_OP_ADD)),
        1.0);
    add("TransferCopyKeyed, sprites", "SDL_BlitSurface, colour key, sprites",
        SideBySide(run("TransferCopyKeyed", sprites, false),
                   sdl(sSprites, SDL_BLENDMODE_NONE, true, false)),
        2.0);
    add("TransferCopy 2x", "SDL_BlitScaled 2x",
        SideBySide(run("TransferCopy", src, true), sdl(sSmall, SDL_BLENDMODE_NONE, false, true)),
        1.0);
    add("TransferCopy", "pixman SRC",
        SideBySide(run("TransferCopy", src, false), pix(PIXMAN_OP_SRC)), 0);
    add("TransferAlpha", "SDL_BlitSurface, BLEND",
        SideBySide(run("TransferAlpha", src, false), sdl(sSrc, SDL_BLENDMODE_BLEND, false, false)),
        0);
    add("TransferAdd", "SDL_BlitSurface, ADD",
        SideBySide(run("TransferAdd", src, false), sdl(sSrc, SDL_BLENDMODE_ADD, false, false)), 0);
    pixman_image_unref(pSrc);
    pixman_image_unref(pDst);
    for (SDL_Surface* s : {sSrc, sSprites, sSmall, sDst}) SDL_FreeSurface(s);
#endif
    PrintPairs(pairs);

    if (rows.empty()) return 0;
    const Row* slowest = &rows[0];
    for (const Row& r : rows)
        if (r.ratio < slowest->ratio) slowest = &r;
    std::printf("\nstretched 2x against one to one (in turns), the planes' set: lowest %.2f (%s), "
                "goal 0.50\n",
                slowest->ratio, slowest->name.c_str());
    for (const Row& r : rows)
        if (r.ratio < 0.5) std::printf("  below 0.50: %-33s %.2f\n", r.name.c_str(), r.ratio);
    return 0;
}
