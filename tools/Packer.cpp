// Packing directories into archives and reading them back, on standard C++ file streams.
#include "tools/Packer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <pyro/file/Scrambler.h>
#include <pyro/file/ShiftJis.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

#ifdef _WIN32
// The C++ library would convert narrow names with its own idea of the code page; file names of
// the game are in the system's (932), so convert through the system.
fs::path PathFromName(const std::string& name)
{
    const int size = static_cast<int>(name.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, name.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), size, &wide[0], length);
    return fs::path(wide);
}

std::string NameFromPath(const fs::path& path)
{
    const std::wstring& wide = path.native();
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string name(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, &name[0], length, nullptr, nullptr);
    return name;
}
#else
fs::path PathFromName(const std::string& name)
{
    return fs::path(name);
}

std::string NameFromPath(const fs::path& path)
{
    return path.string();
}
#endif

namespace {

const char* LayoutName(ArchiveLayout layout)
{
    switch (layout) {
    case ArchiveLayout::Plain: return "plain";
    case ArchiveLayout::Ex: return "Ex";
    case ArchiveLayout::Dx: return "Dx";
    }
    return "?";
}

// Splits a member name at its backslashes (not at second bytes); false for names that could
// point outside the extraction directory.
bool SplitMemberName(const std::string& name, std::vector<std::string>& parts)
{
    parts.assign(1, std::string());
    for (size_t i = 0; i < name.size();) {
        const size_t next = NextSjisIndex(name, i);
        if (name[i] == '\\') {
            parts.emplace_back();
        } else if (name[i] == '/' || name[i] == ':') {
            return false;
        } else {
            parts.back().append(name, i, next - i);
        }
        i = next;
    }
    for (const std::string& part : parts) {
        if (part.empty() || part == "." || part == "..") return false;
    }
    return true;
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::vector<unsigned char>& bytes, std::string& error)
{
    std::ifstream in(PathFromName(path), std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes, std::string& error)
{
    std::ofstream out(PathFromName(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool CollectMembers(const std::string& directory, std::vector<PackMember>& members, std::string& error)
{
    members.clear();
    std::error_code code;
    const fs::path root = PathFromName(directory);
    fs::recursive_directory_iterator it(root, code), end;
    if (code) {
        error = "cannot read the directory " + directory;
        return false;
    }
    for (; it != end; it.increment(code)) {
        if (code) break;
        if (!it->is_regular_file()) continue;
        PackMember member;
        member.name = NameFromPath(it->path().lexically_relative(root));
        std::replace(member.name.begin(), member.name.end(), '/', '\\');
        if (!ReadFileBytes(NameFromPath(it->path()), member.bytes, error)) return false;
        members.push_back(std::move(member));
    }
    if (code) {
        error = "cannot read the directory " + directory;
        return false;
    }
    std::sort(members.begin(), members.end(),
              [](const PackMember& a, const PackMember& b) { return a.name < b.name; });
    return true;
}

bool PackDirectory(const std::string& directory, const std::string& archivePath, const PackOptions& options,
                   std::string& error)
{
    std::vector<PackMember> members;
    std::vector<unsigned char> archive;
    return CollectMembers(directory, members, error) && BuildArchive(members, options, archive, error)
        && WriteFileBytes(archivePath, archive, error);
}

bool ReadArchiveImage(const std::vector<unsigned char>& image, ArchiveLayout& layout,
                      std::vector<UnpackedMember>& members, std::string& error)
{
    members.clear();
    CMemorySource source(image.data(), image.size());
    CArchiveDirectory directory(source);
    if (!directory.ReadHeader()) {
        error = "not an archive (unknown magic)";
        return false;
    }
    layout = directory.GetLayout();
    for (;;) {
        UnpackedMember member;
        const int result = directory.ReadEntry(member.entry);
        if (result == CArchiveDirectory::kNoMoreEntries) break;
        if (result == CArchiveDirectory::kDirectoryTruncated) {
            error = "the directory ends after " + std::to_string(members.size()) + " of "
                + std::to_string(directory.GetEntryCount()) + " entries";
            return false;
        }
        if (result == CArchiveDirectory::kNameUnterminated) {
            error = "entry " + std::to_string(members.size()) + " has a name without its terminating NUL";
            return false;
        }
        members.push_back(std::move(member));
    }
    for (UnpackedMember& member : members) {
        const ArchiveEntry& entry = member.entry;
        if (!IsArchiveEntryReadable(entry, image.size())) {
            error = "member " + entry.name + ": offset or sizes do not fit the archive";
            return false;
        }
        member.bytes.resize(entry.unpackedSize);
        source.Seek(entry.offset);
        if (ReadArchiveMember(source, entry, member.bytes.data()) != 0) {
            error = "member " + entry.name + ": its data is damaged";
            return false;
        }
    }
    return true;
}

bool ListArchive(const std::string& archivePath, std::ostream& out, std::string& error)
{
    std::vector<unsigned char> image;
    ArchiveLayout layout;
    std::vector<UnpackedMember> members;
    if (!ReadFileBytes(archivePath, image, error) || !ReadArchiveImage(image, layout, members, error)) {
        return false;
    }
    out << LayoutName(layout) << " archive, " << members.size() << " members\n";
    for (const UnpackedMember& member : members) {
        const ArchiveEntry& entry = member.entry;
        out << entry.name << '\t' << entry.offset << '\t' << entry.unpackedSize << '\t' << entry.storedSize
            << '\t' << (entry.compressed ? "lzss" : "stored")
            << (HasScrambleMarker(member.bytes.data(), entry.unpackedSize) ? "\tscrambled" : "") << '\n';
    }
    return true;
}

bool ExtractArchive(const std::string& archivePath, const std::string& directory, bool unscramble,
                    std::string& error)
{
    std::vector<unsigned char> image;
    ArchiveLayout layout;
    std::vector<UnpackedMember> members;
    if (!ReadFileBytes(archivePath, image, error) || !ReadArchiveImage(image, layout, members, error)) {
        return false;
    }
    for (UnpackedMember& member : members) {
        std::vector<std::string> parts;
        if (!SplitMemberName(member.entry.name, parts)) {
            error = "member name " + member.entry.name + " would leave the directory";
            return false;
        }
        fs::path target = PathFromName(directory);
        for (const std::string& part : parts) target /= PathFromName(part);
        std::error_code code;
        fs::create_directories(target.parent_path(), code);
        if (code) {
            error = "cannot create the directory for " + member.entry.name;
            return false;
        }
        std::vector<unsigned char>& bytes = member.bytes;
        if (unscramble && HasScrambleMarker(bytes.data(), static_cast<uint32_t>(bytes.size()))) {
            bytes.erase(bytes.begin(), bytes.begin() + kScrambleMarkerSize);
            ScrambleBytes(bytes.data(), bytes.data(), static_cast<uint32_t>(bytes.size()));
        }
        if (!WriteFileBytes(NameFromPath(target), bytes, error)) return false;
    }
    return true;
}
