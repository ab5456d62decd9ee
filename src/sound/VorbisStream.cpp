#include <pyro/sound/VorbisStream.h>

#include <pyro/sound/SoundResult.h>

#define STB_VORBIS_HEADER_ONLY
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include <stb/stb_vorbis.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

// The decoder's tables for ordinary files fit in a few hundred kilobytes; a larger need must be
// backed by a correspondingly large file.
constexpr size_t kFirstArena = 256 * 1024;
constexpr size_t kArenaPerByte = 32;
constexpr size_t kMaxArena = 32 * 1024 * 1024;

uint32_t Read32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Reassembles packet `index` of the stream from the pages' lacing values, as the decoder reads
// it. False when the pages are damaged or end first.
bool ReadPacket(const unsigned char* bytes, uint32_t size, int index, std::vector<unsigned char>& packet)
{
    packet.clear();
    int number = 0;
    uint32_t offset = 0;
    while (size - offset >= 27) {
        if (std::memcmp(bytes + offset, "OggS", 4) != 0) return false;
        const uint32_t segments = bytes[offset + 26];
        if (size - offset - 27 < segments) return false;
        const unsigned char* lacing = bytes + offset + 27;
        uint32_t data = offset + 27 + segments;
        for (uint32_t s = 0; s < segments; ++s) {
            if (size - data < lacing[s]) return false;
            if (number == index) packet.insert(packet.end(), bytes + data, bytes + data + lacing[s]);
            data += lacing[s];
            if (lacing[s] < 255 && number++ == index) return true;
        }
        offset = data;
    }
    return false;
}

// The decoder sizes its comment tables from the counts in the comment header before it reads
// the comments, and cannot clean up after such an allocation fails; every count must therefore
// be backed by bytes of the packet before the decoder sees it.
bool CommentHeaderFits(const unsigned char* bytes, uint32_t size)
{
    std::vector<unsigned char> packet;
    if (!ReadPacket(bytes, size, 1, packet)) return false;
    const uint32_t length = static_cast<uint32_t>(packet.size());
    if (length < 11 || packet[0] != 3 || std::memcmp(packet.data() + 1, "vorbis", 6) != 0) return false;
    uint32_t offset = 7;
    const uint32_t vendor = Read32(packet.data() + offset);
    offset += 4;
    if (vendor > length - offset || length - offset - vendor < 4) return false;
    offset += vendor;
    const uint32_t comments = Read32(packet.data() + offset);
    offset += 4;
    if (comments > (length - offset) / 4) return false;
    for (uint32_t i = 0; i < comments; ++i) {
        if (length - offset < 4) return false;
        const uint32_t comment = Read32(packet.data() + offset);
        offset += 4;
        if (comment > length - offset) return false;
        offset += comment;
    }
    return true;
}

}  // namespace

CVorbisStream::~CVorbisStream() { Close(); }

int CVorbisStream::Open(const unsigned char* bytes, uint32_t size)
{
    Close();
    if (!bytes || size == 0) return kSoundNoData;
    if (size < 4 || std::memcmp(bytes, "OggS", 4) != 0) return kSoundUnknownFormat;
    if (size > static_cast<uint32_t>(INT_MAX)) return kSoundTooLong;
    if (!CommentHeaderFits(bytes, size)) return kSoundCorrupt;

    const size_t limit = std::min(kMaxArena, kFirstArena + kArenaPerByte * size);
    for (size_t arenaSize = kFirstArena;; arenaSize = std::min(arenaSize * 2, limit)) {
        try {
            arena_.assign(arenaSize, 0);
        } catch (const std::bad_alloc&) {
            arena_ = std::vector<char>();
            return kSoundOutOfMemory;
        }
        stb_vorbis_alloc alloc{arena_.data(), static_cast<int>(arena_.size())};
        int error = 0;
        vorbis_ = stb_vorbis_open_memory(bytes, static_cast<int>(size), &error, &alloc);
        if (vorbis_) break;
        if (error != VORBIS_outofmem || arenaSize == limit) {
            arena_ = std::vector<char>();
            return error == VORBIS_outofmem ? kSoundOutOfMemory : kSoundCorrupt;
        }
    }
    const stb_vorbis_info info = stb_vorbis_get_info(vorbis_);
    if (info.channels < 1 || info.sample_rate < 1) {
        Close();
        return kSoundCorrupt;
    }
    if (info.sample_rate > unsigned(CSoundData::kMaxRate)) {
        Close();
        return kSoundUnsupported;
    }
    channels_ = info.channels >= 2 ? 2 : 1;
    sampleRate_ = static_cast<int>(info.sample_rate);
    return kSoundOK;
}

void CVorbisStream::Close()
{
    if (vorbis_) stb_vorbis_close(vorbis_);
    vorbis_ = nullptr;
    arena_ = std::vector<char>();
    channels_ = 0;
    sampleRate_ = 0;
}

int CVorbisStream::Read(int16_t* out, int frames)
{
    if (!vorbis_ || !out || frames <= 0) return 0;
    return stb_vorbis_get_samples_short_interleaved(vorbis_, channels_, out, frames * channels_);
}

int CVorbisStream::Rewind()
{
    if (!vorbis_) return kSoundCorrupt;
    return stb_vorbis_seek_start(vorbis_) ? kSoundOK : kSoundCorrupt;
}

bool CVorbisStream::HasFailed() const
{
    if (!vorbis_) return false;
    const int error = stb_vorbis_get_error(vorbis_);
    // Running out of pages is how the end of a stream in memory shows itself.
    return error != VORBIS__no_error && error != VORBIS_unexpected_eof;
}

int CVorbisStream::Decode(const unsigned char* bytes, uint32_t size, CSoundData& out)
{
    out = CSoundData();
    CVorbisStream stream;
    if (int result = stream.Open(bytes, size)) return result;
    const uint64_t maxFrames = uint64_t(kMaxFramesPerByte) * size;
    constexpr int kBlock = 4096;
    std::vector<int16_t> samples;
    uint64_t frames = 0;
    try {
        for (;;) {
            samples.resize(static_cast<size_t>(frames + kBlock) * stream.channels_);
            const int got = stream.Read(samples.data() + frames * stream.channels_, kBlock);
            frames += got;
            if (got < kBlock) break;
            if (frames > maxFrames) return kSoundTooLong;
        }
    } catch (const std::bad_alloc&) {
        return kSoundOutOfMemory;
    }
    if (stream.HasFailed()) return kSoundCorrupt;
    if (frames > maxFrames) return kSoundTooLong;
    samples.resize(static_cast<size_t>(frames) * stream.channels_);
    samples.shrink_to_fit();
    out.channels = stream.channels_;
    out.sampleRate = stream.sampleRate_;
    out.samples = std::move(samples);
    return kSoundOK;
}
