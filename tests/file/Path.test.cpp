#include <pyro/file/Path.h>

#include <doctest/doctest.h>

#include <pyro/file/BaseDirectory.h>
#include <pyro/file/ShiftJis.h>

namespace {

// Restores the base directory a test changed.
struct BaseGuard {
    std::string saved = GetBaseDirectory();
    explicit BaseGuard(const std::string& base) { SetBaseDirectory(base); }
    ~BaseGuard() { SetBaseDirectory(saved); }
};

std::string Parent(std::string path, int expected = 0)
{
    CHECK(GetParentDirectory(path) == expected);
    return path;
}

}  // namespace

TEST_CASE("relative paths resolve against the base directory, absolute ones stay")
{
    BaseGuard base("C:\\game\\bin\\");
    CHECK(NormalizePath("a.bmp") == "C:\\game\\bin\\a.bmp");
    CHECK(NormalizePath("..\\data\\a.bmp") == "C:\\game\\data\\a.bmp");
    CHECK(NormalizePath("../../x/y.txt") == "C:\\x\\y.txt");
    CHECK(NormalizePath("../../../../x") == "C:\\x");  // the root has no parent to climb to
    CHECK(NormalizePath(".\\./img/a.bmp") == "C:\\game\\bin\\img\\a.bmp");
    CHECK(NormalizePath("\\a.bmp") == "C:\\game\\bin\\a.bmp");
    CHECK(NormalizePath("/\\a") == "C:\\game\\bin\\a");
    // Only leading components are resolved.
    CHECK(NormalizePath("a\\..\\b") == "C:\\game\\bin\\a\\..\\b");
    CHECK(NormalizePath("..") == "C:\\game\\bin\\..");
    // A colon anywhere or a UNC name: never joined to the base directory.
    CHECK(NormalizePath("D:/x/y.bmp") == "D:\\x\\y.bmp");
    CHECK(NormalizePath("..\\a:b") == "..\\a:b");
    CHECK(NormalizePath("\\\\server\\share/x.bmp") == "\\\\server\\share\\x.bmp");
    CHECK(NormalizePath("") == "C:\\game\\bin\\");
}

TEST_CASE("normalising leaves the second byte of a double-byte character alone")
{
    BaseGuard base("C:\\game\\");
    // "ソ" is 83 5C and "表" is 95 5C: their second byte is a backslash.
    CHECK(NormalizePath("\x83\x5C/a") == "C:\\game\\\x83\x5C\\a");
    CHECK(NormalizePath("..\\\x95\x5C") == "C:\\\x95\x5C");
}

TEST_CASE("the parent directory of drive, UNC and relative paths")
{
    CHECK(Parent("C:\\game\\data\\a.bmp") == "C:\\game\\data\\");
    CHECK(Parent("C:\\game\\data\\") == "C:\\game\\");
    CHECK(Parent("C:/game/") == "C:/");
    CHECK(Parent("C:\\", 1) == "C:\\");
    CHECK(Parent("", 1).empty());
    CHECK(Parent("name") == "name\\");  // a bare name is a directory
    CHECK(Parent("\\\\server\\share\\dir\\a.txt") == "\\\\server\\share\\dir\\");
    CHECK(Parent("\\\\server\\share\\dir\\") == "\\\\server\\share\\");
    CHECK(Parent("\\\\server\\share\\", 1) == "\\\\server\\share\\");
    CHECK(Parent("\\\\server\\", 1) == "\\\\server\\");
    CHECK(Parent("\\\\", 1) == "\\\\");
    // A file name ending in the byte 5C of a double-byte character is not a directory.
    CHECK(Parent("C:\\dir\\\x83\x5C") == "C:\\dir\\");
    CHECK(Parent("C:\\\x83\x5C\\sub\\") == "C:\\\x83\x5C\\");
}

TEST_CASE("file-name parts")
{
    CHECK(GetFileNamePart("C:\\a\\b.txt") == "b.txt");
    CHECK(GetFileNamePart("img/title.BMP") == "title.BMP");
    CHECK(GetFileNamePart("C:\\a\\") == "");
    CHECK(GetFileNamePart("\x83\x5C.bmp") == "\x83\x5C.bmp");
    CHECK(GetSuffixPart("title.BMP") == "BMP");
    CHECK(GetSuffixPart("C:\\a.b\\c") == "");
    CHECK(GetSuffixPart("a.qga.bmp") == "bmp");
    CHECK(GetSuffixPart("a.") == "");
    CHECK(EndsWithSeparator("C:\\"));
    CHECK(EndsWithSeparator("a/"));
    CHECK_FALSE(EndsWithSeparator("C:\\\x83\x5C"));
    CHECK_FALSE(EndsWithSeparator(""));
}

