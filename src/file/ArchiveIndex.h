// CArchiveIndex: an archive's directory read once and kept in memory, indexed by lower-cased
// member name, so that a lookup no longer scans the entries in file order. It answers exactly as
// the scan does (CArchiveDirectory::FindEntry): the first entry in file order with that name wins,
// entries after a cut-short directory do not exist, and entries without a terminated name never
// match.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include <pyro/file/ArchiveDirectory.h>

class CArchiveIndex {
public:
    // Reads the header and every entry from the start of source; false (and an empty index) when
    // source is not an archive: an unknown magic or a short header.
    bool Build(IByteSource& source);
    bool IsArchive() const { return archive_; }
    size_t GetMemberCount() const { return entries_.size(); }

    // The entry named lowerName (lower-cased as ToLowerSjis does); false when there is none.
    bool Find(const std::string& lowerName, ArchiveEntry& entry) const;

private:
    bool archive_ = false;
    std::vector<ArchiveEntry> entries_;  // the first entry of each name, in file order
    std::unordered_map<std::string, uint32_t> byName_;  // lower-cased name to its first entry
};
