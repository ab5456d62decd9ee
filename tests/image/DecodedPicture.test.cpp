// The framework's own PNG and JPEG decoders, on every platform: exact pixels of every PNG colour
// type, bit depth, filter, interlacing and transparency chunk, and JPEG pixels pinned by a digest
// that the native build and the Windows build under Wine must both give. Planes load both
// formats through them.
#include "image/DecodedPicture.h"

#include <doctest/doctest.h>

#include <algorithm>

#include "HostilePictures.h"
#include "image/PngEncoder.h"

namespace {

// A digest of decoded pixels: the PNG checksum of their bytes, least significant first.
uint32_t Digest(const DecodedPicture& picture)
{
    std::vector<uint8_t> bytes;
    for (uint32_t p : picture.pixels)
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(uint8_t(p >> shift));
    return PngCrc(bytes.data(), bytes.size());
}

DecodedPicture Decoded(const std::vector<uint8_t>& bytes, int32_t expectedCode = kPictureDecoded)
{
    DecodedPicture picture;
    CHECK(DecodeOwnPicture(bytes.data(), bytes.size(), picture) == expectedCode);
    return picture;
}

}  // namespace

TEST_CASE("PNG fixtures of every colour type and bit depth decode to their exact pixels")
{
    for (const WicFixture& fixture : kPngFixtures) {
        CAPTURE(fixture.name);
        const std::vector<uint8_t> bytes = BuiltFixture(fixture.name);
        REQUIRE(bytes.size() > 29);
        CHECK(bytes[24] == fixture.depth);
        CHECK(bytes[25] == fixture.colourType);
        CHECK(bytes[28] == fixture.interlace);
        const DecodedPicture picture = Decoded(bytes);
        CHECK(picture.width == fixture.width);
        CHECK(picture.height == fixture.height);
        CHECK(picture.pixels == WicFixturePixels(fixture.pattern, fixture.width, fixture.height));
        CHECK(picture.alpha == !IsOpaque(fixture.pattern));
    }
}

TEST_CASE("PNG low bit depths, palettes, filters and transparency chunks give exact pixels")
{
    struct Case {
        const char* what;
        PngParts parts;
        std::vector<uint32_t> pixels;
        bool alpha;
    };
    const std::vector<Case> cases = {
        {"2-bit palette with two alpha entries",
         {5, 2, 2, 3, {255, 0, 0, 0, 255, 0, 0, 0, 255, 16, 32, 48}, {0, 128},
          {0, 0x1B, 0x40, 0, 0xE4, 0x00}},
         {0x00FF0000, 0x8000FF00, 0xFF0000FF, 0xFF102030, 0x8000FF00, 0xFF102030, 0xFF0000FF,
          0x8000FF00, 0x00FF0000, 0x00FF0000},
         true},
        {"8-bit palette shorter than 256 entries, every index inside it",
         {3, 1, 8, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {}, {0, 2, 0, 1}},
         {0x070809, 0x010203, 0x040506},
         false},
        {"1-bit grey across a byte", {9, 1, 1, 0, {}, {}, {0, 0xB2, 0x80}},
         {0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF, 0, 0, 0xFFFFFF, 0, 0xFFFFFF},
         false},
        {"4-bit grey with a transparent level", {3, 1, 4, 0, {}, {0, 5}, {0, 0x5F, 0x00}},
         {0x00555555, 0xFFFFFFFF, 0xFF000000},
         true},
        {"16-bit RGB with a transparent colour",
         {2, 1, 16, 2, {}, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC},
          {0, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xFF, 0, 0, 0, 0, 0xFF}},
         {0x0012569A, 0xFFFF0000},
         true},
        {"8-bit grey with Sub, Up and Paeth filters",
         {3, 3, 8, 0, {}, {}, {1, 10, 5, 5, 2, 1, 1, 1, 4, 1, 1, 1}},
         // Paeth of the last row: 12 (up), then 16 + ... picks the nearest of left, up, corner.
         {0x0A0A0A, 0x0F0F0F, 0x141414, 0x0B0B0B, 0x101010, 0x151515, 0x0C0C0C, 0x111111,
          0x161616},
         false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        const DecodedPicture picture = Decoded(BuildPng(c.parts));
        CHECK(picture.width == c.parts.width);
        CHECK(picture.height == c.parts.height);
        CHECK(picture.pixels == c.pixels);
        CHECK(picture.alpha == c.alpha);
    }
}

