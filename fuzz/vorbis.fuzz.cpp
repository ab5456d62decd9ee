// Fuzz target: Ogg Vorbis through the sound loader (the file object's memory name, then the
// decoder) and through the music stream, read, rewound and read again. A success must hold
// sound within the caps; a rewind must give the same first frames again.
//
// The mutator works on the stream's structure, so that mutations get past the page checksums
// and the header checks: page flags (continued, first, last), lacing values, zero-segment pages,
// packets split, merged and laid out into other pages, page granules and serials, and the
// header packets' fields (channels, rate, block sizes; comment lengths and counts; codebook
// counts and fields, floor and residue types, mode flags), then it rewrites every checksum.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <pyro/file/FileBuffer.h>
#include <pyro/sound/MusicStream.h>
#include <pyro/sound/Sound.h>
#include <pyro/sound/SoundResult.h>
#include "tools/OggPages.h"
#include "tools/VorbisHeaders.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

class Random {
public:
    explicit Random(unsigned int seed) : state_(seed) {}
    uint32_t operator()(uint32_t n)
    {
        state_ = state_ * 1103515245u + 12345u;
        return n ? (state_ >> 8) % n : 0;
    }
    template <size_t N>
    uint32_t Pick(const uint32_t (&values)[N])
    {
        return values[(*this)(N)];
    }

private:
    uint32_t state_;
};

void Put32(std::vector<uint8_t>& packet, size_t at, uint32_t value)
{
    for (int i = 0; i < 4 && at + i < packet.size(); ++i) packet[at + i] = uint8_t(value >> (8 * i));
}

uint32_t Get32(const std::vector<uint8_t>& packet, size_t at)
{
    uint32_t value = 0;
    for (int i = 0; i < 4 && at + i < packet.size(); ++i) value |= uint32_t(packet[at + i]) << (8 * i);
    return value;
}

bool IsHeader(const std::vector<uint8_t>& packet, uint8_t type)
{
    return packet.size() >= 7 && packet[0] == type && std::memcmp(packet.data() + 1, "vorbis", 6) == 0;
}

void MutateIdentification(std::vector<uint8_t>& packet, Random& random)
{
    static const uint32_t channels[] = {0, 1, 2, 3, 6, 8, 9, 255};
    static const uint32_t rates[] = {0, 1, 8000, 44100, 384000, 384001, 0x7FFFFFFF, 0xFFFFFFFF};
    if (packet.size() < 30) return;
    switch (random(3)) {
    case 0: packet[11] = uint8_t(random.Pick(channels)); break;
    case 1: Put32(packet, 12, random.Pick(rates)); break;
    default: packet[28] = uint8_t(random(256)); break;  // the two block sizes' exponents
    }
}

// The comment header's lengths: the vendor's, the count, or one comment's.
void MutateComment(std::vector<uint8_t>& packet, Random& random)
{
    std::vector<size_t> fields = {7};
    size_t at = 11 + size_t(Get32(packet, 7));
    if (at + 4 <= packet.size()) {
        fields.push_back(at);
        const uint32_t count = Get32(packet, at);
        at += 4;
        for (uint32_t i = 0; i < count && at + 4 <= packet.size(); ++i) {
            fields.push_back(at);
            at += 4 + size_t(Get32(packet, at));
        }
    }
    const size_t field = fields[random(uint32_t(fields.size()))];
    const uint32_t old = Get32(packet, field);
    const uint32_t values[] = {0, old - 1, old + 1, old + 4, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x3FFFFFFF};
    Put32(packet, field, random.Pick(values));
}

