#include <pyro/file/FileFinder.h>

#include <doctest/doctest.h>

#include "Scratch.h"

TEST_CASE("IsExist tells whether a file opens for reading, without normalising the path")
{
    CScratch scratch;
    scratch.Put("000.bmp", "BM");
    CFileFinder finder;
    CHECK(finder.GetPattern() == "*.*");
    // Relative paths are taken from the current directory, where the scratch directory lives.
    CHECK(finder.IsExist(scratch.Name() + "\\000.bmp"));
    CHECK(finder.IsExist(scratch.Base() + "000.bmp"));
    CHECK_FALSE(finder.IsExist("000.bmp"));
    CHECK_FALSE(finder.IsExist(scratch.Name() + "\\001.bmp"));
    CHECK_FALSE(finder.IsExist(scratch.Name()));  // a directory
}
