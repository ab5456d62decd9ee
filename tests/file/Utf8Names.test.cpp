// Files of a UTF-8 program on Windows, whatever the machine's ANSI code page: loose files with
// any Unicode name, archive members found by their Shift-JIS names. Fixtures are made and checked
// through wide names, independently of the file module.
#include <pyro/file/FileBuffer.h>
#include <pyro/file/FileFinder.h>
#include <pyro/file/Utf16.h>

#include <doctest/doctest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "Scratch.h"
#include "file/EncodingScope.h"

namespace fs = std::filesystem;

namespace {

fs::path WideName(const CScratch& scratch, const std::wstring& relative)
{
    const std::string& name = scratch.Name();  // ASCII
    return fs::path(std::wstring(name.begin(), name.end())) / relative;
}

void PutBytes(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    REQUIRE(out.good());
}

std::string Content(const CFileBuffer& file)
{
    return std::string(reinterpret_cast<const char*>(file.GetMemory()), file.GetSize());
}

}  // namespace

TEST_CASE("a UTF-8 program converts to and from UTF-16 without Shift-JIS in the way")
{
    std::wstring wide;
    std::string text;
    {
        EncodingScope utf8(StringEncoding::kUtf8);
        CHECK(ToWide("caf\xC3\xA9", wide));
        CHECK(wide == L"caf\u00E9");
        CHECK(FromWide(L"\uD55C\U0001F600", 3, text));
        CHECK(text == "\xED\x95\x9C\xF0\x9F\x98\x80");
        CHECK_FALSE(ToWide("\x83\x5C", wide));  // Shift-JIS bytes are no UTF-8
        CHECK(wide.empty());
        CHECK(ProgramToSjis("\xE4\xB8\xB8", text));  // 丸
        CHECK(text == "\x8A\xDB");
        CHECK_FALSE(ProgramToSjis("caf\xC3\xA9", text));  // é would best-fit to e
        CHECK(text.empty());
        CHECK(SjisToProgram("\x8A\xDB", text));
        CHECK(text == "\xE4\xB8\xB8");
    }
    // The same calls in a Shift-JIS program.
    CHECK(ToWide("\x83\x5C", wide));
    CHECK(wide == L"\u30BD");
    CHECK_FALSE(FromWide(L"caf\u00E9", 4, text));
}

TEST_CASE("a UTF-8 program opens, writes, streams, finds and deletes files with any Unicode name")
{
    EncodingScope utf8(StringEncoding::kUtf8);
    CScratch scratch;
    const std::wstring wideName = L"caf\u00E9_\u65E5\u672C\u8A9E_\uD55C\uAD6D.txt";  // café_日本語_한국.txt
    const std::string name = "caf\xC3\xA9_\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E_\xED\x95\x9C\xEA\xB5\xAD.txt";
    PutBytes(WideName(scratch, L"\u0395\\" + wideName), "loose");  // in a folder Ε

    CFileBuffer file;
    REQUIRE(file.Read("\xCE\x95\\" + name) == 0);
    CHECK(Content(file) == "loose");
    CHECK_FALSE(file.IsFromArchive());
    CHECK(file.GetPureFileName() == name);

    REQUIRE(file.Write(name, "BM", 2) == 0);
    CHECK(fs::file_size(WideName(scratch, wideName)) == 2);
    CFileFinder finder;
    CHECK(finder.IsExist(scratch.Base() + name));
    REQUIRE(file.Open(name, "w") == 0);
    CHECK(file.WriteString("\xED\x95\x9C") == 0);
    CHECK(file.Close() == 0);
    CHECK(fs::file_size(WideName(scratch, wideName)) == 3);
    CHECK(file.Delete(name) == 0);
    CHECK_FALSE(fs::exists(WideName(scratch, wideName)));
    CHECK(file.Read("caf\xC3") == 1);  // a name cut inside a character fails like a missing file
}

TEST_CASE("a UTF-8 program finds archive members by their Shift-JIS names, or not at all")
{
    EncodingScope utf8(StringEncoding::kUtf8);
    CScratch scratch;
    std::vector<unsigned char> archive;
    std::string error;
    // Stored names are Shift-JIS: "絵\ソ表.txt" and a name ending in "e".
    REQUIRE(BuildArchive({{"\x8A\x47\\\x83\x5C\x95\x5C.txt", Bytes("member")}, {"cafe.txt", Bytes("best fit")}},
                         PackOptions(), archive, error));
    PutBytes(WideName(scratch, L"\u30C7\u30FC\u30BF.dat"), std::string(archive.begin(), archive.end()));  // データ.dat

    const std::string folder = "\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF\\";  // データ\ in UTF-8
    CFileBuffer file;
    REQUIRE(file.Read(folder + "\xE7\xB5\xB5\\\xE3\x82\xBD\xE8\xA1\xA8.txt") == 0);  // 絵\ソ表.txt
    CHECK(Content(file) == "member");
    CHECK(file.IsFromArchive());
    // "café" has no Shift-JIS form: not found, and never best-fitted to "cafe".
    CHECK(file.Read(folder + "caf\xC3\xA9.txt") == 1);
    CHECK(file.Read(folder + "cafe.txt") == 0);
    CHECK(file.Read(folder + "\xED\x95\x9C.txt") == 1);
}
