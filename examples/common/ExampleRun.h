// What every example shares for its tests: the command-line options, the non-interactive mode
// `--shot FILE --frames N` that runs N frames, writes the screen to FILE and ends, and Print.
#pragma once

#include <pyro/game/ScreenView.h>
#include <pyro/graphics/Plane.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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
            return false;
        }
        ++started_;
        return true;
    }
    // The current frame's number, from 0. The examples move things by frames, not by time, so
    // that frame N always looks the same.
    int Frame() const { return started_ - 1; }

private:
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
