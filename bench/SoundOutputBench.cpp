// The sound output under a processor load made here: two busy threads of normal priority while a
// looping tone plays for a while, at the default queue and at the lowest one. Prints the
// under-runs per minute and the queue's latency for each, the default being the reference.
//   bench_sound_output [seconds per setting]
// Needs an audio device (under Wine: a PulseAudio server, as bench/README.md says).
#include <pyro/sound/SoundPlayer.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

std::atomic<bool> g_busy{true};

void Busy()
{
    volatile double x = 1;
    while (g_busy) x = std::sqrt(x + 1.5);
}

// A mixer that stalls for 60 ms on every 100th buffer: each stall must count as an under-run,
// which checks the detection itself.
class StallingPlayer : public CSoundPlayer {
public:
    void Mix(int16_t* out, int frames) override
    {
        if (++calls_ % 100 == 0) Sleep(60);
        CSoundPlayer::Mix(out, frames);
    }
    int Stalls() const { return calls_ / 100; }

private:
    int calls_ = 0;
};

struct Figure {
    int buffers, ms, underruns;
    double minutes;
};

Figure Measure(int buffers, int ms, bool grow, int seconds)
{
    CSoundData tone;
    tone.sampleRate = CSoundMixer::kRate;
    tone.channels = 1;
    for (int i = 0; i < CSoundMixer::kRate; ++i) tone.samples.push_back(int16_t(6000 * std::sin(i * 0.0627)));
    CSoundPlayer player;
    player.GetOutput().SetLatency(buffers, ms, grow);
    if (player.Create() != 0) {
        std::printf("no audio device\n");
        std::exit(1);
    }
    CSoundParams params;
    params.loop = true;
    player.Play(tone, params);
    g_busy = true;
    std::vector<std::thread> load;
    for (int i = 0; i < 2; ++i) load.emplace_back(Busy);
    Sleep(DWORD(seconds) * 1000);
    g_busy = false;
    for (std::thread& t : load) t.join();
    Figure f = {player.GetOutput().GetBufferCount(), player.GetOutput().GetBufferMs(),
                player.GetOutput().GetUnderruns(), seconds / 60.0};
    player.Destroy();
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    struct Setting {
        const char* name;
        int buffers, ms;
        bool grow;
    } settings[] = {{"default", CSoundOutput::kDefaultBuffers, CSoundOutput::kDefaultBufferMs, false},
                    {"lowest", CSoundOutput::kMinBuffers, CSoundOutput::kMinBufferMs, false},
                    {"lowest, growing", CSoundOutput::kMinBuffers, CSoundOutput::kMinBufferMs, true}};
    double reference = 0;
    std::printf("%-16s %8s %10s %14s %8s\n", "setting", "queue", "latency", "under-runs/min", "ratio");
    for (const Setting& s : settings) {
        const Figure f = Measure(s.buffers, s.ms, s.grow, seconds);
        const double perMinute = f.underruns / f.minutes;
        if (&s == settings) reference = perMinute;
        std::printf("%-16s %3dx%2dms %8dms %14.1f %8.2f\n", s.name, f.buffers, f.ms, f.buffers * f.ms, perMinute,
                    reference > 0 ? perMinute / reference : 0.0);
    }
    StallingPlayer stalling;
    stalling.GetOutput().SetLatency(CSoundOutput::kDefaultBuffers, CSoundOutput::kDefaultBufferMs);
    if (stalling.Create() == 0) {
        Sleep(5000);
        const int stalls = stalling.Stalls();
        std::printf("detection check: %d stalls of 60 ms, %d under-runs counted\n", stalls,
                    stalling.GetOutput().GetUnderruns());
        stalling.Destroy();
    }
    return 0;
}
