#include "SoundTesting.h"

#include <pyro/sound/MusicStream.h>
#include <pyro/sound/Sound.h>
#include <pyro/sound/SoundResult.h>

#include <memory>

namespace {

using Samples = std::vector<int16_t>;

CSoundParams Params(int volume = 256, int pan = 0, int pitch = CSoundMixer::kPitchOne)
{
    CSoundParams params;
    params.volume = volume;
    params.pan = pan;
    params.pitch = pitch;
    return params;
}

// A mono sound whose frame i is i * step.
CSoundData Ramp(uint32_t frames, int step, int rate = CSoundMixer::kRate)
{
    Samples samples;
    for (uint32_t i = 0; i < frames; ++i) samples.push_back(int16_t(i * step));
    return MakeData(1, rate, samples);
}

// A stream of length frames whose frame i is value(i), read in chunks of at most chunk frames;
// it counts its rewinds.
class TestStream : public ISoundStream {
public:
    TestStream(uint32_t frames, uint32_t chunk, int16_t (*value)(uint32_t))
        : frames_(frames), chunk_(chunk), value_(value) {}
    int GetChannels() const override { return 1; }
    int GetSampleRate() const override { return CSoundMixer::kRate; }
    int Read(int16_t* out, int frames) override
    {
        int n = 0;
        while (n < frames && n < int(chunk_) && position_ < frames_) out[n++] = value_(position_++);
        return n;
    }
    int Rewind() override
    {
        position_ = 0;
        ++rewinds;
        return 0;
    }
    int rewinds = 0;

private:
    uint32_t frames_, chunk_, position_ = 0;
    int16_t (*value_)(uint32_t);
};

int16_t Modulo1000(uint32_t i) { return int16_t(i % 1000); }
int16_t Constant10000(uint32_t) { return 10000; }
int16_t Constant20000(uint32_t) { return 20000; }

// floor(value * level / 65536) for the linear fade from `from` to `to` over length frames.
int Faded(int value, int from, int to, int frame, int length)
{
    const int64_t level = from + int64_t(to - from) * frame / length;
    const int64_t product = int64_t(value) * level;
    return int(product >= 0 ? product / 65536 : -((-product + 65535) / 65536));
}

}  // namespace

TEST_CASE("a voice at full volume and centre reproduces a stereo sound exactly, then ends")
{
    CSoundMixer mixer;
    const CSoundData data = MakeData(2, 44100, {1000, -1000, -2001, 2001, 32767, -32768});
    const uint32_t handle = mixer.Play(data);
    REQUIRE(handle != 0);
    CHECK(mixer.IsPlaying(handle));
    CHECK(MixFrames(mixer, 5) == Samples{1000, -1000, -2001, 2001, 32767, -32768, 0, 0, 0, 0});
    CHECK_FALSE(mixer.IsPlaying(handle));
    CHECK(mixer.Stop(handle) == 1);
    CHECK(mixer.GetPlayingCount() == 0);
    CHECK(MixFrames(mixer, 2) == Samples{0, 0, 0, 0});
}

TEST_CASE("volume and pan scale each side by floor(sample * volume * side / 65536)")
{
    CSoundMixer mixer;
    const CSoundData mono = MakeData(1, 44100, {1001, -1001, 256});
    SUBCASE("half volume rounds down, also for negative samples")
    {
        mixer.Play(mono, Params(128));
        CHECK(MixFrames(mixer, 3) == Samples{500, 500, -501, -501, 128, 128});
    }
    SUBCASE("pan to the left halves the right side and keeps the left")
    {
        mixer.Play(mono, Params(256, -128));
        CHECK(MixFrames(mixer, 3) == Samples{1001, 500, -1001, -501, 256, 128});
    }
    SUBCASE("hard right silences the left; volume and pan multiply")
    {
        mixer.Play(mono, Params(64, 256));
        CHECK(MixFrames(mixer, 3) == Samples{0, 250, 0, -251, 0, 64});
    }
    SUBCASE("changes reach the next mixed frame; the master volume scales the sum")
    {
        const CSoundData steady = MakeData(1, 44100, Samples(4, 1000));
        const uint32_t handle = mixer.Play(steady);
        CHECK(MixFrames(mixer, 1) == Samples{1000, 1000});
        CHECK(mixer.SetVolume(handle, 128) == 0);
        CHECK(MixFrames(mixer, 1) == Samples{500, 500});
        CHECK(mixer.SetPan(handle, 64) == 0);
        CHECK(MixFrames(mixer, 1) == Samples{375, 500});
        mixer.SetMasterVolume(64);
        CHECK(mixer.GetMasterVolume() == 64);
        CHECK(MixFrames(mixer, 1) == Samples{93, 125});
    }
}

