#include <doctest/doctest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../sound/OggTesting.h"
#include "tools/OggPages.h"
#include "tools/Packer.h"
#include "tools/VorbisHeaders.h"

namespace {

// The encoder's own files, kept as fuzz seeds.
std::vector<uint8_t> EncodedFile(const std::string& name)
{
    const char* source = std::getenv("PYRO_SOURCE_DIR");
    REQUIRE(source != nullptr);
    std::vector<unsigned char> bytes;
    std::string error;
    REQUIRE_MESSAGE(ReadFileBytes(std::string(source) + "/fuzz/corpus/vorbis/" + name, bytes, error), error);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

TEST_CASE("an encoder's file is read into pages and written back byte for byte, checksums included")
{
    for (std::string name : {"mono_8000.ogg", "stereo_44100.ogg"}) {
        CAPTURE(name);
        const std::vector<uint8_t> file = EncodedFile(name);
        std::vector<OggPage> pages;
        REQUIRE(ReadOggPages(file.data(), file.size(), pages));
        CHECK(pages.front().flags == OggPage::kFirst);
        CHECK(pages.back().flags == OggPage::kLast);
        CHECK(WriteOggPages(pages) == file);

        // Joined into packets and laid out again in pages of any length: the same packets.
        const std::vector<OggPacket> packets = JoinOggPackets(pages);
        REQUIRE(packets.size() > 3);
        for (int segments : {1, 2, 255}) {
            CAPTURE(segments);
            const std::vector<OggPacket> again = JoinOggPackets(LayOggPackets(packets, 9, segments, {0, 1, 3}));
            REQUIRE(again.size() == packets.size());
            for (size_t i = 0; i < packets.size(); ++i) CHECK(again[i].data == packets[i].data);
            CHECK(again.back().granule == packets.back().granule);
        }

        std::vector<uint8_t> damaged = file;
        damaged[22] ^= 1;  // a checksum: still pages
        CHECK(ReadOggPages(damaged.data(), damaged.size(), pages));
        CHECK_FALSE(ReadOggPages(file.data(), file.size() - 1, pages));  // the last page cut
        damaged = file;
        damaged[26] = 255;  // more lacing values than the page holds
        CHECK_FALSE(ReadOggPages(damaged.data(), 27 + 200, pages));
    }
}

TEST_CASE("packets are laid out with lacing, flags and granules as the container defines them")
{
    const std::vector<OggPacket> packets = {{std::vector<uint8_t>(600, 1), 7}, {{}, 8}, {std::vector<uint8_t>(255, 2), 9}};
    const std::vector<OggPage> pages = LayOggPackets(packets, 0x1234, 2);
    // 600 = 255 + 255 + 90; the empty packet is one zero; 255 bytes end with a zero.
    REQUIRE(pages.size() == 3);
    CHECK(pages[0].lacing == std::vector<uint8_t>{255, 255});
    CHECK(pages[1].lacing == std::vector<uint8_t>{90, 0});
    CHECK(pages[2].lacing == std::vector<uint8_t>{255, 0});
    CHECK(int(pages[0].flags) == OggPage::kFirst);
    CHECK(int(pages[1].flags) == OggPage::kContinued);
    CHECK(int(pages[2].flags) == OggPage::kLast);
    CHECK(pages[0].granule == ~uint64_t(0));  // no packet ends on it
    CHECK(pages[1].granule == 8);
    CHECK(pages[2].granule == 9);
    CHECK(pages[2].sequence == 2);
    CHECK(pages[2].serial == 0x1234);
    // A packet that must start a page of its own does, and the page before is not continued.
    const std::vector<OggPage> own = LayOggPackets(packets, 1, 255, {2});
    REQUIRE(own.size() == 2);
    CHECK(own[1].flags == OggPage::kLast);
    CHECK(own[1].lacing == std::vector<uint8_t>{255, 0});
}

TEST_CASE("the setup header's layout: every field where the codec packs it")
{
    // Counted by hand from the fields SilentSetupHeader writes.
    const std::vector<uint8_t> silent = SilentSetupHeader(2);
    VorbisSetupLayout layout;
    REQUIRE(ReadVorbisSetupLayout(silent, 2, layout));
    CHECK(layout.codebooks == std::vector<size_t>{64});
    CHECK(layout.floorTypes == std::vector<size_t>{172});
    CHECK(layout.residueTypes == std::vector<size_t>{205});
    CHECK(layout.residueTypeValues == std::vector<int>{2});
    CHECK(layout.modeIsLong == std::vector<bool>{true});
    CHECK(layout.end == 408);
    CHECK(ReadVorbisBits(silent, 64, 24) == 0x564342);
    std::vector<uint8_t> changed = silent;
    WriteVorbisBits(changed, 205, 16, 1);
    REQUIRE(ReadVorbisSetupLayout(changed, 2, layout));
    CHECK(layout.residueTypeValues == std::vector<int>{1});
    CHECK_FALSE(ReadVorbisSetupLayout(std::vector<uint8_t>(silent.begin(), silent.end() - 2), 2, layout));
    WriteVorbisBits(changed, 205, 16, 3);
    CHECK_FALSE(ReadVorbisSetupLayout(changed, 2, layout));

    // The encoder couples stereo through a type-2 residue; with two block sizes it has a short
    // and a long mode, with one (the 8 kHz file: 512 and 512) a single short mode.
    struct Expected {
        const char* name;
        std::vector<bool> modes;
        std::vector<int> residues;
    };
    for (const Expected& expected : {Expected{"mono_8000.ogg", {false}, {}}, Expected{"stereo_44100.ogg", {false, true}, {2, 2}}}) {
        CAPTURE(std::string(expected.name));
        const std::vector<uint8_t> file = EncodedFile(expected.name);
        std::vector<OggPage> pages;
        REQUIRE(ReadOggPages(file.data(), file.size(), pages));
        const std::vector<OggPacket> packets = JoinOggPackets(pages);
        const int channels = packets[0].data[11];
        REQUIRE(ReadVorbisSetupLayout(packets[2].data, channels, layout));
        CHECK(layout.modeIsLong == expected.modes);
        if (!expected.residues.empty()) CHECK(layout.residueTypeValues == expected.residues);
        CHECK(layout.end / 8 + 1 == packets[2].data.size());
    }
}

TEST_CASE("bits are read and written least significant first, nothing past the packet")
{
    std::vector<uint8_t> packet = {0xA5, 0x0F};
    CHECK(ReadVorbisBits(packet, 0, 4) == 0x5);
    CHECK(ReadVorbisBits(packet, 4, 8) == 0xFA);
    CHECK(ReadVorbisBits(packet, 12, 8) == 0x0);  // past the end reads zeros
    WriteVorbisBits(packet, 6, 4, 0x9);
    CHECK(packet == std::vector<uint8_t>{0x65, 0x0E});
    WriteVorbisBits(packet, 14, 8, 0xFF);
    CHECK(packet == std::vector<uint8_t>{0x65, 0xCE});
}