TEST_CASE("the base directory always ends in a separator")
{
    BaseGuard guard("C:\\x\\");
    SetBaseDirectory("D:\\game");
    CHECK(GetBaseDirectory() == "D:\\game\\");
    SetBaseDirectory("D:/game/");
    CHECK(GetBaseDirectory() == "D:/game/");
    SetBaseDirectory("");
    CHECK(GetBaseDirectory() == "D:/game/");
    // A quoted program path, as in a command line, yields its folder.
    SetBaseDirectory("\"C:\\Program Files\\Pyro\\pyro.exe\" -window");
    CHECK(GetBaseDirectory() == "C:\\Program Files\\Pyro\\");
    SetBaseDirectory("\"C:\\game");
    CHECK(GetBaseDirectory() == "C:\\game\\");
    SetBaseDirectory("C:\\\x83\x5C");
    CHECK(GetBaseDirectory() == "C:\\\x83\x5C\\");
}

TEST_CASE("the base directory starts as the current directory")
{
    BaseGuard guard("C:\\x\\");
    InitBaseDirectory();
    const std::string base = GetBaseDirectory();
    REQUIRE(base.size() > 3);
    CHECK(base[1] == ':');  // the native build names host paths as Wine does, Z:\...
    CHECK(base.back() == '\\');
    CHECK(NormalizePath("a.txt") == base + "a.txt");
}

TEST_CASE("lower-casing folds A to Z only, never a second byte")
{
    std::string text = "Title.BMP\x82\x60Z\x83\x5A\xB1Q"; // full-width A (82 60), ゼ (83 5A), half-width ｱ
    ToLowerSjis(text);
    CHECK(text == "title.bmp\x82\x60z\x83\x5A\xB1q");
    std::string endsInLead = "A\x83";
    ToLowerSjis(endsInLead);
    CHECK(endsInLead == "a\x83");
}

TEST_CASE("device names are found in any component, with or without an extension")
{
    for (const char* path : {"CON", "con", "PRN", "aux", "NUL", "COM1", "com9", "LPT1", "Lpt9",
                             "AUX\\a.txt", "C:\\game\\COM1\\a.bmp", "nul.txt", "con.tar.gz",
                             "aux .txt", "prn  ", "com3:", "a/b/LPT5.x", "\\\\.\\COM2",
                             "C:\\\x83\x5C\\nul"}) {
        CAPTURE(path);
        CHECK(NamesDevice(path));
    }
    for (const char* path : {"", "C:\\", "console", "COM", "COM0", "COM10", "LPT0", "lpt10.txt",
                             "auxiliary\\a", "xcon", "nul_", "C:\\con\x83\x5C\\a", ".nul",
                             "\x82\x60UX", "a b\\c"}) {
        CAPTURE(path);
        CHECK_FALSE(NamesDevice(path));
    }
}

TEST_CASE("every lead byte of both ranges, 0xF0 to 0xFC too, keeps its second byte from the scans")
{
    BaseGuard base("C:\\game\\");
    for (int b = 0x20; b < 256; ++b) {
        CAPTURE(b);
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        CHECK(IsSjisLeadByte(static_cast<unsigned char>(b)) == lead);
        const std::string ch(1, char(b));
        const std::string lower(1, char(b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b));

        // A letter after a lead byte is its second byte and keeps its case.
        std::string text = ch + "AB";
        ToLowerSjis(text);
        CHECK(text == (lead ? ch + "Ab" : lower + "ab"));

        // A backslash after a lead byte is a second byte, after any other byte a separator.
        const std::string name = ch + "\\";
        if (lead) {
            CHECK(NormalizePath(name + "/a") == "C:\\game\\" + name + "\\a");
            CHECK(NormalizePath("..\\" + name) == "C:\\" + name);
            CHECK(NormalizePath("a" + ch + "/b") == "C:\\game\\a" + ch + "/b");
            CHECK(Parent("C:\\" + name + "x") == "C:\\");
            CHECK(Parent("C:\\" + name + "\\sub\\") == "C:\\" + name + "\\");
            CHECK(GetFileNamePart("C:\\a\\" + name + ".Bmp") == name + ".Bmp");
            CHECK(GetSuffixPart("C:\\a\\x." + name) == name);
            CHECK_FALSE(EndsWithSeparator("C:\\" + name));
        } else if (b >= 0x80) {
            CHECK(Parent("C:\\" + name + "x") == "C:\\" + name);
            CHECK(GetFileNamePart("C:\\a\\" + name + "x") == "x");
            CHECK(EndsWithSeparator("C:\\" + name));
        }
    }
}