TEST_CASE("PNG on each side of the cap: 16384 a side decodes, 16385 is refused from the header")
{
    for (const auto& [w, h] : {std::pair{16384u, 1u}, std::pair{1u, 16384u}}) {
        CAPTURE(w);
        const std::vector<uint32_t> pixels(size_t(w) * h, 0x3060C0);
        std::vector<uint8_t> png;
        REQUIRE(EncodePng(PixelsForEncoding(pixels.data(), ptrdiff_t(w) * 4, w, h, false), w, h,
                          false, png) == 0);
        const DecodedPicture picture = Decoded(png);
        CHECK(picture.width == w);
        CHECK(picture.height == h);
        CHECK(picture.pixels == pixels);
        PutBE(png, w > 1 ? 16 : 20, 16385);
        FixPngChunkCrc(png, 8);
        CHECK(Decoded(png, kPictureBeyondCap).pixels.empty());
    }
}

TEST_CASE("JPEG baseline, progressive and grey files give the same pinned pixels everywhere")
{
    struct Case {
        const char* name;
        uint8_t frameMarker;
        uint8_t components;
        uint32_t digest;
    };
    // Baseline and progressive carry the same coefficients, so their pixels are the same.
    const Case cases[] = {
        {"baseline.jpg", 0xC0, 3, 3154650382u},
        {"progressive.jpg", 0xC2, 3, 3154650382u},
        {"grey.jpg", 0xC0, 1, 1965104089u},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        const std::vector<uint8_t> bytes = Fixture(c.name);
        // The fixture is what its name says: the frame's marker and component count.
        size_t at = 2;
        while (at + 10 <= bytes.size() && !(bytes[at + 1] >= 0xC0 && bytes[at + 1] <= 0xC2))
            at += 2 + ((size_t(bytes[at + 2]) << 8) | bytes[at + 3]);
        REQUIRE(at + 10 <= bytes.size());
        CHECK(bytes[at + 1] == c.frameMarker);
        CHECK(bytes[at + 9] == c.components);
        const DecodedPicture picture = Decoded(bytes);
        CHECK(picture.width == 37);
        CHECK(picture.height == 21);
        CHECK_FALSE(picture.alpha);
        CHECK(Digest(picture) == c.digest);
        for (uint32_t p : picture.pixels) {
            CHECK((p >> 24) == 0);
            if (c.components == 1) CHECK(((p >> 16) & 0xFF) == (p & 0xFF));
        }
    }
    const DecodedPicture halves = Decoded(Fixture("pattern.jpg"));
    REQUIRE(halves.pixels.size() == 32 * 16);
    CHECK(Digest(halves) == 3478964346u);
}

TEST_CASE("planes load PNG and JPEG through the framework's decoders with the alpha flag")
{
    CScratch scratch;
    scratch.Put("alpha.png", BuiltFixture("rgba16.png"));
    scratch.Put("opaque.png", BuiltFixture("opaque.png"));
    scratch.Put("grey.jpg", Fixture("grey.jpg"));
    const DecodedPicture grey = Decoded(Fixture("grey.jpg"));
    CPlane plane;
    REQUIRE(plane.Load("alpha.png") == 0);
    CHECK(PixelsOf(plane) == WicFixturePixels(WicPattern::Rgba, 8, 4));
    CHECK(plane.IsAlpha());
    REQUIRE(plane.Load("opaque.png") == 0);
    CHECK(PixelsOf(plane) == WicFixturePixels(WicPattern::Opaque, 8, 4));
    CHECK_FALSE(plane.IsAlpha());
    REQUIRE(plane.Load("grey.jpg") == 0);
    CHECK(PixelsOf(plane) == grey.pixels);
    CHECK(plane.GetImpl()->GetColorKey() == (grey.pixels[0] & 0xFFFFFF));
}

TEST_CASE("a plane saved under a .png name loads back exactly, with its alpha when flagged")
{
    CScratch scratch;
    const std::vector<uint32_t> pixels = Pattern(7, 5);
    CPlane plane;
    REQUIRE(plane.Create(7, 5) == 0);
    std::copy(pixels.begin(), pixels.end(), plane.GetImpl()->GetPixels());
    plane.GetImpl()->GetAlphaFlag() = 1;
    REQUIRE(plane.GetImpl()->Save("shot.png", nullptr) == 0);
    const DecodedPicture saved = Decoded(ReadScratch(scratch, "shot.png"));
    CHECK(saved.pixels == pixels);
    plane.GetImpl()->GetAlphaFlag() = 0;
    const Rect part{1, 1, 4, 3};
    REQUIRE(plane.GetImpl()->Save("part.png", &part) == 0);
    std::vector<uint32_t> inner;
    for (int32_t y = part.top; y < part.bottom; ++y)
        for (int32_t x = part.left; x < part.right; ++x)
            inner.push_back(pixels[size_t(y) * 7 + size_t(x)] & 0xFFFFFF);
    CHECK(Decoded(ReadScratch(scratch, "part.png")).pixels == inner);
}