void MutateSetup(std::vector<uint8_t>& packet, int channels, Random& random)
{
    VorbisSetupLayout layout;
    ReadVorbisSetupLayout(packet, channels, layout);  // a damaged one still yields its first fields
    switch (random(6)) {
    case 0:  // the codebook count
        if (packet.size() > 7) packet[7] = uint8_t(random(256));
        break;
    case 1:  // a codebook's dimensions or entries
        if (!layout.codebooks.empty()) {
            static const uint32_t values[] = {0, 1, 2, 3, 255, 256, 65535, 0xFFFFFF};
            const size_t book = layout.codebooks[random(uint32_t(layout.codebooks.size()))];
            if (random(2))
                WriteVorbisBits(packet, book + 24, 16, random.Pick(values) & 0xFFFF);
            else
                WriteVorbisBits(packet, book + 40, 24, random.Pick(values));
        }
        break;
    case 2:  // a floor's type
        if (!layout.floorTypes.empty())
            WriteVorbisBits(packet, layout.floorTypes[random(uint32_t(layout.floorTypes.size()))], 16, random(3));
        break;
    case 3:  // a residue's type
        if (!layout.residueTypes.empty())
            WriteVorbisBits(packet, layout.residueTypes[random(uint32_t(layout.residueTypes.size()))], 16, random(4));
        break;
    case 4:  // a residue's begin, end or partition size
        if (!layout.residueTypes.empty()) {
            static const uint32_t values[] = {0, 1, 31, 32, 4096, 8192, 0x7FFFFF, 0xFFFFFF};
            const size_t residue = layout.residueTypes[random(uint32_t(layout.residueTypes.size()))];
            WriteVorbisBits(packet, residue + 16 + 24 * random(3), 24, random.Pick(values));
        }
        break;
    default:  // cut short at a random bit
        if (!packet.empty()) packet.resize(random(uint32_t(packet.size())) + 1);
        break;
    }
}

void MutatePackets(std::vector<OggPacket>& packets, uint8_t* scratch, size_t maxSize, Random& random)
{
    if (packets.empty()) return;
    const size_t index = random(uint32_t(packets.size()));
    std::vector<uint8_t>& packet = packets[index].data;
    int channels = 2;
    for (const OggPacket& p : packets) {
        if (IsHeader(p.data, 1) && p.data.size() > 11) channels = p.data[11];
    }
    switch (random(5)) {
    case 0:  // the header fields
        if (IsHeader(packet, 1)) MutateIdentification(packet, random);
        else if (IsHeader(packet, 3)) MutateComment(packet, random);
        else if (IsHeader(packet, 5)) MutateSetup(packet, channels, random);
        else packet.resize(random(4));  // an audio packet of 0 to 3 bytes
        break;
    case 1:  // split in two
        if (!packet.empty()) {
            const size_t at = random(uint32_t(packet.size()));
            OggPacket tail{std::vector<uint8_t>(packet.begin() + at, packet.end()), packets[index].granule};
            packet.resize(at);
            packets.insert(packets.begin() + index + 1, tail);
        }
        break;
    case 2:  // merged with the next
        if (index + 1 < packets.size()) {
            packet.insert(packet.end(), packets[index + 1].data.begin(), packets[index + 1].data.end());
            packets.erase(packets.begin() + index + 1);
        }
        break;
    case 3:  // repeated many times, as a stream of tiny packets would be
        packets.insert(packets.begin() + index, random(64) + 1, packets[index]);
        break;
    default:  // the bytes
        if (packet.size() <= maxSize) {
            std::copy(packet.begin(), packet.end(), scratch);
            packet.assign(scratch, scratch + LLVMFuzzerMutate(scratch, packet.size(), std::min<size_t>(maxSize, packet.size() + 64)));
        }
        break;
    }
}

