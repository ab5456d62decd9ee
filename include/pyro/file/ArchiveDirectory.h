// Reading of packed archives: the header (magic and entry count), the directory entries of the
// three layouts, and a member's data, from any IByteSource. All integers are 32-bit little-endian;
// a damaged directory never makes a read leave the bytes actually present.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <pyro/file/ByteSource.h>

// The three archive layouts, by their magics "mivopack", "mivopkEx" and "mivopkDx".
enum class ArchiveLayout { Plain, Ex, Dx };

// What tells the layouts apart: the magic and the directory entries' sizes.
struct ArchiveLayoutInfo {
    const char* magic;   // eight bytes, no terminator in the file
    uint32_t entrySize;  // bytes per directory entry
    uint32_t nameSize;   // bytes of the NUL-terminated name field
};

constexpr uint32_t kArchiveMagicSize = 8;  // bytes of the magic
constexpr uint32_t kArchiveHeaderSize = kArchiveMagicSize + 4;  // the magic and the entry count

// The magic and entry sizes of a layout.
const ArchiveLayoutInfo& GetArchiveLayoutInfo(ArchiveLayout layout);

// One member of an archive as its directory entry describes it.
struct ArchiveEntry {
    std::string name;  // as stored, up to its NUL
    uint32_t offset = 0;  // where the stored data begins, from the start of the archive
    uint32_t unpackedSize = 0;  // the member's size once read
    uint32_t storedSize = 0;  // equals unpackedSize for plain archives
    bool compressed = false;  // Ex and Dx members whose sizes differ are LZSS-coded
};

// CArchiveDirectory: reads an archive's header and directory entries in file order.
class CArchiveDirectory {
public:
    // Results of ReadEntry.
    enum EntryResult {
        kEntryRead = 0,
        kNoMoreEntries = 1,
        kDirectoryTruncated = 2,  // the file ends before the counted entries do
        kNameUnterminated = 3     // the name field has no NUL; the entry is unusable, go on
    };

    // Reads from the source, which must outlive the directory.
    explicit CArchiveDirectory(IByteSource& source);

    // Reads the magic and the entry count; false when the magic is none of the three (letter case
    // counts) or a read comes up short.
    bool ReadHeader();
    // The layout ReadHeader found.
    ArchiveLayout GetLayout() const { return layout_; }
    // The entry count of the header.
    uint32_t GetEntryCount() const { return count_; }

    // The next entry in file order.
    int ReadEntry(ArchiveEntry& entry);

    // Scans the remaining entries for the first whose name, lower-cased, equals lowerName.
    bool FindEntry(const std::string& lowerName, ArchiveEntry& entry);

private:
    int NextRawEntry(const unsigned char*& raw, size_t& nameLength);
    void Decode(const unsigned char* raw, size_t nameLength, ArchiveEntry& entry) const;

    IByteSource& source_;
    ArchiveLayout layout_ = ArchiveLayout::Plain;
    uint32_t count_ = 0;
    uint32_t unread_ = 0;    // entries not yet handed out
    uint32_t unloaded_ = 0;  // entries not yet read into the buffer
    // The directory is read in chunks of whole entries rather than one read per entry.
    std::vector<unsigned char> buffer_;
    size_t position_ = 0;
    size_t available_ = 0;
};

// Whether the member's stored data lies inside an archive of archiveSize bytes and its unpacked
// size can come out of its stored size (an LZSS byte yields at most 9 bytes). A member failing
// this cannot be read whole, so its read fails before anything is allocated for it.
bool IsArchiveEntryReadable(const ArchiveEntry& entry, uint64_t archiveSize);

// Reads the member whose stored data the source is positioned at into destination (unpacked
// size bytes): 0, 3 when there is no memory for the packed data, 4 when the data is short.
int ReadArchiveMember(IByteSource& source, const ArchiveEntry& entry, unsigned char* destination);
