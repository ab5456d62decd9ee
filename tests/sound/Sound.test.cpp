#include "SoundTesting.h"

#include <pyro/sound/MusicStream.h>
#include <pyro/sound/Sound.h>
#include <pyro/sound/SoundResult.h>
#include <pyro/sound/VorbisStream.h>
#include "../app/ErrorCapture.h"
#include "../file/Scratch.h"

TEST_CASE("sounds load from loose files and archive members, told apart by content")
{
    CScratch scratch;
    const std::vector<unsigned char> wave = Fixture("s16_mono_22050.wav");
    const std::vector<unsigned char> ogg = Fixture("mono_22050.ogg");
    scratch.Put("loose\\tone.dat", wave);  // the name says nothing about the format
    PackOptions options;
    scratch.PutArchive("se.dat", {{"tone.wav", wave}, {"tone.ogg", ogg}, {"text.wav", Bytes("text")}}, options);

    CSound loose;
    REQUIRE(loose.Load("loose\\tone.dat") == kSoundOK);
    CSound member;
    REQUIRE(member.Load("se\\tone.wav") == kSoundOK);
    CHECK(member.GetData().samples == loose.GetData().samples);
    CHECK(member.GetFrames() == 2205);

    CSound vorbis;
    REQUIRE(vorbis.Load("se\\tone.ogg") == kSoundOK);
    CSoundData direct;
    REQUIRE(CVorbisStream::Decode(ogg.data(), uint32_t(ogg.size()), direct) == kSoundOK);
    CHECK(vorbis.GetData().samples == direct.samples);

    // Each failure is one line of the error log with the file and the code.
    ErrorCapture errors;
    CSound failed;
    CHECK(failed.Load("") == kSoundNoData);
    CHECK(failed.Load("se\\none.wav") == kSoundNotRead);
    CHECK(failed.Load("se\\text.wav") == kSoundUnknownFormat);
    CMusicStream music;
    CHECK(music.Open("se\\none.ogg") == kSoundNotRead);
    CHECK(errors.messages == std::vector<std::string>{
                                 "CSound::Loadで\"\"の読み込みに失敗 (コード -1)",
                                 "CSound::Loadで\"se\\none.wav\"の読み込みに失敗 (コード 1)",
                                 "CSound::Loadで\"se\\text.wav\"の読み込みに失敗 (コード 2)",
                                 "CMusicStream::Openで\"se\\none.ogg\"の読み込みに失敗 (コード 1)"});
    CHECK_FALSE(failed.IsLoaded());
    CHECK(vorbis.IsLoaded());
    vorbis.Release();
    CHECK_FALSE(vorbis.IsLoaded());
}

TEST_CASE("music streams from an archive member: the mixer plays what the whole decode holds")
{
    CScratch scratch;
    const std::vector<unsigned char> ogg = Fixture("stereo_44100.ogg");
    const std::vector<unsigned char> wave = Fixture("s16_stereo_44100.wav");
    PackOptions options;
    scratch.PutArchive("bgm.dat", {{"song.ogg", ogg}, {"jingle.wav", wave}}, options);

    for (const char* name : {"bgm\\song.ogg", "bgm\\jingle.wav"}) {
        CAPTURE(name);
        CSound whole;
        REQUIRE(whole.Load(name) == kSoundOK);
        CSoundMixer mixer;
        REQUIRE(mixer.PlayMusic(name, false) == kSoundOK);
        const uint32_t frames = whole.GetFrames();
        const std::vector<int16_t> played = MixFrames(mixer, int(frames));
        CHECK(played == whole.GetData().samples);
        CHECK(mixer.GetMusicHandle() != 0);
        MixFrames(mixer, 1);
        CHECK(mixer.GetMusicHandle() == 0);  // it ended without the loop
    }

    CMusicStream stream;
    CHECK(stream.Open("bgm\\none.ogg") == kSoundNotRead);
    CHECK(stream.OpenMemory(reinterpret_cast<const unsigned char*>("MThd"), 4) == kSoundUnknownFormat);
    CSoundMixer mixer;
    CHECK(mixer.PlayMusic("bgm\\none.ogg") == kSoundNotRead);
    CHECK(mixer.GetPlayingCount() == 0);
}
