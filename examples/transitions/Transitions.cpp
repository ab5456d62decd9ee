// transitions: two pictures and the 83 transition effects between them. Left and Right step
// through the effects, Up and Down through the four modes; the effect's number and name show
// below the pictures.
//   transitions [--effect N] [--mode M] [--phase P]   start there; with --phase, hold that phase
#include <pyro/app/Application.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/app/Main.h>
#include <pyro/game/ScreenView.h>
#include <pyro/graphics/Plane.h>
#include <pyro/graphics/transfer/Transition.h>
#include <pyro/input/KeyMapper.h>
#include <pyro/text/TextPlane.h>

#include <cstdio>

#include "ExampleRun.h"

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
constexpr int32_t kPictureHeight = 400;
const char* const kModeNames[4] = {"BltFast", "Blt", "BlendBltAlphaFade", "BltNatural"};

// Pictures drawn pixel by pixel: a warm pattern of diagonal stripes and a cool one of rings.
void PaintStripes(CPlane& plane)
{
    plane.Create(kWidth, kPictureHeight);
    CPlaneImpl* impl = plane.GetImpl();
    for (int32_t y = 0; y < kPictureHeight; ++y) {
        uint32_t* row = impl->GetPixels() + y * (impl->GetPitch() / 4);
        for (int32_t x = 0; x < kWidth; ++x)
            row[x] = ((x + y) / 40 % 2) ? 0xE06020 : 0xF0C040;
    }
}

void PaintRings(CPlane& plane)
{
    plane.Create(kWidth, kPictureHeight);
    CPlaneImpl* impl = plane.GetImpl();
    for (int32_t y = 0; y < kPictureHeight; ++y) {
        uint32_t* row = impl->GetPixels() + y * (impl->GetPitch() / 4);
        for (int32_t x = 0; x < kWidth; ++x) {
            const int32_t dx = x - kWidth / 2;
            const int32_t dy = y - kPictureHeight / 2;
            row[x] = ((dx * dx + dy * dy) / 1600 % 2) ? 0x2040A0 : 0x40C0E0;
        }
    }
}

}  // namespace

class CTransitionsApp : public CApplication {
public:
    explicit CTransitionsApp(CExampleRun& run) : run_(run) {}

    int OnInit(CWindowOption& options) override
    {
        options.caption = "transitions";
        options.className = "PYROTRANSITIONS";
        options.sizeX = kWidth;
        options.sizeY = kHeight;
        return 0;
    }

    void MainThread() override
    {
        CScreenView view;
        view.SetLogicalSize(kWidth, kHeight);
        CFrameTimer timer;
        timer.SetFPS(60);
        CKeyMapper& keys = CKeyMapper::GetInstance();
        keys.Create(&view);

        CPlane from, to;
        PaintStripes(from);
        PaintRings(to);
        CTextPlane label;
        label.text.SetHeight(24).SetTextColor(0xFFFFFF).SetShadowColor(0x404040);

        int32_t effect = run_.Option("--effect", 0) % TransitionCount;
        int32_t mode = run_.Option("--mode", 0) & 3;
        const int32_t heldPhase = run_.Option("--phase", -1);
        int32_t phase = 0;
        bool changed = true;
        while (PumpMessage() && run_.NextFrame(view)) {
            keys.Update();
            if (keys.IsTriggered(kLogicalRight)) effect = (effect + 1) % TransitionCount, changed = true;
            if (keys.IsTriggered(kLogicalLeft)) effect = (effect + TransitionCount - 1) % TransitionCount, changed = true;
            if (keys.IsTriggered(kLogicalUp)) mode = (mode + 1) & 3, changed = true;
            if (keys.IsTriggered(kLogicalDown)) mode = (mode + 3) & 3, changed = true;
            if (keys.IsTriggered(kLogicalEscape)) break;
            if (changed) {
                // A new effect starts again from phase 0; the label is rendered once per change.
                phase = 0;
                label.Release();
                label.text.SetTextF("%02d %s   mode %d %s", effect, TransitionName[effect], mode,
                                    kModeNames[mode]);
                label.RenderText();
                std::printf("effect %d: %s, mode %d (%s)\n", effect, TransitionName[effect], mode,
                            kModeNames[mode]);
                std::fflush(stdout);
                changed = false;
            }

            // The phase runs from 0 to 256 in 64 frames, stays at 256 for 32, then starts again.
            const int32_t shown = heldPhase >= 0 ? heldPhase : (phase < 256 ? phase : 256);
            view.FillRect(0x000000, nullptr);
            view.BltFast(&from, 0, 0);
            // The fade level of mode 2 is 160 of 255.
            TransitionTable[effect](&view, &to, 0, 0, shown, mode, 160, nullptr);
            view.Blt(&label, 16, kPictureHeight + 24);
            view.Present();
            timer.WaitFrame();
            phase = phase >= 256 + 32 * 4 ? 0 : phase + 4;
        }
        keys.Destroy();
    }

private:
    CExampleRun& run_;
};

int PyroMain(int argc, char* argv[])
{
    CExampleRun run(argc, argv);
    CTransitionsApp app(run);
    app.Run();
    return 0;
}
