#include <pyro/file/FileBuffer.h>

#include <doctest/doctest.h>

#include <cstring>
#include <utility>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include <pyro/file/Path.h>
#include "Scratch.h"
#include "file/HostFile.h"

namespace {

std::string Content(const CFileBuffer& file)
{
    return std::string(reinterpret_cast<const char*>(file.GetMemory()), file.GetSize());
}

std::vector<unsigned char> ContentBytes(const CFileBuffer& file)
{
    return std::vector<unsigned char>(file.GetMemory(), file.GetMemory() + file.GetSize());
}

void CheckEmpty(const CFileBuffer& file)
{
    CHECK(file.GetMemory() == nullptr);
    CHECK(file.GetSize() == 0);
    CHECK_FALSE(file.IsFromArchive());
}

PackOptions Options(ArchiveLayout layout, bool compress = true, bool scramble = false)
{
    PackOptions options;
    options.layout = layout;
    options.compress = compress;
    options.scramble = scramble;
    return options;
}

void PutU32(std::vector<unsigned char>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

bool HostFileExists(const std::string& path)
{
    CHostFile file;
    return file.OpenForRead(path);
}

}  // namespace

TEST_CASE("a loose file is read whole and keeps its name")
{
    CScratch scratch;
    scratch.Put("dir\\Title.BMP", "line1\r\nline2");
    CFileBuffer file;
    REQUIRE(file.Read("dir\\Title.BMP") == 0);
    CHECK(Content(file) == "line1\r\nline2");
    CHECK(file.GetMemory()[file.GetSize()] == 0);
    CHECK(file.GetFileName() == "dir\\Title.BMP");
    CHECK(file.GetPureFileName() == "Title.BMP");
    CHECK(file.GetSuffix() == "BMP");
    CHECK_FALSE(file.IsFromArchive());
    CHECK_FALSE(file.IsScrambled());

    // The same file through a parent step and forward slashes.
    REQUIRE(file.Read("../" + scratch.Name() + "/dir/Title.BMP") == 0);
    CHECK(file.GetSize() == 12);

    CHECK(file.Read("dir\\missing.txt") == 1);
    CheckEmpty(file);
    CHECK(file.GetFileName() == "dir\\missing.txt");
    CHECK(file.Read("") == -1);
    CHECK(file.Read("dir") == 1);  // a directory is not a file
}

TEST_CASE("scrambled content is unscrambled behind its marker")
{
    CScratch scratch;
    scratch.Put("s.bin", ScrambleContent(Bytes("abcdef")));
    scratch.Put("marker.bin", "MPK1");
    scratch.Put("short.bin", "MPK");
    CFileBuffer file;

    REQUIRE(file.Read("s.bin") == 0);
    CHECK(file.IsScrambled());
    CHECK(file.GetSize() == 6);
    CHECK(Content(file) == "abcdef");
    CHECK(std::memcmp(file.GetMemory() - 4, "MPK1", 4) == 0);  // the content starts after the marker

    REQUIRE(file.Read("marker.bin") == 0);
    CHECK(file.IsScrambled());
    CHECK(file.GetSize() == 0);
    CHECK(file.GetMemory()[0] == 0);

    REQUIRE(file.Read("short.bin") == 0);
    CHECK_FALSE(file.IsScrambled());
    CHECK(Content(file) == "MPK");
}

TEST_CASE("Scramble writes what Read unscrambles, and what the packer writes")
{
    CScratch scratch;
    const std::vector<unsigned char> original = RandomBytes(1000, 9);
    scratch.Put("plain.bin", original);
    CFileBuffer file;
    CHECK(file.Scramble() == 1);  // nothing loaded
    REQUIRE(file.Read("plain.bin") == 0);
    REQUIRE(file.Scramble() == 0);
    CHECK_FALSE(file.IsScrambled());
    CHECK(ContentBytes(file) == ScrambleContent(original));
    CHECK(file.Scramble() == 1);  // already behind the marker
    REQUIRE(file.Save("scrambled.bin") == 0);

    REQUIRE(file.Read("scrambled.bin") == 0);
    CHECK(file.IsScrambled());
    CHECK(ContentBytes(file) == original);
    CHECK(file.Scramble() == 1);
}

namespace {

// Archives written just now are scanned on every open; aged ones are read once and kept.
void CheckArchivesStandInForDirectories(bool aged)
{
    CScratch scratch;
    const auto age = [&](const std::string& archive) {
        if (aged) scratch.Age(archive);
    };
    scratch.PutArchive("data.dat", {{"img\\a.bmp", Bytes("outer a")}, {"B.txt", Bytes("outer b")}},
                       Options(ArchiveLayout::Plain));
    scratch.PutArchive("data\\img.dat", {{"A.BMP", Bytes("inner a")}}, Options(ArchiveLayout::Dx));
    age("data.dat");
    age("data\\img.dat");
    CFileBuffer file;

    REQUIRE(file.Read("data\\img\\a.bmp") == 0);
    CHECK(Content(file) == "inner a");
    CHECK(file.IsFromArchive());
    REQUIRE(file.Read("data\\b.TXT") == 0);
    CHECK(Content(file) == "outer b");
    CHECK(file.Read("data\\img\\none.bmp") == 1);
    CheckEmpty(file);

    SUBCASE("a loose file wins over every member")
    {
        scratch.Put("data\\img\\a.bmp", "loose a");
        REQUIRE(file.Read("data\\img\\a.bmp") == 0);
        CHECK(Content(file) == "loose a");
        CHECK_FALSE(file.IsFromArchive());
    }
    SUBCASE("an archive whose magic differs in case is passed over")
    {
        std::vector<unsigned char> archive;
        std::string error;
        REQUIRE(BuildArchive({{"a.bmp", Bytes("inner a")}}, Options(ArchiveLayout::Plain), archive, error));
        std::memcpy(archive.data(), "MIVOPACK", 8);
        scratch.Put("data\\img.dat", archive);
        age("data\\img.dat");
        REQUIRE(file.Read("data\\img\\a.bmp") == 0);
        CHECK(Content(file) == "outer a");
    }
    SUBCASE("an archive whose directory is cut short is passed over")
    {
        std::vector<unsigned char> archive;
        std::string error;
        REQUIRE(BuildArchive({ { "x", Bytes("x") }, { "a.bmp", Bytes("inner a") } },
            Options(ArchiveLayout::Ex), archive, error));
        archive.resize(kArchiveHeaderSize + 44 + 20);  // inside the entry for a.bmp
        scratch.Put("data\\img.dat", archive);
        age("data\\img.dat");
        REQUIRE(file.Read("data\\img\\a.bmp") == 0);
        CHECK(Content(file) == "outer a");
    }
}

}  // namespace

TEST_CASE("archives stand in for directories, innermost first, loose files before both")
{
    CheckArchivesStandInForDirectories(false);
}

TEST_CASE("kept archive directories answer as archives read anew do")
{
    CheckArchivesStandInForDirectories(true);
}

TEST_CASE("every layout written by the packer reads back byte-identical")
{
    CScratch scratch;
    const std::vector<PackMember> members = {{"random.bin", RandomBytes(20000, 3)},
                                             {"sub\\text.txt", RealText()},
                                             {"empty", {}},
                                             {"one", Bytes("1")},
                                             {"sub\\MPK1.bin", Bytes("MPK1 is not scrambled here")}};
    for (ArchiveLayout layout : {ArchiveLayout::Plain, ArchiveLayout::Ex, ArchiveLayout::Dx}) {
        for (bool compress : {true, false}) {
            for (bool scramble : {false, true}) {
                CAPTURE(static_cast<int>(layout));
                CAPTURE(compress);
                CAPTURE(scramble);
                scratch.PutArchive("pack.dat", members, Options(layout, compress, scramble));
                for (const PackMember& member : members) {
                    CAPTURE(member.name);
                    CFileBuffer file;
                    REQUIRE(file.Read("pack\\" + member.name) == 0);
                    CHECK(file.IsFromArchive());
                    // The last member begins with the marker itself; scrambling adds a second one.
                    CHECK(file.IsScrambled() == (scramble || member.name == "sub\\MPK1.bin"));
                    if (member.name == "sub\\MPK1.bin" && !scramble) continue;
                    CHECK(ContentBytes(file) == member.bytes);
                }
            }
        }
    }
}

TEST_CASE("damaged members fail the read with code 4 and leave nothing loaded")
{
    CScratch scratch;
    const std::vector<unsigned char> text = RealText();
    std::vector<unsigned char> archive;
    std::string error;
    REQUIRE(BuildArchive({{"t.txt", text}}, Options(ArchiveLayout::Ex), archive, error));
    const size_t fields = kArchiveHeaderSize + 32;
    REQUIRE(archive.size() < text.size());  // the member is LZSS-coded

    SUBCASE("the file ends inside the stored data") { archive.pop_back(); }
    SUBCASE("the LZSS stream ends before the unpacked size")
    {
        PutU32(archive, fields + 4, uint32_t(text.size() + 1));
    }
    SUBCASE("the offset points past the end") { PutU32(archive, fields, uint32_t(archive.size())); }
    SUBCASE("an unpacked size too large for the stored data") { PutU32(archive, fields + 4, 0xFFFFFFFF); }
    SUBCASE("a stored size past the end") { PutU32(archive, fields + 8, 0x7FFFFFFF); }

    scratch.Put("d.dat", archive);
    CFileBuffer file;
    CHECK(file.Read("d\\t.txt") == 4);
    CheckEmpty(file);
    CHECK(file.GetFileName() == "d\\t.txt");
}

TEST_CASE("memory names serve caller memory in place")
{
    unsigned char block[] = {'M', 'P', 'K', '1', 'x', '\r', '\n', 'y'};
    CFileBuffer file;
    REQUIRE(file.Read(CFileBuffer::MakeMemoryName(block, sizeof block)) == 0);
    CHECK(file.GetMemory() == block);
    CHECK(file.GetSize() == sizeof block);
    CHECK_FALSE(file.IsScrambled());  // nothing is unscrambled
    CHECK(block[4] == 'x');
    std::string line;
    CHECK(file.ReadLine(line) == 0);
    CHECK(line == "MPK1x");
    CHECK(file.Close() == 0);  // the memory is not freed (the sanitizer would see it)
    CheckEmpty(file);

    CHECK(file.Read("!") == 6);
    CHECK(file.Read("!12ab") == 6);
    CHECK(file.Read("!12ab,") == 6);
    CHECK(file.Read("!12ab ,4") == 6);
    CHECK(file.Read("!12ab,zz") == 6);
    CHECK(file.Read("!1,100000000") == 6);             // a size beyond 32 bits
    CHECK(file.Read("!10000000000000000,1") == 6);     // an address beyond any pointer
    REQUIRE(file.Read("!0,0") == 0);
    CHECK(file.GetMemory() == nullptr);
    CHECK(file.ReadLine(line) == 3);
}

TEST_CASE("lines end at CR LF or at the end of the content")
{
    unsigned char text[] = "one\r\ntwo\nthree\r\n\r\nlast";
    CFileBuffer file;
    std::string line;
    CHECK(file.ReadLine(line) == 3);
    char buffer[8];
    CHECK(file.ReadLine(buffer, sizeof buffer) == 3);
    REQUIRE(file.Read(CFileBuffer::MakeMemoryName(text, sizeof text - 1)) == 0);

    CHECK(file.ReadLine(line) == 0);
    CHECK(line == "one");
    CHECK(file.ReadLine(line) == 0);
    CHECK(line == "two\nthree");
    CHECK(file.ReadLine(line) == 0);
    CHECK(line.empty());
    CHECK(file.ReadLine(line) == 0);
    CHECK(line == "last");
    CHECK(file.ReadLine(line) == 1);

    file.ResetReadPointer();
    CHECK(file.ReadLine(buffer, 4) == 0);
    CHECK(std::string(buffer) == "one");
    CHECK(file.ReadLine(buffer, 4) == 2);  // cut after three bytes, the rest follows
    CHECK(std::string(buffer) == "two");
    CHECK(file.ReadLine(buffer, 4) == 2);
    CHECK(std::string(buffer) == "\nth");
    CHECK(file.ReadLine(buffer, 4) == 0);
    CHECK(std::string(buffer) == "ree");
    CHECK(file.ReadLine(buffer, 0) == -1);
}

TEST_CASE("list files yield their quoted values up to the end line")
{
    unsigned char text[] =
        "\"first\"\r\n"
        "\"a\r\n"
        "b\"\r\n"
        "\"\"\r\n"
        "\"END\"\r\n"
        "\"after\"";
    CFileBuffer file;
    REQUIRE(file.Read(CFileBuffer::MakeMemoryName(text, sizeof text - 1)) == 0);
    char value[256];
    CHECK(file.ReadQuotedString(value, sizeof value) == 0);
    CHECK(std::string(value) == "first");
    CHECK(file.ReadQuotedString(value, sizeof value) == 0);
    CHECK(std::string(value) == "a\nb");
    CHECK(file.ReadQuotedString(value, sizeof value) == 0);
    CHECK(std::string(value).empty());
    CHECK(file.ReadQuotedString(value, sizeof value) == 1);
}

TEST_CASE("a quoted value never overruns the caller's buffer")
{
    CFileBuffer file;
    std::vector<char> small(7, '#');  // six bytes offered, one to catch an overrun

    SUBCASE("a value longer than the buffer")
    {
        unsigned char text[] = "\"12345\"";
        REQUIRE(file.Read(CFileBuffer::MakeMemoryName(text, sizeof text - 1)) == 0);
        CHECK(file.ReadQuotedString(small.data(), 6) == 1);
    }
    SUBCASE("a value growing too long over several lines")
    {
        unsigned char text[] = "\"12\r\n34\r\n56\"";
        REQUIRE(file.Read(CFileBuffer::MakeMemoryName(text, sizeof text - 1)) == 0);
        CHECK(file.ReadQuotedString(small.data(), 6) == 1);
    }
    SUBCASE("a value that just fits")
    {
        unsigned char text[] = "\"12\r\n3\"";
        REQUIRE(file.Read(CFileBuffer::MakeMemoryName(text, sizeof text - 1)) == 0);
        CHECK(file.ReadQuotedString(small.data(), 6) == 0);
        CHECK(std::string(small.data()) == "12\n3");
    }
    SUBCASE("a value without its closing quote")
    {
        unsigned char text[] = "\"open\r\nstill open";
        REQUIRE(file.Read(CFileBuffer::MakeMemoryName(text, sizeof text - 1)) == 0);
        CHECK(file.ReadQuotedString(small.data(), 6) == 1);
    }
    SUBCASE("lines are limited to 255 bytes")
    {
        std::string fits = "\"" + std::string(253, 'x') + "\"";
        std::string longer = "\"" + std::string(254, 'x') + "\"";
        std::string text = fits + "\r\n" + longer;
        std::vector<char> big(1000);
        REQUIRE(file.Read(CFileBuffer::MakeMemoryName(text.data(), uint32_t(text.size()))) == 0);
        CHECK(file.ReadQuotedString(big.data(), uint32_t(big.size())) == 0);
        CHECK(std::string(big.data()) == std::string(253, 'x'));
        CHECK(file.ReadQuotedString(big.data(), uint32_t(big.size())) == 1);
    }
    CHECK(small.back() == '#');
}

TEST_CASE("ReadData copies only what the content holds")
{
    CScratch scratch;
    scratch.Put("s.bin", ScrambleContent(Bytes("abcdef")));
    CFileBuffer file;
    char out[4];
    CHECK(file.ReadData(out, 4) == 2);
    REQUIRE(file.Read("s.bin") == 0);
    CHECK(file.ReadData(out, 4) == 0);
    CHECK(std::string(out, 4) == "abcd");
    CHECK(file.ReadData(out, 4) == 3);
    CHECK(std::string(out, 4) == std::string("ef\0\0", 4));
    CHECK(file.ReadData(out, 1) == 1);
    file.ResetReadPointer();
    CHECK(file.ReadData(out, 0) == 0);
    CHECK(file.ReadData(out, 1) == 0);
    CHECK(out[0] == 'a');

    // Exactly what remains is a whole read, and it reaches the end.
    CHECK(file.ReadData(out, 1) == 0);
    char rest[4] = {'#', '#', '#', '#'};
    CHECK(file.ReadData(rest, 4) == 0);
    CHECK(std::string(rest, 4) == "cdef");
    CHECK(file.ReadData(rest, 1) == 1);
    CHECK(std::string(rest, 4) == "cdef");
    file.ResetReadPointer();
    char all[6] = {};
    CHECK(file.ReadData(all, 6) == 0);
    CHECK(std::string(all, 6) == "abcdef");
    CHECK(file.ReadData(all, 0) == 1);
}

TEST_CASE("device names and anything but a disk file are not found, at once")
{
    CScratch scratch;
    scratch.Put("a.txt", "a");
    for (const char* path : {"AUX\\a.txt", "COM1\\a.bmp", "CON", "con.txt", "Nul", "prn.dat",
                             "aux .log", "LPT9", "lpt1.tar.gz", "dir\\COM9\\x.qga",
                             "data\\Aux.bmp", "com5:"}) {
        CAPTURE(path);
        CFileBuffer file;
        CHECK(file.Read(path) == 1);
        CheckEmpty(file);
    }
    // Names that only look like devices are ordinary files.
    for (const char* path : {"console.txt", "com10.txt", "auxiliary\\a.txt", "xnul\\lpt.txt"}) {
        CAPTURE(path);
        scratch.Put(path, "x");
        CFileBuffer file;
        CHECK(file.Read(path) == 0);
    }
    // Devices reached by their place in the file system, on either build.
    for (const char* path : {"Z:\\dev\\null", "Z:\\dev\\zero", "Z:\\dev\\null\\a.txt"}) {
        CAPTURE(path);
        CFileBuffer file;
        CHECK(file.Read(path) == 1);
        CheckEmpty(file);
        CHECK_FALSE(HostFileExists(path));
    }
#if !defined(_WIN32)
    // The native build refuses the same names, though its host could hold such files.
    scratch.Put("con.txt", "x");
    scratch.PutArchive("aux.dat", {{"a.txt", Bytes("x")}}, PackOptions{});
    for (const char* path : {"con.txt", "AUX\\a.txt", "aux.dat"}) {
        CAPTURE(path);
        CFileBuffer file;
        CHECK(file.Read(path) == 1);
    }
    // A pipe would wait for a writer if it were opened as a file.
    REQUIRE(mkfifo(scratch.HostPath("pipe.dat").c_str(), 0600) == 0);
    CFileBuffer pipe;
    CHECK(pipe.Read("pipe.dat") == 1);
    CHECK(pipe.Read("pipe\\a.txt") == 1);  // the pipe as an archive candidate
#endif
}

TEST_CASE("whole files, streams and lines are written")
{
    CScratch scratch;
    CFileBuffer file;
    const std::vector<unsigned char> bytes = RandomBytes(300, 4);
    CHECK(file.WriteBytes("w.bin", bytes) == 0);
    CHECK(file.Write("w.bin", "ab", 2) == 0);  // an existing file is truncated
    std::vector<unsigned char> back;
    REQUIRE(file.ReadToBytes("w.bin", back) == 0);
    CHECK(back == Bytes("ab"));
    CHECK(file.ReadToBytes("none.bin", back) == 1);
    CHECK(back == Bytes("ab"));
    CHECK(file.Write("missing\\w.bin", "ab", 2) == 1);

    CHECK(file.Delete("w.bin") == 0);
    CHECK(file.Delete("w.bin") == 1);
    CHECK(file.Delete("") == -1);

    CHECK(file.WriteString("x") == -1);
    CHECK(file.GetStream() == nullptr);
    CHECK(file.Open("missing\\s.txt", "w") == 1);
    REQUIRE(file.Open("s.txt", "w") == 0);
    CHECK(file.GetStream() != nullptr);
    CHECK(file.WriteString("100% ") == 0);  // written as it is, not as a format
    CHECK(file.WriteString("text") == 0);
    CHECK(file.Close() == 0);
    CHECK(file.GetStream() == nullptr);
    REQUIRE(file.Read("s.txt") == 0);
    CHECK(Content(file) == "100% text");

    // WriteLines takes the path as given: relative to the current directory, not the base.
    CHECK(file.WriteLines(scratch.Name() + "\\lines.txt", {"first ", "", "second"}) == 0);
    REQUIRE(file.Read("lines.txt") == 0);
    CHECK(Content(file) == "first second");
    CHECK(file.WriteLines(scratch.Name() + "\\missing\\lines.txt", {"x"}) == 1);
}

// Fails the atomic write's second piece after writing half of it, as a full disk would.
class FailingWrite : public CFileBuffer {
protected:
    bool WritePart(CHostSaveFile& file, const void* data, uint32_t count) override
    {
        if (++parts < 2) return CFileBuffer::WritePart(file, data, count);
        CFileBuffer::WritePart(file, data, count / 2);
        return false;
    }

public:
    int parts = 0;
};

TEST_CASE("an atomic write leaves the old content or the new, never a mix")
{
    CScratch scratch;
    CFileBuffer file;
    const std::vector<unsigned char> old = RandomBytes(150000, 5), next = RandomBytes(200000, 6);
    REQUIRE(file.WriteBytesAtomic("save.dat", old) == 0);
    std::vector<unsigned char> back;
    REQUIRE(file.ReadToBytes("save.dat", back) == 0);
    CHECK(back == old);

    // Half-way through, the write fails: the old file is whole and the temporary file is gone.
    FailingWrite failing;
    CHECK(failing.WriteBytesAtomic("save.dat", next) == 2);
    CHECK(failing.parts == 2);
    REQUIRE(file.ReadToBytes("save.dat", back) == 0);
    CHECK(back == old);
    CHECK_FALSE(scratch.Exists("save.dat.tmp"));

    // A temporary file that a crash left behind is replaced, not appended to.
    scratch.Put("save.dat.tmp", std::string("left by a crash"));
    REQUIRE(file.WriteBytesAtomic("save.dat", next) == 0);
    REQUIRE(file.ReadToBytes("save.dat", back) == 0);
    CHECK(back == next);
    CHECK_FALSE(scratch.Exists("save.dat.tmp"));
    CHECK(file.WriteAtomic("empty.dat", nullptr, 0) == 0);
    REQUIRE(file.ReadToBytes("empty.dat", back) == 0);
    CHECK(back.empty());

    // No folder for the temporary file; a folder in the file's place cannot be replaced.
    CHECK(file.WriteAtomic("missing\\save.dat", "ab", 2) == 1);
    scratch.Put("folder\\inside.txt", std::string("x"));
    CHECK(file.WriteAtomic("folder", "ab", 2) == 4);
    CHECK(scratch.Exists("folder\\inside.txt"));
    CHECK_FALSE(scratch.Exists("folder.tmp"));
}

TEST_CASE("MakeRealFile puts archive content in a temporary file that the next Close deletes")
{
    CScratch scratch;
    const std::vector<unsigned char> text = RealText();
    scratch.PutArchive("arc.dat", {{"t.txt", text}}, Options(ArchiveLayout::Ex, true, true));
    scratch.Put("loose.txt", "loose");
    CFileBuffer file;
    CFileBuffer check;
    CHECK(file.MakeRealFile() == 1);

    REQUIRE(file.Read("arc\\t.txt") == 0);
    REQUIRE(file.MakeRealFile() == 0);
    CheckEmpty(file);
    const std::string temporary = file.GetFileName();
    CHECK(file.GetPureFileName().compare(0, 3, "MVO") == 0);
    CHECK(temporary.find(':') != std::string::npos);  // an absolute name in the temporary directory
    REQUIRE(check.Read(temporary) == 0);
    CHECK(ContentBytes(check) == text);  // unscrambled, as the loader would see it
    CHECK(file.Close() == 0);
    CHECK_FALSE(HostFileExists(temporary));

    SUBCASE("the next Read deletes it too")
    {
        REQUIRE(file.Read("arc\\t.txt") == 0);
        REQUIRE(file.MakeRealFile() == 0);
        const std::string second = file.GetFileName();
        CHECK(HostFileExists(second));
        REQUIRE(file.Read("loose.txt") == 0);
        CHECK_FALSE(HostFileExists(second));
    }
    SUBCASE("so does the destructor, for memory content as well")
    {
        unsigned char block[] = "memory";
        std::string third;
        {
            CFileBuffer scoped;
            REQUIRE(scoped.Read(CFileBuffer::MakeMemoryName(block, 6)) == 0);
            REQUIRE(scoped.MakeRealFile() == 0);
            third = scoped.GetFileName();
            CHECK(HostFileExists(third));
        }
        CHECK_FALSE(HostFileExists(third));
    }
    SUBCASE("a loose file is already real")
    {
        REQUIRE(file.Read("loose.txt") == 0);
        REQUIRE(file.MakeRealFile() == 0);
        CheckEmpty(file);
        CHECK(file.GetFileName() == "loose.txt");
        CHECK(file.Close() == 0);
        CHECK(scratch.Exists("loose.txt"));
    }
}

TEST_CASE("temporary names are new files with the prefix MVO")
{
    std::string first;
    std::string second;
    REQUIRE(MakeTempFileName(first) == 0);
    REQUIRE(MakeTempFileName(second) == 0);
    CHECK(first != second);
    CHECK(GetFileNamePart(first).compare(0, 3, "MVO") == 0);
    CHECK(HostFileExists(first));
    CHECK(DeleteHostFile(first));
    CHECK(DeleteHostFile(second));
}

TEST_CASE("a lone CR is part of the line, also where it ends the content")
{
    // Exactly sized, with nothing after it: a look past the last byte for a line feed would
    // read outside the content.
    const std::string text = "one\rtwo\r\nthree\r";
    std::vector<unsigned char> bytes(text.begin(), text.end());
    CFileBuffer file;
    REQUIRE(file.Read(CFileBuffer::MakeMemoryName(bytes.data(), uint32_t(bytes.size()))) == 0);
    std::string line;
    CHECK(file.ReadLine(line) == 0);
    CHECK(line == "one\rtwo");
    CHECK(file.ReadLine(line) == 0);
    CHECK(line == "three\r");
    CHECK(file.ReadLine(line) == 1);

    file.ResetReadPointer();
    char buffer[8];
    CHECK(file.ReadLine(buffer, sizeof buffer) == 0);
    CHECK(std::string(buffer) == "one\rtwo");
    CHECK(file.ReadLine(buffer, 6) == 2);  // "three" fits, its CR does not
    CHECK(std::string(buffer) == "three");
    CHECK(file.ReadLine(buffer, 6) == 0);
    CHECK(std::string(buffer) == "\r");
    CHECK(file.ReadLine(buffer, 6) == 1);

    // A CR alone after the last CR LF is a line of its own.
    const std::string tail = "a\r\n\r";
    std::vector<unsigned char> tailBytes(tail.begin(), tail.end());
    REQUIRE(file.Read(CFileBuffer::MakeMemoryName(tailBytes.data(), uint32_t(tailBytes.size()))) == 0);
    CHECK(file.ReadLine(line) == 0);
    CHECK(line == "a");
    CHECK(file.ReadLine(line) == 0);
    CHECK(line == "\r");
    CHECK(file.ReadLine(line) == 1);
}
