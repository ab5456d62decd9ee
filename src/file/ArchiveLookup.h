// Archive lookup: a path that cannot be opened on disk is looked for in the archives that stand
// for its ancestor directories, innermost first. For C:\game\data\img\a.bmp the candidates are
// C:\game\data\img.dat (member a.bmp), C:\game\data.dat (img\a.bmp), C:\game.dat (data\img\a.bmp).
#pragma once

#include <string>

#include <pyro/file/ArchiveDirectory.h>
#include "file/HostFile.h"

// Moves directory (start with the path itself) to the next ancestor whose archive is to be tried
// and gives that archive's name and the lower-cased member name (in the program's encoding); false when only a root (drive
// root or UNC share) is left, since a root never stands for an archive.
bool NextArchiveCandidate(const std::string& path, std::string& directory, std::string& archiveName,
                          std::string& innerName);

// Looks a normalised path up. On success archive is open and positioned at the member's stored
// data. Any failure inside one archive (not openable, unknown magic, short directory, no such
// member, failed seek) moves on to the next ancestor.
bool FindArchiveMember(const std::string& path, CHostFile& archive, ArchiveEntry& entry);
