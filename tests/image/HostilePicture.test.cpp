// Hostile picture files of every class: the framework's decoders and checks give each its code
// from the header or directory alone, and a plane that loads one stays empty, on every platform.
#include <doctest/doctest.h>

#include "HostilePictures.h"

TEST_CASE("hostile PNG, JPEG, icon, cursor and GIF files get their codes and leave nothing")
{
    CScratch scratch;
    for (const HostilePicture& hostile : HostilePictures()) {
        CAPTURE(hostile.what);
        DecodedPicture picture;
        picture.pixels.assign(4, 0xEEEEEEEE);
        CHECK(DecodeOwnPicture(hostile.bytes.data(), hostile.bytes.size(), picture) ==
              hostile.ownCode);
        CHECK(picture.width == 0);
        CHECK(picture.pixels.empty());
        if (hostile.ownCode == kPictureNotThisFormat) {
            CHECK((CheckIconDirectory(hostile.bytes.data(), hostile.bytes.size()) ==
                       PictureCheck::kRefused ||
                   CheckGifFrames(hostile.bytes.data(), hostile.bytes.size()) ==
                       PictureCheck::kRefused));
        }
        scratch.Put("hostile.pic", hostile.bytes);
        for (bool useDIB : {false, true}) {
            CAPTURE(useDIB);
            CPlane plane;
            plane.GetImpl()->SetUseDIB(useDIB);
            CHECK(plane.Load("hostile.pic") == 1);
            CHECK_FALSE(plane.IsLoaded());
            CHECK(plane.GetImpl()->GetPixels() == nullptr);
        }
    }
}

TEST_CASE("icons, cursors and GIFs inside the file and under the cap pass their checks")
{
    for (uint16_t type : {uint16_t(1), uint16_t(2)}) {
        const std::vector<uint8_t> icon = IconFile(2, 3, type);
        CHECK(CheckIconDirectory(icon.data(), icon.size()) == PictureCheck::kPassed);
        // One byte less and the image no longer fits the file.
        CHECK(CheckIconDirectory(icon.data(), icon.size() - 1) == PictureCheck::kRefused);
    }
    const std::vector<uint8_t> gif = Fixture("pattern.gif");
    CHECK(CheckGifFrames(gif.data(), gif.size()) == PictureCheck::kPassed);
    // A frame may touch the cap's edge but not cross it.
    const std::vector<uint8_t> edge = GifFile(16384, 1, 16383, 0, 1, 1);
    CHECK(CheckGifFrames(edge.data(), edge.size()) == PictureCheck::kPassed);
    const std::vector<uint8_t> over = GifFile(16384, 1, 16384, 0, 1, 1);
    CHECK(CheckGifFrames(over.data(), over.size()) == PictureCheck::kRefused);
    // Neither check claims content of another format.
    for (const char* name : {"pattern.jpg", "grey.jpg"}) {
        const std::vector<uint8_t> other = Fixture(name);
        CHECK(CheckIconDirectory(other.data(), other.size()) == PictureCheck::kNotThisFormat);
        CHECK(CheckGifFrames(other.data(), other.size()) == PictureCheck::kNotThisFormat);
    }
}