void MutatePages(std::vector<OggPage>& pages, Random& random)
{
    OggPage& page = pages[random(uint32_t(pages.size()))];
    switch (random(6)) {
    case 0: {  // a flag
        static const uint32_t flags[] = {OggPage::kContinued, OggPage::kFirst, OggPage::kLast};
        page.flags ^= uint8_t(random.Pick(flags));
        break;
    }
    case 1:  // a lacing value, the body following it
        if (!page.lacing.empty()) {
            const size_t segment = random(uint32_t(page.lacing.size()));
            size_t at = 0;
            for (size_t s = 0; s < segment; ++s) at += page.lacing[s];
            const uint8_t old = page.lacing[segment];
            const uint32_t values[] = {0, 1, 254, 255, uint32_t(old) + 1, uint32_t(old) - 1};
            const uint8_t now = uint8_t(random.Pick(values));
            if (now > old)
                page.body.insert(page.body.begin() + at + old, size_t(now - old), uint8_t(random(256)));
            else
                page.body.erase(page.body.begin() + at + now, page.body.begin() + at + old);
            page.lacing[segment] = now;
        }
        break;
    case 2: {  // a page without segments
        OggPage empty;
        empty.flags = uint8_t(random(8));
        empty.serial = page.serial;
        empty.granule = ~uint64_t(0);
        pages.insert(pages.begin() + random(uint32_t(pages.size()) + 1), empty);
        break;
    }
    case 3: {  // the granule
        const uint64_t values[] = {0, ~uint64_t(0), page.granule + 1, page.granule - 1, page.granule * 2, 1ull << 62};
        page.granule = values[random(6)];
        break;
    }
    case 4:  // the serial, which starts another link of a chain
        page.serial ^= 1u << random(32);
        break;
    default:  // a page dropped or repeated
        if (random(2) && pages.size() > 1)
            pages.erase(pages.begin() + random(uint32_t(pages.size())));
        else
            pages.insert(pages.begin() + random(uint32_t(pages.size())), OggPage(page));
        break;
    }
}

}  // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed)
{
    std::vector<OggPage> pages;
    if (!ReadOggPages(data, size, pages)) return LLVMFuzzerMutate(data, size, maxSize);
    Random random(seed);
    if (random(2)) {
        // Packets changed and laid out again, in pages of another length.
        std::vector<OggPacket> packets = JoinOggPackets(pages);
        MutatePackets(packets, data, maxSize, random);
        static const uint32_t lengths[] = {1, 2, 3, 17, 255};
        const uint32_t serial = pages.front().serial;
        pages = LayOggPackets(packets, serial, int(random.Pick(lengths)), random(2) ? std::vector<size_t>{0, 1, 3} : std::vector<size_t>{});
        if (pages.empty()) return LLVMFuzzerMutate(data, size, maxSize);
    } else {
        MutatePages(pages, random);
    }
    const std::vector<uint8_t> out = WriteOggPages(pages);
    if (out.size() > maxSize || out.empty()) return LLVMFuzzerMutate(data, size, maxSize);
    std::memcpy(data, out.data(), out.size());
    return out.size();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    CSound sound;
    const int result = sound.Load(CFileBuffer::MakeMemoryName(data, static_cast<uint32_t>(size)));
    if (result == kSoundOK) {
        const CSoundData& decoded = sound.GetData();
        if (!sound.IsLoaded() || decoded.channels < 1 || decoded.channels > 2) std::abort();
        if (decoded.samples.size() * 2 > CSoundData::kMaxDecodedBytes) std::abort();
        if (uint64_t(sound.GetFrames()) > uint64_t(CVorbisStream::kMaxFramesPerByte) * size) std::abort();
    } else if (sound.IsLoaded()) {
        std::abort();
    }

    CMusicStream stream;
    if (stream.OpenMemory(data, static_cast<uint32_t>(size)) != kSoundOK) return 0;
    const int channels = stream.GetChannels();
    if (channels < 1 || channels > 2 || stream.GetSampleRate() < 1 || stream.GetSampleRate() > CSoundData::kMaxRate)
        std::abort();
    constexpr int kBlock = 1024;
    std::vector<int16_t> block(2 * kBlock);
    std::vector<int16_t> first[2];
    for (int pass = 0; pass < 2; ++pass) {
        uint64_t frames = 0;
        while (int got = stream.Read(block.data(), kBlock)) {
            if (got < 0 || got > kBlock) std::abort();
            if (frames == 0) first[pass].assign(block.begin(), block.begin() + size_t(got) * channels);
            frames += uint64_t(got);
            if (frames > (1u << 16)) break;  // enough to reach the audio packets; keeps runs fast
        }
        if (pass == 0 && frames == 0) std::abort();  // a success always has something to play
        if (stream.Rewind() != kSoundOK) return 0;
    }
    if (first[0] != first[1]) std::abort();
    return 0;
}
