// Shape throughput on a 640 x 480 plane of this processor's set: every shape in every blend
// mode, in million covered pixels per second. The native build measures the peers with an equal
// in the same run: SDL2_gfx on a software renderer (boxRGBA, filledCircleRGBA,
// filledPolygonRGBA, aalineRGBA, lineRGBA, thickLineRGBA) and pixman (pixman_fill, OVER with a
// solid source, rasterised triangles), and prints our rate over theirs.
#include "BenchTiming.h"

#include <pyro/graphics/Plane.h>
#include <pyro/graphics/Shapes.h>

#if defined(PYRO_BENCH_PEERS)
#include <SDL.h>
#include <SDL2_gfxPrimitives.h>
#include <pixman.h>
#endif

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int32_t kW = 640;
constexpr int32_t kH = 480;
constexpr BlendMode kModes[] = {BlendMode::Copy, BlendMode::Alpha, BlendMode::Add,
                                BlendMode::Subtract, BlendMode::Multiply};
const char* const kModeNames[] = {"copy", "alpha", "add", "subtract", "multiply"};

// The shapes measured: each draws once and its covered pixel count is what a call is worth.
struct Shape {
    const char* name;
    double pixels;
    std::function<void(CShapes&, uint32_t colour, BlendMode mode)> draw;
};

// A regular polygon's points about (320, 240).
std::vector<Point> Polygon(int n, double radius)
{
    std::vector<Point> p;
    for (int i = 0; i < n; ++i) {
        const double a = 6.283185307179586 * i / n;
        p.push_back({int32_t(std::lround(320 + radius * std::cos(a))),
                     int32_t(std::lround(240 + radius * std::sin(a)))});
    }
    return p;
}

// 100 random lines, their major-axis lengths summed (one pixel, or two antialiased, per step).
struct Lines {
    std::vector<Point> ends;
    double steps = 0;
    Lines()
    {
        std::mt19937 random(4);
        for (int i = 0; i < 100; ++i) {
            const Point a{int32_t(random() % kW), int32_t(random() % kH)};
            const Point b{int32_t(random() % kW), int32_t(random() % kH)};
            ends.push_back(a);
            ends.push_back(b);
            steps += 1 + std::max(std::abs(a.x - b.x), std::abs(a.y - b.y));
        }
    }
};

}  // namespace

