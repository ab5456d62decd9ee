// sprites: the ways a plane goes onto the screen (keyed, alpha, add, subtract, mirrored,
// stretched, rotated, zoomed), from qga files, with many sprites moving.
//   sprites [--count N]      N moving sprites (200 by default)
//   sprites --bench          frame time for 100, 1,000 and 10,000 sprites at 640x480
#include <pyro/app/Application.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/app/Main.h>
#include <pyro/game/ScreenView.h>
#include <pyro/graphics/CPUKind.h>
#include <pyro/graphics/Plane.h>
#include <pyro/text/FPSDisplay.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "ExampleRun.h"

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
constexpr uint32_t kBackground = 0x404040;
// The moving sprites stay below the row that shows each kind once.
constexpr int32_t kFieldTop = 120;

struct Sprite {
    int32_t x, y, dx, dy, kind;
};

class CSprites {
public:
    // card.qga: four coloured quarters inside a magenta border, made by pyro-qga from a bitmap
    // and a grey mask. The colour key is pixel (0, 0) and keyed transfers compare whole pixels,
    // alpha included, so the border is magenta with alpha 0: keyed transfers skip it and alpha
    // transfers find it clear. The quarters are opaque above and half transparent below.
    int32_t Load() { return card_.Load("card.qga"); }

    // Places count sprites at the same spots for the same count: a frame looks the same each run.
    void Scatter(int32_t count)
    {
        sprites_.clear();
        uint32_t seed = 12345;
        auto next = [&seed](uint32_t range) {
            seed = seed * 1103515245u + 12345u;
            return int32_t((seed >> 8) % range);
        };
        for (int32_t i = 0; i < count; ++i)
            sprites_.push_back({next(kWidth - 64), kFieldTop + next(kHeight - kFieldTop - 64),
                                (next(7) - 3) | 1, (next(7) - 3) | 1, i % 8});
    }

    void Move()
    {
        for (Sprite& s : sprites_) {
            s.x += s.dx;
            s.y += s.dy;
            if (s.x < 0 || s.x > kWidth - 64) s.dx = -s.dx;
            if (s.y < kFieldTop || s.y > kHeight - 64) s.dy = -s.dy;
        }
    }

    // One sprite of each kind in a row at the top, then the moving ones.
    void Draw(CScreenView& view, int frame)
    {
        for (int32_t kind = 0; kind < 8; ++kind) Draw(view, kind, 16 + kind * 78, 24, 0);
        for (const Sprite& s : sprites_) Draw(view, s.kind, s.x, s.y, frame * 4);
    }

    // The eight kinds; (x, y) is the top-left corner, in the view's logical pixels, so a
    // magnified window shows the same picture larger.
    void Draw(CScreenView& view, int32_t kind, int32_t x, int32_t y, int32_t angle)
    {
        const Size twice = {64, 64};
        switch (kind) {
        case 0: view.Blt(&card_, x, y); break;  // keyed copy
        case 1: view.BltAlpha(&card_, x, y); break;
        case 2: view.TransferAddKeyed(&card_, x, y); break;
        case 3: view.TransferSubtractKeyed(&card_, x, y); break;
        case 4: view.TransferCopyKeyedMirrored(&card_, x, y); break;
        case 5: view.Blt(&card_, x, y, nullptr, &twice); break;  // stretched
        // Angle in 1/512 of a turn, clockwise; zoom in 16.16 fixed point; anchor 4: the centre.
        case 6: view.RotateBlt(&card_, nullptr, x, y, 128 + angle, 0x10000, 4); break;
        case 7: view.RotateBlt(&card_, nullptr, x, y, angle, 0x20000, 4); break;
        }
    }

private:
    CPlane card_;
    std::vector<Sprite> sprites_;
};

class CSpritesApp : public CApplication {
public:
    explicit CSpritesApp(CExampleRun& run) : run_(run) {}

    int OnInit(CWindowOption& options) override
    {
        options.caption = "sprites";
        options.className = "PYROSPRITES";
        options.sizeX = kWidth;
        options.sizeY = kHeight;
        return 0;
    }

    void MainThread() override
    {
        CScreenView view;
        view.SetLogicalSize(kWidth, kHeight);
        CSprites sprites;
        if (sprites.Load() != 0) {
            std::printf("card.qga is missing beside the program\n");
            return;
        }
        if (run_.Flag("--bench")) return Bench(view, sprites);

        CFrameTimer timer;
        timer.SetFPS(60);
        CFPSDisplay readOut(&timer);
        sprites.Scatter(run_.Option("--count", 200));
        while (PumpMessage() && run_.NextFrame(view)) {
            view.FillRect(kBackground);
            sprites.Draw(view, run_.Frame());
            sprites.Move();
            view.Present();
            timer.WaitFrame();
        }
    }

private:
    // Frames as fast as they go: the time of a frame with no sprite (clear and present) is the
    // reference the sprite counts are compared with.
    void Bench(CScreenView& view, CSprites& sprites)
    {
        std::printf("sprites at %dx%d, mean of 60 frames (clear, draw, present)\n", kWidth, kHeight);
        // The transfer set the planes use; PYRO_CPU_KIND in the environment holds it down.
        const int32_t kind = GetCPUKind();
        std::printf("processor kind %d: %s transfers\n", kind,
                    kind >= 6 ? "AVX2" : kind == 5 ? "SSE2" : kind >= 3 ? "MMX" : "portable");
        double reference = 0;
        auto frames = [&](int count) {
            for (int frame = 0; frame < count && PumpMessage(); ++frame) {
                view.FillRect(kBackground);
                sprites.Draw(view, frame);
                sprites.Move();
                view.Present();
            }
        };
        for (int32_t count : {0, 100, 1000, 10000}) {
            sprites.Scatter(count);
            frames(10);  // untimed: the first frames also pay for the window's first paints
            const auto start = std::chrono::steady_clock::now();
            frames(60);
            const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
            const double frameTime = spent.count() / 60;
            if (count == 0) {
                reference = frameTime;
                std::printf("%6d sprites: %8.3f ms per frame (reference)\n", count, frameTime);
            } else {
                std::printf("%6d sprites: %8.3f ms per frame, %6.1f x reference, %6.2f us per sprite\n",
                            count, frameTime, frameTime / reference,
                            (frameTime - reference) * 1000 / count);
            }
            std::fflush(stdout);
        }
    }

    CExampleRun& run_;
};

}  // namespace

int PyroMain(int argc, char* argv[])
{
    CExampleRun run(argc, argv);
    CSpritesApp app(run);
    app.Run();
    return 0;
}
