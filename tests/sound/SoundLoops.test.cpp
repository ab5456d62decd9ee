// Loops sample by sample: loop points at their edges (an empty section, a start past the end, a
// section of one frame) and music streams that loop again and again, read through the mixer's
// window in blocks of every size, with the samples checked around each loop point.
#include "SoundTesting.h"

#include <pyro/sound/MusicStream.h>
#include <pyro/sound/SoundResult.h>

#include <memory>

namespace {

using Samples = std::vector<int16_t>;

// A mono sound whose frame i is 100 * (i + 1), so that no frame is silent.
CSoundData Steps(uint32_t frames)
{
    Samples samples;
    for (uint32_t i = 0; i < frames; ++i) samples.push_back(int16_t(100 * (i + 1)));
    return MakeData(1, CSoundMixer::kRate, samples);
}

CSoundParams Loop(uint32_t start, uint32_t end, int pitch = CSoundMixer::kPitchOne)
{
    CSoundParams params;
    params.loop = true;
    params.loopStart = start;
    params.loopEnd = end;
    params.pitch = pitch;
    return params;
}

Samples Left(CSoundMixer& mixer, int frames) { return Channel(MixFrames(mixer, frames), 0); }

// Frame i of channel c of the music: no two neighbours alike, and every value differs from the
// next pass's first frame.
int16_t MusicSample(uint32_t i, int c) { return int16_t(int(i * 37 % 2001) - 1000 + 3 * c); }

std::unique_ptr<CMusicStream> WaveMusic(uint32_t frames, int channels)
{
    Samples samples;
    for (uint32_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) samples.push_back(MusicSample(i, c));
    WaveFormat format;
    format.channels = uint16_t(channels);
    const std::vector<unsigned char> file = Wave(format, Samples16(samples));
    auto stream = std::make_unique<CMusicStream>();
    REQUIRE(stream->OpenMemory(file.data(), uint32_t(file.size())) == kSoundOK);
    return stream;
}

// The mixer's linear interpolation rounded down, at source position p (32.32) of a piece of
// length frames that loops.
int16_t Looped(uint64_t p, uint32_t frames, int c)
{
    const uint32_t i = uint32_t((p >> 32) % frames);
    const int64_t a = MusicSample(i, c), b = MusicSample((i + 1) % frames, c);
    const int64_t fraction = (p >> 16) & 0xFFFF;
    return int16_t(a + ((b - a) * fraction >> 16));
}

// Mixes total frames in blocks of the given sizes in turn and returns them interleaved.
Samples MixInBlocks(CSoundMixer& mixer, int total, std::vector<int> blocks)
{
    Samples out;
    for (size_t k = 0; int(out.size()) < 2 * total; ++k) {
        const int n = std::min(blocks[k % blocks.size()], total - int(out.size() / 2));
        const Samples part = MixFrames(mixer, n);
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

}  // namespace

TEST_CASE("loop points at their edges: what plays, frame by frame")
{
    CSoundMixer mixer;
    const CSoundData eight = Steps(8);
    SUBCASE("a start equal to the end is no section: the loop runs from the first frame to the end")
    {
        mixer.Play(eight, Loop(3, 3));
        CHECK(Left(mixer, 10) == Samples{100, 200, 300, 100, 200, 300, 100, 200, 300, 100});
    }
    SUBCASE("a start past the loop end is taken as the first frame")
    {
        mixer.Play(eight, Loop(6, 4));
        CHECK(Left(mixer, 10) == Samples{100, 200, 300, 400, 100, 200, 300, 400, 100, 200});
    }
    SUBCASE("a start past the end of the sound with the end given as 0: the whole sound")
    {
        mixer.Play(eight, Loop(9, 0));
        CHECK(Left(mixer, 10) == Samples{100, 200, 300, 400, 500, 600, 700, 800, 100, 200});
    }
    SUBCASE("a start on the last frame with the end at the end of the sound loops that frame")
    {
        mixer.Play(eight, Loop(7, 8));
        CHECK(Left(mixer, 11) == Samples{100, 200, 300, 400, 500, 600, 700, 800, 800, 800, 800});
    }
    SUBCASE("a section of one frame repeats that frame, at any speed")
    {
        const uint32_t handle = mixer.Play(eight, Loop(3, 4));
        CHECK(Left(mixer, 8) == Samples{100, 200, 300, 400, 400, 400, 400, 400});
        // Half speed: the frame between the section's frame and itself is that frame again.
        mixer.SetPitch(handle, CSoundMixer::kPitchOne / 2);
        CHECK(Left(mixer, 4) == Samples{400, 400, 400, 400});
        mixer.SetPitch(handle, 8 * CSoundMixer::kPitchOne);
        CHECK(Left(mixer, 3) == Samples{400, 400, 400});
        // Without the loop it plays on from there to the end.
        mixer.SetLoop(handle, false);
        mixer.SetPitch(handle, CSoundMixer::kPitchOne);
        CHECK(Left(mixer, 6) == Samples{400, 500, 600, 700, 800, 0});
        CHECK_FALSE(mixer.IsPlaying(handle));
    }
    SUBCASE("a section of one frame at half speed from the start: the frame before leans into it")
    {
        mixer.Play(eight, Loop(2, 3, CSoundMixer::kPitchOne / 2));
        CHECK(Left(mixer, 9) == Samples{100, 150, 200, 250, 300, 300, 300, 300, 300});
    }
    SUBCASE("the loop points do nothing without the loop")
    {
        CSoundParams params = Loop(1, 3);
        params.loop = false;
        const uint32_t handle = mixer.Play(eight, params);
        CHECK(Left(mixer, 9) == Samples{100, 200, 300, 400, 500, 600, 700, 800, 0});
        CHECK_FALSE(mixer.IsPlaying(handle));
    }
    SUBCASE("a loop section of two frames at one and a half speed keeps its phase on every pass")
    {
        // Positions 0, 1.5, then 3, 4, 3.5, 3 folded into frames 1 and 2 (200, 300) as 1, 2, 1.5,
        // 1; the frame at 2.5 leans towards the loop start.
        const CSoundData three = Steps(3);
        mixer.Play(three, Loop(1, 3, 98304));
        CHECK(Left(mixer, 8) == Samples{100, 250, 200, 250, 300, 250, 200, 250});
    }
}

TEST_CASE("music that loops again and again gives every sample around every loop point")
{
    // Pieces shorter than the mixer's stream window (several passes in one refill), exactly as
    // long, and longer; mono and stereo; blocks that never line up with the loop points.
    struct Piece {
        uint32_t frames;
        int channels;
    };
    for (const Piece piece : {Piece{1000, 1}, Piece{4096, 2}, Piece{4097, 1}, Piece{333, 2}}) {
        for (const int pitch : {CSoundMixer::kPitchOne, 98304, 40000}) {
            CAPTURE(piece.frames);
            CAPTURE(piece.channels);
            CAPTURE(pitch);
            CSoundMixer mixer;
            REQUIRE(mixer.PlayMusic(WaveMusic(piece.frames, piece.channels), true, 0, 256) == kSoundOK);
            mixer.SetPitch(mixer.GetMusicHandle(), pitch);
            const uint64_t step = uint64_t(pitch) << 16;
            // Enough for at least three passes at the slowest pitch.
            const int total = int(uint64_t(piece.frames) * 3 * 65536 / uint64_t(pitch)) + 50;
            const Samples mixed = MixInBlocks(mixer, total, {777, 1, 512, 4099, 13});
            int wrong = 0, first = -1;
            for (int k = 0; k < total; ++k) {
                for (int side = 0; side < 2; ++side) {
                    const int16_t want = Looped(step * uint64_t(k), piece.frames, piece.channels == 2 ? side : 0);
                    if (mixed[size_t(2 * k + side)] != want) {
                        ++wrong;
                        if (first < 0) first = k;
                    }
                }
            }
            CHECK(wrong == 0);
            CHECK(first == -1);
            CHECK(mixer.GetMusicHandle() != 0);
        }
    }
}

TEST_CASE("a music stream rewound while it plays starts again at its first frame")
{
    std::unique_ptr<CMusicStream> stream = WaveMusic(100, 2);
    Samples part(2 * 30);
    REQUIRE(stream->Read(part.data(), 30) == 30);
    CHECK(part[58] == MusicSample(29, 0));
    CHECK(part[59] == MusicSample(29, 1));
    // Rewound in the middle, then again after the end.
    CHECK(stream->Rewind() == kSoundOK);
    Samples all(2 * 120, 7);
    CHECK(stream->Read(all.data(), 120) == 100);
    int wrong = 0;
    for (uint32_t i = 0; i < 100; ++i) wrong += all[2 * i] != MusicSample(i, 0) || all[2 * i + 1] != MusicSample(i, 1);
    CHECK(wrong == 0);
    CHECK(all[200] == 7);  // nothing written past what it returned
    CHECK(stream->Read(all.data(), 10) == 0);
    CHECK(stream->Rewind() == kSoundOK);
    REQUIRE(stream->Read(all.data(), 1) == 1);
    CHECK(all[0] == MusicSample(0, 0));
    CHECK(all[1] == MusicSample(0, 1));
}

TEST_CASE("music that does not loop ends after its last frame, through the window")
{
    CSoundMixer mixer;
    REQUIRE(mixer.PlayMusic(WaveMusic(4097, 1), false, 0, 256) == kSoundOK);
    const Samples left = Channel(MixInBlocks(mixer, 4100, {4095, 1, 3}), 0);
    CHECK(left[4095] == MusicSample(4095, 0));
    CHECK(left[4096] == MusicSample(4096, 0));
    CHECK(left[4097] == 0);
    CHECK(left[4099] == 0);
    CHECK(mixer.GetMusicHandle() == 0);
}
