// Fuzz target: NormalizePath, GetParentDirectory, the archive candidates of a path and the
// file-name parts on arbitrary Shift-JIS byte strings. Input: the base directory, a line feed,
// then the path (without a line feed, the whole input is the path).
#include <cstdint>
#include <cstdlib>
#include <string>

#include <pyro/file/BaseDirectory.h>
#include <pyro/file/Path.h>
#include <pyro/file/ShiftJis.h>
#include "file/ArchiveLookup.h"

namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string input(reinterpret_cast<const char*>(data), size);
    input = input.substr(0, input.find('\0'));  // the system's strings are C strings
    const size_t split = input.find('\n');
    const std::string base = split == std::string::npos ? "C:\\base\\" : input.substr(0, split);
    const std::string path = split == std::string::npos ? input : input.substr(split + 1);

    SetBaseDirectory("C:\\base\\");
    SetBaseDirectory(base);
    const std::string normal = NormalizePath(path);
    for (size_t i = 0; i < normal.size(); i = NextSjisIndex(normal, i)) Require(normal[i] != '/');

    // Every step up shortens the path, apart from a bare name gaining its separator once.
    std::string parent = normal;
    size_t steps = 0;
    while (GetParentDirectory(parent) == 0) Require(++steps <= normal.size() + 1);

    std::string directory = normal;
    std::string archive;
    std::string inner;
    steps = 0;
    while (NextArchiveCandidate(normal, directory, archive, inner)) {
        Require(++steps <= normal.size());
        Require(!inner.empty() && directory.size() + inner.size() == normal.size());
        Require(archive.size() == directory.size() + 3);
    }

    std::string lower = path;
    ToLowerSjis(lower);
    std::string twice = lower;
    ToLowerSjis(twice);
    Require(lower == twice);
    const std::string name = GetFileNamePart(path);
    Require(name.size() <= path.size() && GetSuffixPart(path).size() <= name.size());
    EndsWithSeparator(path);
    return 0;
}
