// Ogg Vorbis streams built to break a decoder: pages joined in unusual but legal ways, every
// residue type, streams of one-byte packets, headers without sound, chained links. Each gives
// its documented code, and where it decodes, exactly the samples it holds.
#include "OggTesting.h"
#include "SoundTesting.h"

#include <pyro/sound/MusicStream.h>
#include <pyro/sound/Sound.h>
#include <pyro/sound/SoundResult.h>
#include <pyro/sound/VorbisStream.h>

#include <algorithm>
#include <chrono>

namespace {

int Decode(const std::vector<uint8_t>& bytes, CSoundData& out)
{
    return CVorbisStream::Decode(bytes.data(), uint32_t(bytes.size()), out);
}

bool AllZero(const std::vector<int16_t>& samples)
{
    return std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 0; });
}

// A fixture split into its three header packets and its audio pages as the encoder wrote them.
struct SplitFile {
    std::vector<OggPacket> headers;
    std::vector<OggPage> audio;
    uint32_t serial = 0;
};

SplitFile Split(const std::vector<unsigned char>& bytes)
{
    SplitFile split;
    std::vector<OggPage> pages;
    REQUIRE(ReadOggPages(bytes.data(), bytes.size(), pages));
    size_t ended = 0;
    size_t page = 0;
    while (ended < 3) {
        REQUIRE(page < pages.size());
        for (uint8_t value : pages[page].lacing) ended += value < 255;
        ++page;
    }
    REQUIRE(ended == 3);  // the audio starts on a page of its own
    split.headers = JoinOggPackets(std::vector<OggPage>(pages.begin(), pages.begin() + page));
    split.audio.assign(pages.begin() + page, pages.end());
    split.serial = pages[0].serial;
    return split;
}

// Header pages followed by the fixture's audio pages, renumbered after them.
std::vector<uint8_t> Join(std::vector<OggPage> pages, const SplitFile& split)
{
    for (OggPage page : split.audio) {
        page.sequence = uint32_t(pages.size());
        pages.push_back(page);
    }
    return WriteOggPages(pages);
}

// An audio packet whose floors are both used (so the residue is decoded) while the residue has
// no stages: the block is still silent.
std::vector<uint8_t> FloorPacket(int channels)
{
    BitWriter w;
    w.Put(0, 1);
    w.Put(1, 1);
    w.Put(1, 1);
    for (int c = 0; c < channels; ++c) {
        w.Put(1, 1);
        w.Put(0x40, 8);
        w.Put(0x40, 8);
    }
    return w.Bytes();
}

}  // namespace

TEST_CASE("the comment packet is read as the pages join it, whatever the page flags say")
{
    const std::vector<unsigned char> original = Fixture("mono_22050.ogg");
    CSoundData reference;
    REQUIRE(CVorbisStream::Decode(original.data(), uint32_t(original.size()), reference) == kSoundOK);
    SplitFile split = Split(original);
    // A comment whose bytes, read one byte off, give lengths near 2^32.
    split.headers[1].data = CommentHeader({'x'}, {std::vector<uint8_t>(600, 0xFF), {'A', '=', 'b'}});

    SUBCASE("pages of one segment each, the continued flag missing on all of them")
    {
        std::vector<OggPage> pages = LayOggPackets(split.headers, split.serial, 1, {0, 1, 2});
        REQUIRE(pages.size() > 5);
        for (OggPage& page : pages) page.flags &= ~OggPage::kContinued;
        pages.back().flags &= ~OggPage::kLast;
        CSoundData data;
        REQUIRE(Decode(Join(pages, split), data) == kSoundOK);
        CHECK(data.samples == reference.samples);
    }
    SUBCASE("pages without segments inside the packet, with and without the continued flag")
    {
        for (uint8_t flags : {uint8_t(OggPage::kContinued), uint8_t(0)}) {
            CAPTURE(int(flags));
            std::vector<OggPage> pages;
            for (OggPage& page : LayOggPackets(split.headers, split.serial, 2, {0, 1, 2})) {
                const bool inside = page.lacing.back() == 255;
                page.flags &= ~OggPage::kLast;
                pages.push_back(page);
                if (inside) {
                    OggPage empty;
                    empty.flags = flags;
                    empty.serial = split.serial;
                    empty.granule = ~uint64_t(0);
                    pages.push_back(empty);
                }
            }
            for (size_t i = 0; i < pages.size(); ++i) pages[i].sequence = uint32_t(i);
            CSoundData data;
            REQUIRE(Decode(Join(pages, split), data) == kSoundOK);
            CHECK(data.samples == reference.samples);
        }
    }
    SUBCASE("a comment length past the packet, however the packet is paged, is refused")
    {
        split.headers[1].data = CommentHeader({'x'}, {std::vector<uint8_t>(600, 0xFF)});
        split.headers[1].data[19] = 0x10;  // the comment's length (bytes 16 to 19): 600 + 2^28
        for (int segments : {1, 2, 255}) {
            CAPTURE(segments);
            CSoundData data;
            CHECK(Decode(Join(LayOggPackets(split.headers, split.serial, segments, {0, 1, 2}), split), data) ==
                  kSoundCorrupt);
            CHECK(data.samples.empty());
        }
    }
}

