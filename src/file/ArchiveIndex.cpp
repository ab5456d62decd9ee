// Building the in-memory index of an archive directory.
#include "file/ArchiveIndex.h"

#include <pyro/file/ShiftJis.h>

bool CArchiveIndex::Build(IByteSource& source)
{
    archive_ = false;
    entries_.clear();
    byName_.clear();
    CArchiveDirectory directory(source);
    if (!source.Seek(0) || !directory.ReadHeader()) return false;
    archive_ = true;
    for (;;) {
        ArchiveEntry entry;
        const int result = directory.ReadEntry(entry);
        if (result == CArchiveDirectory::kNameUnterminated) continue;
        if (result != CArchiveDirectory::kEntryRead) break;
        std::string lowerName = entry.name;
        ToLowerSjis(lowerName);
        // An earlier entry of the same name shadows this one, as in a scan from the start.
        if (byName_.emplace(std::move(lowerName), static_cast<uint32_t>(entries_.size())).second) {
            entries_.push_back(std::move(entry));
        }
    }
    return true;
}

bool CArchiveIndex::Find(const std::string& lowerName, ArchiveEntry& entry) const
{
    const auto found = byName_.find(lowerName);
    if (found == byName_.end()) return false;
    entry = entries_[found->second];
    return true;
}
