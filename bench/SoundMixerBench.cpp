// The mixer's cost in CPU time per second of audio it produces, for 8, 32 and 128 voices. Each
// voice plays a looping 22.05 kHz sound at its own pitch (so every frame is resampled), with its
// own volume and pan; the reference is the same voices playing 44.1 kHz sounds at their own
// speed, measured in the same run. The mixer is fed in 10 ms blocks, as the output thread does.
//   bench_sound_mixer [seconds of audio per figure]
#include <pyro/sound/SoundMixer.h>

#include "BenchTiming.h"

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// CPU time of the process: the Windows C runtime's clock() counts wall time instead.
double CpuSeconds()
{
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return double(k.QuadPart + u.QuadPart) / 1e7;
#else
    return double(std::clock()) / CLOCKS_PER_SEC;
#endif
}

CSoundData Tone(int rate, int channels, double frequency)
{
    CSoundData data;
    data.sampleRate = rate;
    data.channels = channels;
    for (int i = 0; i < rate; ++i) {
        const int16_t v = static_cast<int16_t>(6000 * std::sin(2 * 3.14159265358979 * frequency * i / rate));
        for (int c = 0; c < channels; ++c) data.samples.push_back(v);
    }
    return data;
}

// CPU seconds spent mixing seconds of audio with the given voices.
double MixCost(int voices, const CSoundData& mono, const CSoundData& stereo, bool resample, int seconds)
{
    CSoundMixer mixer(voices);
    for (int i = 0; i < voices; ++i) {
        CSoundParams params;
        params.loop = true;
        params.volume = 64 + (i * 37) % 192;
        params.pan = (i * 53) % 512 - 256;
        params.pitch = resample ? CSoundMixer::kPitchOne * (80 + (i * 7) % 50) / 100 : CSoundMixer::kPitchOne;
        mixer.Play(i % 2 ? stereo : mono, params);
    }
    std::vector<int16_t> buffer(441 * 2);
    const int blocks = seconds * 100;
    const double start = CpuSeconds();
    for (int b = 0; b < blocks; ++b) mixer.Mix(buffer.data(), 441);
    return CpuSeconds() - start;
}

}  // namespace

int main(int argc, char** argv)
{
    WarnIfInstrumented();
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    const CSoundData mono22 = Tone(22050, 1, 440), stereo22 = Tone(22050, 2, 330);
    const CSoundData mono44 = Tone(44100, 1, 440), stereo44 = Tone(44100, 2, 330);
    std::printf("%d s of 44.1 kHz stereo per figure; CPU time per second of audio\n", seconds);
    std::printf("%6s %14s %10s %14s %8s\n", "voices", "resampled ms", "% of core", "same rate ms", "ratio");
    for (int voices : {8, 32, 128}) {
        const double resampled = MixCost(voices, mono22, stereo22, true, seconds) / seconds;
        const double plain = MixCost(voices, mono44, stereo44, false, seconds) / seconds;
        std::printf("%6d %14.3f %10.3f %14.3f %8.2f\n", voices, resampled * 1000, resampled * 100, plain * 1000,
                    plain > 0 ? resampled / plain : 0.0);
    }
    return 0;
}