TEST_CASE("residues of every type decode their blocks: the silent streams give exact lengths")
{
    for (int channels : {1, 2, 6}) {
        for (int type : {0, 1, 2}) {
            CAPTURE(channels);
            CAPTURE(type);
            const std::vector<uint8_t> file = SilentStream(channels, type, 5, FloorPacket(channels));
            CSoundData data;
            REQUIRE(Decode(file, data) == kSoundOK);
            CHECK(data.channels == std::min(channels, 2));
            CHECK(data.sampleRate == 44100);
            CHECK(data.GetFrames() == 4 * kSilentPacketFrames);
            CHECK(AllZero(data.samples));
        }
    }
    // A residue type the codec does not have.
    CSoundData data;
    CHECK(Decode(SilentStream(2, 3, 5, FloorPacket(2)), data) == kSoundCorrupt);
}

TEST_CASE("one-byte audio packets: exact up to the cap, refused quickly past it")
{
    CSoundData data;
    SUBCASE("a short stream decodes whole, streams and rewinds to the same frames")
    {
        const std::vector<uint8_t> file = SilentStream(2, 2, 20);
        REQUIRE(Decode(file, data) == kSoundOK);
        CHECK(data.GetFrames() == 19 * kSilentPacketFrames);
        CHECK(AllZero(data.samples));
        CVorbisStream stream;
        REQUIRE(stream.Open(file.data(), uint32_t(file.size())) == kSoundOK);
        std::vector<int16_t> block(2 * 5000);
        for (int pass = 0; pass < 2; ++pass) {
            uint64_t frames = 0;
            while (int got = stream.Read(block.data(), 5000)) frames += uint64_t(got);
            CHECK(frames == 19 * kSilentPacketFrames);
            CHECK(stream.Rewind() == kSoundOK);
        }
    }
    SUBCASE("the absolute cap: exactly CSoundData::kMaxDecodedBytes decodes, one block more does not")
    {
        // Packets of five bytes keep the file below kMaxFramesPerByte, so the absolute cap is
        // the one that holds.
        const uint64_t capFrames = CSoundData::kMaxDecodedBytes / 2;  // mono
        const std::vector<uint8_t> padded = {kSilentPacket, 0, 0, 0, 0};
        const size_t packets = size_t(capFrames / kSilentPacketFrames) + 1;
        REQUIRE(Decode(SilentStream(1, 1, packets, padded), data) == kSoundOK);
        CHECK(data.samples.size() == capFrames);
        CHECK(Decode(SilentStream(1, 1, packets + 1, padded), data) == kSoundTooLong);
        CHECK(data.samples.empty());
    }
    SUBCASE("the rate per byte is for stereo: eight channels get a quarter of it")
    {
        // About 680 frames per byte: within the stereo rate, past the eight-channel one.
        const std::vector<uint8_t> padded = {kSilentPacket, 0, 0, 0, 0};
        REQUIRE(Decode(SilentStream(2, 2, 400, padded), data) == kSoundOK);
        CHECK(data.GetFrames() == 399 * kSilentPacketFrames);
        CHECK(Decode(SilentStream(8, 2, 400, padded), data) == kSoundTooLong);
        REQUIRE(Decode(SilentStream(8, 2, 20, padded), data) == kSoundOK);  // within the allowance
        CHECK(data.GetFrames() == 19 * kSilentPacketFrames);
        CHECK(data.channels == 2);
    }
    SUBCASE("a 256 KiB file of one-byte packets is refused after a few megabytes, not gigabytes")
    {
        const std::vector<uint8_t> file = SilentStream(2, 2, 130000);
        REQUIRE(file.size() >= 256 * 1024);
        const auto start = std::chrono::steady_clock::now();
        CSound sound;
        CHECK(sound.Decode(file.data(), uint32_t(file.size())) == kSoundTooLong);
        CHECK_FALSE(sound.IsLoaded());
        MESSAGE("refused after ", std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), " s");
        // As music it streams in bounded memory: a block at a time.
        CMusicStream music;
        REQUIRE(music.OpenMemory(file.data(), uint32_t(file.size())) == kSoundOK);
        std::vector<int16_t> block(2 * 4096, 1);
        for (int i = 0; i < 100; ++i) REQUIRE(music.Read(block.data(), 4096) == 4096);
        CHECK(AllZero(block));
    }
}

