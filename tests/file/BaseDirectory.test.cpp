// The program's folder as the base directory, and the per-user save folder: made on demand,
// absolute, usable with the file object, and refused for names no folder can have.
#include <pyro/file/BaseDirectory.h>

#include <pyro/file/FileBuffer.h>
#include "Scratch.h"

#include <doctest/doctest.h>

#include <cstdlib>
#include <filesystem>

namespace {

// A path the framework gives, in the host's form for std::filesystem.
std::filesystem::path HostForm(std::string path)
{
#if !defined(_WIN32)
    if (path.rfind("Z:", 0) == 0) path.erase(0, 2);
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    return PathFromName(path);
}

}  // namespace

TEST_CASE("the program's folder holds the program and can become the base directory")
{
    const std::string directory = GetProgramDirectory();
    REQUIRE_FALSE(directory.empty());
    CHECK(directory.back() == '\\');
#if defined(_WIN32)
    CHECK(std::filesystem::exists(HostForm(directory + "test_file.exe")));
#else
    CHECK(std::filesystem::exists(HostForm(directory + "test_file")));
#endif
    const std::string previous = GetBaseDirectory();
    CHECK(UseProgramDirectoryAsBase());
    CHECK(GetBaseDirectory() == directory);
    SetBaseDirectory(previous);
}

TEST_CASE("the save folder is made on demand under the user's application data and takes files")
{
    CScratch scratch;
#if !defined(_WIN32)
    // The native build's application data follows XDG_DATA_HOME: a folder of the test's own.
    const std::string data = std::filesystem::absolute(scratch.HostPath("data")).string();
    setenv("XDG_DATA_HOME", data.c_str(), 1);
#endif
    const std::string directory = GetSaveDirectory("PyroSaveTest\\ぱずる");
    REQUIRE_FALSE(directory.empty());
    CHECK(directory.back() == '\\');
    CHECK(directory.find("PyroSaveTest\\ぱずる\\") != std::string::npos);
    CHECK(std::filesystem::is_directory(HostForm(directory)));
#if defined(_WIN32)
    CHECK(directory.find("\\AppData\\Roaming\\") != std::string::npos);
#else
    CHECK(directory.find("\\data\\PyroSaveTest\\") != std::string::npos);
#endif
    // A second call finds the folder there; files go in by the path it gives.
    CHECK(GetSaveDirectory("PyroSaveTest\\ぱずる") == directory);
    CFileBuffer file;
    CHECK(file.WriteAtomic(directory + "save1.dat", "score", 5) == 0);
    std::vector<unsigned char> back;
    REQUIRE(file.ReadToBytes(directory + "save1.dat", back) == 0);
    CHECK(std::string(back.begin(), back.end()) == "score");

    for (const char* bad : {"", "a\\", "\\a", "a\\\\b", ".", "..", "a\\..", "a:b", "a/b", "a*", "a?", "a\"b", "a<b", "a|b", "a\tb"}) {
        CAPTURE(bad);
        CHECK(GetSaveDirectory(bad).empty());
    }
    // A second byte of a double-byte character may equal a backslash or another reserved byte.
    CHECK_FALSE(GetSaveDirectory("PyroSaveTest\\表示").empty());

    std::error_code ignored;
    std::filesystem::remove_all(HostForm(directory).parent_path().parent_path(), ignored);
#if !defined(_WIN32)
    unsetenv("XDG_DATA_HOME");
#endif
}
