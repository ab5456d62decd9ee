// shapes: lines, circles, polygons, gradients and translucent fills drawn on the screen view in
// logical coordinates (320 by 240, magnified twice in a 640 by 480 window), some of them moving.
#include <pyro/app/Application.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/app/Main.h>
#include <pyro/game/ScreenView.h>
#include <pyro/graphics/Shapes.h>

#include "ExampleRun.h"

#include <cmath>

namespace {

constexpr uint32_t kBackground = 0xFF182030;

// A five-pointed star about (cx, cy): its middle is outside by the even-odd rule.
void Star(Point* points, int32_t cx, int32_t cy, int32_t r, int32_t turn)
{
    for (int32_t i = 0; i < 5; ++i) {
        const double a = (i * 2 * 2 + turn / 90.0) * 3.14159265358979 / 5 - 3.14159265358979 / 2;
        points[i] = {cx + int32_t(std::lround(r * std::cos(a))), cy + int32_t(std::lround(r * std::sin(a)))};
    }
}

}  // namespace

class CShapesApp : public CApplication {
public:
    explicit CShapesApp(CExampleRun& run) : run_(run) {}

    int OnInit(CWindowOption& options) override
    {
        options.caption = "shapes";
        options.className = "PYROSHAPES";
        options.sizeX = 640;
        options.sizeY = 480;
        return 0;
    }

    void MainThread() override
    {
        CScreenView view;
        view.SetLogicalSize(320, 240);  // drawn at twice the size in the 640 by 480 window
        CFrameTimer timer;
        timer.SetFPS(60);
        while (PumpMessage() && run_.NextFrame(view)) {
            Draw(view.Shapes(), run_.Frame());
            view.Present();
            timer.WaitFrame();
        }
    }

private:
    // One frame; everything in logical pixels.
    static void Draw(CShapes s, int32_t frame)
    {
        s.FillRect({0, 0, 320, 240}, kBackground);

        // Lines: a fan of one-pixel lines, antialiased ones, thick ones with both ends.
        for (int32_t i = 0; i <= 8; ++i) s.DrawLine(8, 8, 8 + i * 12, 104, 0xFFE0E0E0);
        for (int32_t i = 0; i < 6; ++i) s.DrawLineAA(112, 8 + i * 6, 150, 30 + i * 14, 0xFFFFD040);
        s.DrawThickLine(20, 112, 140, 112, 9, LineCap::Round, 0xFF40A0FF);
        s.DrawThickLine(20, 128, 140, 128, 9, LineCap::Square, 0xFF40A0FF);

        // Circles and ellipses: filled, outlined, antialiased, and two translucent ones adding up.
        s.FillCircle(200, 40, 28, 0xFFE04040);
        s.DrawCircle(200, 40, 32, 0xFFFFFFFF);
        s.FillCircleAA(270, 40, 28, 0xFF40E080, BlendMode::Alpha);
        s.DrawEllipse(240, 100, 70, 18, 0xFFFFD040);
        s.FillEllipse(215, 100, 30, 12, 0xFF602000, BlendMode::Add);
        s.FillEllipse(265, 100, 30, 12, 0xFF602000, BlendMode::Add);

        // Polygons: a turning star (even-odd: its middle stays empty), a triangle, a rounded box.
        Point star[5];
        Star(star, 50, 190, 40, frame);
        s.FillPolygon(star, 5, FillRule::EvenOdd, 0xFFD060E0);
        s.FillTriangle({100, 230}, {140, 150}, {160, 230}, 0xFF30C0C0);
        s.FillRoundRect({170, 150, 230, 230}, 12, 0xFF808080);

        // A gradient: a colour at each corner.
        s.FillTriangleGradient({240, 230}, {280, 140}, {316, 230}, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF);

        // A translucent band moving down the screen, like a pause screen's dimming.
        const int32_t band = (frame * 4) % 240;
        s.FillRectAlpha({0, band, 320, band + 16}, 0x000000, 128);
    }

    CExampleRun& run_;
};

int PyroMain(int argc, char* argv[])
{
    CExampleRun run(argc, argv);
    CShapesApp app(run);
    app.Run();
    return 0;
}