TEST_CASE("headers without sound are kSoundEmpty everywhere, never a success without samples")
{
    for (size_t packets : {size_t(0), size_t(1)}) {  // the first audio packet only primes the decoder
        CAPTURE(packets);
        const std::vector<uint8_t> file = SilentStream(2, 2, packets);
        CSoundData data;
        CHECK(Decode(file, data) == kSoundEmpty);
        CHECK(data.samples.empty());
        CVorbisStream stream;
        CHECK(stream.Open(file.data(), uint32_t(file.size())) == kSoundEmpty);
        CHECK(stream.GetChannels() == 0);
        CSound sound;
        CHECK(sound.Decode(file.data(), uint32_t(file.size())) == kSoundEmpty);
        CHECK_FALSE(sound.IsLoaded());
        CMusicStream music;
        CHECK(music.OpenMemory(file.data(), uint32_t(file.size())) == kSoundEmpty);
    }
    // Headers cut anywhere inside: damaged, not empty.
    const std::vector<uint8_t> file = SilentStream(2, 2, 0);
    CSoundData data;
    for (size_t size = 4; size < file.size(); size += 7) {
        CAPTURE(size);
        CHECK(CVorbisStream::Decode(file.data(), uint32_t(size), data) == kSoundCorrupt);
    }
}

TEST_CASE("chained links play on while their format holds and fail where it changes")
{
    auto relink = [](std::vector<uint8_t> file, uint32_t serial) {
        std::vector<OggPage> pages;
        REQUIRE(ReadOggPages(file.data(), file.size(), pages));
        for (OggPage& page : pages) page.serial = serial;
        return WriteOggPages(pages);
    };
    std::vector<uint8_t> same = SilentStream(1, 1, 3);
    const std::vector<uint8_t> second = relink(SilentStream(1, 1, 4), 77);
    same.insert(same.end(), second.begin(), second.end());
    CSoundData data;
    REQUIRE(Decode(same, data) == kSoundOK);
    CHECK(data.GetFrames() == 5 * kSilentPacketFrames);

    std::vector<uint8_t> other = SilentStream(1, 1, 3);
    const std::vector<uint8_t> faster = relink(SilentStream(1, 1, 4, {kSilentPacket}, 48000), 78);
    other.insert(other.end(), faster.begin(), faster.end());
    CHECK(Decode(other, data) == kSoundCorrupt);
    CVorbisStream stream;
    REQUIRE(stream.Open(other.data(), uint32_t(other.size())) == kSoundOK);
    std::vector<int16_t> block(4 * kSilentPacketFrames);
    CHECK(stream.Read(block.data(), int(block.size())) == int(2 * kSilentPacketFrames));
    CHECK(stream.HasFailed());
}