TEST_CASE("voices are summed and the sum saturates after the master volume")
{
    CSoundMixer mixer;
    const CSoundData loud = MakeData(2, 44100, {30000, -30000, 20000, -20000});
    mixer.Play(loud);
    mixer.Play(loud);
    mixer.Play(loud);
    CHECK(MixFrames(mixer, 1) == Samples{32767, -32768});
    mixer.SetMasterVolume(128);  // (60000 * 128) >> 8 fits again
    CHECK(MixFrames(mixer, 1) == Samples{30000, -30000});
}

TEST_CASE("pitch resamples with linear interpolation rounded down")
{
    CSoundMixer mixer;
    SUBCASE("half speed puts a midpoint between frames; the last frame leans towards silence")
    {
        const CSoundData data = MakeData(1, 44100, {1000, 2000, -1});
        mixer.Play(data, Params(256, 0, 32768));
        CHECK(Channel(MixFrames(mixer, 7), 0) == Samples{1000, 1500, 2000, 999, -1, -1, 0});
    }
    SUBCASE("one and a half speed")
    {
        const CSoundData data = Ramp(8, 100);
        mixer.Play(data, Params(256, 0, 98304));
        CHECK(Channel(MixFrames(mixer, 7), 0) == Samples{0, 150, 300, 450, 600, 350, 0});
    }
    SUBCASE("a sound at 22050 Hz plays at its own speed, one frame per two")
    {
        const CSoundData data = Ramp(3, 1000, 22050);
        mixer.Play(data);
        CHECK(Channel(MixFrames(mixer, 7), 0) == Samples{0, 500, 1000, 1500, 2000, 1000, 0});
    }
    SUBCASE("a pitch change takes effect at the next frame")
    {
        const CSoundData data = Ramp(100, 10);
        const uint32_t handle = mixer.Play(data);
        CHECK(Channel(MixFrames(mixer, 2), 0) == Samples{0, 10});
        mixer.SetPitch(handle, 4 * CSoundMixer::kPitchOne);
        CHECK(Channel(MixFrames(mixer, 3), 0) == Samples{20, 60, 100});
    }
}

TEST_CASE("a loop plays up to the loop end and goes on from the loop start")
{
    CSoundMixer mixer;
    const CSoundData data = Ramp(8, 100);
    CSoundParams params = Params(256, 0, 32768);
    params.loop = true;
    params.loopStart = 2;
    params.loopEnd = 5;
    const uint32_t handle = mixer.Play(data, params);
    // At half speed the frame before the loop end is interpolated towards the loop start.
    CHECK(Channel(MixFrames(mixer, 14), 0)
          == Samples{0, 50, 100, 150, 200, 250, 300, 350, 400, 300, 200, 250, 300, 350});
    SUBCASE("turning the loop off lets it run to the end of the sound")
    {
        CHECK(mixer.SetLoop(handle, false) == 0);
        CHECK(Channel(MixFrames(mixer, 9), 0) == Samples{400, 450, 500, 550, 600, 650, 700, 350, 0});
        CHECK_FALSE(mixer.IsPlaying(handle));
    }
    SUBCASE("loop points out of range mean the whole sound")
    {
        CSoundMixer whole;
        CSoundParams bad = Params();
        bad.loop = true;
        bad.loopStart = 9;
        bad.loopEnd = 100;
        const CSoundData three = Ramp(3, 100);
        whole.Play(three, bad);
        CHECK(Channel(MixFrames(whole, 7), 0) == Samples{0, 100, 200, 0, 100, 200, 0});
    }
}

TEST_CASE("fades move the level linearly per frame; a fade to nothing ends the voice")
{
    CSoundMixer mixer;
    const CSoundData data = MakeData(1, 44100, Samples(200, 10000));
    const int length = CSoundMixer::MsToFrames(1);
    REQUIRE(length == 44);
    SUBCASE("fade out")
    {
        const uint32_t handle = mixer.Play(data);
        CHECK(mixer.Fade(handle, 0, 1) == 0);
        const Samples left = Channel(MixFrames(mixer, 46), 0);
        for (int k = 0; k < length; ++k) {
            CAPTURE(k);
            CHECK(left[k] == Faded(10000, 65536, 0, k, length));
        }
        CHECK(left[22] == 5000);
        CHECK(left[44] == 0);
        CHECK_FALSE(mixer.IsPlaying(handle));
    }
    SUBCASE("fade in at the start, then a fade to half keeps playing")
    {
        CSoundParams params;
        params.fadeInMs = 1;
        const uint32_t handle = mixer.Play(data, params);
        const Samples rise = Channel(MixFrames(mixer, 50), 0);
        CHECK(rise[0] == 0);
        CHECK(rise[11] == 2500);
        CHECK(rise[43] == Faded(10000, 0, 65536, 43, length));
        CHECK(rise[44] == 10000);
        CHECK(rise[49] == 10000);
        CHECK(mixer.Fade(handle, 128, 0) == 0);
        CHECK(Channel(MixFrames(mixer, 2), 0) == Samples{5000, 5000});
        CHECK(mixer.IsPlaying(handle));
    }
}

