// Files with Japanese names on Windows, whatever the machine's ANSI code page. The fixtures are
// made and checked through wide names (UTF-16 literals), independently of the file module; the
// file module is given the same names as Shift-JIS literals.
#include <pyro/file/BaseDirectory.h>
#include <pyro/file/FileBuffer.h>
#include <pyro/file/FileFinder.h>

#include <doctest/doctest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <windows.h>

#include "Scratch.h"
#include "file/HostFile.h"

namespace fs = std::filesystem;

namespace {

// A name below the scratch directory, spelled in UTF-16.
fs::path WidePath(const CScratch& scratch, const wchar_t* relative)
{
    const std::string& name = scratch.Name();  // ASCII
    return fs::path(std::wstring(name.begin(), name.end())) / relative;
}

void PutWide(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    REQUIRE(out.good());
}

std::string GetWide(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Content(const CFileBuffer& file)
{
    return std::string(reinterpret_cast<const char*>(file.GetMemory()), file.GetSize());
}

// The base directory set at start-up in a directory (the test's own is current again after).
std::string BaseDirectoryStartedIn(const fs::path& directory)
{
    const fs::path previous = fs::current_path();
    REQUIRE(SetCurrentDirectoryW(directory.c_str()));
    InitBaseDirectory();
    SetCurrentDirectoryW(previous.c_str());
    return GetBaseDirectory();
}

// Sets TMP, where the system's temporary directory is looked up first, while it lives.
class TempVariable {
public:
    explicit TempVariable(const fs::path& directory)
    {
        wchar_t previous[MAX_PATH] = {};
        hadPrevious_ = GetEnvironmentVariableW(L"TMP", previous, MAX_PATH) != 0;
        previous_ = previous;
        SetEnvironmentVariableW(L"TMP", fs::absolute(directory).c_str());
    }
    ~TempVariable() { SetEnvironmentVariableW(L"TMP", hadPrevious_ ? previous_.c_str() : nullptr); }

private:
    bool hadPrevious_;
    std::wstring previous_;
};

bool IsAscii(const std::string& text)
{
    for (unsigned char c : text) {
        if (c >= 0x80) return false;
    }
    return true;
}

}  // namespace

TEST_CASE("a loose file and an archive member with Japanese names load")
{
    CScratch scratch;
    PutWide(WidePath(scratch, L"画像\\タイトル.txt"), "loose");
    std::vector<unsigned char> archive;
    std::string error;
    REQUIRE(BuildArchive({{"絵\\ソ表.txt", Bytes("member")}}, PackOptions(), archive, error));
    PutWide(WidePath(scratch, L"データ.dat"), std::string(archive.begin(), archive.end()));

    CFileBuffer file;
    REQUIRE(file.Read("画像\\タイトル.txt") == 0);
    CHECK(Content(file) == "loose");
    CHECK_FALSE(file.IsFromArchive());

    // The archive stands for the directory データ; its member names are Shift-JIS bytes as stored.
    REQUIRE(file.Read("データ\\絵\\ソ表.txt") == 0);
    CHECK(Content(file) == "member");
    CHECK(file.IsFromArchive());
    CHECK(file.GetPureFileName() == "ソ表.txt");
    CHECK(file.Read("データ\\絵\\ソ.txt") == 1);
}

TEST_CASE("files are written, streamed, found and deleted under their Japanese names")
{
    CScratch scratch;
    fs::create_directories(WidePath(scratch, L"保存"));
    CFileBuffer file;
    CFileFinder finder;

    REQUIRE(file.Write("保存\\画面.bmp", "BM", 2) == 0);
    CHECK(GetWide(WidePath(scratch, L"保存\\画面.bmp")) == "BM");
    CHECK(finder.IsExist(scratch.Base() + "保存\\画面.bmp"));
    CHECK_FALSE(finder.IsExist(scratch.Base() + "保存\\画像.bmp"));

    REQUIRE(file.Open("保存\\記録.txt", "w") == 0);
    CHECK(file.WriteString("ナンバー") == 0);
    CHECK(file.Close() == 0);
    CHECK(GetWide(WidePath(scratch, L"保存\\記録.txt")) == "ナンバー");  // the stream writes bytes

    CHECK(file.Delete("保存\\画面.bmp") == 0);
    CHECK_FALSE(fs::exists(WidePath(scratch, L"保存\\画面.bmp")));
    CHECK(file.Delete("保存\\画面.bmp") == 1);
}

TEST_CASE("a name that is not Shift-JIS fails like a file that cannot be opened")
{
    CScratch scratch;
    const std::string bad = "bad\x82";  // a lead byte without its second byte
    CFileBuffer file;
    CHECK(file.Read(bad) == 1);
    CHECK(file.Write(bad, "x", 1) == 1);
    CHECK(file.Open(bad, "w") == 1);
    CHECK(file.Delete(bad) == 1);
    CFileFinder finder;
    CHECK_FALSE(finder.IsExist(scratch.Base() + bad));
    CHECK(fs::is_empty(WidePath(scratch, L"")));  // nothing was made under a mangled name
}

TEST_CASE("the base directory is the current directory in Shift-JIS, or else in its short form")
{
    CScratch scratch;
    const fs::path japanese = WidePath(scratch, L"基準");
    // "é" has no Shift-JIS form and "¥" would come back as a backslash if it were best-fitted.
    const fs::path western = WidePath(scratch, L"café¥dir");
    PutWide(japanese / L"中.txt", "japanese");
    PutWide(western / L"中.txt", "western");
    CFileBuffer file;

    CHECK(BaseDirectoryStartedIn(japanese) == scratch.Base() + "基準\\");
    REQUIRE(file.Read("中.txt") == 0);
    CHECK(Content(file) == "japanese");

    const std::string base = BaseDirectoryStartedIn(western);
    CHECK(IsAscii(base));  // every component short, as the system gives it
    CHECK(base.back() == '\\');
    REQUIRE(file.Read("中.txt") == 0);
    CHECK(Content(file) == "western");
}

TEST_CASE("temporary files are made in a temporary directory with a Japanese name")
{
    CScratch scratch;
    const fs::path japanese = WidePath(scratch, L"一時");
    fs::create_directories(japanese);
    std::string name;
    {
        TempVariable tmp(japanese);
        REQUIRE(MakeTempFileName(name) == 0);
    }
    const std::string expected = scratch.Base() + "一時\\MVO";
    CHECK(name.compare(0, expected.size(), expected) == 0);
    CHECK(fs::exists(japanese / fs::path(name.substr(scratch.Base().size() + 5))));  // after 一時 and a backslash
}
