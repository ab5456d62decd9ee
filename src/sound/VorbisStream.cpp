#include <pyro/sound/VorbisStream.h>

#include <pyro/sound/SoundResult.h>
#include "sound/SampleConversion.h"

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

namespace {

// The bytes as the decoder reads them, through a read callback over memory. The decoder is
// given no seek callback: it then reads the pages once, in order, as they come (the way it
// plays a network stream), instead of scanning the file from its end for the links of a chain
// when it opens, and Rewind opens it again from the first byte, which gives the first samples
// exactly by construction. Streams only ever return to their start.
struct MemorySource {
    const unsigned char* bytes = nullptr;
    uint32_t size = 0;
    uint32_t position = 0;
};

}  // namespace

struct CVorbisStream::Decoder {
    MemorySource source;
    OggVorbis_File file{};
    bool open = false;
    int sourceChannels = 0;    // before folding to stereo
    float** pending = nullptr;  // the last decoded block, per channel; valid until the next one
    int pendingFrames = 0;
    int pendingAt = 0;

    ~Decoder()
    {
        if (open) ov_clear(&file);
    }
};

namespace {

size_t ReadBytes(void* out, size_t size, size_t count, void* source)
{
    auto& d = *static_cast<MemorySource*>(source);
    if (size == 0) return 0;
    const size_t items = std::min<size_t>(count, (d.size - d.position) / size);
    std::memcpy(out, d.bytes + d.position, items * size);
    d.position += static_cast<uint32_t>(items * size);
    return items;
}

// Which side each channel of a wider stream goes to, in the codec's channel order: L left, R
// right, C both, N neither (the low-frequency channel). Beyond eight channels the order is the
// application's; even channels go left and odd ones right.
const char* ChannelSides(int channels)
{
    static const char* const sides[] = {"LCR", "LRLR", "LCRLR", "LCRLRN", "LCRLRCN", "LCRLRLRN"};
    return channels >= 3 && channels <= 8 ? sides[channels - 3] : nullptr;
}

void FoldToStereo(float* const* pcm, int channels, int at, int frames, int16_t* out)
{
    const char* sides = ChannelSides(channels);
    int leftCount = 0;
    int rightCount = 0;
    for (int c = 0; c < channels; ++c) {
        const char side = sides ? sides[c] : (c % 2 ? 'R' : 'L');
        leftCount += side == 'L' || side == 'C';
        rightCount += side == 'R' || side == 'C';
    }
    for (int i = at; i < at + frames; ++i) {
        float left = 0;
        float right = 0;
        for (int c = 0; c < channels; ++c) {
            const char side = sides ? sides[c] : (c % 2 ? 'R' : 'L');
            if (side == 'L' || side == 'C') left += pcm[c][i];
            if (side == 'R' || side == 'C') right += pcm[c][i];
        }
        *out++ = FloatToSample(left / float(leftCount));
        *out++ = FloatToSample(right / float(std::max(rightCount, 1)));
    }
}

}  // namespace

CVorbisStream::CVorbisStream() = default;

CVorbisStream::~CVorbisStream() { Close(); }

int CVorbisStream::Open(const unsigned char* bytes, uint32_t size)
{
    Close();
    if (!bytes || size == 0) return kSoundNoData;
    if (size < 4 || std::memcmp(bytes, "OggS", 4) != 0) return kSoundUnknownFormat;
    if (size > static_cast<uint32_t>(INT_MAX)) return kSoundTooLong;
    try {
        decoder_.reset(new Decoder);
    } catch (const std::bad_alloc&) {
        return kSoundOutOfMemory;
    }
    decoder_->source.bytes = bytes;
    decoder_->source.size = size;
    const int result = Reopen();
    if (result != kSoundOK) Close();
    return result;
}

// Opens the decoder over the bytes from their start and decodes the first block.
int CVorbisStream::Reopen()
{
    Decoder& d = *decoder_;
    if (d.open) ov_clear(&d.file);
    d.open = false;
    d.source.position = 0;
    d.pending = nullptr;
    d.pendingFrames = d.pendingAt = 0;
    failed_ = false;
    const ov_callbacks callbacks{ReadBytes, nullptr, nullptr, nullptr};
    // On failure libvorbisfile has already freed what it took.
    if (ov_open_callbacks(&d.source, &d.file, nullptr, 0, callbacks) != 0) return kSoundCorrupt;
    d.open = true;
    const vorbis_info* info = ov_info(&d.file, -1);
    if (!info || info->channels < 1 || info->rate < 1) return kSoundCorrupt;
    if (info->rate > CSoundData::kMaxRate) return kSoundUnsupported;
    d.sourceChannels = info->channels;
    channels_ = info->channels >= 2 ? 2 : 1;
    sampleRate_ = static_cast<int>(info->rate);
    if (!NextBlock()) return failed_ ? kSoundCorrupt : kSoundEmpty;
    return kSoundOK;
}

