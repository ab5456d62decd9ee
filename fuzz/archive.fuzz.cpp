// Fuzz target: the archive directory reader and member reading on arbitrary archive images, the
// in-memory index (which must find exactly what a scan of the directory finds), and the packer's
// reader that lists and extracts them. Nothing may be read outside the image.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <pyro/file/ArchiveDirectory.h>
#include <pyro/file/ShiftJis.h>
#include "file/ArchiveIndex.h"
#include "tools/Packer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMemorySource source(data, size);
    CArchiveDirectory directory(source);
    if (!directory.ReadHeader()) return 0;

    std::vector<ArchiveEntry> entries;
    for (;;) {
        ArchiveEntry entry;
        const int result = directory.ReadEntry(entry);
        if (result == CArchiveDirectory::kEntryRead) {
            entries.push_back(entry);
        } else if (result != CArchiveDirectory::kNameUnterminated) {
            break;
        }
    }
    for (const ArchiveEntry& entry : entries) {
        if (!IsArchiveEntryReadable(entry, size)) continue;
        std::vector<unsigned char> member(entry.unpackedSize);
        source.Seek(entry.offset);
        ReadArchiveMember(source, entry, member.data());
    }

    // Look the first and the last entry's names up, and a name no entry has, by a scan as the
    // file object did and through the index it now keeps: both must give the same entry.
    CMemorySource indexSource(data, size);
    CArchiveIndex index;
    if (!index.Build(indexSource)) std::abort();
    std::vector<std::string> names = {"\x01"};
    if (!entries.empty()) names.push_back(entries.front().name);
    if (entries.size() > 1) names.push_back(entries.back().name);
    for (std::string& name : names) {
        ToLowerSjis(name);
        CMemorySource again(data, size);
        CArchiveDirectory lookup(again);
        ArchiveEntry scanned;
        ArchiveEntry indexed;
        const bool inScan = lookup.ReadHeader() && lookup.FindEntry(name, scanned);
        if (index.Find(name, indexed) != inScan) std::abort();
        if (inScan && (indexed.name != scanned.name || indexed.offset != scanned.offset
                       || indexed.unpackedSize != scanned.unpackedSize
                       || indexed.storedSize != scanned.storedSize)) {
            std::abort();
        }
    }

    const std::vector<unsigned char> image(data, data + size);
    ArchiveLayout layout;
    std::vector<UnpackedMember> members;
    std::string error;
    ReadArchiveImage(image, layout, members, error);
    return 0;
}
