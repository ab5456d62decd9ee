// The Windows side of the end-to-end sound test (e2e_sound.py records what it plays). In a
// window of its own, an application that pauses on minimise plays four tones through the real
// output: each request is printed with its time in Unix seconds, so the recording can be checked
// for frequency, level, order and delay. The fourth tone is requested while the window is
// minimised and must not sound before it is restored. Last, the mixer stalls twice, longer than
// the whole queue: both stalls count as under-runs, and the error log says so once.
#include <pyro/app/Application.h>
#include <pyro/app/ErrorLog.h>
#include <pyro/file/FileBuffer.h>
#include <pyro/sound/Sound.h>
#include <pyro/sound/SoundPlayer.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Now()
{
    FILETIME time;
    GetSystemTimePreciseAsFileTime(&time);
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return double(value.QuadPart - 116444736000000000ULL) / 1e7;
}

void Event(const char* name)
{
    std::printf("%s %.6f\n", name, Now());
    std::fflush(stdout);
}

void Put(std::vector<unsigned char>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A mono 16-bit WAVE file image of a sine tone.
std::vector<unsigned char> ToneFile(double frequency, int amplitude, int ms)
{
    const uint32_t frames = uint32_t(CSoundMixer::kRate) * ms / 1000;
    std::vector<unsigned char> file{'R', 'I', 'F', 'F'};
    Put(file, 36 + frames * 2, 4);
    for (char c : std::string("WAVEfmt ")) file.push_back(static_cast<unsigned char>(c));
    Put(file, 16, 4);
    Put(file, 1, 2);
    Put(file, 1, 2);
    Put(file, CSoundMixer::kRate, 4);
    Put(file, CSoundMixer::kRate * 2, 4);
    Put(file, 2, 2);
    Put(file, 16, 2);
    for (char c : std::string("data")) file.push_back(static_cast<unsigned char>(c));
    Put(file, frames * 2, 4);
    for (uint32_t i = 0; i < frames; ++i) {
        const double value = amplitude * std::sin(2 * 3.14159265358979 * frequency * i / CSoundMixer::kRate);
        Put(file, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value))), 2);
    }
    return file;
}

// Keeps the window responsive for ms milliseconds, or until done() holds.
template <class Done>
void Pump(int ms, Done done)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < DWORD(ms) && !done()) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(2);
    }
}

void Pump(int ms)
{
    Pump(ms, [] { return false; });
}

// A player whose mixing stalls on request, as a starved mixer thread would.
class StallingPlayer : public CSoundPlayer {
public:
    void Mix(int16_t* out, int frames) override
    {
        if (stalls > 0) {
            --stalls;
            Sleep(150);  // three times the default queue of 5 x 10 ms
        }
        CSoundPlayer::Mix(out, frames);
    }
    std::atomic<int> stalls{0};
};

std::atomic<int> g_underrunLines{0};

void CountUnderrunLines(const char* message, void*)
{
    // "CSoundOutput::ThreadProc" followed by 音切れ in Shift-JIS.
    if (std::string(message).find("CSoundOutput::ThreadProc\x82\xc5\x89\xb9\x90\xd8\x82\xea") == 0) ++g_underrunLines;
}

class SoundApp : public CApplication {
public:
    int result = 0;

    int OnInit(CWindowOption& options) override
    {
        options.caption = "sound e2e";
        options.className = "PYROSNDT";
        options.sizeX = 160;
        options.sizeY = 120;
        options.style = 0x00CA0000;
        pauseWhenMinimized = true;
        return 0;
    }

    void MainThread() override
    {
        StallingPlayer player;
        if (player.Create() != 0) {
            std::printf("no audio device\n");
            result = 3;
            return;
        }
        const double frequencies[] = {440, 880, 660, 550};
        const int amplitudes[] = {8000, 16000, 16000, 8000};
        std::vector<unsigned char> files[4];
        CSound tones[4];
        for (int i = 0; i < 4; ++i) {
            files[i] = ToneFile(frequencies[i], amplitudes[i], 250);
            // Through the file object, as a sound from disk or an archive would come.
            if (tones[i].Load(CFileBuffer::MakeMemoryName(files[i].data(), uint32_t(files[i].size()))) != 0) {
                result = 4;
                return;
            }
        }
        Pump(600);  // the device settles
        Event("play1");
        player.Play(tones[0]);
        Pump(450);
        Event("play2");
        player.Play(tones[1]);
        Pump(450);
        CSoundParams leftHalf;
        leftHalf.volume = 128;
        leftHalf.pan = -256;
        Event("play3");
        player.Play(tones[2], leftHalf);
        Pump(450);

        CSoundOutput& output = player.GetOutput();
        ShowWindow(GetWindow().GetHWnd(), SW_MINIMIZE);
        Pump(2000, [&] { return output.IsPaused(); });
        if (!output.IsPaused()) result = 5;
        Event("paused");
        Event("play4");
        player.Play(tones[3]);
        Pump(300);
        ShowWindow(GetWindow().GetHWnd(), SW_RESTORE);
        Pump(2000, [&] { return !output.IsPaused(); });
        if (output.IsPaused()) result = 6;
        Event("resumed");
        Pump(600);

        CErrorLog::SetSink(CountUnderrunLines, nullptr);
        const int before = output.GetUnderruns();
        player.stalls = 1;
        Pump(1000, [&] { return output.GetUnderruns() > before; });
        player.stalls = 1;
        Pump(1000, [&] { return output.GetUnderruns() > before + 1; });
        Pump(200);
        CErrorLog::SetSink(nullptr, nullptr);
        std::printf("underruns %d lines %d\n", output.GetUnderruns() - before, int(g_underrunLines));
        if (output.GetUnderruns() - before < 2) result = 7;
        // Logged once per output, and the earlier part may already have logged it on a busy machine.
        if (g_underrunLines > 1 || (before == 0 && g_underrunLines != 1)) result = 8;
    }
};

}  // namespace

int main()
{
    SoundApp app;
    app.Run();
    return app.result;
}