void CVorbisStream::Close()
{
    decoder_.reset();
    channels_ = 0;
    sampleRate_ = 0;
    failed_ = false;
}

bool CVorbisStream::NextBlock()
{
    Decoder& d = *decoder_;
    d.pending = nullptr;
    d.pendingFrames = d.pendingAt = 0;
    while (!failed_) {
        int link = 0;
        float** pcm = nullptr;
        const long got = ov_read_float(&d.file, &pcm, 4096, &link);
        // A hole is pages missing, also where one link of a chain ends and the next begins:
        // the decoder resumes after it.
        if (got == 0) return false;
        if (got == OV_HOLE) continue;
        if (got < 0 || !pcm) break;
        const vorbis_info* info = ov_info(&d.file, -1);  // the link just decoded
        if (!info || info->channels != d.sourceChannels || info->rate != sampleRate_) break;
        d.pending = pcm;
        d.pendingFrames = static_cast<int>(got);
        return true;
    }
    failed_ = true;
    return false;
}

int CVorbisStream::Read(int16_t* out, int frames)
{
    if (!decoder_ || !out || frames <= 0) return 0;
    Decoder& d = *decoder_;
    int done = 0;
    while (done < frames) {
        if (d.pendingAt == d.pendingFrames && !NextBlock()) break;
        const int count = std::min(frames - done, d.pendingFrames - d.pendingAt);
        int16_t* to = out + size_t(done) * channels_;
        if (d.sourceChannels == 1) {
            for (int i = 0; i < count; ++i) to[i] = FloatToSample(d.pending[0][d.pendingAt + i]);
        } else if (d.sourceChannels == 2) {
            for (int i = 0; i < count; ++i) {
                to[2 * i] = FloatToSample(d.pending[0][d.pendingAt + i]);
                to[2 * i + 1] = FloatToSample(d.pending[1][d.pendingAt + i]);
            }
        } else {
            FoldToStereo(d.pending, d.sourceChannels, d.pendingAt, count, to);
        }
        d.pendingAt += count;
        done += count;
    }
    return done;
}

int CVorbisStream::Rewind()
{
    if (!decoder_) return kSoundCorrupt;
    if (Reopen() != kSoundOK) {
        Close();
        return kSoundCorrupt;
    }
    return kSoundOK;
}

int CVorbisStream::Decode(const unsigned char* bytes, uint32_t size, CSoundData& out)
{
    out = CSoundData();
    CVorbisStream stream;
    if (int result = stream.Open(bytes, size)) return result;
    const uint64_t channels = uint64_t(stream.channels_);
    // The decoder's work grows with the stream's own channels, folded or not: the rates are
    // for stereo, and a wider stream gets proportionally fewer frames.
    const uint64_t wide = uint64_t(std::max(stream.decoder_->sourceChannels, 2));
    const uint64_t perByte = uint64_t(kMaxFramesPerByte) * 2 / wide;
    const uint64_t allowed = uint64_t(kFramesAllowed) * 2 / wide;
    const uint64_t maxFrames = std::min<uint64_t>(perByte * size,
                                                  CSoundData::kMaxDecodedBytes / (2 * channels));
    constexpr int kBlock = 4096;
    std::vector<int16_t> samples;
    std::vector<int16_t> block(size_t(kBlock) * channels);
    try {
        while (int got = stream.Read(block.data(), kBlock)) {
            const uint64_t frames = samples.size() / channels + uint64_t(got);
            // The rate is also held to the part of the file read so far, so that a large file
            // of tiny packets is refused after its first pages rather than at the cap.
            const uint64_t read = stream.decoder_->source.position;
            if (frames > maxFrames || frames > perByte * read + allowed) return kSoundTooLong;
            // Grown by hand so that the memory taken never passes the cap.
            if (frames * channels > samples.capacity())
                samples.reserve(size_t(std::min(std::max<uint64_t>(samples.capacity() * 2, frames * channels),
                                                maxFrames * channels)));
            samples.insert(samples.end(), block.begin(), block.begin() + size_t(got) * channels);
        }
    } catch (const std::bad_alloc&) {
        return kSoundOutOfMemory;
    }
    if (stream.HasFailed()) return kSoundCorrupt;
    if (samples.empty()) return kSoundEmpty;
    samples.shrink_to_fit();
    out.channels = stream.channels_;
    out.sampleRate = stream.sampleRate_;
    out.samples = std::move(samples);
    return kSoundOK;
}
