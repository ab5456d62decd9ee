#include "tools/VorbisHeaders.h"

#include <cmath>
#include <cstring>

namespace {

// Reads fields in order and notes when the packet ran out.
class BitWalker {
public:
    explicit BitWalker(const std::vector<uint8_t>& packet) : packet_(packet) {}
    uint32_t Read(int bits)
    {
        if (at_ + bits > packet_.size() * 8) failed_ = true;
        const uint32_t value = ReadVorbisBits(packet_, at_, bits);
        at_ += bits;
        return value;
    }
    void Skip(uint64_t bits)
    {
        if (failed_ || bits > packet_.size() * 8 - at_)
            failed_ = true;
        else
            at_ += bits;
    }
    size_t At() const { return at_; }
    bool Failed() const { return failed_; }

private:
    const std::vector<uint8_t>& packet_;
    size_t at_ = 0;
    bool failed_ = false;
};

int Log2Ceil(uint32_t v)  // the codec's ilog: bits needed to hold v
{
    int bits = 0;
    while (v) {
        ++bits;
        v >>= 1;
    }
    return bits;
}

// The largest r with r^dimensions <= entries.
uint64_t Lookup1Values(uint32_t entries, uint32_t dimensions)
{
    auto fits = [&](uint64_t r) {
        uint64_t power = 1;
        for (uint32_t d = 0; d < dimensions && power <= entries; ++d) power *= r;
        return power <= entries;
    };
    uint64_t r = uint64_t(std::pow(double(entries), 1.0 / dimensions));
    while (r > 0 && !fits(r)) --r;
    while (fits(r + 1)) ++r;
    return r;
}

bool SkipCodebook(BitWalker& bits)
{
    if (bits.Read(24) != 0x564342) return false;
    const uint32_t dimensions = bits.Read(16);
    const uint32_t entries = bits.Read(24);
    if (bits.Read(1)) {  // ordered lengths
        bits.Read(5);
        for (uint32_t current = 0; current < entries && !bits.Failed();) current += bits.Read(Log2Ceil(entries - current));
    } else {
        const bool sparse = bits.Read(1);
        for (uint32_t e = 0; e < entries && !bits.Failed(); ++e) {
            if (!sparse || bits.Read(1)) bits.Read(5);
        }
    }
    const uint32_t lookup = bits.Read(4);
    if (lookup == 1 || lookup == 2) {
        bits.Read(32);
        bits.Read(32);
        const uint32_t valueBits = bits.Read(4) + 1;
        bits.Read(1);
        if (dimensions == 0) return false;
        const uint64_t values = lookup == 1 ? Lookup1Values(entries, dimensions) : uint64_t(entries) * dimensions;
        bits.Skip(values * valueBits);
    } else if (lookup != 0) {
        return false;
    }
    return !bits.Failed();
}

bool SkipFloor(BitWalker& bits, uint32_t type)
{
    if (type == 0) {
        bits.Skip(8 + 16 + 16 + 6 + 8);
        const uint32_t books = bits.Read(4) + 1;
        bits.Skip(8 * books);
        return !bits.Failed();
    }
    if (type != 1) return false;
    const uint32_t partitions = bits.Read(5);
    uint32_t classes[32] = {};
    int maxClass = -1;
    for (uint32_t i = 0; i < partitions; ++i) {
        classes[i] = bits.Read(4);
        if (int(classes[i]) > maxClass) maxClass = int(classes[i]);
    }
    uint32_t dimensions[16] = {};
    for (int c = 0; c <= maxClass; ++c) {
        dimensions[c] = bits.Read(3) + 1;
        const uint32_t subclasses = bits.Read(2);
        if (subclasses) bits.Read(8);
        bits.Skip(8u << subclasses);
    }
    bits.Read(2);
    const uint32_t rangeBits = bits.Read(4);
    for (uint32_t i = 0; i < partitions; ++i) bits.Skip(uint64_t(dimensions[classes[i]]) * rangeBits);
    return !bits.Failed();
}

bool SkipResidue(BitWalker& bits)
{
    bits.Read(24);
    bits.Read(24);
    bits.Read(24);
    const uint32_t classifications = bits.Read(6) + 1;
    bits.Read(8);
    int books = 0;
    for (uint32_t i = 0; i < classifications; ++i) {
        uint32_t cascade = bits.Read(3);
        if (bits.Read(1)) cascade |= bits.Read(5) << 3;
        for (; cascade; cascade &= cascade - 1) ++books;
    }
    bits.Skip(8 * uint64_t(books));
    return !bits.Failed();
}

bool SkipMapping(BitWalker& bits, int channels)
{
    if (bits.Read(16) != 0) return false;
    const uint32_t submaps = bits.Read(1) ? bits.Read(4) + 1 : 1;
    if (bits.Read(1)) {
        const uint32_t steps = bits.Read(8) + 1;
        bits.Skip(uint64_t(steps) * 2 * Log2Ceil(uint32_t(channels - 1)));
    }
    if (bits.Read(2) != 0) return false;
    if (submaps > 1) bits.Skip(4 * uint64_t(channels));
    bits.Skip(24 * uint64_t(submaps));
    return !bits.Failed();
}

}  // namespace

