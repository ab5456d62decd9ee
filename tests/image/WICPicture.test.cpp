// Pictures decoded by the imaging component through CPictureDecoder: PNG of every colour type
// with its alpha, TIFF after the OLE loader refuses it, damaged and oversized PNG refused with
// their codes.
#include <pyro/image/PictureDecoder.h>

#include <doctest/doctest.h>

#include "PictureTesting.h"

namespace {

// The decoder's pixels through CopyPixels; empty when it cannot copy.
std::vector<uint32_t> CopiedPixels(CPictureDecoder& decoder, uint32_t width, uint32_t height)
{
    std::vector<uint32_t> out(size_t(width) * height, 0xEEEEEEEE);
    if (decoder.CopyPixels(out.data(), int32_t(width * 4)) != 0) return {};
    return out;
}

int32_t LoadBytes(CPictureDecoder& decoder, const CScratch& scratch,
                  const std::vector<uint8_t>& bytes, CFileBuffer& file)
{
    ReadFixture(scratch, file, "picture.png", bytes);
    return decoder.Load(&file);
}

}  // namespace

TEST_CASE("PNG of every colour type, bit depth and interlacing decodes to its exact pixels")
{
    CScratch scratch;
    for (const WicFixture& fixture : kPngFixtures) {
        CAPTURE(fixture.name);
        const std::vector<uint8_t> bytes = BuiltFixture(fixture.name);
        REQUIRE(bytes.size() > 29);  // the fixture is what its name says
        CHECK(bytes[24] == fixture.depth);
        CHECK(bytes[25] == fixture.colourType);
        CHECK(bytes[28] == fixture.interlace);

        CFileBuffer file;
        CPictureDecoder decoder;
        REQUIRE(LoadBytes(decoder, scratch, bytes, file) == 0);
        CHECK(SizeOf(decoder) == Extent{int32_t(fixture.width), int32_t(fixture.height)});
        // Copying the pixels is what an OLE picture cannot do: the imaging component took it.
        const std::vector<uint32_t> expected =
            WicFixturePixels(fixture.pattern, fixture.width, fixture.height);
        CHECK(CopiedPixels(decoder, fixture.width, fixture.height) == expected);
        CHECK(decoder.HasAlpha() == !IsOpaque(fixture.pattern));
        CHECK(DrawnPixels(decoder, int32_t(fixture.width), int32_t(fixture.height)) ==
              WithoutAlpha(expected));
        CHECK(decoder.Release() == 0);
        CHECK(SizeOf(decoder) == Extent{-1, -1});
        CHECK_FALSE(decoder.HasAlpha());
    }
}

TEST_CASE("TIFF reaches the imaging component after the OLE loader refuses it")
{
    CScratch scratch;
    for (const auto& [name, pattern] : {std::pair{"rgba.tif", WicPattern::Rgba},
                                        std::pair{"opaque.tif", WicPattern::Opaque}}) {
        CAPTURE(name);
        CFileBuffer file;
        ReadFixture(scratch, file, name, BuiltFixture(name));
        CPictureDecoder decoder;
        CHECK(decoder.LoadPicture(&file) == 2);
        REQUIRE(decoder.Load(&file) == 0);
        CHECK(CopiedPixels(decoder, 8, 4) == WicFixturePixels(pattern, 8, 4));
        CHECK(decoder.HasAlpha() == !IsOpaque(pattern));
    }
    // Content the component knows nothing of still falls through to 1.
    CFileBuffer unknown;
    ReadFixture(scratch, unknown, "x.bin", std::vector<uint8_t>(300, 'x'));
    CPictureDecoder decoder;
    CHECK(decoder.LoadWIC(&unknown) == 2);
    CHECK(decoder.Load(&unknown) == 1);
}

TEST_CASE("damaged PNG files are refused with code 1")
{
    CScratch scratch;
    const std::vector<uint8_t> good = BuiltFixture("interlaced.png");
    const size_t data = FindPngChunk(good, "IDAT");
    REQUIRE(data != 0);
    const size_t dataEnd = data + 12 + GetBE(good, data);
    std::vector<std::vector<uint8_t>> damaged;
    // Cut short anywhere before the end of the image data.
    for (size_t length : {size_t(8), size_t(20), data, data + 10, dataEnd - 5})
        damaged.emplace_back(good.begin(), good.begin() + ptrdiff_t(length));
    // A wrong checksum on the header or on the image data (some decoders never look).
    for (size_t chunk : {size_t(8), data}) {
        damaged.push_back(good);
        damaged.back()[chunk + 8 + GetBE(good, chunk)] ^= 0x5A;
    }
    // Image data that does not inflate, under a right checksum.
    damaged.push_back(good);
    for (size_t i = data + 10; i < dataEnd - 4; ++i) damaged.back()[i] = 0xFF;
    FixPngChunkCrc(damaged.back(), data);

    for (size_t i = 0; i < damaged.size(); ++i) {
        CAPTURE(i);
        CFileBuffer file;
        CPictureDecoder decoder;
        CHECK(LoadBytes(decoder, scratch, damaged[i], file) == 1);
        CHECK(decoder.LoadWIC(&file) == 4);
        CHECK(SizeOf(decoder) == Extent{-1, -1});
    }
}

TEST_CASE("a PNG header beyond the size cap is refused before the component sees it")
{
    CScratch scratch;
    const std::vector<uint8_t> good = BuiltFixture("rgba8.png");
    struct {
        uint32_t width, height;
        int32_t code;  // LoadWIC's
    } const cases[] = {
        {100000, 100000, 3}, {0x10000, 0x10000, 3}, {16385, 1, 3}, {1, 16385, 3},
        {4097, 4096, 3}, {0, 4, 3},
        // Within the cap (16384 a side, 2^24 in all) the component finds the data missing.
        {4096, 4096, 4}, {16384, 1024, 4},
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
    }
}
