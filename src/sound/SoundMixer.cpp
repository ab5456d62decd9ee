#include <pyro/sound/SoundMixer.h>

#include <pyro/app/CriticalLock.h>
#include <pyro/sound/Sound.h>
#include <pyro/sound/SoundResult.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kBlockFrames = 512;
constexpr uint32_t kWindowFrames = 4096;  // frames of a stream held for interpolation
constexpr int kFadeOne = 65536;

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

// The sources a voice can play: one or two channels at 1 to CSoundData::kMaxRate.
bool IsPlayable(int channels, int rate)
{
    return (channels == 1 || channels == 2) && rate > 0 && rate <= CSoundData::kMaxRate;
}

}  // namespace

// A voice's source is either decoded samples (random access, loop points) or a stream pulled
// into a sliding window. position is the source frame in 32.32 fixed point, relative to the
// window's first frame for a stream.
struct CSoundMixer::Voice {
    uint32_t generation = 1;
    bool active = false;
    const CSoundData* data = nullptr;
    std::unique_ptr<ISoundStream> stream;
    std::vector<int16_t> window;
    uint32_t windowFrames = 0;
    bool streamEnded = false;
    int channels = 0;
    int sampleRate = 0;
    uint64_t position = 0;
    uint64_t step = 0;
    int volume = 256;
    int pan = 0;
    bool loop = false;
    uint32_t loopStart = 0;
    uint32_t loopEnd = 0;
    // The fade level multiplies the volume; while fadeLength is non-zero it moves linearly from
    // fadeFrom to fadeTo, frame fadeElapsed of fadeLength.
    int32_t fadeLevel = kFadeOne;
    int32_t fadeFrom = 0;
    int32_t fadeTo = 0;
    uint32_t fadeLength = 0;
    uint32_t fadeElapsed = 0;

    const int16_t* Samples() const { return data ? data->samples.data() : window.data(); }
    // Source frames that can serve as the later neighbour of an interpolation.
    uint32_t Limit() const { return data ? (loop ? loopEnd : data->GetFrames()) : windowFrames; }
    int64_t GainLeft() const { return int64_t(volume) * (pan > 0 ? 256 - pan : 256); }
    int64_t GainRight() const { return int64_t(volume) * (pan < 0 ? 256 + pan : 256); }
    // Sets the source frames per output frame for a pitch (clamped to 1/64 .. 8); the pitch
    // itself is not kept, only the step it gives at the voice's rate.
    void SetPitch(int pitch)
    {
        const int clamped = Clamp(pitch, kPitchOne / 64, kPitchOne * 8);
        step = std::max<uint64_t>(1, (uint64_t(clamped) << 16) * uint64_t(sampleRate) / kRate);
    }
};

