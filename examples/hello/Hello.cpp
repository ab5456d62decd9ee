// hello: a window, a plane filled and drawn on the screen, and the frame-rate read-out.
#include <pyro/app/Application.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/app/Main.h>
#include <pyro/game/ScreenView.h>
#include <pyro/graphics/D3D11Draw.h>
#include <pyro/graphics/Plane.h>
#include <pyro/text/FPSDisplay.h>

#include "ExampleRun.h"

class CHelloApp : public CApplication {
public:
    explicit CHelloApp(CExampleRun& run) : run_(run) {}

    // The window: its caption, class name and client size.
    int OnInit(CWindowOption& options) override
    {
        options.caption = "hello";
        options.className = "PYROHELLO";
        options.sizeX = 640;
        options.sizeY = 480;
        return 0;
    }

    // The main routine: set up, then one pass of the loop per frame until the window closes.
    void MainThread() override
    {
        CScreenView view;             // the screen, with its back buffer
        view.SetLogicalSize(640, 480);
        // --no-vsync: on Direct3D 11, Present does not wait for the display's vertical blank.
        if (auto* d3d = dynamic_cast<CD3D11Draw*>(view.GetDraw())) d3d->SetVSync(!run_.Flag("--no-vsync"));
        CFrameTimer timer;
        timer.SetFPS(60);
        CFPSDisplay readOut(&timer);  // "FPS:measured/target" in the top-left corner

        CPlane box;
        box.Create(200, 120);
        box.GetImpl()->Clear(0x00FF8000, nullptr);  // orange, 0x00RRGGBB

        while (PumpMessage() && run_.NextFrame(view)) {
            view.FillRect(0x00203060, nullptr);                       // dark blue background
            view.BltFast(&box, 220, 180);  // copy, top-left at (220, 180)
            view.Present();
            timer.WaitFrame();
        }
    }

private:
    CExampleRun& run_;
};

int PyroMain(int argc, char* argv[])
{
    CExampleRun run(argc, argv);
    CHelloApp app(run);
    app.Run();
    return 0;
}
