// The cache of archive directories behind archive lookups.
#include "file/ArchiveCache.h"

CArchiveCache& CArchiveCache::Shared()
{
    static CArchiveCache cache;
    return cache;
}

bool CArchiveCache::FindMember(const std::string& archiveName, CHostFile& file, const std::string& lowerName,
                               ArchiveEntry& entry)
{
    HostFileStamp stamp;
    const bool settled = file.GetStamp(stamp) && stamp.writeTime <= stamp.readTime
        && stamp.readTime - stamp.writeTime >= kSettleTime;
    if (!settled) {
        CArchiveDirectory directory(file);
        return directory.ReadHeader() && directory.FindEntry(lowerName, entry);
    }

    std::lock_guard<std::mutex> hold(lock_);
    auto slot = slots_.begin();
    while (slot != slots_.end() && slot->archiveName != archiveName) ++slot;
    if (slot != slots_.end()
        && (slot->stamp.size != stamp.size || slot->stamp.writeTime != stamp.writeTime)) {
        slots_.erase(slot);  // the archive changed since its directory was read
        slot = slots_.end();
    }
    if (slot == slots_.end()) {
        if (slots_.size() >= kCapacity) slots_.pop_back();
        slots_.push_front(Slot{archiveName, stamp, CArchiveIndex()});
        slots_.front().index.Build(file);
    } else if (slot != slots_.begin()) {
        slots_.splice(slots_.begin(), slots_, slot);
    }
    return slots_.front().index.Find(lowerName, entry);
}
