#include "SoundTesting.h"

#include <pyro/sound/MusicStream.h>
#include <pyro/sound/Sound.h>
#include <pyro/sound/SoundResult.h>
#include "sound/WaveDecoder.h"

#include <cmath>
#include <cstring>

namespace {

int Decode(const std::vector<unsigned char>& bytes, CSoundData& out)
{
    return CWaveDecoder::Decode(bytes.data(), uint32_t(bytes.size()), out);
}

// What follows the format tag in the sub-format GUIDs of PCM and IEEE float.
const unsigned char kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                          0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// A mono WAVE file of the extensible format with the sub-format tag's GUID.
std::vector<unsigned char> Extensible(uint16_t subTag, uint16_t bits, const std::vector<unsigned char>& samples)
{
    WaveFormat format;
    format.tag = 0xFFFE;
    format.bits = bits;
    std::vector<unsigned char> body = FormatBody(format);
    Put16(body, 22);
    Put16(body, bits);
    Put32(body, 4);  // the front centre speaker
    Put16(body, subTag);
    body.insert(body.end(), kSubFormatTail, kSubFormatTail + 14);
    std::vector<unsigned char> chunks;
    PutChunk(chunks, "fmt ", body, 40);
    PutChunk(chunks, "data", samples, uint32_t(samples.size()));
    return Riff(chunks);
}

}  // namespace

TEST_CASE("WAVE fixtures of every encoding decode to the waveform they were made from")
{
    struct Case {
        const char* name;
        int rate;
        int channels;
        uint32_t frames;
    } cases[] = {
        {"s16_stereo_44100.wav", 44100, 2, 4410},
        {"s16_mono_22050.wav", 22050, 1, 2205},
        {"u8_mono_8000.wav", 8000, 1, 800},
        {"f32_stereo_48000.wav", 48000, 2, 4800},  // with a "fact" chunk before the data
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        CSoundData data;
        REQUIRE(Decode(Fixture(c.name), data) == kSoundOK);
        CHECK(data.sampleRate == c.rate);
        CHECK(data.channels == c.channels);
        REQUIRE(data.GetFrames() == c.frames);
        int mismatches = 0;
        for (uint32_t i = 0; i < c.frames; ++i) {
            for (int ch = 0; ch < c.channels; ++ch) {
                if (data.samples[i * c.channels + ch] != Triangle(i, ch)) ++mismatches;
            }
        }
        CHECK(mismatches == 0);
    }
}

TEST_CASE("chunks are found in any order, unknown ones skipped with their pad byte")
{
    WaveFormat format;
    std::vector<unsigned char> chunks;
    PutChunk(chunks, "data", Samples16({100, -200, 300}), 6);
    PutChunk(chunks, "LIST", {'a', 'b', 'c'}, 3);  // odd: one pad byte follows
    PutChunk(chunks, "fmt ", FormatBody(format), 16);
    CSoundData data;
    REQUIRE(Decode(Riff(chunks), data) == kSoundOK);
    CHECK(data.samples == std::vector<int16_t>{100, -200, 300});

    SUBCASE("a 16-bit data chunk of odd length drops the partial frame")
    {
        std::vector<unsigned char> odd = Samples16({7, 8});
        odd.push_back(0x55);
        REQUIRE(Decode(Wave(format, odd), data) == kSoundOK);
        CHECK(data.samples == std::vector<int16_t>{7, 8});
    }
    SUBCASE("the extensible tag is read through its sub-format")
    {
        WaveFormat ext;
        ext.tag = 0xFFFE;
        std::vector<unsigned char> body = FormatBody(ext);
        Put16(body, 22);
        Put16(body, 16);
        Put32(body, 4);
        Put16(body, 1);  // PCM
        body.insert(body.end(), kSubFormatTail, kSubFormatTail + 14);
        std::vector<unsigned char> c2;
        PutChunk(c2, "fmt ", body, 40);
        PutChunk(c2, "data", Samples16({-5}), 2);
        REQUIRE(Decode(Riff(c2), data) == kSoundOK);
        CHECK(data.samples == std::vector<int16_t>{-5});
    }
}

TEST_CASE("an extensible format is read only with all 16 bytes of the PCM or float sub-format GUID")
{
    for (uint16_t tag : {uint16_t(1), uint16_t(3)}) {
        const std::vector<unsigned char> samples = tag == 1 ? Samples16({-5, 9}) : std::vector<unsigned char>(8, 0);
        CAPTURE(tag);
        CSoundData data;
        REQUIRE(Decode(Extensible(tag, tag == 1 ? 16 : 32, samples), data) == kSoundOK);
        CHECK(data.samples == (tag == 1 ? std::vector<int16_t>{-5, 9} : std::vector<int16_t>{0, 0}));
        // Every byte after the tag, the last ones too: another GUID is another encoding.
        for (int at = 0; at < 14; ++at) {
            CAPTURE(at);
            std::vector<unsigned char> other = Extensible(tag, tag == 1 ? 16 : 32, samples);
            other[20 + 26 + at] ^= 0x01;  // the format starts at 20, the GUID's tail at 26 in it
            CHECK(Decode(other, data) == kSoundUnsupported);
            CHECK(data.samples.empty());
        }
    }
}