namespace {

using Voice = CSoundMixer::Voice;

// Mixes n frames read from src (frame 0 at position 0) into sum; every frame's two source frames
// lie inside src. Returns the position after them.
template <int Channels, bool Fading>
uint64_t MixRun(Voice& v, const int16_t* src, uint64_t position, int32_t* sum, int n)
{
    const uint64_t step = v.step;
    const int64_t gainLeft = v.GainLeft();
    const int64_t gainRight = v.GainRight();
    int64_t left = gainLeft * v.fadeLevel;
    int64_t right = gainRight * v.fadeLevel;
    for (int i = 0; i < n; ++i) {
        if (Fading) {
            v.fadeLevel = v.fadeFrom
                + static_cast<int32_t>(int64_t(v.fadeTo - v.fadeFrom) * v.fadeElapsed / v.fadeLength);
            ++v.fadeElapsed;
            left = gainLeft * v.fadeLevel;
            right = gainRight * v.fadeLevel;
        }
        const int16_t* p = src + (position >> 32) * Channels;
        const int64_t fraction = (position >> 16) & 0xFFFF;
        const int64_t l = p[0] + ((int64_t(p[Channels] - p[0]) * fraction) >> 16);
        const int64_t r = Channels == 2 ? p[1] + ((int64_t(p[3] - p[1]) * fraction) >> 16) : l;
        sum[2 * i] += static_cast<int32_t>((l * left) >> 32);
        sum[2 * i + 1] += static_cast<int32_t>((r * right) >> 32);
        position += step;
    }
    return position;
}

template <int Channels>
uint64_t MixRunFade(Voice& v, const int16_t* src, uint64_t position, int32_t* sum, int n)
{
    return v.fadeLength ? MixRun<Channels, true>(v, src, position, sum, n)
                        : MixRun<Channels, false>(v, src, position, sum, n);
}

uint64_t MixFrames(Voice& v, const int16_t* src, uint64_t position, int32_t* sum, int n)
{
    return v.channels == 2 ? MixRunFade<2>(v, src, position, sum, n) : MixRunFade<1>(v, src, position, sum, n);
}

// A looping voice of decoded samples that reached its loop end goes on from the loop start, as
// far past it as it went past the end. The mixer folds the position when it next mixes the
// voice; turning the loop off folds it first, so that the voice plays on from where the loop
// took it (its last frame already leaned towards the loop start) rather than from past the end.
void FoldIntoLoop(Voice& v)
{
    const uint64_t end = uint64_t(v.loopEnd) << 32;
    if (!v.data || !v.loop || v.position < end) return;
    const uint64_t length = uint64_t(v.loopEnd - v.loopStart) << 32;
    v.position = end - length + (v.position - end) % length;
}

// Slides a stream's window so that it starts at the current frame and refills it; a looping
// stream continues from its first frame after its last.
void Refill(Voice& v)
{
    const uint32_t drop = static_cast<uint32_t>(std::min<uint64_t>(v.position >> 32, v.windowFrames));
    const int channels = v.channels;
    std::memmove(v.window.data(), v.window.data() + size_t(drop) * channels,
                 size_t(v.windowFrames - drop) * channels * sizeof(int16_t));
    v.windowFrames -= drop;
    v.position -= uint64_t(drop) << 32;
    bool rewound = false;
    while (!v.streamEnded && v.windowFrames < kWindowFrames) {
        const int got = v.stream->Read(v.window.data() + size_t(v.windowFrames) * channels,
                                       static_cast<int>(kWindowFrames - v.windowFrames));
        if (got > 0) {
            v.windowFrames += std::min<uint32_t>(static_cast<uint32_t>(got), kWindowFrames - v.windowFrames);
            rewound = false;
        } else if (v.loop && !rewound && v.stream->Rewind() == 0) {
            rewound = true;  // a stream that gives nothing after a rewind has ended
        } else {
            v.streamEnded = true;
        }
    }
}

}  // namespace

CSoundMixer::CSoundMixer(int voices)
    : lock_(new CCriticalLock), voices_(static_cast<size_t>(Clamp(voices, 1, kMaxVoices))),
      sum_(kBlockFrames * 2)
{
}

CSoundMixer::~CSoundMixer() = default;

int CSoundMixer::MsToFrames(int ms) { return ms <= 0 ? 0 : static_cast<int>(int64_t(ms) * kRate / 1000); }

CSoundMixer::Voice* CSoundMixer::Find(uint32_t handle)
{
    const uint32_t slot = handle & 0xFF;
    if (slot >= voices_.size()) return nullptr;
    Voice& voice = voices_[slot];
    return voice.active && voice.generation == (handle >> 8) ? &voice : nullptr;
}

CSoundMixer::Voice* CSoundMixer::Allocate()
{
    for (Voice& voice : voices_) {
        if (!voice.active) return &voice;
    }
    return nullptr;
}

uint32_t CSoundMixer::Start(Voice& voice, const CSoundParams& params, int sampleRate)
{
    voice.active = true;
    voice.sampleRate = sampleRate;
    voice.position = 0;
    voice.volume = Clamp(params.volume, 0, 256);
    voice.pan = Clamp(params.pan, -256, 256);
    voice.SetPitch(params.pitch);
    voice.loop = params.loop;
    voice.fadeLength = 0;
    voice.fadeLevel = kFadeOne;
    if (params.fadeInMs > 0) {
        voice.fadeLevel = 0;
        StartFade(voice, 256, params.fadeInMs);
    }
    return (voice.generation << 8) | static_cast<uint32_t>(&voice - voices_.data());
}

void CSoundMixer::End(Voice& voice)
{
    voice.active = false;
    voice.data = nullptr;
    voice.stream.reset();
    voice.window = std::vector<int16_t>();
    // 24 bits of generation; 0 is skipped so that no handle is ever 0.
    voice.generation = (voice.generation + 1) & 0xFFFFFF;
    if (voice.generation == 0) voice.generation = 1;
}

