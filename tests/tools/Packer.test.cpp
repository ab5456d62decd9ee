#include "tools/Packer.h"

#include <doctest/doctest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// A directory below the current one, removed afterwards.
struct TempTree {
    std::string root;
    explicit TempTree(const std::string& name) : root("packer-" + name)
    {
        fs::remove_all(root);
        fs::create_directories(root);
    }
    ~TempTree()
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    std::string Path(const std::string& relative) const { return root + "/" + relative; }
    void Put(const std::string& relative, const std::string& text) const
    {
        fs::create_directories(fs::path(Path(relative)).parent_path());
        std::string error;
        REQUIRE(WriteFileBytes(Path(relative), std::vector<unsigned char>(text.begin(), text.end()), error));
    }
    std::string Get(const std::string& relative) const
    {
        std::vector<unsigned char> bytes;
        std::string error;
        REQUIRE_MESSAGE(ReadFileBytes(Path(relative), bytes, error), error);
        return std::string(bytes.begin(), bytes.end());
    }
};

std::vector<unsigned char> Bytes(const std::string& text)
{
    return std::vector<unsigned char>(text.begin(), text.end());
}

}  // namespace

TEST_CASE("a directory tree is packed, listed and extracted again")
{
    TempTree tree("tree");
    const std::string repeated(500, 'r');
    tree.Put("in/b.txt", repeated);
    tree.Put("in/a.txt", "short");
    tree.Put("in/img/Title.bmp", "BM image");

    std::vector<PackMember> members;
    std::string error;
    REQUIRE(CollectMembers(tree.Path("in"), members, error));
    REQUIRE(members.size() == 3);
    CHECK(members[0].name == "a.txt");
    CHECK(members[1].name == "b.txt");
    CHECK(members[2].name == "img\\Title.bmp");

    PackOptions options;
    options.layout = ArchiveLayout::Dx;
    options.scramble = true;
    REQUIRE_MESSAGE(PackDirectory(tree.Path("in"), tree.Path("in.dat"), options, error), error);

    std::ostringstream listing;
    REQUIRE(ListArchive(tree.Path("in.dat"), listing, error));
    const std::string text = listing.str();
    CHECK(text.find("Dx archive, 3 members") == 0);
    CHECK(text.find("b.txt\t") != std::string::npos);
    CHECK(text.find("\tlzss\tscrambled\n") != std::string::npos);   // the repeated text
    CHECK(text.find("\tstored\tscrambled\n") != std::string::npos); // "short" does not shrink

    REQUIRE_MESSAGE(ExtractArchive(tree.Path("in.dat"), tree.Path("out"), true, error), error);
    CHECK(tree.Get("out/a.txt") == "short");
    CHECK(tree.Get("out/b.txt") == repeated);
    CHECK(tree.Get("out/img/Title.bmp") == "BM image");
    // Without unscrambling the members keep their marker.
    REQUIRE(ExtractArchive(tree.Path("in.dat"), tree.Path("raw"), false, error));
    CHECK(tree.Get("raw/a.txt").compare(0, 4, "MPK1") == 0);
}

TEST_CASE("members are coded only in Ex and Dx, and only when that makes them smaller")
{
    const std::vector<PackMember> members
        = { { "zeros", std::vector<unsigned char>(1000, 0) }, { "ab", Bytes("ab") } };
    for (ArchiveLayout layout : {ArchiveLayout::Plain, ArchiveLayout::Ex, ArchiveLayout::Dx}) {
        for (bool compress : {true, false}) {
            PackOptions options;
            options.layout = layout;
            options.compress = compress;
            std::vector<unsigned char> archive;
            std::string error;
            REQUIRE(BuildArchive(members, options, archive, error));
            ArchiveLayout read;
            std::vector<UnpackedMember> back;
            REQUIRE_MESSAGE(ReadArchiveImage(archive, read, back, error), error);
            CHECK(read == layout);
            REQUIRE(back.size() == 2);
            CHECK(back[0].entry.compressed == (compress && layout != ArchiveLayout::Plain));
            CHECK_FALSE(back[1].entry.compressed);
            CHECK(back[0].bytes == members[0].bytes);
            CHECK(back[1].bytes == members[1].bytes);
        }
    }
}

TEST_CASE("names must fit the layout's name field")
{
    PackOptions options;
    std::vector<unsigned char> archive;
    std::string error;
    options.layout = ArchiveLayout::Ex;
    CHECK(BuildArchive({{std::string(31, 'n'), {}}}, options, archive, error));
    CHECK_FALSE(BuildArchive({{std::string(32, 'n'), {}}}, options, archive, error));
    CHECK_FALSE(BuildArchive({{"", {}}}, options, archive, error));
    options.layout = ArchiveLayout::Dx;
    CHECK(BuildArchive({{std::string(255, 'n'), {}}}, options, archive, error));
    CHECK_FALSE(BuildArchive({{std::string(256, 'n'), {}}}, options, archive, error));
}

TEST_CASE("extraction refuses names that would leave the directory, and damaged archives")
{
    TempTree tree("unsafe");
    std::string error;
    for (const char* name :
        { "..\\evil.txt", "a\\..\\..\\evil.txt", "C:\\evil.txt", "\\evil.txt", "a/../evil.txt" }) {
        CAPTURE(name);
        std::vector<unsigned char> archive;
        REQUIRE(BuildArchive({{name, Bytes("x")}}, PackOptions(), archive, error));
        REQUIRE(WriteFileBytes(tree.Path("u.dat"), archive, error));
        CHECK_FALSE(ExtractArchive(tree.Path("u.dat"), tree.Path("out"), false, error));
    }
    CHECK_FALSE(fs::exists(tree.root + "/evil.txt"));
    CHECK_FALSE(fs::exists("evil.txt"));

    // A second byte 5C is not a separator: "ソ" (83 5C) is one component.
    std::vector<unsigned char> archive;
    REQUIRE(BuildArchive({{"\x83\x5C.txt", Bytes("so")}}, PackOptions(), archive, error));
    REQUIRE(WriteFileBytes(tree.Path("so.dat"), archive, error));
    REQUIRE_MESSAGE(ExtractArchive(tree.Path("so.dat"), tree.Path("so"), false, error), error);
    CHECK(fs::exists(PathFromName(tree.Path("so/\x83\x5C.txt"))));

    ArchiveLayout layout;
    std::vector<UnpackedMember> members;
    archive.resize(archive.size() - 1);
    CHECK_FALSE(ReadArchiveImage(archive, layout, members, error));
    CHECK(error.find("do not fit") != std::string::npos);
    archive.resize(kArchiveHeaderSize + 10);
    CHECK_FALSE(ReadArchiveImage(archive, layout, members, error));
    CHECK(error.find("directory ends") != std::string::npos);
    CHECK_FALSE(ReadArchiveImage(Bytes("not an archive"), layout, members, error));
}
