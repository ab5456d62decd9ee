// Building packed archives in memory: the header, the directory of the chosen layout and the
// member data, with members LZSS-coded (Ex and Dx, when that makes them smaller) and optionally
// scrambled behind the "MPK1" marker first.
#pragma once

#include <string>
#include <vector>

#include <pyro/file/ArchiveDirectory.h>

struct PackMember {
    std::string name;  // relative path with backslashes, for example img\title.bmp
    std::vector<unsigned char> bytes;
};

struct PackOptions {
    ArchiveLayout layout = ArchiveLayout::Ex;
    bool compress = true;   // Ex and Dx only; a member is coded only when that makes it smaller
    bool scramble = false;  // every member is scrambled before it is coded
};

// The content as a scrambled file holds it: the marker, then every byte scrambled.
std::vector<unsigned char> ScrambleContent(const std::vector<unsigned char>& content);

// Builds the archive with the members in the given order. False with a message when a name does
// not fit the layout's name field or the archive would not fit 32-bit offsets.
bool BuildArchive(const std::vector<PackMember>& members, const PackOptions& options,
                  std::vector<unsigned char>& archive, std::string& error);