uint32_t CSoundMixer::Play(const CSound& sound, const CSoundParams& params)
{
    return Play(sound.GetData(), params);
}

uint32_t CSoundMixer::Play(const CSoundData& data, const CSoundParams& params)
{
    const uint32_t frames = data.GetFrames();
    if (frames == 0 || !IsPlayable(data.channels, data.sampleRate)) return 0;
    CCriticalGuard guard(*lock_);
    Voice* voice = Allocate();
    if (!voice) return 0;
    voice->data = &data;
    voice->channels = data.channels;
    voice->loopEnd = params.loopEnd == 0 || params.loopEnd > frames ? frames : params.loopEnd;
    voice->loopStart = params.loopStart < voice->loopEnd ? params.loopStart : 0;
    return Start(*voice, params, data.sampleRate);
}

uint32_t CSoundMixer::PlayStream(std::unique_ptr<ISoundStream> stream, const CSoundParams& params)
{
    if (!stream) return 0;
    const int channels = stream->GetChannels();
    const int rate = stream->GetSampleRate();
    if (!IsPlayable(channels, rate)) return 0;
    CCriticalGuard guard(*lock_);
    Voice* voice = Allocate();
    if (!voice) return 0;
    voice->stream = std::move(stream);
    voice->channels = channels;
    voice->window.assign(size_t(kWindowFrames) * channels, 0);
    voice->windowFrames = 0;
    voice->streamEnded = false;
    return Start(*voice, params, rate);
}

int CSoundMixer::Stop(uint32_t handle)
{
    CCriticalGuard guard(*lock_);
    Voice* voice = Find(handle);
    if (!voice) return 1;
    End(*voice);
    return 0;
}

void CSoundMixer::StartFade(Voice& voice, int level, int ms)
{
    const int32_t target = Clamp(level, 0, 256) * 256;
    const int frames = MsToFrames(ms);
    voice.fadeFrom = voice.fadeLevel;
    voice.fadeTo = target;
    voice.fadeElapsed = 0;
    voice.fadeLength = static_cast<uint32_t>(frames);
    if (frames == 0) {
        voice.fadeLevel = target;
        if (target == 0) End(voice);
    }
}

int CSoundMixer::Fade(uint32_t handle, int level, int ms)
{
    CCriticalGuard guard(*lock_);
    Voice* voice = Find(handle);
    if (!voice) return 1;
    StartFade(*voice, level, ms);
    return 0;
}

int CSoundMixer::SetVolume(uint32_t handle, int volume)
{
    CCriticalGuard guard(*lock_);
    Voice* voice = Find(handle);
    if (!voice) return 1;
    voice->volume = Clamp(volume, 0, 256);
    return 0;
}

int CSoundMixer::SetPan(uint32_t handle, int pan)
{
    CCriticalGuard guard(*lock_);
    Voice* voice = Find(handle);
    if (!voice) return 1;
    voice->pan = Clamp(pan, -256, 256);
    return 0;
}

int CSoundMixer::SetPitch(uint32_t handle, int pitch)
{
    CCriticalGuard guard(*lock_);
    Voice* voice = Find(handle);
    if (!voice) return 1;
    voice->SetPitch(pitch);
    return 0;
}

int CSoundMixer::SetLoop(uint32_t handle, bool loop)
{
    CCriticalGuard guard(*lock_);
    Voice* voice = Find(handle);
    if (!voice) return 1;
    if (!loop) FoldIntoLoop(*voice);
    voice->loop = loop;
    return 0;
}

bool CSoundMixer::IsPlaying(uint32_t handle)
{
    CCriticalGuard guard(*lock_);
    return Find(handle) != nullptr;
}

int CSoundMixer::StopSound(const CSound& sound)
{
    CCriticalGuard guard(*lock_);
    int stopped = 0;
    for (Voice& voice : voices_) {
        if (voice.active && voice.data == &sound.GetData()) {
            End(voice);
            ++stopped;
        }
    }
    return stopped;
}

void CSoundMixer::StopAll()
{
    CCriticalGuard guard(*lock_);
    for (Voice& voice : voices_) {
        if (voice.active) End(voice);
    }
}

int CSoundMixer::GetPlayingCount()
{
    CCriticalGuard guard(*lock_);
    return static_cast<int>(std::count_if(voices_.begin(), voices_.end(), [](const Voice& v) { return v.active; }));
}

