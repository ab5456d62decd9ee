// CSoundMixer: the voices of the sound system mixed into 16-bit stereo at 44.1 kHz. Each voice
// plays a decoded sound or a music stream with its own volume, pan, pitch (linear interpolation),
// loop points and fades; the voices are summed with saturation and scaled by the master volume.
// The arithmetic is integer-only, so a given sequence of calls gives the same samples on every
// machine. Voices are named by handles that stay safe after the voice ended: a stale handle does
// nothing. Every operation takes one lock, so the application controls voices while the output
// thread mixes.
#pragma once

#include <pyro/sound/MusicStream.h>
#include <pyro/sound/SoundData.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CCriticalLock;
class CSound;

// How a voice starts. Values outside their ranges are clamped.
// A looping voice plays from the first frame up to loopEnd - 1, then the loop section loopStart ..
// loopEnd - 1 again and again; the frame before the loop end is interpolated towards the loop
// start, and a position that steps past the loop end goes on as far past the loop start. A
// section of one frame repeats that frame. A section with no frames (loopStart at or past
// loopEnd) starts at frame 0 instead. Without the loop the points do nothing.
struct CSoundParams {
    int volume = 256;         // 0 silent .. 256 as recorded
    int pan = 0;              // -256 left only .. 0 both sides at full .. 256 right only
    int pitch = 65536;        // playback speed, 16.16 fixed point (65536 as recorded), 1/64 to 8
    bool loop = false;        // play the loop section again and again until stopped
    uint32_t loopStart = 0;   // the section's first frame; 0 when at or past the loop end
    uint32_t loopEnd = 0;     // one past its last frame; 0 (or past the end): the end of the sound
    int fadeInMs = 0;         // rises from silence over this time
};

// The voices mixed into 16-bit stereo at 44.1 kHz, deterministically; see the file comment.
class CSoundMixer {
public:
    static constexpr int kRate = 44100;       // output frames per second
    static constexpr int kMaxVoices = 256;    // the most voices a mixer can have
    static constexpr int kPitchOne = 65536;   // the pitch that plays a sound at its own speed

    // voices is clamped to 1..kMaxVoices.
    explicit CSoundMixer(int voices = 32);
    CSoundMixer(const CSoundMixer&) = delete;
    CSoundMixer& operator=(const CSoundMixer&) = delete;
    virtual ~CSoundMixer();

    // Starts a voice on a loaded sound and returns its handle; 0 when the sound is empty, not
    // one or two channels at 1 to CSoundData::kMaxRate, or every voice is busy. The sound must
    // stay loaded while the voice plays.
    virtual uint32_t Play(const CSound& sound, const CSoundParams& params = CSoundParams());
    // The same for decoded samples the caller holds; they must outlive the voice.
    virtual uint32_t Play(const CSoundData& data, const CSoundParams& params = CSoundParams());
    // Starts a voice that pulls its frames from a stream as it plays; a looping stream rewinds
    // at its end (loop points do not apply). 0 when the stream is null or every voice is busy.
    virtual uint32_t PlayStream(std::unique_ptr<ISoundStream> stream,
                                const CSoundParams& params = CSoundParams());

    // Voice control. Each returns 0, or 1 when the handle names no playing voice (it ended,
    // was stopped, or never existed); a stale handle changes nothing.
    virtual int Stop(uint32_t handle);
    // Moves the voice's fade level (a gain on top of its volume, 256 at full) to level over ms
    // milliseconds, linearly; a fade to 0 stops the voice when it ends. ms 0 applies at once.
    virtual int Fade(uint32_t handle, int level, int ms);
    // Volume 0 .. 256, clamped; takes effect in the next mixed block.
    virtual int SetVolume(uint32_t handle, int volume);
    // Pan -256 (left only) .. 256 (right only), clamped.
    virtual int SetPan(uint32_t handle, int pan);
    // Playback speed in 16.16 fixed point (kPitchOne as recorded), clamped to 1/64 .. 8.
    virtual int SetPitch(uint32_t handle, int pitch);
    // Turning the loop off lets the voice play on to the end of the sound and stop there, from
    // where the loop has taken it.
    virtual int SetLoop(uint32_t handle, bool loop);
    // True while the handle names a voice that has not ended.
    virtual bool IsPlaying(uint32_t handle);
    // Stops every voice that plays this sound (before unloading it); returns how many.
    virtual int StopSound(const CSound& sound);
    // Ends every voice, the music too.
    virtual void StopAll();
    // The number of voices playing.
    virtual int GetPlayingCount();

    // Streams music from a loose file or an archive member through CMusicStream:
    //   kSoundOK; the codes of CMusicStream::Open; kSoundNoVoice every voice busy.
    // A music already playing fades out over crossFadeMs while the new one fades in over the
    // same time (with 0 the old one stops at once). The handle of the music voice is kept.
    virtual int PlayMusic(const std::string& path, bool loop = true, int crossFadeMs = 0,
                          int volume = 256);
    // The same for a stream made by the caller; 0 or kSoundNoVoice (or kSoundNoData for null).
    virtual int PlayMusic(std::unique_ptr<ISoundStream> stream, bool loop, int crossFadeMs, int volume);
    // Fades the music out over fadeMs (0 stops at once); 1 when no music plays.
    virtual int StopMusic(int fadeMs = 0);
    // The music voice's handle while it plays, else 0.
    virtual uint32_t GetMusicHandle();

    // Scales the final sum; 0 .. 256 (as mixed), clamped.
    virtual void SetMasterVolume(int volume);
    // The master volume, 0 .. 256.
    virtual int GetMasterVolume();

    // Mixes frames frames of interleaved 16-bit stereo into out, advancing every voice. The
    // output thread calls this; tests call it directly.
    virtual void Mix(int16_t* out, int frames);

    // Milliseconds as output frames, rounded down; 0 for 0 or less.
    static int MsToFrames(int ms);

    // One voice's state; defined in SoundMixer.cpp, where the mixing loops use it.
    struct Voice;

private:
    Voice* Find(uint32_t handle);
    Voice* Allocate();
    uint32_t Start(Voice& voice, const CSoundParams& params, int sampleRate);
    void End(Voice& voice);
    void MixVoice(Voice& voice, int32_t* sum, int frames);
    void StartFade(Voice& voice, int level, int ms);

    std::unique_ptr<CCriticalLock> lock_;
    std::vector<Voice> voices_;
    std::vector<int32_t> sum_;
    int masterVolume_ = 256;
    uint32_t musicHandle_ = 0;
};
