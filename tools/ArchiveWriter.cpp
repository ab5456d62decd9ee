// Archive building: header and directory first, then each member's stored data in order.
#include "tools/ArchiveWriter.h"

#include <cstdint>
#include <cstring>

#include <pyro/file/Scrambler.h>
#include "tools/LzssEncoder.h"

namespace {

void PutU32(unsigned char* p, uint32_t value)
{
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
    p[2] = static_cast<unsigned char>(value >> 16);
    p[3] = static_cast<unsigned char>(value >> 24);
}

}  // namespace

std::vector<unsigned char> ScrambleContent(const std::vector<unsigned char>& content)
{
    std::vector<unsigned char> scrambled(kScrambleMarkerSize + content.size());
    std::memcpy(scrambled.data(), kScrambleMarker, kScrambleMarkerSize);
    ScrambleBytes(content.data(), scrambled.data() + kScrambleMarkerSize,
                  static_cast<uint32_t>(content.size()));
    return scrambled;
}

bool BuildArchive(const std::vector<PackMember>& members, const PackOptions& options,
                  std::vector<unsigned char>& archive, std::string& error)
{
    const ArchiveLayoutInfo& info = GetArchiveLayoutInfo(options.layout);
    const uint64_t directoryEnd = kArchiveHeaderSize + uint64_t(info.entrySize) * members.size();
    if (directoryEnd > UINT32_MAX) {
        error = "too many members";
        return false;
    }
    archive.assign(directoryEnd, 0);
    std::memcpy(archive.data(), info.magic, kArchiveMagicSize);
    PutU32(archive.data() + kArchiveMagicSize, static_cast<uint32_t>(members.size()));

    for (size_t i = 0; i < members.size(); ++i) {
        const PackMember& member = members[i];
        if (member.name.empty() || member.name.size() >= info.nameSize
            || member.name.find('\0') != std::string::npos) {
            error = "member name \"" + member.name + "\" does not fit a name field of "
                + std::to_string(info.nameSize) + " bytes";
            return false;
        }
        const std::vector<unsigned char> content =
            options.scramble ? ScrambleContent(member.bytes) : member.bytes;
        std::vector<unsigned char> stored;
        if (options.compress && options.layout != ArchiveLayout::Plain) {
            stored = CLzssEncoder::Encode(content.data(), content.size());
        }
        // Equal sizes mean "stored", so a coded member must be strictly smaller.
        if (stored.empty() || stored.size() >= content.size()) stored = content;

        const uint64_t offset = archive.size();
        if (offset + stored.size() > UINT32_MAX || content.size() > UINT32_MAX) {
            error = "archive larger than 4 GiB";
            return false;
        }
        unsigned char* entry = archive.data() + kArchiveHeaderSize + i * info.entrySize;
        std::memcpy(entry, member.name.data(), member.name.size());
        unsigned char* fields = entry + info.nameSize;
        PutU32(fields, static_cast<uint32_t>(offset));
        PutU32(fields + 4, static_cast<uint32_t>(content.size()));
        if (options.layout != ArchiveLayout::Plain) PutU32(fields + 8, static_cast<uint32_t>(stored.size()));
        archive.insert(archive.end(), stored.begin(), stored.end());
    }
    return true;
}