int CSoundMixer::PlayMusic(const std::string& path, bool loop, int crossFadeMs, int volume)
{
    std::unique_ptr<CMusicStream> stream(new CMusicStream);
    if (int result = stream->Open(path)) return result;
    return PlayMusic(std::move(stream), loop, crossFadeMs, volume);
}

int CSoundMixer::PlayMusic(std::unique_ptr<ISoundStream> stream, bool loop, int crossFadeMs, int volume)
{
    if (!stream) return kSoundNoData;
    CCriticalGuard guard(*lock_);
    CSoundParams params;
    params.volume = volume;
    params.loop = loop;
    params.fadeInMs = crossFadeMs;
    Voice* previous = Find(musicHandle_);
    // The old music keeps its voice until the new one has one, so a busy mixer changes nothing.
    const uint32_t handle = PlayStream(std::move(stream), params);
    if (!handle) return kSoundNoVoice;
    if (previous) StartFade(*previous, 0, crossFadeMs);
    musicHandle_ = handle;
    return kSoundOK;
}

int CSoundMixer::StopMusic(int fadeMs)
{
    CCriticalGuard guard(*lock_);
    Voice* voice = Find(musicHandle_);
    if (!voice) return 1;
    StartFade(*voice, 0, fadeMs);
    return 0;
}

uint32_t CSoundMixer::GetMusicHandle()
{
    CCriticalGuard guard(*lock_);
    return Find(musicHandle_) ? musicHandle_ : 0;
}

void CSoundMixer::SetMasterVolume(int volume)
{
    CCriticalGuard guard(*lock_);
    masterVolume_ = Clamp(volume, 0, 256);
}

int CSoundMixer::GetMasterVolume()
{
    CCriticalGuard guard(*lock_);
    return masterVolume_;
}

void CSoundMixer::MixVoice(Voice& v, int32_t* sum, int frames)
{
    int done = 0;
    while (done < frames && v.active) {
        if (v.stream && (v.position >> 32) + 1 >= v.windowFrames && !v.streamEnded) Refill(v);
        const uint64_t index = v.position >> 32;
        const uint32_t limit = v.Limit();
        if (index >= limit) {
            if (v.data && v.loop) {
                FoldIntoLoop(v);
                continue;
            }
            End(v);  // past the last frame
            break;
        }
        int n = frames - done;
        if (v.fadeLength) n = static_cast<int>(std::min<uint32_t>(n, v.fadeLength - v.fadeElapsed));
        const int16_t* samples = v.Samples();
        if (index + 1 < limit) {
            // Every frame of this run has both neighbours inside the source.
            const uint64_t bound = uint64_t(limit - 1) << 32;
            n = static_cast<int>(std::min<uint64_t>(n, (bound - v.position + v.step - 1) / v.step));
            v.position = MixFrames(v, samples, v.position, sum + 2 * done, n);
        } else {
            // The last frame before the loop end or the end: its later neighbour is the loop
            // start, or silence.
            int16_t pair[4] = {};
            const int channels = v.channels;
            std::copy_n(samples + index * channels, channels, pair);
            if (v.data && v.loop) std::copy_n(samples + size_t(v.loopStart) * channels, channels, pair + channels);
            const uint64_t fraction = v.position & 0xFFFFFFFFu;
            n = 1;
            v.position += MixFrames(v, pair, fraction, sum + 2 * done, 1) - fraction;
        }
        done += n;
        if (v.fadeLength && v.fadeElapsed == v.fadeLength) {
            v.fadeLength = 0;
            v.fadeLevel = v.fadeTo;
            if (v.fadeTo == 0) End(v);
        }
    }
}

void CSoundMixer::Mix(int16_t* out, int frames)
{
    if (!out || frames <= 0) return;
    CCriticalGuard guard(*lock_);
    while (frames > 0) {
        const int block = std::min(frames, kBlockFrames);
        std::fill_n(sum_.begin(), block * 2, 0);
        for (Voice& voice : voices_) {
            if (voice.active) MixVoice(voice, sum_.data(), block);
        }
        for (int i = 0; i < block * 2; ++i) {
            const int64_t value = (int64_t(sum_[i]) * masterVolume_) >> 8;
            out[i] = static_cast<int16_t>(value > 32767 ? 32767 : value < -32768 ? -32768 : value);
        }
        out += block * 2;
        frames -= block;
    }
}
