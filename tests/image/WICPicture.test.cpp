// Pictures decoded by the imaging component through CPictureDecoder: PNG of every colour type
// with its alpha, TIFF after the OLE loader refuses it, damaged and oversized PNG refused with
// their codes.
#include <pyro/image/PictureDecoder.h>

#include <doctest/doctest.h>

#include "PictureTesting.h"
#include "image/PictureFormat.h"

namespace {

struct WicFixture {
    const char* name;
    uint32_t width, height;
    WicPattern pattern;
    // What the file's header says (PNG only): bit depth, colour type, interlace method.
    uint8_t depth, colourType, interlace;
};

const WicFixture kPngFixtures[] = {
    {"rgba8.png", 8, 4, WicPattern::Rgba, 8, 6, 0},
    {"rgba16.png", 8, 4, WicPattern::Rgba, 16, 6, 0},
    {"rgb16.png", 8, 4, WicPattern::Opaque, 16, 2, 0},
    {"opaque.png", 8, 4, WicPattern::Opaque, 8, 2, 0},
    {"palette.png", 8, 4, WicPattern::Opaque, 8, 3, 0},
    {"palette-alpha.png", 8, 4, WicPattern::Binary, 8, 3, 0},
    {"grey.png", 8, 4, WicPattern::GreyOpaque, 8, 0, 0},
    {"grey-alpha.png", 8, 4, WicPattern::Grey, 8, 4, 0},
    {"interlaced.png", 13, 11, WicPattern::Rgba, 8, 6, 1},
};

bool HasTranslucency(WicPattern pattern)
{
    return pattern != WicPattern::Opaque && pattern != WicPattern::GreyOpaque;
}

std::vector<uint32_t> CopiedPixels(CPictureDecoder& decoder, uint32_t width, uint32_t height)
{
    std::vector<uint32_t> out(size_t(width) * height, 0xEEEEEEEE);
    if (decoder.CopyPixels(out.data(), int32_t(width * 4)) != 0) return {};
    return out;
}

// Loads bytes as a picture file: the decoder's Load result.
int32_t LoadBytes(CPictureDecoder& decoder, const CScratch& scratch,
                  const std::vector<uint8_t>& bytes, CFileBuffer& file)
{
    scratch.Put("picture.png", bytes);
    REQUIRE(file.Read("picture.png") == 0);
    return decoder.Load(&file);
}

}  // namespace

TEST_CASE("PNG of every colour type, bit depth and interlacing decodes to its exact pixels")
{
    CScratch scratch;
    for (const WicFixture& fixture : kPngFixtures) {
        CAPTURE(fixture.name);
        const std::vector<uint8_t> bytes = BuiltFixture(fixture.name);
        // The fixture is what its name says.
        REQUIRE(bytes.size() > 29);
        CHECK(bytes[24] == fixture.depth);
        CHECK(bytes[25] == fixture.colourType);
        CHECK(bytes[28] == fixture.interlace);

        CFileBuffer file;
        CPictureDecoder decoder;
        REQUIRE(LoadBytes(decoder, scratch, bytes, file) == 0);
        CHECK(SizeOf(decoder) == Extent{int32_t(fixture.width), int32_t(fixture.height)});
        const std::vector<uint32_t> expected =
            WicFixturePixels(fixture.pattern, fixture.width, fixture.height);
        CHECK(CopiedPixels(decoder, fixture.width, fixture.height) == expected);
        CHECK(decoder.HasAlpha() == HasTranslucency(fixture.pattern));
        CHECK(DrawnPixels(decoder, int32_t(fixture.width), int32_t(fixture.height)) ==
              WithoutAlpha(expected));
        PALETTEENTRY entries[256];
        CHECK(decoder.GetPalette(entries) == 1);  // not a bitmap
        CHECK(decoder.Release() == 0);
        CHECK(SizeOf(decoder) == Extent{-1, -1});
        CHECK_FALSE(decoder.HasAlpha());
    }
}

TEST_CASE("TIFF reaches the imaging component after the OLE loader refuses it")
{
    CScratch scratch;
    struct {
        const char* name;
        WicPattern pattern;
    } const tiffs[] = {{"rgba.tif", WicPattern::Rgba}, {"opaque.tif", WicPattern::Opaque}};
    for (const auto& tiff : tiffs) {
        CAPTURE(tiff.name);
        CFileBuffer file;
        ReadFixture(scratch, file, tiff.name, BuiltFixture(tiff.name));
        CPictureDecoder decoder;
        CHECK(decoder.LoadPicture(&file) == 2);
        REQUIRE(decoder.Load(&file) == 0);
        CHECK(SizeOf(decoder) == Extent{8, 4});
        CHECK(CopiedPixels(decoder, 8, 4) == WicFixturePixels(tiff.pattern, 8, 4));
        CHECK(decoder.HasAlpha() == (tiff.pattern == WicPattern::Rgba));
    }
}

