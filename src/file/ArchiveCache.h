// CArchiveCache: the process-wide store of parsed archive directories, so that a lookup reads an
// archive's directory once instead of on every open. A directory is keyed by the archive's path
// and trusted only while the archive keeps the size and last write time it had when it was read.
#pragma once

#include <cstdint>
#include <list>
#include <mutex>
#include <string>

#include "file/ArchiveIndex.h"
#include "file/HostFile.h"

class CArchiveCache {
public:
    // Directories of at most this many archives are kept; the least recently used goes first.
    static constexpr size_t kCapacity = 16;
    // A file written less than this long before its directory is read may be written again
    // within the same tick of its file system's clock (two seconds on FAT) without its time
    // changing; such a directory is not kept, and lookups in it scan the file as it is.
    static constexpr uint64_t kSettleTime = 2 * kHostTimeUnitsPerSecond;

    // The one instance every file object shares.
    static CArchiveCache& Shared();

    // Looks lowerName up in the archive open as file and named archiveName: false when the file
    // is not an archive or holds no such member. Leaves the file position anywhere.
    bool FindMember(const std::string& archiveName, CHostFile& file, const std::string& lowerName,
                    ArchiveEntry& entry);

private:
    struct Slot {
        std::string archiveName;
        HostFileStamp stamp;
        CArchiveIndex index;
    };

    std::mutex lock_;  // a further application may read files on its own thread
    std::list<Slot> slots_;  // most recently used first
};
