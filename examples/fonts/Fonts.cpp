// fonts: a UTF-8 program. It links Pyro::main_utf8, so its literals stay UTF-8 and every string
// it hands the framework is UTF-8: the caption, text in many scripts drawn in fonts loaded from
// the example's archive, a file with a name outside Shift-JIS, and the error log's messages.
// The text is antialiased with alpha over a gradient: translucent, wrapped, measured and centred.
#include <pyro/app/Application.h>
#include <pyro/app/ErrorLog.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/app/Main.h>
#include <pyro/file/FileBuffer.h>
#include <pyro/game/ScreenView.h>
#include <pyro/graphics/Rect.h>
#include <pyro/text/TextPlane.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ExampleRun.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;  // GDI colour values are 0x00BBGGRR
constexpr uint32_t kGold = 0x40C0FF;
constexpr uint32_t kShadow = 0x401000;  // dark blue

// The background: blue, lighter down the window (0x00RRGGBB, as planes hold colours).
uint32_t Gradient(int32_t y)
{
    return 0x20u << 16 | uint32_t(0x30 + y * 0x40 / 480) << 8 | uint32_t(0x60 + y * 0x60 / 480);
}

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
        std::vector<std::string> korean;
        CTextDraw::AddFontFile("fonts\\NanumGothicCoding.ttf", &korean);
        const std::string latinFace = latin.empty() ? "" : latin[0];
        const std::string japaneseFace = japanese.empty() ? "" : japanese[0];
        const std::string koreanFace = korean.empty() ? "" : korean[0];
        CErrorLog::Write("fonts: %s, %s, %s", latinFace.c_str(), japaneseFace.c_str(), koreanFace.c_str());

        // A file whose name Shift-JIS cannot hold.
        const std::string name = "café_日本語_한국.txt";
        CFileBuffer file;
        const char note[] = "Grüße, 世界";
        const int written = file.Write(name, note, sizeof note - 1);
        const int read = file.Read(name);
        CErrorLog::Write("file %s: write %d, read %d, %u bytes", name.c_str(), written, read, file.GetSize());
        CPlane missing;
        missing.Load("données\\absent.bmp");  // the framework's own message, in UTF-8 too

        // Antialiased text with alpha: coverage in the alpha byte, drawn smooth over the gradient.
        const char* const samples[] = {"Café", "Ελληνικά", "Русский", "한국어", "中文", "日本語𠮷"};
        const std::string* const faces[] = {&latinFace, &latinFace, &latinFace, &koreanFace, &japaneseFace, &japaneseFace};
        CTextPlane lines[6];
        for (int i = 0; i < 6; ++i) {
            lines[i].text.SetText(samples[i]).SetFaceName(faces[i]->c_str()).SetHeight(28).SetTextColor(kWhite)
                .SetShadowColor(kShadow).SetAlphaQuality(true);
            lines[i].RenderText();
        }
        CTextPlane title, faded;
        title.text.SetText("Fonts: Café Ελληνικά Русский").SetFaceName(latinFace.c_str()).SetHeight(32).SetTextColor(kGold)
            .SetShadowColor(CTextDraw::kNone).SetAlphaQuality(true);
        faded.text.SetText("Translucent — 半透明").SetFaceName(japaneseFace.c_str()).SetHeight(24)
            .SetTextColor(kWhite).SetShadowColor(CTextDraw::kNone).SetAlphaQuality(true);
        // Paragraphs wrapped to 290 pixels by the font's own widths, and a label centred in the
        // window's width.
        CTextPlane paragraph, japaneseParagraph, centred;
        paragraph.text.SetText("Wrapped text breaks at spaces, and a word never splits in the middle of a letter.")
            .SetFaceName(latinFace.c_str()).SetHeight(18).SetShadowColor(CTextDraw::kNone).SetAlphaQuality(true)
            .WrapToWidth(290);
        japaneseParagraph.text.SetText("日本語の文章は、単語の区切りがなくても、文字と文字の間で折り返されます。")
            .SetFaceName(japaneseFace.c_str()).SetHeight(18).SetShadowColor(CTextDraw::kNone).SetAlphaQuality(true)
            .WrapToWidth(290);
        centred.text.SetText("Centred: Ελληνικά · Русский").SetFaceName(latinFace.c_str()).SetHeight(22)
            .SetTextColor(kGold).SetShadowColor(CTextDraw::kNone).SetAlphaQuality(true).SetAlign(TextAlign::kCentre, 608);
        for (CTextPlane* plane : {&title, &faded, &paragraph, &japaneseParagraph, &centred}) plane->RenderText();

        while (PumpMessage() && run_.NextFrame(view)) {
            for (int32_t y = 0; y < 480; ++y) {
                const Rect row = MakeRect(0, y, 640, 1);
                view.FillRect(Gradient(y), &row);
            }
            view.BltAlpha(&title, 16, 8);
            for (int i = 0; i < 6; ++i) view.BltAlpha(&lines[i], 16 + (i / 3) * 300, 60 + (i % 3) * 48);
            view.BlendBltAlpha(&faded, 16, 210, FadeDstRate(128), FadeSrcRate(128));  // half-way translucent
            view.BltAlpha(&paragraph, 16, 250);
            view.BltAlpha(&japaneseParagraph, 326, 250);
            view.BltAlpha(&centred, 16, 420);
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