uint32_t ReadVorbisBits(const std::vector<uint8_t>& packet, size_t at, int bits)
{
    uint32_t value = 0;
    for (int i = 0; i < bits && i < 32; ++i, ++at) {
        if (at / 8 < packet.size() && (packet[at / 8] >> (at % 8)) & 1) value |= 1u << i;
    }
    return value;
}

void WriteVorbisBits(std::vector<uint8_t>& packet, size_t at, int bits, uint32_t value)
{
    for (int i = 0; i < bits && i < 32; ++i, ++at) {
        if (at / 8 >= packet.size()) return;
        const uint8_t mask = uint8_t(1u << (at % 8));
        packet[at / 8] = (value >> i) & 1 ? packet[at / 8] | mask : packet[at / 8] & ~mask;
    }
}

bool ReadVorbisSetupLayout(const std::vector<uint8_t>& packet, int channels, VorbisSetupLayout& layout)
{
    layout = VorbisSetupLayout();
    if (packet.size() < 8 || packet[0] != 5 || std::memcmp(packet.data() + 1, "vorbis", 6) != 0) return false;
    if (channels < 1) return false;
    BitWalker bits(packet);
    bits.Skip(56);
    const uint32_t codebooks = bits.Read(8) + 1;
    for (uint32_t i = 0; i < codebooks; ++i) {
        layout.codebooks.push_back(bits.At());
        if (!SkipCodebook(bits)) return false;
    }
    const uint32_t times = bits.Read(6) + 1;
    bits.Skip(16 * times);
    const uint32_t floors = bits.Read(6) + 1;
    for (uint32_t i = 0; i < floors; ++i) {
        layout.floorTypes.push_back(bits.At());
        if (!SkipFloor(bits, bits.Read(16))) return false;
    }
    const uint32_t residues = bits.Read(6) + 1;
    for (uint32_t i = 0; i < residues; ++i) {
        layout.residueTypes.push_back(bits.At());
        layout.residueTypeValues.push_back(int(bits.Read(16)));
        if (layout.residueTypeValues.back() > 2 || !SkipResidue(bits)) return false;
    }
    const uint32_t mappings = bits.Read(6) + 1;
    for (uint32_t i = 0; i < mappings; ++i) {
        if (!SkipMapping(bits, channels)) return false;
    }
    const uint32_t modes = bits.Read(6) + 1;
    for (uint32_t i = 0; i < modes; ++i) {
        layout.modeIsLong.push_back(bits.Read(1) != 0);
        bits.Skip(16 + 16 + 8);
    }
    layout.end = bits.At();
    return !bits.Failed() && bits.Read(1) == 1 && !bits.Failed();
}
