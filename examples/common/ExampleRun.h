// What every example shares for its tests: the command-line options, the non-interactive mode
// `--shot FILE --frames N` that runs N frames, writes the screen to FILE and ends, and Print.
// On the Direct3D 11 back-end the shot also writes FILE.presented.bmp: the same rectangle read
// back from the swap chain, which must be the same picture.
#pragma once

#include <pyro/game/ScreenView.h>
#include <pyro/graphics/D3D11Draw.h>
#include <pyro/graphics/Plane.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

class CExampleRun {
public:
    CExampleRun(int argc, char* argv[]) : argc_(argc), argv_(argv)
    {
        shot_ = Option("--shot");
        const char* frames = Option("--frames");
        frames_ = frames ? std::atoi(frames) : (shot_ ? 1 : -1);
    }

    // The value after `name`, or null.
    const char* Option(const char* name) const
    {
        for (int i = 1; i + 1 < argc_; ++i)
            if (std::strcmp(argv_[i], name) == 0) return argv_[i + 1];
        return nullptr;
    }
    int Option(const char* name, int fallback) const
    {
        const char* value = Option(name);
        return value ? std::atoi(value) : fallback;
    }
    bool Flag(const char* name) const
    {
        for (int i = 1; i < argc_; ++i)
            if (std::strcmp(argv_[i], name) == 0) return true;
        return false;
    }

    // Called before each frame: false once the requested frames have been presented, after
    // writing the last of them (the logical screen at its physical size) to the --shot file.
    bool NextFrame(CScreenView& view)
    {
        if (frames_ >= 0 && started_ >= frames_) {
            const Rect active = view.GetActiveRect();
            if (shot_) view.GetDraw()->GetSecondary()->GetImpl()->Save(shot_, &active);
            if (shot_) SavePresented(view, active);
            return false;
        }
        ++started_;
        return true;
    }
    // The current frame's number, from 0. The examples move things by frames, not by time, so
    // that frame N always looks the same.
    int Frame() const { return started_ - 1; }

private:
    // The swap chain's picture of the rectangle, written as a bitmap beside the shot.
    void SavePresented(CScreenView& view, const Rect& active)
    {
        auto* d3d = dynamic_cast<CD3D11Draw*>(view.GetDraw());
        std::vector<uint32_t> shown;
        int32_t w = 0, h = 0;
        if (!d3d || !d3d->IsActive() || d3d->ReadPresented(&shown, &w, &h) != 0) return;
        if (active.left < 0 || active.top < 0 || active.right > w || active.bottom > h) return;
        CPlane copy;
        if (copy.Create(active.right - active.left, active.bottom - active.top) != 0) return;
        uint32_t* pixels = copy.GetImpl()->GetPixels();
        for (int32_t y = active.top; y < active.bottom; ++y)
            for (int32_t x = active.left; x < active.right; ++x)
                *pixels++ = shown[size_t(y) * size_t(w) + size_t(x)];
        copy.GetImpl()->Save((std::string(shot_) + ".presented.bmp").c_str(), nullptr);
    }

    int argc_;
    char** argv_;
    const char* shot_ = nullptr;
    int frames_ = -1;
    int started_ = 0;
};

// printf with a line end, written out at once: a test reads the output while the program runs.
template <class... Args>
void Print(const char* format, Args... args)
{
    std::printf(format, args...);
    std::printf("\n");
    std::fflush(stdout);
}
