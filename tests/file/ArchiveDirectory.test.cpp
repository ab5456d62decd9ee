#include <pyro/file/ArchiveDirectory.h>

#include <doctest/doctest.h>

#include <cstring>

#include <pyro/file/LzssDecoder.h>
#include "Scratch.h"
#include "tools/ArchiveWriter.h"

namespace {

std::vector<unsigned char> Archive(const std::vector<PackMember>& members, ArchiveLayout layout,
                                   bool compress = true)
{
    PackOptions options;
    options.layout = layout;
    options.compress = compress;
    std::vector<unsigned char> archive;
    std::string error;
    REQUIRE_MESSAGE(BuildArchive(members, options, archive, error), error);
    return archive;
}

void PutU32(std::vector<unsigned char>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

bool Find(const std::vector<unsigned char>& archive, const std::string& lowerName, ArchiveEntry& entry)
{
    CMemorySource source(archive.data(), archive.size());
    CArchiveDirectory directory(source);
    return directory.ReadHeader() && directory.FindEntry(lowerName, entry);
}

}  // namespace

TEST_CASE("each layout is recognised by its magic and its entries read in file order")
{
    const std::vector<PackMember> members = {{"a.txt", Bytes("hello hello hello hello")},
                                             {"img\\B.bmp", RandomBytes(100, 1)}};
    for (ArchiveLayout layout : {ArchiveLayout::Plain, ArchiveLayout::Ex, ArchiveLayout::Dx}) {
        CAPTURE(static_cast<int>(layout));
        const std::vector<unsigned char> archive = Archive(members, layout);
        CMemorySource source(archive.data(), archive.size());
        CArchiveDirectory directory(source);
        REQUIRE(directory.ReadHeader());
        CHECK(directory.GetLayout() == layout);
        CHECK(directory.GetEntryCount() == 2);
        ArchiveEntry entry;
        REQUIRE(directory.ReadEntry(entry) == CArchiveDirectory::kEntryRead);
        CHECK(entry.name == "a.txt");
        CHECK(entry.unpackedSize == 23);
        CHECK(entry.compressed == (layout != ArchiveLayout::Plain));  // the text repeats itself
        // The data follows the directory, member after member.
        CHECK(entry.offset == kArchiveHeaderSize + 2 * GetArchiveLayoutInfo(layout).entrySize);
        const uint32_t secondOffset = entry.offset + entry.storedSize;
        REQUIRE(directory.ReadEntry(entry) == CArchiveDirectory::kEntryRead);
        CHECK(entry.name == "img\\B.bmp");
        CHECK_FALSE(entry.compressed);  // random bytes do not get smaller
        CHECK(entry.offset == secondOffset);
        CHECK(directory.ReadEntry(entry) == CArchiveDirectory::kNoMoreEntries);
    }
}

TEST_CASE("a magic differing only in letter case is not an archive")
{
    std::vector<unsigned char> archive = Archive({{"a", Bytes("a")}}, ArchiveLayout::Ex);
    archive[5] = 'K';  // "mivopKEx"
    CMemorySource source(archive.data(), archive.size());
    CArchiveDirectory directory(source);
    CHECK_FALSE(directory.ReadHeader());
    const std::vector<unsigned char> shortHeader = {'m', 'i', 'v', 'o', 'p', 'a', 'c', 'k', 1, 0};
    CMemorySource shortSource(shortHeader.data(), shortHeader.size());
    CArchiveDirectory shortDirectory(shortSource);
    CHECK_FALSE(shortDirectory.ReadHeader());
}

TEST_CASE("names match without regard to ASCII case, but a second byte is never folded")
{
    // "ゼ" is 83 5A: its second byte is 'Z'. The entry "TITLE.BMP" is found as title.bmp.
    const std::vector<unsigned char> archive =
        Archive({{"\x83\x5A.bmp", Bytes("sjis")}, {"img\\TITLE.BMP", Bytes("title")}}, ArchiveLayout::Dx);
    ArchiveEntry entry;
    CHECK(Find(archive, "img\\title.bmp", entry));
    CHECK(entry.name == "img\\TITLE.BMP");
    CHECK(Find(archive, "\x83\x5A.bmp", entry));
    CHECK_FALSE(Find(archive, "\x83z.bmp", entry));  // "ゼ" with its second byte lower-cased
    CHECK_FALSE(Find(archive, "img/title.bmp", entry));  // separators are not folded either
    CHECK_FALSE(Find(archive, "title.bmp", entry));
}

TEST_CASE("a damaged directory ends the scan without reading past the data")
{
    const std::vector<unsigned char> good =
        Archive({{"a", Bytes("A")}, {"b", Bytes("B")}, {"c", Bytes("C")}}, ArchiveLayout::Plain, false);
    const uint32_t entrySize = GetArchiveLayoutInfo(ArchiveLayout::Plain).entrySize;
    ArchiveEntry entry;

    SUBCASE("an entry count larger than the file")
    {
        std::vector<unsigned char> archive = good;
        PutU32(archive, 8, 0xFFFFFFFF);
        archive.resize(kArchiveHeaderSize + 2 * entrySize + 7);  // cut inside the third entry
        CMemorySource source(archive.data(), archive.size());
        CArchiveDirectory directory(source);
        REQUIRE(directory.ReadHeader());
        CHECK(directory.ReadEntry(entry) == CArchiveDirectory::kEntryRead);
        CHECK(directory.ReadEntry(entry) == CArchiveDirectory::kEntryRead);
        CHECK(directory.ReadEntry(entry) == CArchiveDirectory::kDirectoryTruncated);
        CHECK(directory.ReadEntry(entry) == CArchiveDirectory::kDirectoryTruncated);
        CHECK_FALSE(Find(archive, "c", entry));
        CHECK(Find(archive, "b", entry));
    }
    SUBCASE("a name without its terminating NUL is skipped")
    {
        std::vector<unsigned char> archive = good;
        std::memset(&archive[kArchiveHeaderSize + entrySize], 'b', 32);
        CMemorySource source(archive.data(), archive.size());
        CArchiveDirectory directory(source);
        REQUIRE(directory.ReadHeader());
        CHECK(directory.ReadEntry(entry) == CArchiveDirectory::kEntryRead);
        CHECK(directory.ReadEntry(entry) == CArchiveDirectory::kNameUnterminated);
        CHECK(directory.ReadEntry(entry) == CArchiveDirectory::kEntryRead);
        CHECK(entry.name == "c");
        CHECK_FALSE(Find(archive, std::string(32, 'b'), entry));
        CHECK(Find(archive, "c", entry));
    }
}

TEST_CASE("a member is readable only when its data lies in the archive and can decode to its size")
{
    ArchiveEntry entry;
    entry.offset = 90;
    entry.unpackedSize = entry.storedSize = 10;
    CHECK(IsArchiveEntryReadable(entry, 100));
    CHECK_FALSE(IsArchiveEntryReadable(entry, 99));
    entry.offset = 0xFFFFFFFF;  // the sum must not wrap
    CHECK_FALSE(IsArchiveEntryReadable(entry, 100));
    entry.offset = 0;
    entry.compressed = true;
    entry.unpackedSize = 90;
    CHECK(IsArchiveEntryReadable(entry, 100));
    entry.unpackedSize = 91;  // more than 9 bytes per stored byte
    CHECK_FALSE(IsArchiveEntryReadable(entry, 100));
    entry.unpackedSize = 0xFFFFFFFF;
    CHECK_FALSE(IsArchiveEntryReadable(entry, 100));
}

TEST_CASE("member data is copied when its sizes are equal and decoded otherwise")
{
    // Stored bytes that would also be a valid LZSS stream: copied as they are.
    const std::vector<unsigned char> looksCoded = {0x00, 0x00, 0x0F, 0x00, 0x0F};
    const std::vector<unsigned char> text = Bytes("to be or not to be, to be or not to be");
    const std::vector<unsigned char> archive =
        Archive({{"raw", looksCoded}, {"text", text}}, ArchiveLayout::Ex);
    for (const auto& expected : {std::make_pair("raw", looksCoded), std::make_pair("text", text)}) {
        ArchiveEntry entry;
        CMemorySource source(archive.data(), archive.size());
        CArchiveDirectory directory(source);
        REQUIRE(directory.ReadHeader());
        REQUIRE(directory.FindEntry(expected.first, entry));
        CHECK(entry.compressed == (expected.second == text));
        std::vector<unsigned char> out(entry.unpackedSize);
        REQUIRE(source.Seek(entry.offset));
        CHECK(ReadArchiveMember(source, entry, out.data()) == 0);
        CHECK(out == expected.second);
    }
}

TEST_CASE("short member data fails the read")
{
    const std::vector<unsigned char> text = Bytes("abcabcabcabcabcabcabcabcabcabcabc");
    std::vector<unsigned char> archive = Archive({{"t", text}}, ArchiveLayout::Ex);
    ArchiveEntry entry;
    REQUIRE(Find(archive, "t", entry));
    REQUIRE(entry.compressed);
    std::vector<unsigned char> out(entry.unpackedSize);

    SUBCASE("the file ends inside the stored data")
    {
        archive.pop_back();
        CMemorySource source(archive.data(), archive.size());
        source.Seek(entry.offset);
        CHECK(ReadArchiveMember(source, entry, out.data()) == 4);
    }
    SUBCASE("the LZSS stream ends before the unpacked size")
    {
        entry.unpackedSize += 1;
        out.resize(entry.unpackedSize);
        CMemorySource source(archive.data(), archive.size());
        source.Seek(entry.offset);
        CHECK(ReadArchiveMember(source, entry, out.data()) == 4);
    }
}