int main(int argc, char** argv)
{
    WarnIfInstrumented();
    const char* only = argc > 1 ? argv[1] : nullptr;
    CPlane plane;
    plane.Create(kW, kH);
    std::mt19937 random(1);
    uint32_t* pixels = plane.GetImpl()->GetPixels();
    for (size_t i = 0; i < size_t(kW) * kH; ++i) pixels[i] = uint32_t(random());
    CShapes shapes = plane.Shapes();

    const std::vector<Point> hexagon = Polygon(6, 200);
    const std::vector<Point> star = {{320, 20}, {450, 440}, {100, 170}, {540, 170}, {190, 440}};
    const Lines lines;
    const double hexagonArea = 6 * 0.5 * 200 * 200 * std::sin(6.283185307179586 / 6);
    const double circleArea = 3.141592653589793 * 200 * 200;
    const Point tri[3] = {{20, 20}, {620, 60}, {200, 460}};
    const double triArea = 0.5 * std::fabs(double(tri[1].x - tri[0].x) * (tri[2].y - tri[0].y) -
                                           double(tri[2].x - tri[0].x) * (tri[1].y - tri[0].y));

    const std::vector<Shape> list = {
        {"FillRect 600x440", 600.0 * 440,
         [](CShapes& s, uint32_t c, BlendMode m) { s.FillRect({20, 20, 620, 460}, c, m); }},
        {"FillRoundRect 600x440 r40", 600.0 * 440 - (4 - 3.14159) * 1600,
         [](CShapes& s, uint32_t c, BlendMode m) { s.FillRoundRect({20, 20, 620, 460}, 40, c, m); }},
        {"FillCircle r200", circleArea,
         [](CShapes& s, uint32_t c, BlendMode m) { s.FillCircle(320, 240, 200, c, m); }},
        {"FillEllipse 300x200", 3.14159 * 300 * 200,
         [](CShapes& s, uint32_t c, BlendMode m) { s.FillEllipse(320, 240, 300, 200, c, m); }},
        {"FillCircleAA r200", circleArea,
         [](CShapes& s, uint32_t c, BlendMode m) { s.FillCircleAA(320, 240, 200, c, m); }},
        {"FillTriangle", triArea,
         [&](CShapes& s, uint32_t c, BlendMode m) { s.FillTriangle(tri[0], tri[1], tri[2], c, m); }},
        {"FillPolygon hexagon r200", hexagonArea,
         [&](CShapes& s, uint32_t c, BlendMode m) {
             s.FillPolygon(hexagon.data(), 6, FillRule::NonZero, c, m);
         }},
        {"FillTriangleGradient", triArea,
         [&](CShapes& s, uint32_t c, BlendMode m) {
             s.FillTriangleGradient(tri[0], tri[1], tri[2], c, c ^ 0xFFFFFF, c ^ 0xFF00FF, m);
         }},
        {"DrawLine x100", lines.steps,
         [&](CShapes& s, uint32_t c, BlendMode m) {
             for (size_t i = 0; i < lines.ends.size(); i += 2)
                 s.DrawLine(lines.ends[i].x, lines.ends[i].y, lines.ends[i + 1].x, lines.ends[i + 1].y, c, m);
         }},
        {"DrawLineAA x100", 2 * lines.steps,
         [&](CShapes& s, uint32_t c, BlendMode m) {
             for (size_t i = 0; i < lines.ends.size(); i += 2)
                 s.DrawLineAA(lines.ends[i].x, lines.ends[i].y, lines.ends[i + 1].x, lines.ends[i + 1].y, c, m);
         }},
        {"DrawThickLine w8 x100", 8 * lines.steps,
         [&](CShapes& s, uint32_t c, BlendMode m) {
             for (size_t i = 0; i < lines.ends.size(); i += 2)
                 s.DrawThickLine(lines.ends[i].x, lines.ends[i].y, lines.ends[i + 1].x, lines.ends[i + 1].y, 8,
                                 LineCap::Square, c, m);
         }},
    };

    std::printf("%-30s", "Mpx/s");
    for (const char* m : kModeNames) std::printf(" %9s", m);
    std::printf("\n");
    // What the peers are measured against: the alpha (or copy) rates of these.
    double ours[32][5] = {};
    for (size_t i = 0; i < list.size(); ++i) {
        if (only && !std::strstr(list[i].name, only)) continue;
        std::printf("%-30s", list[i].name);
        for (int m = 0; m < 5; ++m) {
            ours[i][m] = MpixelsPerSecond(list[i].pixels, [&] { list[i].draw(shapes, 0x80C08040, kModes[m]); });
            std::printf(" %9.1f", ours[i][m]);
        }
        std::printf("\n");
    }
    const double fillRectAlpha = MpixelsPerSecond(600.0 * 440, [&] { shapes.FillRectAlpha({20, 20, 620, 460}, 0x204060, 128); });
    std::printf("%-30s %9.1f\n", "FillRectAlpha 600x440", fillRectAlpha);

#if defined(PYRO_BENCH_PEERS)
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 32, SDL_PIXELFORMAT_ARGB8888);
    std::memcpy(surface->pixels, pixels, size_t(kW) * kH * 4);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    std::vector<Sint16> hx, hy, sx, sy;
    for (const Point& p : hexagon) {
        hx.push_back(Sint16(p.x));
        hy.push_back(Sint16(p.y));
    }
    const double gfxBox = MpixelsPerSecond(600.0 * 440, [&] { boxRGBA(renderer, 20, 20, 619, 459, 0x20, 0x40, 0x60, 128); });
    const double gfxBoxOpaque = MpixelsPerSecond(600.0 * 440, [&] { boxRGBA(renderer, 20, 20, 619, 459, 0x20, 0x40, 0x60, 255); });
    const double gfxCircle = MpixelsPerSecond(circleArea, [&] { filledCircleRGBA(renderer, 320, 240, 200, 0xC0, 0x80, 0x40, 128); });
    const double gfxCircleOpaque = MpixelsPerSecond(circleArea, [&] { filledCircleRGBA(renderer, 320, 240, 200, 0xC0, 0x80, 0x40, 255); });
    const double gfxPolygon = MpixelsPerSecond(hexagonArea, [&] { filledPolygonRGBA(renderer, hx.data(), hy.data(), 6, 0xC0, 0x80, 0x40, 128); });
    const double gfxAALine = MpixelsPerSecond(2 * lines.steps, [&] {
        for (size_t i = 0; i < lines.ends.size(); i += 2)
            aalineRGBA(renderer, Sint16(lines.ends[i].x), Sint16(lines.ends[i].y), Sint16(lines.ends[i + 1].x),
                       Sint16(lines.ends[i + 1].y), 0xC0, 0x80, 0x40, 128);
    });
    const double gfxLine = MpixelsPerSecond(lines.steps, [&] {
        for (size_t i = 0; i < lines.ends.size(); i += 2)
            lineRGBA(renderer, Sint16(lines.ends[i].x), Sint16(lines.ends[i].y), Sint16(lines.ends[i + 1].x),
                     Sint16(lines.ends[i + 1].y), 0xC0, 0x80, 0x40, 128);
    });
    const double gfxThick = MpixelsPerSecond(8 * lines.steps, [&] {
        for (size_t i = 0; i < lines.ends.size(); i += 2)
            thickLineRGBA(renderer, Sint16(lines.ends[i].x), Sint16(lines.ends[i].y), Sint16(lines.ends[i + 1].x),
                          Sint16(lines.ends[i + 1].y), 8, 0xC0, 0x80, 0x40, 128);
    });
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);

    std::vector<uint32_t> bits(pixels, pixels + size_t(kW) * kH);
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_a8r8g8b8, kW, kH, bits.data(), kW * 4);
    const pixman_color_t colour = {0x2020, 0x4040, 0x6060, 0x8080};  // premultiplied by half
    pixman_image_t* solid = pixman_image_create_solid_fill(&colour);
    const double pixFill = MpixelsPerSecond(600.0 * 440, [&] {
        pixman_fill(bits.data(), kW, 32, 20, 20, 600, 440, 0xFF204060);
    });
    const double pixOver = MpixelsPerSecond(600.0 * 440, [&] {
        pixman_image_composite32(PIXMAN_OP_OVER, solid, nullptr, dst, 0, 0, 0, 0, 20, 20, 600, 440);
    });
    pixman_triangle_t triangle = {{pixman_int_to_fixed(tri[0].x), pixman_int_to_fixed(tri[0].y)},
                                  {pixman_int_to_fixed(tri[1].x), pixman_int_to_fixed(tri[1].y)},
                                  {pixman_int_to_fixed(tri[2].x), pixman_int_to_fixed(tri[2].y)}};
    const double pixTriangle = MpixelsPerSecond(triArea, [&] {
        pixman_composite_triangles(PIXMAN_OP_OVER, solid, dst, PIXMAN_a8, 0, 0, 0, 0, 1, &triangle);
    });
    pixman_image_unref(solid);
    pixman_image_unref(dst);

    auto row = [](const char* peer, double theirs, const char* against, double our) {
        std::printf("%-44s %9.1f  %-32s %9.1f %7.2fx\n", peer, theirs, against, our, our / theirs);
    };
    std::printf("\n%-44s %9s  %-32s %9s %8s\n", "peer", "Mpx/s", "ours", "Mpx/s", "ratio");
    row("SDL2_gfx boxRGBA alpha 128", gfxBox, "FillRectAlpha", fillRectAlpha);
    row("SDL2_gfx boxRGBA opaque", gfxBoxOpaque, "FillRect copy", ours[0][0]);
    row("SDL2_gfx filledCircleRGBA alpha 128", gfxCircle, "FillCircle alpha", ours[2][1]);
    row("SDL2_gfx filledCircleRGBA opaque", gfxCircleOpaque, "FillCircle copy", ours[2][0]);
    row("SDL2_gfx filledPolygonRGBA hexagon alpha", gfxPolygon, "FillPolygon alpha", ours[6][1]);
    row("SDL2_gfx aalineRGBA x100 alpha", gfxAALine, "DrawLineAA alpha", ours[9][1]);
    row("SDL2_gfx lineRGBA x100 alpha", gfxLine, "DrawLine alpha", ours[8][1]);
    row("SDL2_gfx thickLineRGBA w8 x100 alpha", gfxThick, "DrawThickLine alpha", ours[10][1]);
    row("pixman_fill", pixFill, "FillRect copy", ours[0][0]);
    row("pixman OVER solid", pixOver, "FillRectAlpha", fillRectAlpha);
    row("pixman_composite_triangles OVER (antialiased)", pixTriangle, "FillTriangle alpha", ours[5][1]);
#endif
    return 0;
}
