#include "sound/WaveDecoder.h"

#include <pyro/sound/SoundResult.h>
#include "sound/SampleConversion.h"

#include <cstring>
#include <new>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;

uint16_t Read16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Read32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

int CWaveDecoder::Decode(const unsigned char* bytes, uint32_t size, CSoundData& out)
{
    out = CSoundData();
    if (!bytes || size == 0) return kSoundNoData;
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
        return kSoundUnknownFormat;
    }

    // The RIFF size is often wrong in the wild (streams written before their length was
    // known); the chunks themselves are what must fit inside the file.
    const unsigned char* format = nullptr;
    uint32_t formatSize = 0;
    const unsigned char* data = nullptr;
    uint32_t dataSize = 0;
    uint32_t offset = 12;
    while (size - offset >= 8 && !(format && data)) {
        const unsigned char* chunk = bytes + offset;
        const uint32_t length = Read32(chunk + 4);
        if (length > size - offset - 8) return kSoundTruncated;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && !format) {
            format = chunk + 8;
            formatSize = length;
        } else if (std::memcmp(chunk, "data", 4) == 0 && !data) {
            data = chunk + 8;
            dataSize = length;
        }
        const uint32_t advance = 8 + length + (length & 1);
        if (advance > size - offset) break;  // the pad byte of the last chunk may be missing
        offset += advance;
    }
    if (!format || formatSize < 16 || !data) return kSoundBadHeader;

    uint16_t tag = Read16(format);
    const uint16_t channels = Read16(format + 2);
    const uint32_t rate = Read32(format + 4);
    const uint16_t blockAlign = Read16(format + 12);
    const uint16_t bits = Read16(format + 14);
    if (tag == kFormatExtensible) {
        // The sub-format GUID is the plain format tag followed by the fixed tail of the audio
        // sub-format GUIDs; any other GUID names an encoding of someone else's.
        static const unsigned char kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                    0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        if (formatSize < 40) return kSoundBadHeader;
        tag = Read16(format + 24);
        if (std::memcmp(format + 26, kGuidTail, sizeof kGuidTail) != 0) return kSoundUnsupported;
    }
    const bool pcm = tag == kFormatPcm && (bits == 8 || bits == 16);
    const bool ieee = tag == kFormatFloat && bits == 32;
    if (!(pcm || ieee) || channels < 1 || channels > 2 || rate < 1 || rate > uint32_t(CSoundData::kMaxRate)) {
        return kSoundUnsupported;
    }
    if (blockAlign != channels * bits / 8) return kSoundBadHeader;

    const uint32_t frames = dataSize / blockAlign;
    if (frames == 0) return kSoundEmpty;
    try {
        out.samples.resize(static_cast<size_t>(frames) * channels);
    } catch (const std::bad_alloc&) {
        out = CSoundData();
        return kSoundOutOfMemory;
    }
    out.channels = channels;
    out.sampleRate = static_cast<int>(rate);
    const size_t count = out.samples.size();
    int16_t* samples = out.samples.data();
    if (bits == 8) {
        for (size_t i = 0; i < count; ++i) samples[i] = static_cast<int16_t>((data[i] - 128) * 256);
    } else if (bits == 16) {
        for (size_t i = 0; i < count; ++i) samples[i] = static_cast<int16_t>(Read16(data + 2 * i));
    } else {
        for (size_t i = 0; i < count; ++i) {
            const uint32_t word = Read32(data + 4 * i);
            float value;
            std::memcpy(&value, &word, sizeof value);
            samples[i] = FloatToSample(value);
        }
    }
    return kSoundOK;
}
