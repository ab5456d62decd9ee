// The Windows picture decoder in front of the platform's decoders: PNG and JPEG never reach
// them, hostile icons, cursors and GIFs are kept from them, and the OLE loader's pictures are
// held to the size cap.
#include <pyro/image/PictureDecoder.h>

#include <doctest/doctest.h>

#include "HostilePictures.h"
#include "PictureTesting.h"

TEST_CASE("every entry point of the decoder gives a hostile file its code and no picture")
{
    CScratch scratch;
    for (const HostilePicture& hostile : HostilePictures()) {
        CAPTURE(hostile.what);
        CFileBuffer file;
        ReadFixture(scratch, file, "hostile.pic", hostile.bytes);
        CPictureDecoder decoder;
        CHECK(decoder.Load(&file) == 1);
        CHECK(SizeOf(decoder) == Extent{-1, -1});
        CHECK(DrawnPixels(decoder, 4, 4).empty());
        CHECK(decoder.LoadPicture(&file) == 2);
        CHECK(SizeOf(decoder) == Extent{-1, -1});
        const bool own = hostile.ownCode != kPictureNotThisFormat;
        CHECK(decoder.LoadWIC(&file) == (own ? hostile.ownCode : 4));
        CHECK(SizeOf(decoder) == Extent{-1, -1});
        CHECK(decoder.LoadOwn(&file) == hostile.ownCode);
        CHECK_FALSE(decoder.HasAlpha());
    }
}

TEST_CASE("JPEG decoded by the framework copies its pixels and draws them the same way")
{
    CScratch scratch;
    for (const char* name : {"baseline.jpg", "progressive.jpg", "grey.jpg"}) {
        CAPTURE(name);
        const std::vector<uint8_t> bytes = Fixture(name);
        DecodedPicture expected;
        REQUIRE(DecodeOwnPicture(bytes.data(), bytes.size(), expected) == kPictureDecoded);
        CFileBuffer file;
        ReadFixture(scratch, file, name, bytes);
        CPictureDecoder decoder;
        REQUIRE(decoder.Load(&file) == 0);
        CHECK(SizeOf(decoder) == Extent{37, 21});
        std::vector<uint32_t> copied(37 * 21, 0xEEEEEEEE);
        CHECK(decoder.CopyPixels(copied.data(), 37 * 4) == 0);
        CHECK(copied == expected.pixels);
        CHECK(DrawnPixels(decoder, 37, 21) == expected.pixels);
        // The OLE loader is asked for it directly, and the framework's decoder answers.
        CHECK(decoder.LoadPicture(&file) == 0);
        CHECK(SizeOf(decoder) == Extent{37, 21});
    }
}

TEST_CASE("icons and cursors that pass their checks still reach the platform's decoders")
{
    CScratch scratch;
    CFileBuffer file;
    ReadFixture(scratch, file, "small.ico", IconFile(2, 3));
    CPictureDecoder decoder;
    CHECK(decoder.Load(&file) == 0);
    const auto [w, h] = SizeOf(decoder);
    CHECK(w > 0);
    CHECK(h > 0);
}

TEST_CASE("an OLE picture measuring beyond the cap is refused before it is drawn")
{
    CScratch scratch;
    // 16385 pixels wide at the screen's resolution, and just inside at 16384.
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    CFileBuffer huge;
    ReadFixture(scratch, huge, "huge.emf", Metafile(2540000, 2540, RGB(1, 2, 3)));
    CPictureDecoder decoder;
    CHECK(decoder.LoadPicture(&huge) == 3);
    CHECK(SizeOf(decoder) == Extent{-1, -1});
    CHECK(decoder.Load(&huge) == 1);
    CFileBuffer inside;
    ReadFixture(scratch, inside, "inside.emf",
                Metafile(int32_t(16384LL * 2540 / dpi), 2540, RGB(1, 2, 3)));
    REQUIRE(decoder.LoadPicture(&inside) == 0);
    CHECK(SizeOf(decoder).first <= 16384);
}
