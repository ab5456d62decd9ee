// fonts: a UTF-8 program. It links Pyro::main_utf8, so its literals stay UTF-8 and every string
// it hands the framework is UTF-8: the caption, text in many scripts drawn in fonts loaded from
// the example's archive, a file with a name outside Shift-JIS, and the error log's messages.
#include <pyro/app/Application.h>
#include <pyro/app/ErrorLog.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/app/Main.h>
#include <pyro/file/FileBuffer.h>
#include <pyro/game/ScreenView.h>
#include <pyro/text/TextPlane.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ExampleRun.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;  // GDI colour values are 0x00BBGGRR
constexpr uint32_t kGold = 0x40C0FF;

// The error log goes to fonts.log beside the program, as the program's own UTF-8 text.
void LogToFile(const char* message, void*)
{
    if (FILE* file = std::fopen("fonts.log", "ab")) {
        std::fprintf(file, "%s\n", message);
        std::fclose(file);
    }
}

}  // namespace

class CFontsApp : public CApplication {
public:
    explicit CFontsApp(CExampleRun& run) : run_(run) {}

    int OnInit(CWindowOption& options) override
    {
        options.caption = "fonts: Café Ελληνικά 한국어";
        options.className = "PYROFONTS";
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

        // The fonts come from fonts.dat, which stands for the folder fonts.
        std::vector<std::string> latin, japanese;
        CTextDraw::AddFontFile("fonts\\DejaVuSans.ttf", &latin);
        CTextDraw::AddFontFile("fonts\\ipag.ttf", &japanese);
        const std::string latinFace = latin.empty() ? "" : latin[0];
        const std::string japaneseFace = japanese.empty() ? "" : japanese[0];
        CErrorLog::Write("fonts: %s, %s", latinFace.c_str(), japaneseFace.c_str());

        // A file whose name Shift-JIS cannot hold.
        const std::string name = "café_日本語_한국.txt";
        CFileBuffer file;
        const char note[] = "Grüße, 世界";
        const int written = file.Write(name, note, sizeof note - 1);
        const int read = file.Read(name);
        CErrorLog::Write("file %s: write %d, read %d, %u bytes", name.c_str(), written, read, file.GetSize());
        CPlane missing;
        missing.Load("données\\absent.bmp");  // the framework's own message, in UTF-8 too

        const char* const samples[] = {"Café", "Ελληνικά", "Русский", "한국어"};
        CTextPlane lines[6];
        for (int i = 0; i < 4; ++i) lines[i].text.SetText(samples[i]).SetFaceName(latinFace.c_str());
        lines[4].text.SetText("中文").SetFaceName(japaneseFace.c_str());
        lines[5].text.SetText("日本語𠮷").SetFaceName(japaneseFace.c_str());
        for (CTextPlane& line : lines) {
            line.text.SetHeight(28).SetTextColor(kWhite).SetShadowColor(CTextDraw::kNone);
            line.RenderText();
        }
        CTextPlane title;
        title.text.SetText("Café 中文").SetFaceName(latinFace.c_str()).SetHeight(32).SetTextColor(kGold);
        title.RenderText();

        while (PumpMessage() && run_.NextFrame(view)) {
            view.FillRect(0x203040, nullptr);
            view.Blt(&title, 16, 8);
            for (int i = 0; i < 6; ++i) view.Blt(&lines[i], 16 + (i / 3) * 300, 80 + (i % 3) * 60);
            view.Present();
            timer.WaitFrame();
        }
    }

private:
    CExampleRun& run_;
};

int PyroMain(int argc, char* argv[])
{
    std::remove("fonts.log");
    CErrorLog::SetSink(&LogToFile);
    CExampleRun run(argc, argv);
    CFontsApp app(run);
    app.Run();
    return 0;
}
