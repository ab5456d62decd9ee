// Ogg Vorbis streams for the decoder tests, built bit by bit: the smallest headers the codec
// allows (one codebook, one floor of type 1 without partitions, one residue of a chosen type
// without stages, one long-block mode), so that every audio packet decodes to silence and the
// length of the sound is known exactly; and the fixture files re-laid into other pages.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/OggPages.h"
#include "tools/VorbisHeaders.h"

class BitWriter {
public:
    void Put(uint32_t value, int bits)
    {
        for (int i = 0; i < bits; ++i, ++at_) {
            if (at_ % 8 == 0) bytes_.push_back(0);
            if ((value >> i) & 1) bytes_.back() |= uint8_t(1u << (at_ % 8));
        }
    }
    void PutBytes(const char* text, int count)
    {
        for (int i = 0; i < count; ++i) Put(uint8_t(text[i]), 8);
    }
    std::vector<uint8_t> Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    size_t at_ = 0;
};

// Blocks of 256 and 8192 samples: every packet after the first adds 4096 frames.
constexpr uint64_t kSilentPacketFrames = 4096;

inline std::vector<uint8_t> IdentificationHeader(int channels, uint32_t rate, uint8_t blocksizes = 0xD8)
{
    BitWriter w;
    w.Put(1, 8);
    w.PutBytes("vorbis", 6);
    w.Put(0, 32);
    w.Put(uint32_t(channels), 8);
    w.Put(rate, 32);
    w.Put(0, 32);
    w.Put(0, 32);
    w.Put(0, 32);
    w.Put(blocksizes, 8);
    w.Put(1, 8);
    return w.Bytes();
}

inline std::vector<uint8_t> CommentHeader(const std::vector<uint8_t>& vendor, const std::vector<std::vector<uint8_t>>& comments)
{
    BitWriter w;
    w.Put(3, 8);
    w.PutBytes("vorbis", 6);
    w.Put(uint32_t(vendor.size()), 32);
    for (uint8_t b : vendor) w.Put(b, 8);
    w.Put(uint32_t(comments.size()), 32);
    for (const std::vector<uint8_t>& comment : comments) {
        w.Put(uint32_t(comment.size()), 32);
        for (uint8_t b : comment) w.Put(b, 8);
    }
    w.Put(1, 8);
    return w.Bytes();
}

inline std::vector<uint8_t> SilentSetupHeader(int residueType)
{
    BitWriter w;
    w.Put(5, 8);
    w.PutBytes("vorbis", 6);
    w.Put(0, 8);  // one codebook: two entries of one bit, one dimension, no lookup
    w.Put(0x564342, 24);
    w.Put(1, 16);
    w.Put(2, 24);
    w.Put(0, 1);
    w.Put(0, 1);
    w.Put(0, 5);
    w.Put(0, 5);
    w.Put(0, 4);
    w.Put(0, 6);  // one time-domain slot
    w.Put(0, 16);
    w.Put(0, 6);  // one floor of type 1: no partitions, multiplier 1, 4096 wide
    w.Put(1, 16);
    w.Put(0, 5);
    w.Put(0, 2);
    w.Put(12, 4);
    w.Put(0, 6);  // one residue: the whole block, partitions of 32, one class, no stages
    w.Put(uint32_t(residueType), 16);
    w.Put(0, 24);
    w.Put(8192, 24);
    w.Put(31, 24);
    w.Put(0, 6);
    w.Put(0, 8);
    w.Put(0, 3);
    w.Put(0, 1);
    w.Put(0, 6);  // one mapping: one submap, no coupling
    w.Put(0, 16);
    w.Put(0, 1);
    w.Put(0, 1);
    w.Put(0, 2);
    w.Put(0, 8);
    w.Put(0, 8);
    w.Put(0, 8);
    w.Put(0, 6);  // one mode, long blocks
    w.Put(1, 1);
    w.Put(0, 16);
    w.Put(0, 16);
    w.Put(0, 8);
    w.Put(1, 1);  // framing
    return w.Bytes();
}

// One byte: an audio packet of a long block between long blocks, its floors unused (silence).
constexpr uint8_t kSilentPacket = 0x06;

// A silent stream: its headers and `packets` audio packets, each `packet` (a long block with
// every floor unused, when it is kSilentPacket), with the exact granule on every page.
inline std::vector<uint8_t> SilentStream(int channels, int residueType, size_t packets,
                                         const std::vector<uint8_t>& packet = {kSilentPacket},
                                         uint32_t rate = 44100)
{
    std::vector<OggPacket> all = {{IdentificationHeader(channels, rate), 0},
                                  {CommentHeader({'p', 'y', 'r', 'o'}, {}), 0},
                                  {SilentSetupHeader(residueType), 0}};
    for (size_t i = 0; i < packets; ++i) all.push_back({packet, i * kSilentPacketFrames});
    return WriteOggPages(LayOggPackets(all, 0x5052, 255, {0, 1, 3}));
}
