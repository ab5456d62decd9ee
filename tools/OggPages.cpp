#include "tools/OggPages.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kHeaderSize = 27;

uint32_t Get32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

}  // namespace

uint32_t OggCrc(const uint8_t* data, size_t size)
{
    static const struct Table {
        uint32_t entries[256];
        Table()
        {
            for (uint32_t i = 0; i < 256; ++i) {
                uint32_t r = i << 24;
                for (int bit = 0; bit < 8; ++bit) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
                entries[i] = r;
            }
        }
    } table;
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i) crc = (crc << 8) ^ table.entries[((crc >> 24) ^ data[i]) & 0xFF];
    return crc;
}

bool ReadOggPages(const uint8_t* data, size_t size, std::vector<OggPage>& pages)
{
    pages.clear();
    size_t at = 0;
    while (at < size) {
        if (size - at < kHeaderSize || std::memcmp(data + at, "OggS", 4) != 0) return false;
        const uint8_t* header = data + at;
        const size_t segments = header[26];
        if (size - at - kHeaderSize < segments) return false;
        OggPage page;
        page.version = header[4];
        page.flags = header[5];
        page.granule = Get32(header + 6) | (uint64_t(Get32(header + 10)) << 32);
        page.serial = Get32(header + 14);
        page.sequence = Get32(header + 18);
        page.lacing.assign(header + kHeaderSize, header + kHeaderSize + segments);
        size_t bodySize = 0;
        for (uint8_t value : page.lacing) bodySize += value;
        const size_t bodyAt = at + kHeaderSize + segments;
        if (size - bodyAt < bodySize) return false;
        page.body.assign(data + bodyAt, data + bodyAt + bodySize);
        pages.push_back(std::move(page));
        at = bodyAt + bodySize;
    }
    return !pages.empty();
}

std::vector<uint8_t> WriteOggPages(const std::vector<OggPage>& pages)
{
    std::vector<uint8_t> out;
    for (const OggPage& page : pages) {
        const size_t start = out.size();
        out.insert(out.end(), {'O', 'g', 'g', 'S', page.version, page.flags});
        Put32(out, uint32_t(page.granule));
        Put32(out, uint32_t(page.granule >> 32));
        Put32(out, page.serial);
        Put32(out, page.sequence);
        Put32(out, 0);  // the checksum, computed over the page with these bytes zero
        out.push_back(uint8_t(page.lacing.size()));
        out.insert(out.end(), page.lacing.begin(), page.lacing.end());
        out.insert(out.end(), page.body.begin(), page.body.end());
        const uint32_t crc = OggCrc(out.data() + start, out.size() - start);
        for (int i = 0; i < 4; ++i) out[start + 22 + i] = uint8_t(crc >> (8 * i));
    }
    return out;
}

std::vector<OggPacket> JoinOggPackets(const std::vector<OggPage>& pages)
{
    std::vector<OggPacket> packets;
    OggPacket current;
    for (const OggPage& page : pages) {
        size_t at = 0;
        for (uint8_t value : page.lacing) {
            const size_t take = std::min<size_t>(value, page.body.size() - at);
            current.data.insert(current.data.end(), page.body.begin() + at, page.body.begin() + at + take);
            at += take;
            if (value < 255) {
                current.granule = page.granule;
                packets.push_back(std::move(current));
                current = OggPacket();
            }
        }
    }
    return packets;
}

std::vector<OggPage> LayOggPackets(const std::vector<OggPacket>& packets, uint32_t serial, int maxSegments,
                                   const std::vector<size_t>& startNewPage)
{
    maxSegments = std::clamp(maxSegments, 1, 255);
    std::vector<OggPage> pages;
    OggPage page;
    bool pageEndsPacket = false;
    auto flush = [&](bool continuedNext) {
        page.serial = serial;
        page.sequence = uint32_t(pages.size());
        if (!pageEndsPacket) page.granule = ~uint64_t(0);
        pages.push_back(std::move(page));
        page = OggPage();
        if (continuedNext) page.flags = OggPage::kContinued;
        pageEndsPacket = false;
    };
    for (size_t p = 0; p < packets.size(); ++p) {
        const OggPacket& packet = packets[p];
        const bool ownPage = std::find(startNewPage.begin(), startNewPage.end(), p) != startNewPage.end();
        if (ownPage && !page.lacing.empty()) flush(false);
        size_t at = 0;
        for (;;) {
            if (int(page.lacing.size()) == maxSegments) flush(at > 0);
            const size_t take = std::min<size_t>(255, packet.data.size() - at);
            page.lacing.push_back(uint8_t(take));
            page.body.insert(page.body.end(), packet.data.begin() + at, packet.data.begin() + at + take);
            at += take;
            if (take < 255) break;
        }
        page.granule = packet.granule;
        pageEndsPacket = true;
    }
    if (!page.lacing.empty()) flush(false);
    if (!pages.empty()) {
        pages.front().flags |= OggPage::kFirst;
        pages.back().flags |= OggPage::kLast;
    }
    return pages;
}