TEST_CASE("bitmaps, GIF and files no decoder knows keep their decoders")
{
    CScratch scratch;
    CFileBuffer bitmap;
    ReadFixture(scratch, bitmap, "a.bmp", Bmp24(3, 2, Pixels3x2()));
    CPictureDecoder decoder;
    REQUIRE(decoder.Load(&bitmap) == 0);
    CHECK_FALSE(decoder.HasAlpha());
    PALETTEENTRY entries[256];
    CHECK(decoder.GetPalette(entries) == 2);  // the bitmap reader took it

    // The OLE loader takes GIF first, so the picture cannot copy its pixels.
    CFileBuffer gif;
    ReadFixture(scratch, gif, "pattern.gif", Fixture("pattern.gif"));
    REQUIRE(decoder.Load(&gif) == 0);
    uint32_t pixel = 0;
    CHECK(decoder.CopyPixels(&pixel, 4) == 1);

    CFileBuffer unknown;
    ReadFixture(scratch, unknown, "x.bin", std::vector<uint8_t>(300, 'x'));
    CHECK(decoder.LoadWIC(&unknown) == 2);
    CHECK(decoder.Load(&unknown) == 1);
    CFileBuffer empty;
    CHECK(decoder.LoadWIC(&empty) == 2);
    CHECK(decoder.LoadWIC(nullptr) == 2);
}

TEST_CASE("damaged PNG files are refused with code 1 and never read past their end")
{
    CScratch scratch;
    const std::vector<uint8_t> good = BuiltFixture("interlaced.png");
    const size_t data = FindPngChunk(good, "IDAT");
    REQUIRE(data != 0);
    CPictureDecoder decoder;

    SUBCASE("cut short anywhere before the end of the image data")
    {
        const size_t dataEnd = data + 12 + GetBE(good, data);
        for (size_t length : {size_t(8), size_t(20), data, data + 10, (data + dataEnd) / 2,
                              dataEnd - 5}) {
            CAPTURE(length);
            CFileBuffer file;
            CHECK(LoadBytes(decoder, scratch,
                            std::vector<uint8_t>(good.begin(), good.begin() + ptrdiff_t(length)),
                            file) == 1);
            CHECK(SizeOf(decoder) == Extent{-1, -1});
        }
    }
    SUBCASE("a wrong checksum on the header or on the image data")
    {
        for (size_t chunk : {size_t(8), data}) {
            CAPTURE(chunk);
            std::vector<uint8_t> bad = good;
            bad[chunk + 8 + GetBE(bad, chunk)] ^= 0x5A;
            CFileBuffer file;
            CHECK(LoadBytes(decoder, scratch, bad, file) == 1);
        }
    }
    SUBCASE("image data that does not inflate")
    {
        std::vector<uint8_t> bad = good;
        for (size_t i = data + 10; i < data + 8 + GetBE(bad, data); ++i) bad[i] = 0xFF;
        FixPngChunkCrc(bad, data);
        CFileBuffer file;
        CHECK(LoadBytes(decoder, scratch, bad, file) == 1);
    }
}

TEST_CASE("a PNG header beyond the size cap is refused before any pixels are allocated")
{
    CScratch scratch;
    const std::vector<uint8_t> good = BuiltFixture("rgba8.png");
    struct {
        uint32_t width, height;
        int32_t code;  // LoadWIC's
    } const cases[] = {
        {100000, 100000, 3}, {0x7FFFFFFF, 1, 3}, {kMaxPictureSide + 1, 1, 3},
        {1, kMaxPictureSide + 1, 3}, {4097, 4096, 3}, {0, 4, 3}, {8, 0, 3},
        // Within the cap, the component finds the data missing.
        {4096, 4096, 4}, {kMaxPictureSide, 1024, 4},
    };
    for (const auto& c : cases) {
        CAPTURE(c.width);
        CAPTURE(c.height);
        std::vector<uint8_t> bytes = good;
        PutBE(bytes, 16, c.width);
        PutBE(bytes, 20, c.height);
        FixPngChunkCrc(bytes, 8);
        CFileBuffer file;
        CPictureDecoder decoder;
        CHECK(LoadBytes(decoder, scratch, bytes, file) == 1);
        CHECK(decoder.LoadWIC(&file) == c.code);
        CHECK(SizeOf(decoder) == Extent{-1, -1});
    }
}