TEST_CASE("handles: a busy mixer refuses, a freed voice is reused, and stale handles do nothing")
{
    CSoundMixer mixer(2);
    const CSoundData a = MakeData(1, 44100, Samples(10, 100));
    const CSoundData c = MakeData(1, 44100, Samples(10, 1000));
    const uint32_t first = mixer.Play(a);
    const uint32_t second = mixer.Play(a);
    CHECK(first != 0);
    CHECK(second != 0);
    CHECK(mixer.Play(a) == 0);
    CHECK(mixer.Stop(first) == 0);
    const uint32_t third = mixer.Play(c);
    REQUIRE(third != 0);
    CHECK(third != first);
    CHECK((third & 0xFF) == (first & 0xFF));  // the same voice, a new handle

    CHECK(mixer.Stop(first) == 1);
    CHECK(mixer.SetVolume(first, 0) == 1);
    CHECK(mixer.SetPan(first, 256) == 1);
    CHECK(mixer.SetPitch(first, 1) == 1);
    CHECK(mixer.SetLoop(first, true) == 1);
    CHECK(mixer.Fade(first, 0, 0) == 1);
    CHECK_FALSE(mixer.IsPlaying(first));
    CHECK(mixer.Stop(0) == 1);
    CHECK(mixer.Stop(0xFFFFFFFFu) == 1);
    CHECK(MixFrames(mixer, 1) == Samples{1100, 1100});  // the stale calls touched nothing

    CSound sound;
    CHECK(mixer.Play(sound) == 0);  // nothing loaded
    const CSoundData threeChannels = MakeData(3, 44100, {1, 2, 3});
    const CSoundData tooFast = MakeData(1, CSoundData::kMaxRate + 1, {1});
    CHECK(mixer.Play(threeChannels) == 0);
    CHECK(mixer.Play(tooFast) == 0);
    mixer.StopAll();
    CHECK(mixer.GetPlayingCount() == 0);
    CHECK(mixer.IsPlaying(second) == false);
}

TEST_CASE("a stream voice reads across its window and loops seamlessly by rewinding")
{
    CSoundMixer mixer;
    auto owned = std::make_unique<TestStream>(5000, 333, &Modulo1000);
    TestStream* stream = owned.get();
    CSoundParams params;
    params.loop = true;
    const uint32_t handle = mixer.PlayStream(std::move(owned), params);
    REQUIRE(handle != 0);
    const Samples left = Channel(MixFrames(mixer, 12000), 0);
    int mismatches = 0;
    for (uint32_t i = 0; i < 12000; ++i) mismatches += left[i] != Modulo1000(i % 5000);
    CHECK(mismatches == 0);
    CHECK(stream->rewinds == 2);

    SUBCASE("at half speed the frame after the last is the first again")
    {
        mixer.SetPitch(handle, 32768);
        MixFrames(mixer, 2 * 2999);  // to frame 14999 of the loop, 4999 of the stream
        CHECK(Channel(MixFrames(mixer, 3), 0) == Samples{999, 499, 0});
    }
    SUBCASE("without the loop it ends after its last frame")
    {
        mixer.SetLoop(handle, false);
        MixFrames(mixer, 2999);
        CHECK(Channel(MixFrames(mixer, 2), 0) == Samples{999, 0});
        CHECK_FALSE(mixer.IsPlaying(handle));
    }
}

TEST_CASE("music cross-fades: the old music fades out while the new one fades in, then ends")
{
    CSoundMixer mixer;
    REQUIRE(mixer.PlayMusic(std::make_unique<TestStream>(100, 64, &Constant10000), true, 0, 256) == kSoundOK);
    const uint32_t old = mixer.GetMusicHandle();
    CHECK(Channel(MixFrames(mixer, 1), 0) == Samples{10000});
    REQUIRE(mixer.PlayMusic(std::make_unique<TestStream>(100, 64, &Constant20000), true, 1, 256) == kSoundOK);
    CHECK(mixer.GetMusicHandle() != old);
    const Samples mixed = Channel(MixFrames(mixer, 46), 0);
    for (int k = 0; k < 44; ++k) {
        CAPTURE(k);
        CHECK(mixed[k] == Faded(10000, 65536, 0, k, 44) + Faded(20000, 0, 65536, k, 44));
    }
    CHECK(mixed[44] == 20000);
    CHECK_FALSE(mixer.IsPlaying(old));
    CHECK(mixer.GetPlayingCount() == 1);
    CHECK(mixer.StopMusic(0) == 0);
    CHECK(mixer.GetMusicHandle() == 0);
    CHECK(mixer.StopMusic(0) == 1);
    CHECK(MixFrames(mixer, 1) == Samples{0, 0});
    CHECK(mixer.PlayMusic(std::unique_ptr<ISoundStream>(), true, 0, 256) == kSoundNoData);
    CHECK(mixer.PlayMusic("", true) == kSoundNoData);
}
