// Transfer throughput: every transfer of both sets, one to one (640 x 480 onto 640 x 480) and
// stretched twice (320 x 240 onto 640 x 480), against memcpy of the same bytes. The native build
// also measures SDL2 and pixman blits of the same sizes in the same run.
// Build without sanitizers to get meaningful figures (see README.md in this folder).
#include "BenchTiming.h"

#include <pyro/graphics/Plane.h>
#include "graphics/DIBPlane.h"
#include "graphics/DIBPlaneMMX.h"

#if defined(PYRO_BENCH_PEERS)
#include <SDL.h>
#include <pixman.h>
#endif

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

struct Op {
    const char* name;
    int32_t (CPlaneImpl::*six)(CPlane*, int32_t, int32_t, const Rect*, const Size*, Rect*);
    int32_t (CPlaneImpl::*eight)(CPlane*, int32_t, int32_t, uint32_t, uint32_t, const Rect*,
                                 const Size*, Rect*);
    int32_t (CPlaneImpl::*level)(CPlane*, int32_t, int32_t, int32_t, const Rect*, const Size*,
                                 Rect*);
};

#define OP6(n) {#n, &CPlaneImpl::n, nullptr, nullptr}
#define OP8(n) {#n, nullptr, &CPlaneImpl::n, nullptr}
const Op kOps[] = {
    OP6(TransferCopyKeyed), OP6(TransferCopy), OP6(TransferAverageKeyed), OP6(TransferAverage),
    OP8(TransferMixKeyed), OP8(TransferMix), OP6(TransferAddKeyed), OP6(TransferAdd),
    OP6(TransferSubtractKeyed), OP6(TransferSubtract), OP6(TransferOpaqueKeyed),
    OP6(TransferOpaque), OP8(TransferAlphaMix), OP6(TransferAlpha),
    OP6(TransferColourOnlyKeyed), OP6(TransferColourOnly), OP6(TransferCopyKeyedMirrored),
    OP6(TransferCopyMirrored), OP6(TransferAverageKeyedMirrored), OP6(TransferAverageMirrored),
    OP8(TransferMixKeyedMirrored), OP8(TransferMixMirrored), OP6(TransferAddKeyedMirrored),
    OP6(TransferAddMirrored), OP6(TransferSubtractKeyedMirrored), OP6(TransferSubtractMirrored),
    OP6(TransferOpaqueKeyedMirrored), OP6(TransferOpaqueMirrored),
    OP8(TransferAlphaMixMirrored), OP6(TransferAlphaMirrored),
    OP6(TransferColourOnlyKeyedMirrored), OP6(TransferColourOnlyMirrored),
    {"TransferFade", nullptr, nullptr, &CPlaneImpl::TransferFade},
    OP6(TransferAuto),
};
#undef OP6
#undef OP8

// Random colours with random alpha bytes, a quarter of them the colour key.
void Fill(CPlane& plane, std::mt19937& random)
{
    int32_t w = 0;
    int32_t h = 0;
    plane.GetSize(&w, &h);
    uint32_t* p = plane.GetImpl()->GetPixels();
    for (int32_t i = 0; i < w * h; ++i) p[i] = random() % 4 ? uint32_t(random()) : kKey;
}

double Measure(const Op& op, CPlaneImpl& dst, CPlane& src, const Rect* srcRect,
               const Size* size)
{
    return MpixelsPerSecond(double(kWidth) * kHeight, [&] {
        if (op.six) (dst.*op.six)(&src, 0, 0, srcRect, size, nullptr);
        else if (op.eight)
            (dst.*op.eight)(&src, 0, 0, 0x404040, 0xBFBFBF, srcRect, size, nullptr);
        else (dst.*op.level)(&src, 0, 0, 0xC0, srcRect, size, nullptr);
    });
}

struct Row {
    std::string name;
    double portable, mmx;
};

