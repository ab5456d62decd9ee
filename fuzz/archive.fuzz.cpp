// Fuzz target: the archive directory reader and member reading on arbitrary archive images, and
// the packer's reader that lists and extracts them. Nothing may be read outside the image.
#include <cstdint>
#include <string>
#include <vector>

#include <pyro/file/ArchiveDirectory.h>
#include <pyro/file/ShiftJis.h>
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

    // Look up the first entry's name the way the file object does.
    if (!entries.empty()) {
        std::string name = entries.front().name;
        ToLowerSjis(name);
        CMemorySource again(data, size);
        CArchiveDirectory lookup(again);
        ArchiveEntry found;
        if (lookup.ReadHeader()) lookup.FindEntry(name, found);
    }

    const std::vector<unsigned char> image(data, data + size);
    ArchiveLayout layout;
    std::vector<UnpackedMember> members;
    std::string error;
    ReadArchiveImage(image, layout, members, error);
    return 0;
}
