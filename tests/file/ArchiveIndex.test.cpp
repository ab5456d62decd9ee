#include "file/ArchiveIndex.h"

#include <doctest/doctest.h>

#include <cstring>

#include "Scratch.h"
#include "tools/ArchiveWriter.h"

namespace {

// The index must answer every name exactly as a scan of the directory from the start does.
void CheckLikeScan(const std::vector<unsigned char>& image, const std::vector<std::string>& names)
{
    CMemorySource indexSource(image.data(), image.size());
    CArchiveIndex index;
    const bool isArchive = index.Build(indexSource);
    {
        CMemorySource source(image.data(), image.size());
        CArchiveDirectory directory(source);
        CHECK(isArchive == directory.ReadHeader());
    }
    for (const std::string& name : names) {
        CAPTURE(name);
        CMemorySource source(image.data(), image.size());
        CArchiveDirectory directory(source);
        ArchiveEntry scanned;
        const bool inScan = directory.ReadHeader() && directory.FindEntry(name, scanned);
        ArchiveEntry indexed;
        REQUIRE(index.Find(name, indexed) == inScan);
        if (!inScan) continue;
        CHECK(indexed.name == scanned.name);
        CHECK(indexed.offset == scanned.offset);
        CHECK(indexed.unpackedSize == scanned.unpackedSize);
        CHECK(indexed.storedSize == scanned.storedSize);
        CHECK(indexed.compressed == scanned.compressed);
    }
}

}  // namespace

TEST_CASE("an index finds what a scan of the directory finds, also in damaged directories")
{
    // "ゼ" is 83 5A; the second "Dup" entry is shadowed by the first.
    const std::vector<PackMember> members = {{"a.txt", Bytes("alpha alpha alpha alpha")},
                                             {"img\\Title.BMP", RandomBytes(300, 2)},
                                             {"Dup.txt", Bytes("first")},
                                             {"dup.TXT", Bytes("second")},
                                             {"\x83\x5A\\x", Bytes("sjis")},
                                             {"last", Bytes("")}};
    const std::vector<std::string> names = {"a.txt", "img\\title.bmp", "dup.txt", "\x83\x5A\\x", "last",
                                            "\x83z\\x", "img/title.bmp", "title.bmp", "A.TXT", "", "missing"};
    for (ArchiveLayout layout : {ArchiveLayout::Plain, ArchiveLayout::Ex, ArchiveLayout::Dx}) {
        CAPTURE(static_cast<int>(layout));
        PackOptions options;
        options.layout = layout;
        std::vector<unsigned char> archive;
        std::string error;
        REQUIRE_MESSAGE(BuildArchive(members, options, archive, error), error);
        const uint32_t entrySize = GetArchiveLayoutInfo(layout).entrySize;

        SUBCASE("whole")
        {
            CheckLikeScan(archive, names);
            CMemorySource source(archive.data(), archive.size());
            CArchiveIndex index;
            REQUIRE(index.Build(source));
            CHECK(index.GetMemberCount() == 5);
            ArchiveEntry entry;
            REQUIRE(index.Find("dup.txt", entry));
            CHECK(entry.name == "Dup.txt");
        }
        SUBCASE("cut at every length up to the end of the directory")
        {
            for (size_t size = 0; size <= kArchiveHeaderSize + members.size() * entrySize; ++size) {
                CAPTURE(size);
                CheckLikeScan(std::vector<unsigned char>(archive.begin(), archive.begin() + size), names);
            }
        }
        SUBCASE("names without their NUL")
        {
            std::vector<unsigned char> damaged = archive;
            const uint32_t nameSize = GetArchiveLayoutInfo(layout).nameSize;
            std::memset(&damaged[kArchiveHeaderSize], 'a', nameSize);  // a.txt
            std::memset(&damaged[kArchiveHeaderSize + 2 * entrySize], 'D', nameSize);  // Dup.txt
            CheckLikeScan(damaged, names);
            CheckLikeScan(damaged, {std::string(nameSize, 'a'), std::string(nameSize, 'd')});
        }
        SUBCASE("an entry count beyond the directory")
        {
            std::vector<unsigned char> damaged = archive;
            std::memset(&damaged[kArchiveMagicSize], 0xFF, 4);
            CheckLikeScan(damaged, names);
        }
        SUBCASE("a magic in the wrong case")
        {
            std::vector<unsigned char> damaged = archive;
            damaged[0] = 'M';
            CheckLikeScan(damaged, names);
            CMemorySource source(damaged.data(), damaged.size());
            CArchiveIndex index;
            CHECK_FALSE(index.Build(source));
            CHECK_FALSE(index.IsArchive());
        }
    }
}
