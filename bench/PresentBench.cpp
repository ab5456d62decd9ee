// The cost of one Present on each display back-end, in the same run: a logical screen of 320 by
// 240 or 640 by 480 shown in a window of 640 by 480, 1920 by 1080 or 3840 by 2160. For each, the
// process's CPU time and the wall time per Present on
//   DIB        the screen view magnifying in its transfers, BitBlt of the window-sized back buffer;
//   D3D11      the same back buffer uploaded and drawn one to one through Direct3D 11;
//   D3D11 GPU  a back buffer of the logical size, magnified by the swap chain's draw;
// and the ratios DIB / D3D11. Vsync is off, so that Present measures the work, not the display.
// The process's CPU time counts the threads a driver presents on as well.
//   bench_present [presents per case]
// The window must fit the display: run on a virtual display of 3840 by 2160 or more.
#include <pyro/app/Application.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/app/Main.h>
#include <pyro/game/ScreenView.h>
#include <pyro/graphics/D3D11Draw.h>

#include "BenchTiming.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <windows.h>

namespace {

double WallSeconds()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / frequency.QuadPart;
}

class BenchApp : public CApplication {
public:
    BenchApp(int width, int height, std::function<void(CApplication&)> body) : width_(width), height_(height), body_(body) {}
    int OnInit(CWindowOption& options) override
    {
        options.caption = "bench_present";
        options.className = "PYROBENCH";
        options.sizeX = width_;
        options.sizeY = height_;
        options.style = 0x90000000;  // WS_POPUP | WS_VISIBLE: no frame, nothing clamps the size
        return 0;
    }
    void MainThread() override { body_(*this); }

private:
    int width_, height_;
    std::function<void(CApplication&)> body_;
};

enum Way { kDIB, kD3D11, kD3D11Scaled, kWays };
const char* const kWayNames[kWays] = {"DIB", "D3D11", "D3D11 GPU"};

struct Result {
    double cpu = 0, wall = 0;  // milliseconds per Present
    bool ok = false;
};

Result Measure(Way way, int logicalWidth, int logicalHeight, int width, int height, int presents)
{
    Result result;
    BenchApp app(width, height, [&](CApplication& self) {
        CScreenView view(way == kDIB ? DisplayKind::kDIB : DisplayKind::kD3D11);
        auto* d3d = dynamic_cast<CD3D11Draw*>(view.GetDraw());
        if (way != kDIB && !(d3d && d3d->IsActive())) return;
        if (d3d) d3d->SetVSync(false);
        view.SetLogicalSize(logicalWidth, logicalHeight);
        RECT client;
        GetClientRect(view.GetDraw()->GetWindow(), &client);
        if (client.right != width || client.bottom != height) {
            std::printf("  (the window has %ldx%ld, not %dx%d: the display is too small)\n", client.right,
                        client.bottom, width, height);
        }
        // A picture over the whole logical screen; neither back-end tracks what changed.
        view.FillRect(0x00203060, nullptr);
        const Rect block = {10, 10, logicalWidth / 2, logicalHeight / 2};
        view.FillRect(0x00FF8000, &block);
        if (way == kD3D11Scaled) {
            // The back buffer at the logical size: the draw into the swap chain magnifies it.
            view.GetDraw()->SetDisplay(false, logicalWidth, logicalHeight, 0);
            view.UpdateView();
            view.FillRect(0x00203060, nullptr);
            view.FillRect(0x00FF8000, &block);
        }
        for (int i = 0; i < 5; ++i) view.Present();  // the first frames make the textures
        const double cpu = ProcessCpuSeconds();
        const double wall = WallSeconds();
        for (int i = 0; i < presents; ++i) {
            self.PumpMessage();
            view.Present();
        }
        result.wall = (WallSeconds() - wall) * 1000.0 / presents;
        result.cpu = (ProcessCpuSeconds() - cpu) * 1000.0 / presents;
        result.ok = !d3d || d3d->IsActive();
    });
    app.Run();
    return result;
}

}  // namespace

int PyroMain(int argc, char* argv[])
{
    const int presents = argc > 1 ? std::atoi(argv[1]) : 200;
    struct Case {
        int logicalWidth, logicalHeight, width, height;
    };
    const Case cases[] = {{320, 240, 640, 480}, {320, 240, 1920, 1080}, {640, 480, 3840, 2160}};
    std::printf("ms per Present, %d presents per case (process CPU time / wall time)\n", presents);
    std::printf("%-22s %-17s %-17s %-17s %-9s %-9s\n", "logical -> window", kWayNames[0], kWayNames[1],
                kWayNames[2], "DIB/D3D", "DIB/GPU");
    for (const Case& c : cases) {
        Result r[kWays];
        for (int way = 0; way < kWays; ++way) {
            r[way] = Measure(Way(way), c.logicalWidth, c.logicalHeight, c.width, c.height, presents);
        }
        char name[32];
        std::snprintf(name, sizeof name, "%dx%d -> %dx%d", c.logicalWidth, c.logicalHeight, c.width, c.height);
        char cells[kWays][32];
        for (int way = 0; way < kWays; ++way) {
            if (r[way].ok) std::snprintf(cells[way], sizeof cells[way], "%7.3f / %7.3f", r[way].cpu, r[way].wall);
            else std::snprintf(cells[way], sizeof cells[way], "%s", "unavailable");
        }
        auto ratio = [&](int way) { return r[way].ok && r[way].cpu > 0 ? r[kDIB].cpu / r[way].cpu : 0.0; };
        std::printf("%-22s %-17s %-17s %-17s %-9.2f %-9.2f\n", name, cells[0], cells[1], cells[2], ratio(kD3D11),
                    ratio(kD3D11Scaled));
        std::fflush(stdout);
    }
    return 0;
}
