// The walk over a path's ancestors in search of an archive holding the path. Archives are
// opened and closed on every lookup; their directories come from the shared cache.
#include "file/ArchiveLookup.h"

#include <pyro/file/Path.h>
#include <pyro/file/StringEncoding.h>
#include "file/ArchiveCache.h"

bool NextArchiveCandidate(const std::string& path, std::string& directory, std::string& archiveName,
                          std::string& innerName)
{
    if (GetParentDirectory(directory) != 0) return false;
    std::string parent = directory;
    if (GetParentDirectory(parent) != 0) return false;
    // A bare name gains a separator instead of losing its last component: nothing to look in.
    if (directory.size() >= path.size() || path.compare(0, directory.size(), directory) != 0) {
        return false;
    }
    innerName = path.substr(directory.size());
    ToLowerName(innerName);
    archiveName = directory;
    archiveName.back() = '.';
    archiveName += "dat";
    return true;
}

bool FindArchiveMember(const std::string& path, CHostFile& archive, ArchiveEntry& entry)
{
    std::string directory = path;
    std::string archiveName;
    std::string innerName;
    std::string memberName;
    while (NextArchiveCandidate(path, directory, archiveName, innerName)) {
        // Members are named in Shift-JIS: a name without a Shift-JIS form is in no archive.
        if (!ProgramToSjis(innerName, memberName)) continue;
        if (!archive.OpenForRead(archiveName)) continue;
        if (CArchiveCache::Shared().FindMember(archiveName, archive, memberName, entry)
            && archive.Seek(entry.offset)) {
            return true;
        }
        archive.Close();
    }
    return false;
}
