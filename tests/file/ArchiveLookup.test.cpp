#include "file/ArchiveLookup.h"

#include <doctest/doctest.h>

#include <vector>

namespace {

// Every (archive, inner name) pair tried for a path, in order.
std::vector<std::string> Candidates(const std::string& path)
{
    std::vector<std::string> tried;
    std::string directory = path;
    std::string archive;
    std::string inner;
    while (NextArchiveCandidate(path, directory, archive, inner)) tried.push_back(archive + " " + inner);
    return tried;
}

}  // namespace

TEST_CASE("archives are tried from the innermost ancestor outwards, never at a root")
{
    CHECK(Candidates("C:\\game\\data\\img\\A.bmp")
          == std::vector<std::string>{"C:\\game\\data\\img.dat a.bmp", "C:\\game\\data.dat img\\a.bmp",
                                      "C:\\game.dat data\\img\\a.bmp"});
    CHECK(Candidates("\\\\server\\share\\data\\a.bmp")
          == std::vector<std::string>{"\\\\server\\share\\data.dat a.bmp"});
    CHECK(Candidates("C:\\a.bmp").empty());
    CHECK(Candidates("a.bmp").empty());
    CHECK(Candidates("").empty());
    // The lower-casing of the inner name keeps double-byte characters: "ゼ" is 83 5A.
    CHECK(Candidates("C:\\D\\\x83\x5A\\X")
        == std::vector<std::string> { "C:\\D\\\x83\x5A.dat x", "C:\\D.dat \x83\x5A\\x" });
}

TEST_CASE("inner names keep every double-byte character whole, whichever lead byte starts it")
{
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        CAPTURE(lead);
        const std::string letter = std::string(1, char(lead)) + "A";      // second byte a letter
        const std::string slash = std::string(1, char(lead)) + "\\";      // second byte 5C
        CHECK(Candidates("C:\\D\\" + letter + "\\X.BMP") ==
              std::vector<std::string>{"C:\\D\\" + letter + ".dat x.bmp",
                                       "C:\\D.dat " + letter + "\\x.bmp"});
        CHECK(Candidates("C:\\D\\" + slash + "\\Y") ==
              std::vector<std::string>{"C:\\D\\" + slash + ".dat y", "C:\\D.dat " + slash + "\\y"});
    }
}
