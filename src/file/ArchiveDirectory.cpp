// Archive header, directory entries and member data.
#include <pyro/file/ArchiveDirectory.h>

#include <cstring>
#include <new>

#include <pyro/file/LzssDecoder.h>
#include <pyro/file/ShiftJis.h>

namespace {

const ArchiveLayoutInfo kLayouts[] = {
    {"mivopack", 40, 32},
    {"mivopkEx", 44, 32},
    {"mivopkDx", 268, 256},
};

constexpr uint32_t kChunkBytes = 32 * 1024;

uint32_t ReadU32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

const ArchiveLayoutInfo& GetArchiveLayoutInfo(ArchiveLayout layout)
{
    return kLayouts[static_cast<int>(layout)];
}

CArchiveDirectory::CArchiveDirectory(IByteSource& source) : source_(source) {}

bool CArchiveDirectory::ReadHeader()
{
    unsigned char header[kArchiveHeaderSize];
    if (source_.Read(header, kArchiveMagicSize) != kArchiveMagicSize) return false;
    bool known = false;
    for (ArchiveLayout layout : {ArchiveLayout::Plain, ArchiveLayout::Ex, ArchiveLayout::Dx}) {
        if (std::memcmp(header, GetArchiveLayoutInfo(layout).magic, kArchiveMagicSize) == 0) {
            layout_ = layout;
            known = true;
            break;
        }
    }
    if (!known) return false;
    if (source_.Read(header + kArchiveMagicSize, 4) != 4) return false;
    count_ = unread_ = unloaded_ = ReadU32(header + kArchiveMagicSize);
    position_ = available_ = 0;
    return true;
}

int CArchiveDirectory::NextRawEntry(const unsigned char*& raw, size_t& nameLength)
{
    if (unread_ == 0) return kNoMoreEntries;
    const ArchiveLayoutInfo& info = GetArchiveLayoutInfo(layout_);
    if (available_ - position_ < info.entrySize) {
        // A short chunk keeps its whole entries; the entry after them reports the truncation.
        if (unloaded_ == 0) return kDirectoryTruncated;
        const uint32_t perChunk = kChunkBytes / info.entrySize;
        const uint32_t entries = unloaded_ < perChunk ? unloaded_ : perChunk;
        const uint32_t wanted = entries * info.entrySize;
        if (buffer_.size() < wanted) buffer_.resize(wanted);
        const uint32_t got = source_.Read(buffer_.data(), wanted);
        unloaded_ = got < wanted ? 0 : unloaded_ - entries;
        available_ = got - got % info.entrySize;
        position_ = 0;
        if (available_ == 0) return kDirectoryTruncated;
    }
    raw = buffer_.data() + position_;
    position_ += info.entrySize;
    --unread_;
    const void* nul = std::memchr(raw, 0, info.nameSize);
    if (!nul) return kNameUnterminated;
    nameLength = static_cast<size_t>(static_cast<const unsigned char*>(nul) - raw);
    return kEntryRead;
}

void CArchiveDirectory::Decode(const unsigned char* raw, size_t nameLength, ArchiveEntry& entry) const
{
    const unsigned char* fields = raw + GetArchiveLayoutInfo(layout_).nameSize;
    entry.name.assign(reinterpret_cast<const char*>(raw), nameLength);
    entry.offset = ReadU32(fields);
    entry.unpackedSize = ReadU32(fields + 4);
    entry.storedSize = layout_ == ArchiveLayout::Plain ? entry.unpackedSize : ReadU32(fields + 8);
    entry.compressed = entry.storedSize != entry.unpackedSize;
}

int CArchiveDirectory::ReadEntry(ArchiveEntry& entry)
{
    const unsigned char* raw = nullptr;
    size_t nameLength = 0;
    const int result = NextRawEntry(raw, nameLength);
    if (result == kEntryRead) Decode(raw, nameLength, entry);
    return result;
}

bool CArchiveDirectory::FindEntry(const std::string& lowerName, ArchiveEntry& entry)
{
    char name[256];
    for (;;) {
        const unsigned char* raw = nullptr;
        size_t nameLength = 0;
        const int result = NextRawEntry(raw, nameLength);
        if (result == kNameUnterminated) continue;
        if (result != kEntryRead) return false;
        if (nameLength != lowerName.size()) continue;
        std::memcpy(name, raw, nameLength);
        ToLowerSjis(name, nameLength);
        if (std::memcmp(name, lowerName.data(), nameLength) == 0) {
            Decode(raw, nameLength, entry);
            return true;
        }
    }
}

bool IsArchiveEntryReadable(const ArchiveEntry& entry, uint64_t archiveSize)
{
    if (static_cast<uint64_t>(entry.offset) + entry.storedSize > archiveSize) return false;
    return !entry.compressed || entry.unpackedSize <= static_cast<uint64_t>(entry.storedSize) * 9;
}

int ReadArchiveMember(IByteSource& source, const ArchiveEntry& entry, unsigned char* destination)
{
    if (!entry.compressed) {
        return source.Read(destination, entry.unpackedSize) == entry.unpackedSize ? 0 : 4;
    }
    unsigned char* packed = new (std::nothrow) unsigned char[entry.storedSize ? entry.storedSize : 1];
    if (!packed) return 3;
    int result = 4;
    if (source.Read(packed, entry.storedSize) == entry.storedSize) {
        CLzssDecoder decoder;
        unsigned char* output = destination;
        const int decoded = decoder.Decode(packed, entry.storedSize, output, entry.unpackedSize, false);
        // An empty member has nothing to decode.
        if (decoded == CLzssDecoder::kDone || decoded == CLzssDecoder::kEmptyOutput) result = 0;
    }
    delete[] packed;
    return result;
}