#if defined(PYRO_BENCH_PEERS)
// SDL2 and pixman on surfaces of the same sizes, each against the matching MMX transfer.
void MeasurePeers(const std::vector<Row>& oneToOne, const std::vector<Row>& stretched,
                  std::mt19937& random)
{
    auto find = [](const std::vector<Row>& rows, const char* name) {
        for (const Row& r : rows)
            if (r.name == name) return r.mmx;
        return 0.0;
    };
    auto surface = [](int w, int h) {
        return SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    };
    SDL_Surface* src = surface(kWidth, kHeight);
    SDL_Surface* small = surface(kWidth / 2, kHeight / 2);
    SDL_Surface* dst = surface(kWidth, kHeight);
    for (SDL_Surface* s : {src, small, dst}) {
        uint32_t* p = static_cast<uint32_t*>(s->pixels);
        for (int i = 0; i < s->w * s->h; ++i) p[i] = random() % 4 ? uint32_t(random()) : kKey;
    }
    const double pixels = double(kWidth) * kHeight;
    auto sdl = [&](SDL_Surface* from, SDL_BlendMode mode, bool keyed, bool scaled) {
        SDL_SetColorKey(from, keyed ? SDL_TRUE : SDL_FALSE, kKey);
        SDL_SetSurfaceBlendMode(from, mode);
        return MpixelsPerSecond(pixels, [&] {
            SDL_Rect whole{0, 0, kWidth, kHeight};
            if (scaled) SDL_BlitScaled(from, nullptr, dst, &whole);
            else SDL_BlitSurface(from, nullptr, dst, nullptr);
        });
    };
    auto image = [](SDL_Surface* s) {
        return pixman_image_create_bits(PIXMAN_a8r8g8b8, s->w, s->h,
                                        static_cast<uint32_t*>(s->pixels), s->pitch);
    };
    pixman_image_t* psrc = image(src);
    pixman_image_t* pdst = image(dst);
    auto pix = [&](pixman_op_t op) {
        return MpixelsPerSecond(pixels, [&] {
            pixman_image_composite32(op, psrc, nullptr, pdst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
        });
    };
    struct Peer {
        const char* peer;
        double rate;
        const char* ours;
        double oursRate;
    } peers[] = {
        {"SDL_BlitSurface, colour key", sdl(src, SDL_BLENDMODE_NONE, true, false),
         "TransferCopyKeyed", find(oneToOne, "TransferCopyKeyed")},
        {"SDL_BlitSurface, BLEND", sdl(src, SDL_BLENDMODE_BLEND, false, false), "TransferAlpha",
         find(oneToOne, "TransferAlpha")},
        {"SDL_BlitSurface, ADD", sdl(src, SDL_BLENDMODE_ADD, false, false), "TransferAdd",
         find(oneToOne, "TransferAdd")},
        {"SDL_BlitScaled 2x", sdl(small, SDL_BLENDMODE_NONE, false, true), "TransferCopy 2x",
         find(stretched, "TransferCopy")},
        {"pixman SRC", pix(PIXMAN_OP_SRC), "TransferCopy", find(oneToOne, "TransferCopy")},
        {"pixman OVER", pix(PIXMAN_OP_OVER), "TransferAlpha", find(oneToOne, "TransferAlpha")},
        {"pixman ADD", pix(PIXMAN_OP_ADD), "TransferAdd", find(oneToOne, "TransferAdd")},
    };
    std::printf("\n%-30s %10s  %-20s %10s %9s\n", "peer", "Mpx/s", "ours (MMX)", "Mpx/s",
                "ours/peer");
    for (const Peer& p : peers)
        std::printf("%-30s %10.1f  %-20s %10.1f %9.2f\n", p.peer, p.rate, p.ours, p.oursRate,
                    p.oursRate / p.rate);
    pixman_image_unref(psrc);
    pixman_image_unref(pdst);
    SDL_FreeSurface(src);
    SDL_FreeSurface(small);
    SDL_FreeSurface(dst);
}
#endif

}  // namespace

int main()
{
    WarnIfInstrumented();
    std::mt19937 random(1);
    CPlane src(new CDIBPlane, true);
    CPlane portable(new CDIBPlane, true);
    CPlane mmx(new CDIBPlaneMMX, true);
    src.Create(kWidth, kHeight);
    portable.Create(kWidth, kHeight);
    mmx.Create(kWidth, kHeight);
    Fill(src, random);
    Fill(portable, random);
    Fill(mmx, random);
    src.SetColorKey(255, 0, 255);

    std::vector<uint32_t> a(size_t(kWidth) * kHeight, 1), b(size_t(kWidth) * kHeight, 2);
    const double memcpyRate = MpixelsPerSecond(double(kWidth) * kHeight, [&] {
        std::memcpy(b.data(), a.data(), a.size() * 4);
        a[size_t(random() % a.size())] ^= b[0];  // keep the copies from being merged
    });
    std::printf("memcpy of 640 x 480 pixels: %.1f Mpx/s\n\n", memcpyRate);

    const Rect quarter{0, 0, kWidth / 2, kHeight / 2};
    const Size full{kWidth, kHeight};
    std::vector<Row> oneToOne, stretched;
    std::printf("%-33s %23s %23s %13s\n", "", "640x480 one to one", "320x240 stretched 2x",
                "/memcpy (1:1)");
    std::printf("%-33s %8s %8s %6s %8s %8s %6s %6s %6s\n", "operation", "portable", "MMX",
                "ratio", "portable", "MMX", "ratio", "port.", "MMX");
    for (const Op& op : kOps) {
        const Row one{op.name, Measure(op, *portable.GetImpl(), src, nullptr, nullptr),
                      Measure(op, *mmx.GetImpl(), src, nullptr, nullptr)};
        const Row two{op.name, Measure(op, *portable.GetImpl(), src, &quarter, &full),
                      Measure(op, *mmx.GetImpl(), src, &quarter, &full)};
        std::printf("%-33s %8.1f %8.1f %6.2f %8.1f %8.1f %6.2f %6.2f %6.2f\n", op.name,
                    one.portable, one.mmx, one.mmx / one.portable, two.portable, two.mmx,
                    two.mmx / two.portable, one.portable / memcpyRate, one.mmx / memcpyRate);
        std::fflush(stdout);
        oneToOne.push_back(one);
        stretched.push_back(two);
    }
#if defined(PYRO_BENCH_PEERS)
    MeasurePeers(oneToOne, stretched, random);
#endif
    return 0;
}
