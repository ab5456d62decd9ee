// text: Japanese text drawn into text planes: the four faces the system knows, and shadowed,
// boxed, multi-line and vertical text.
#include <pyro/app/Application.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/app/Main.h>
#include <pyro/game/ScreenView.h>
#include <pyro/text/TextPlane.h>

#include "ExampleRun.h"

namespace {

// GDI colour values are 0x00BBGGRR.
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kShadow = 0x000080;  // dark red
constexpr uint32_t kBox = 0x004080;     // brown

}  // namespace

class CTextApp : public CApplication {
public:
    explicit CTextApp(CExampleRun& run) : run_(run) {}

    int OnInit(CWindowOption& options) override
    {
        options.caption = "text";
        options.className = "PYROTEXT";
        options.sizeX = 640;
        options.sizeY = 480;
        return 0;
    }

    void MainThread() override
    {
        CScreenView view;
        view.SetLogicalSize(640, 480);
        CFrameTimer timer;
        timer.SetFPS(30);

        // A text plane renders once; drawn with Blt, its black background is the colour key.
        CTextPlane faces[4];
        const char* const sample = "%s：いろはにほへと ABC 123";
        const char* const faceNames[4] = {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ Ｐ明朝"};
        for (int32_t i = 0; i < 4; ++i) {
            faces[i].text.SetFaceIndex(i).SetHeight(24).SetTextColor(kWhite).SetShadowColor(CTextDraw::kNone);
            faces[i].text.SetTextF(sample, faceNames[i]);
            faces[i].RenderText();
        }
        CTextPlane shadowed, boxed, lines, vertical;
        shadowed.text.SetText("影つきの文字").SetHeight(28).SetTextColor(kWhite).SetShadowColor(kShadow)
            .SetShadowOffset(3, 3);
        boxed.text.SetText("背景つきの文字").SetHeight(28).SetTextColor(kWhite).SetShadowColor(CTextDraw::kNone)
            .SetBkColor(kBox);
        // Lines are separated by line feeds; the line spacing is the distance between their tops.
        lines.text.SetText("一行目\n二行目\n三行目").SetHeight(20).SetLineSpacing(28).SetTextColor(kWhite)
            .SetShadowColor(CTextDraw::kNone);
        vertical.vertical = true;
        vertical.text.SetText("縦書きの文字").SetHeight(28).SetTextColor(kWhite).SetShadowColor(CTextDraw::kNone);
        for (CTextPlane* plane : {&shadowed, &boxed, &lines, &vertical}) plane->RenderText();

        while (PumpMessage() && run_.NextFrame(view)) {
            view.FillRect(0x203040, nullptr);
            for (int32_t i = 0; i < 4; ++i) view.Blt(&faces[i], 16, 16 + i * 40);
            view.Blt(&shadowed, 16, 200);
            view.Blt(&boxed, 16, 260);
            view.Blt(&lines, 16, 320);
            view.Blt(&vertical, 560, 200);
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
    CTextApp app(run);
    app.Run();
    return 0;
}
