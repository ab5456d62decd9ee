// display_look: shows what the screen presents. It fills the back buffer, draws text planes
// (horizontal, vertical, with shadow and with a background) and the frame-rate read-out, presents
// them for a second of frames, then writes the window's client area as a 24-bit bitmap.
//   display_look [output.bmp]
#include <pyro/app/AppServices.h>
#include <pyro/app/Application.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/graphics/DIBDraw.h>
#include <pyro/text/FPSDisplay.h>
#include <pyro/text/TextPlane.h>
#include "tools/BmpFile.h"
#include "tools/Packer.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// The window's client area, copied into a DIB section, as a 24-bit bitmap file.
bool SaveWindow(HWND hwnd, const char* path)
{
    CPlane copy;
    copy.GetImpl()->SetUseDIB(true);
    if (copy.Create(kWidth, kHeight) != 0) return false;
    HDC windowDC = GetDC(hwnd);
    const bool copied = BitBlt(copy.GetImpl()->GetDC(), 0, 0, kWidth, kHeight, windowDC, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, windowDC);
    if (!copied) return false;
    GdiFlush();

    PixelImage image;
    image.width = kWidth;
    image.height = kHeight;
    const uint32_t* pixels = copy.GetImpl()->GetPixels();
    image.pixels.assign(pixels, pixels + kWidth * kHeight);
    std::string error;
    return WriteFileBytes(path, EncodeBmp(image, 24), error);
}

class LookApp : public CApplication {
public:
    const char* output = "display_look.bmp";
    bool saved = false;

    int OnInit(CWindowOption& options) override
    {
        options.caption = "Pyro丸Plaza display look";
        options.className = "PYROLOOK";
        options.sizeX = kWidth;
        options.sizeY = kHeight;
        options.style = 0x00CA0000;
        return 0;
    }

    void MainThread() override
    {
        CDIBDraw screen;
        screen.SetDisplay(false, kWidth, kHeight, 0);
        CFrameTimer timer;
        timer.SetFPS(30);
        CFPSDisplay fps(&timer);

        CTextPlane title;
        title.text.SetText("ナンバー2！！").SetHeight(32).SetTextColor(RGB(255, 255, 255)).SetShadowColor(RGB(64, 64, 160));
        title.RenderText();
        CTextPlane vertical;
        vertical.vertical = true;
        vertical.text.SetText("縦書き：Pyro丸").SetHeight(24).SetTextColor(RGB(255, 220, 120)).SetShadowColor(RGB(120, 60, 0));
        vertical.RenderText();
        CTextPlane boxed;
        boxed.text.SetText("背景つき\nBackground 2 lines").SetFaceIndex(2).SetHeight(18).SetTextColor(RGB(0, 0, 0));
        boxed.text.SetShadowColor(CTextDraw::kNone).SetBkColor(RGB(200, 230, 255));
        boxed.RenderText();

        for (int frame = 0; frame < 40 && PumpMessage(); ++frame) {
            // A gradient background: red across, blue down, green with the frame.
            uint32_t* pixels = screen.GetSecondary()->GetImpl()->GetPixels();
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    pixels[y * kWidth + x] = uint32_t(x * 255 / kWidth) << 16 | uint32_t(frame * 3) << 8 | uint32_t(y * 255 / kHeight);
            screen.Blt(&title, 40, 60, nullptr, nullptr, nullptr);
            screen.Blt(&vertical, 270, 40, nullptr, nullptr, nullptr);
            screen.Blt(&boxed, 40, 140, nullptr, nullptr, nullptr);
            screen.OnDraw(nullptr, true);
            timer.WaitFrame();
        }
        saved = SaveWindow(screen.GetWindow(), output);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    LookApp app;
    if (argc > 1) app.output = argv[1];
    app.Run();
    std::printf("%s %s\n", app.saved ? "wrote" : "could not write", app.output);
    return app.saved ? 0 : 1;
}
