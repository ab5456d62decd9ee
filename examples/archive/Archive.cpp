// archive: pictures (two bitmaps, and a PNG with an alpha channel) and a list file read through
// the data archive data.dat, which the build makes from the folder data/ with pyro-pack. The same code reads the loose folder instead when
// there is one: a folder D and an archive D.dat beside it are interchangeable.
//   archive [--base DIR]   look for data/ or data.dat in DIR instead of the current folder
#include <pyro/app/Application.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/app/Main.h>
#include <pyro/file/BaseDirectory.h>
#include <pyro/file/FileBuffer.h>
#include <pyro/game/ScreenView.h>
#include <pyro/graphics/Plane.h>
#include <pyro/text/TextPlane.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "ExampleRun.h"
#include "HighScore.h"

namespace {

// One entry of data\list.txt: a picture's file name, then its caption.
struct Entry {
    std::unique_ptr<CPlane> picture;
    std::unique_ptr<CTextPlane> caption;
};

// Reads the list and loads what it names: the number of entries loaded.
int32_t LoadEntries(std::vector<Entry>& entries)
{
    CFileBuffer list;
    if (list.Read("data\\list.txt") != 0) {
        std::printf("data\\list.txt: neither data\\ nor data.dat holds it\n");
        return 0;
    }
    std::printf("list.txt read from %s\n", list.IsFromArchive() ? "the archive data.dat" : "the folder data");
    char name[256], caption[256];
    while (list.ReadQuotedString(name, sizeof name) == 0 && list.ReadQuotedString(caption, sizeof caption) == 0) {
        Entry entry{std::make_unique<CPlane>(), std::make_unique<CTextPlane>()};
        const std::string path = std::string("data\\") + name;
        const int32_t result = entry.picture->Load(path.c_str());
        int32_t width = 0, height = 0;
        entry.picture->GetSize(&width, &height);
        std::printf("%s: result %d, %d x %d%s\n", name, result, width, height,
                    entry.picture->IsAlpha() ? ", alpha" : "");
        entry.caption->text.SetText(caption).SetHeight(20).SetTextColor(0xFFFFFF);
        entry.caption->RenderText();
        entries.push_back(std::move(entry));
    }
    std::fflush(stdout);
    return int32_t(entries.size());
}

}  // namespace

class CArchiveApp : public CApplication {
public:
    explicit CArchiveApp(CExampleRun& run) : run_(run) {}

    int OnInit(CWindowOption& options) override
    {
        options.caption = "archive";
        options.className = "PYROARCHIVE";
        options.sizeX = 320;
        options.sizeY = 240;
        return 0;
    }

    void MainThread() override
    {
        CScreenView view;
        view.SetLogicalSize(320, 240);
        CFrameTimer timer;
        timer.SetFPS(30);
        if (const char* base = run_.Option("--base")) SetBaseDirectory(base);
        std::vector<Entry> entries;
        LoadEntries(entries);

        while (PumpMessage() && run_.NextFrame(view)) {
            view.FillRect(0x000040, nullptr);
            int32_t y = 16;
            for (Entry& entry : entries) {
                // The bitmaps are opaque: a plain copy. A picture whose alpha flag is set (the PNG)
                // is blended by its alpha channel.
                if (entry.picture->IsAlpha())
                    view.BltAlpha(entry.picture.get(), 16, y);
                else
                    view.BltFast(entry.picture.get(), 16, y);
                view.Blt(entry.caption.get(), 96, y + 12);
                y += 64;
            }
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
    CArchiveApp app(run);
    app.Run();
    return 0;
}
