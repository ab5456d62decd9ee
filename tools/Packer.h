// The packer's work on files: packing a directory tree into an archive, reading an archive back
// (through the framework's own directory reader and LZSS decoder), listing and extracting it.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <pyro/file/ArchiveDirectory.h>
#include "tools/ArchiveWriter.h"

struct UnpackedMember {
    ArchiveEntry entry;
    std::vector<unsigned char> bytes;  // after decoding, still scrambled if it was
};

// File names are byte strings in the system's code page (932 on the game's Windows).
std::filesystem::path PathFromName(const std::string& name);
std::string NameFromPath(const std::filesystem::path& path);

bool ReadFileBytes(const std::string& path, std::vector<unsigned char>& bytes, std::string& error);
bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes, std::string& error);

// Every regular file below directory, named by its relative path with backslashes, sorted by name.
bool CollectMembers(const std::string& directory, std::vector<PackMember>& members, std::string& error);

bool PackDirectory(const std::string& directory, const std::string& archivePath, const PackOptions& options,
                   std::string& error);

// Reads every member of an archive image; false with a message on any damage.
bool ReadArchiveImage(const std::vector<unsigned char>& image, ArchiveLayout& layout,
                      std::vector<UnpackedMember>& members, std::string& error);

// One line per member: name, offset, unpacked size, stored size, coding, scrambling.
bool ListArchive(const std::string& archivePath, std::ostream& out, std::string& error);

// Writes every member below directory, creating subdirectories. Names that would leave the
// directory (parent components, drives, absolute paths) are refused.
bool ExtractArchive(const std::string& archivePath, const std::string& directory, bool unscramble,
                    std::string& error);