TEST_CASE("a data chunk without one whole frame is a sound without samples: kSoundEmpty")
{
    WaveFormat stereo;
    stereo.channels = 2;
    CSoundData data;
    for (size_t bytes : {0u, 1u, 3u}) {
        CAPTURE(bytes);
        const std::vector<unsigned char> file = Wave(stereo, std::vector<unsigned char>(bytes, 0x11));
        CHECK(Decode(file, data) == kSoundEmpty);
        CHECK(data.samples.empty());
        CHECK(data.channels == 0);
        CSound sound;
        CHECK(sound.Decode(file.data(), uint32_t(file.size())) == kSoundEmpty);
        CHECK_FALSE(sound.IsLoaded());
        CMusicStream music;
        CHECK(music.OpenMemory(file.data(), uint32_t(file.size())) == kSoundEmpty);
        CHECK(music.GetChannels() == 0);
    }
    CHECK(Decode(Wave(stereo, std::vector<unsigned char>(4, 0x11)), data) == kSoundOK);
    CHECK(data.samples == std::vector<int16_t>{0x1111, 0x1111});
}

TEST_CASE("float samples are scaled by 32768, rounded half up and clamped; NaN is silence")
{
    const float values[] = {0.5f, -1.0f, 2.0f, -2.0f, 0.5f / 32768, -0.5f / 32768, 1.5f / 32768, std::nanf("")};
    std::vector<unsigned char> bytes;
    for (float v : values) {
        uint32_t word;
        std::memcpy(&word, &v, 4);
        Put32(bytes, word);
    }
    WaveFormat format;
    format.tag = 3;
    format.bits = 32;
    CSoundData data;
    REQUIRE(Decode(Wave(format, bytes), data) == kSoundOK);
    CHECK(data.samples == std::vector<int16_t>{16384, -32768, 32767, -32768, 1, 0, 2, 0});
}

TEST_CASE("hostile and unsupported WAVE files give their codes and an empty result")
{
    WaveFormat format;
    const std::vector<unsigned char> good = Wave(format, Samples16({1, 2, 3, 4}));
    CSoundData data;

    SUBCASE("not RIFF WAVE")
    {
        CHECK(CWaveDecoder::Decode(nullptr, 0, data) == kSoundNoData);
        CHECK(Decode(std::vector<unsigned char>(good.begin(), good.begin() + 11), data) == kSoundUnknownFormat);
        std::vector<unsigned char> avi = good;
        std::memcpy(avi.data() + 8, "AVI ", 4);
        CHECK(Decode(avi, data) == kSoundUnknownFormat);
    }
    SUBCASE("truncated anywhere inside a chunk")
    {
        for (size_t size = 13; size < good.size(); ++size) {
            CAPTURE(size);
            const int result = Decode(std::vector<unsigned char>(good.begin(), good.begin() + size), data);
            CHECK((result == kSoundTruncated || result == kSoundBadHeader));
            CHECK(data.samples.empty());
        }
    }
    SUBCASE("absurd and wrong chunk sizes")
    {
        std::vector<unsigned char> chunks;
        PutChunk(chunks, "fmt ", FormatBody(format), 0xFFFFFFF0u);
        CHECK(Decode(Riff(chunks), data) == kSoundTruncated);
        chunks.clear();
        PutChunk(chunks, "fmt ", FormatBody(format), 16);
        PutChunk(chunks, "data", Samples16({1}), 0x7FFFFFFFu);
        CHECK(Decode(Riff(chunks), data) == kSoundTruncated);
        chunks.clear();
        PutChunk(chunks, "fmt ", FormatBody(format), 14);  // too short for a format
        CHECK(Decode(Riff(chunks), data) == kSoundBadHeader);
    }
    SUBCASE("missing or short chunks")
    {
        std::vector<unsigned char> chunks;
        PutChunk(chunks, "data", Samples16({1}), 2);
        CHECK(Decode(Riff(chunks), data) == kSoundBadHeader);
        chunks.clear();
        PutChunk(chunks, "fmt ", FormatBody(format), 16);
        CHECK(Decode(Riff(chunks), data) == kSoundBadHeader);
        chunks.clear();
        std::vector<unsigned char> shortFormat = FormatBody(format);
        shortFormat.resize(14);
        PutChunk(chunks, "fmt ", shortFormat, 14);
        PutChunk(chunks, "data", Samples16({1}), 2);
        CHECK(Decode(Riff(chunks), data) == kSoundBadHeader);
        WaveFormat misaligned = format;
        misaligned.blockAlign = 3;
        CHECK(Decode(Wave(misaligned, Samples16({1, 2, 3})), data) == kSoundBadHeader);
    }
    SUBCASE("encodings, depths, channel counts and rates that are not handled")
    {
        WaveFormat f = format;
        f.bits = 24;
        CHECK(Decode(Wave(f, {0, 0, 0}), data) == kSoundUnsupported);
        f = format;
        f.tag = 2;  // ADPCM
        CHECK(Decode(Wave(f, {0, 0}), data) == kSoundUnsupported);
        f = format;
        f.channels = 3;
        CHECK(Decode(Wave(f, Samples16({1, 2, 3})), data) == kSoundUnsupported);
        f = format;
        f.rate = 0;
        CHECK(Decode(Wave(f, Samples16({1})), data) == kSoundUnsupported);
        f.rate = 384001;
        CHECK(Decode(Wave(f, Samples16({1})), data) == kSoundUnsupported);
        f = format;
        f.tag = 3;  // float needs 32 bits
        CHECK(Decode(Wave(f, Samples16({1})), data) == kSoundUnsupported);
    }
    CHECK(data.samples.empty());
    CHECK(data.channels == 0);
}
