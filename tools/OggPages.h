// OggPage and the page helpers: an Ogg file read into its pages and written back with every
// checksum computed, and packets laid out into pages. The sound tests build damaged and odd
// streams with them and the Ogg fuzz target's mutator rearranges pages; the framework itself
// leaves all page reading to libogg.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct OggPage {
    enum : uint8_t { kContinued = 1, kFirst = 2, kLast = 4 };
    uint8_t version = 0;
    uint8_t flags = 0;
    uint64_t granule = 0;
    uint32_t serial = 0;
    uint32_t sequence = 0;
    std::vector<uint8_t> lacing;  // one value per segment; below 255 ends a packet
    std::vector<uint8_t> body;    // the segments, joined
};

// One packet with the granule of the page it ends on.
struct OggPacket {
    std::vector<uint8_t> data;
    uint64_t granule = 0;
};

// The page checksum (polynomial 0x04C11DB7, no reflection, initial value 0).
uint32_t OggCrc(const uint8_t* data, size_t size);

// Splits bytes into pages. False unless every byte belongs to a whole page whose lacing matches
// its body (checksums are not checked, so a damaged file still parses).
bool ReadOggPages(const uint8_t* data, size_t size, std::vector<OggPage>& pages);

// The pages as a file, each checksum computed.
std::vector<uint8_t> WriteOggPages(const std::vector<OggPage>& pages);

// The packets of one logical stream, joined across pages by their lacing; a packet left
// unfinished at the end is dropped.
std::vector<OggPacket> JoinOggPackets(const std::vector<OggPage>& pages);

// Lays packets out into pages of at most maxSegments segments (1 to 255) with consecutive
// sequence numbers, the first and last flags, the continued flag, and each page's granule that
// of the last packet ending on it (all ones when none does). startNewPage lists the packets
// that begin a page of their own, as the header packets do.
std::vector<OggPage> LayOggPackets(const std::vector<OggPacket>& packets, uint32_t serial, int maxSegments,
                                   const std::vector<size_t>& startNewPage = {});
