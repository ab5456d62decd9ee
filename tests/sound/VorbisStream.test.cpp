#include "SoundTesting.h"

#include <pyro/sound/SoundResult.h>
#include <pyro/sound/VorbisStream.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Root-mean-square and worst difference from the fixture waveform over all samples.
void Distance(const CSoundData& data, double& rms, int& worst)
{
    double squares = 0;
    worst = 0;
    for (uint32_t i = 0; i < data.GetFrames(); ++i) {
        for (int c = 0; c < data.channels; ++c) {
            const int d = data.samples[i * data.channels + c] - Triangle(i, c);
            squares += double(d) * d;
            worst = std::max(worst, std::abs(d));
        }
    }
    rms = std::sqrt(squares / double(data.samples.size()));
}

}  // namespace

TEST_CASE("Ogg Vorbis fixtures decode to their waveform within the codec's loss, to the exact length")
{
    struct Case {
        const char* name;
        int rate;
        int channels;
    } cases[] = {{"stereo_44100.ogg", 44100, 2}, {"mono_22050.ogg", 22050, 1}};
    for (const Case& c : cases) {
        CAPTURE(c.name);
        const std::vector<unsigned char> bytes = Fixture(c.name);
        CSoundData data;
        REQUIRE(CVorbisStream::Decode(bytes.data(), uint32_t(bytes.size()), data) == kSoundOK);
        CHECK(data.sampleRate == c.rate);
        CHECK(data.channels == c.channels);
        CHECK(data.GetFrames() == uint32_t(c.rate));  // one second
        double rms;
        int worst;
        Distance(data, rms, worst);
        // The waveform peaks at 12800; a lossy codec stays within a small fraction of that.
        CHECK(rms < 200);
        CHECK(worst < 1000);
    }
}

TEST_CASE("three channels (left, centre, right) are folded to stereo, the centre on both sides")
{
    const std::vector<unsigned char> bytes = Fixture("three_22050.ogg");
    CSoundData data;
    REQUIRE(CVorbisStream::Decode(bytes.data(), uint32_t(bytes.size()), data) == kSoundOK);
    REQUIRE(data.channels == 2);
    CHECK(data.GetFrames() == 22050);
    double squares = 0;
    for (uint32_t i = 0; i < data.GetFrames(); ++i) {
        const int left = (Triangle(i, 0) + Triangle(i, 1)) / 2;
        const int right = (Triangle(i, 1) + Triangle(i, 2)) / 2;
        const int dl = data.samples[2 * i] - left;
        const int dr = data.samples[2 * i + 1] - right;
        squares += double(dl) * dl + double(dr) * dr;
    }
    CHECK(std::sqrt(squares / double(data.samples.size())) < 200);
}

TEST_CASE("a stream read in blocks gives the whole decode sample for sample, and again after Rewind")
{
    const std::vector<unsigned char> bytes = Fixture("stereo_44100.ogg");
    CSoundData whole;
    REQUIRE(CVorbisStream::Decode(bytes.data(), uint32_t(bytes.size()), whole) == kSoundOK);
    CVorbisStream stream;
    REQUIRE(stream.Open(bytes.data(), uint32_t(bytes.size())) == kSoundOK);
    for (int pass = 0; pass < 2; ++pass) {
        CAPTURE(pass);
        std::vector<int16_t> streamed;
        std::vector<int16_t> block(2 * 777);
        while (int got = stream.Read(block.data(), 777)) streamed.insert(streamed.end(), block.begin(), block.begin() + 2 * got);
        CHECK(streamed == whole.samples);
        CHECK_FALSE(stream.HasFailed());
        REQUIRE(stream.Rewind() == kSoundOK);
    }
}

TEST_CASE("hostile Ogg files give codes: not Ogg, truncated headers, a corrupt first page")
{
    const std::vector<unsigned char> bytes = Fixture("mono_22050.ogg");
    CSoundData data;
    CVorbisStream stream;
    CHECK(stream.Open(nullptr, 0) == kSoundNoData);
    CHECK(stream.Open(reinterpret_cast<const unsigned char*>("RIFF"), 4) == kSoundUnknownFormat);
    CHECK(stream.Read(nullptr, 10) == 0);
    CHECK(stream.Rewind() == kSoundCorrupt);

    for (uint32_t size : {4u, 27u, 58u, 100u, 1000u}) {
        CAPTURE(size);
        CHECK(CVorbisStream::Decode(bytes.data(), size, data) == kSoundCorrupt);
        CHECK(data.samples.empty());
    }
    std::vector<unsigned char> damaged = bytes;
    damaged[28 + 1] ^= 0xFF;  // the "vorbis" signature of the identification header
    CHECK(CVorbisStream::Decode(damaged.data(), uint32_t(damaged.size()), data) == kSoundCorrupt);

    // Counts in the comment header that the packet cannot hold: the decoder would size its
    // tables from them before reading a single comment.
    const char signature[] = "\x03vorbis";
    const auto comment = std::search(bytes.begin(), bytes.end(), signature, signature + 7) - bytes.begin();
    REQUIRE(size_t(comment) < bytes.size());
    const uint32_t vendor = bytes[comment + 7] | (bytes[comment + 8] << 8);
    for (uint32_t at : {uint32_t(comment + 7), uint32_t(comment + 11 + vendor)}) {
        for (uint32_t count : {0x20000000u, 0xFFFFFFFFu, 100000u}) {
            CAPTURE(at);
            CAPTURE(count);
            damaged = bytes;
            for (int i = 0; i < 4; ++i) damaged[at + i] = static_cast<unsigned char>(count >> (8 * i));
            CHECK(CVorbisStream::Decode(damaged.data(), uint32_t(damaged.size()), data) == kSoundCorrupt);
        }
    }

    // Damage in the audio pages: no crash and no read outside the file, whatever the verdict.
    for (size_t at = bytes.size() / 2; at < bytes.size(); at += 997) {
        damaged = bytes;
        for (size_t i = at; i < std::min(at + 64, damaged.size()); ++i) damaged[i] ^= 0x5A;
        const int result = CVorbisStream::Decode(damaged.data(), uint32_t(damaged.size()), data);
        CAPTURE(result);
        CHECK((result == kSoundOK || result == kSoundCorrupt));
        CHECK(data.GetFrames() <= 22050 + 4096);
    }
}
