#include "file/ArchiveCache.h"

#include <doctest/doctest.h>

#include <pyro/file/FileBuffer.h>
#include "Scratch.h"

namespace {

PackOptions Plain()
{
    PackOptions options;
    options.layout = ArchiveLayout::Plain;
    return options;
}

// The content of path, or "(code)" when it cannot be read.
std::string ReadText(const std::string& path)
{
    CFileBuffer file;
    const int result = file.Read(path);
    if (result != 0) return "(" + std::to_string(result) + ")";
    return std::string(reinterpret_cast<const char*>(file.GetMemory()), file.GetSize());
}

}  // namespace

TEST_CASE("an archive's directory is read once and kept while its size and write time stay")
{
    CScratch scratch;
    scratch.PutArchive("pack.dat", {{"a.txt", Bytes("first")}}, Plain());
    const auto time = scratch.Age("pack.dat");
    CHECK(ReadText("pack\\a.txt") == "first");

    // The same size and time over another directory: the kept one still answers, so a.txt is
    // found at its old place, which now holds the new member's bytes.
    scratch.PutArchive("pack.dat", {{"b.txt", Bytes("other")}}, Plain());
    scratch.SetWriteTime("pack.dat", time);
    CHECK(ReadText("pack\\a.txt") == "other");
    CHECK(ReadText("pack\\b.txt") == "(1)");

    SUBCASE("another write time drops it")
    {
        scratch.Age("pack.dat");
        CHECK(ReadText("pack\\b.txt") == "other");
        CHECK(ReadText("pack\\a.txt") == "(1)");
    }
    SUBCASE("another size drops it")
    {
        scratch.PutArchive("pack.dat", {{"b.txt", Bytes("others")}}, Plain());
        scratch.SetWriteTime("pack.dat", time);
        CHECK(ReadText("pack\\b.txt") == "others");
        CHECK(ReadText("pack\\a.txt") == "(1)");
    }
}

TEST_CASE("an archive written moments ago is scanned anew on every open")
{
    // Its write time could stay the same over a second write within one tick of the clock.
    CScratch scratch;
    const auto now = std::filesystem::file_time_type::clock::now();
    scratch.PutArchive("pack.dat", {{"a.txt", Bytes("first")}}, Plain());
    scratch.SetWriteTime("pack.dat", now);
    CHECK(ReadText("pack\\a.txt") == "first");
    scratch.PutArchive("pack.dat", {{"b.txt", Bytes("other")}}, Plain());
    scratch.SetWriteTime("pack.dat", now);
    CHECK(ReadText("pack\\b.txt") == "other");
    CHECK(ReadText("pack\\a.txt") == "(1)");
}
