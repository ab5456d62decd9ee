// Geometry throughput: a 256 x 256 sprite turned by 45 degrees and zoomed by 1.25 onto a
// 640 x 480 plane (keyed and opaque), and a full-screen quadrilateral mapped with MorphBltFast.
// The native build also measures SDL2_gfx's rotozoomSurface on the same sizes in the same run.
// Rates count the pixels of the turned picture (its area), so they compare like with like.
#include "BenchTiming.h"

#include <pyro/graphics/Plane.h>
#include "graphics/DIBPlane.h"
#include "graphics/DIBPlaneMMX.h"

#if defined(PYRO_BENCH_PEERS)
#include <SDL.h>
#include <SDL2_rotozoom.h>
#endif

#include <cstdio>
#include <random>

namespace {

constexpr int32_t kScreenW = 640;
constexpr int32_t kScreenH = 480;
constexpr int32_t kSprite = 256;
constexpr int32_t kZoom = 81920;   // 1.25 in 16.16
constexpr int32_t kAngle = 64;     // 45 degrees in 512ths of a turn

void Fill(uint32_t* p, size_t count, std::mt19937& random)
{
    for (size_t i = 0; i < count; ++i) p[i] = random() % 4 ? uint32_t(random()) : 0x00FF00FF;
}

}  // namespace

int main()
{
    WarnIfInstrumented();
    std::mt19937 random(2);
    CPlane sprite(new CDIBPlane, true);
    CPlane picture(new CDIBPlane, true);
    CPlane screen(new CDIBPlaneMMX, true);
    sprite.Create(kSprite, kSprite);
    picture.Create(kScreenW, kScreenH);
    screen.Create(kScreenW, kScreenH);
    Fill(sprite.GetImpl()->GetPixels(), size_t(kSprite) * kSprite, random);
    Fill(picture.GetImpl()->GetPixels(), size_t(kScreenW) * kScreenH, random);
    sprite.SetColorKey(255, 0, 255);

    const double zoomed = kSprite * 1.25;
    const double turnedArea = zoomed * zoomed;
    CPlaneImpl* impl = screen.GetImpl();
    const double rotate = MpixelsPerSecond(turnedArea, [&] {
        impl->RotateBlt(&sprite, nullptr, kScreenW / 2, kScreenH / 2, kAngle, kZoom, 4, nullptr);
    });
    const double rotateFast = MpixelsPerSecond(turnedArea, [&] {
        impl->RotateBltFast(&sprite, nullptr, kScreenW / 2, kScreenH / 2, kAngle, kZoom, 4,
                            nullptr);
    });
    // A slanted full-screen quadrilateral; its area by the shoelace formula.
    const Point from[4] = {
        {0, 0}, {kScreenW - 1, 0}, {0, kScreenH - 1}, {kScreenW - 1, kScreenH - 1}};
    const Point to[4] = {{40, 0}, {kScreenW, 20}, {0, kScreenH}, {kScreenW - 30, kScreenH - 10}};
    const double quadArea =
        0.5 * ((to[0].x * to[1].y - to[1].x * to[0].y) + (to[1].x * to[3].y - to[3].x * to[1].y) +
               (to[3].x * to[2].y - to[2].x * to[3].y) + (to[2].x * to[0].y - to[0].x * to[2].y));
    const double morph = MpixelsPerSecond(quadArea, [&] {
        impl->MorphBltFast(&picture, from, to, nullptr, 0);
    });

    std::printf("%-52s %10s\n", "operation", "Mpx/s");
    std::printf("%-52s %10.1f\n", "RotateBlt 256x256, 45 deg, zoom 1.25 (keyed)", rotate);
    std::printf("%-52s %10.1f\n", "RotateBltFast 256x256, 45 deg, zoom 1.25", rotateFast);
    std::printf("%-52s %10.1f\n", "MorphBltFast 640x480 onto a full-screen quad", morph);

#if defined(PYRO_BENCH_PEERS)
    auto surface = [](int w, int h) {
        return SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    };
    SDL_Surface* peerSprite = surface(kSprite, kSprite);
    SDL_Surface* peerPicture = surface(kScreenW, kScreenH);
    SDL_Surface* peerScreen = surface(kScreenW, kScreenH);
    Fill(static_cast<uint32_t*>(peerSprite->pixels), size_t(kSprite) * kSprite, random);
    Fill(static_cast<uint32_t*>(peerPicture->pixels), size_t(kScreenW) * kScreenH, random);
    SDL_SetColorKey(peerSprite, SDL_TRUE, 0x00FF00FF);
    // rotozoomSurface makes a new surface each time; drawing it on the screen is the other half.
    const double peerTurn = MpixelsPerSecond(turnedArea, [&] {
        SDL_Surface* turned = rotozoomSurface(peerSprite, 45.0, 1.25, SMOOTHING_OFF);
        SDL_FreeSurface(turned);
    });
    const double peerTurnDraw = MpixelsPerSecond(turnedArea, [&] {
        SDL_Surface* turned = rotozoomSurface(peerSprite, 45.0, 1.25, SMOOTHING_OFF);
        SDL_Rect at{kScreenW / 2 - turned->w / 2, kScreenH / 2 - turned->h / 2, 0, 0};
        SDL_BlitSurface(turned, nullptr, peerScreen, &at);
        SDL_FreeSurface(turned);
    });
    const double peerFull = MpixelsPerSecond(double(kScreenW) * kScreenH, [&] {
        SDL_Surface* turned = rotozoomSurface(peerPicture, 2.0, 1.0, SMOOTHING_OFF);
        SDL_FreeSurface(turned);
    });
    std::printf("\n%-52s %10s %9s\n", "peer (SDL2_gfx)", "Mpx/s", "ours/peer");
    std::printf("%-52s %10.1f %9.2f\n", "rotozoomSurface 256x256, 45 deg, 1.25 (vs RotateBltFast)",
                peerTurn, rotateFast / peerTurn);
    std::printf("%-52s %10.1f %9.2f\n", "rotozoomSurface + SDL_BlitSurface (vs RotateBlt)",
                peerTurnDraw, rotate / peerTurnDraw);
    std::printf("%-52s %10.1f %9.2f\n", "rotozoomSurface 640x480, 2 deg, 1.0 (vs MorphBltFast)",
                peerFull, morph / peerFull);
    SDL_FreeSurface(peerSprite);
    SDL_FreeSurface(peerPicture);
    SDL_FreeSurface(peerScreen);
#endif
    return 0;
}
