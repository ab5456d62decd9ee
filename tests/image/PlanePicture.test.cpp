// Planes loading pictures through the decoders, both with heap pixels (through a DIB buffer)
// and with a DIB section (straight into the plane), and saving themselves.
#include "image/PlanePicture.h"

#include <doctest/doctest.h>

#include "PictureTesting.h"

namespace {

struct Picture {
    const char* name;
    std::vector<uint8_t> bytes;
    std::vector<uint32_t> pixels;  // expected; alpha 0 unless the picture has translucent pixels
    bool alpha = false;
};

std::vector<Picture> Pictures()
{
    std::vector<uint32_t> gif;
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 16; ++x) gif.push_back(GifPixel(x, y));
    const std::vector<uint32_t> palette = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00808080};
    const std::vector<uint32_t> plugin = WithoutAlpha(Pattern(40, 20));
    return {
        {"a.bmp", Bmp24(3, 2, Pixels3x2()), WithoutAlpha(Pixels3x2())},
        {"top-down.bmp", Bmp24(3, 2, Pixels3x2(), true), WithoutAlpha(Pixels3x2())},
        {"palette.bmp", Bmp8(2, 2, {3, 2, 1, 0}, palette),
         {0x00808080, 0x000000FF, 0x0000FF00, 0x00FF0000}},
        {"pattern.gif", Fixture("pattern.gif"), gif},
        {"pic.ppic", PluginFile(40, 20, plugin), plugin},
        {"alpha.png", BuiltFixture("rgba16.png"), WicFixturePixels(WicPattern::Rgba, 8, 4), true},
        {"binary.png", BuiltFixture("palette-alpha.png"),
         WicFixturePixels(WicPattern::Binary, 8, 4), true},
        {"opaque.png", BuiltFixture("opaque.png"), WicFixturePixels(WicPattern::Opaque, 8, 4)},
    };
}

}  // namespace

TEST_CASE("pictures load into both kinds of plane keyed on their top-left pixel, PNG with alpha")
{
    CScratch scratch;
    InstallPlugin(scratch, "ppic");
    for (const Picture& picture : Pictures()) scratch.Put(picture.name, picture.bytes);
    for (bool useDIB : {false, true}) {
        for (const Picture& picture : Pictures()) {
            CAPTURE(useDIB);
            CAPTURE(picture.name);
            CPlane plane;
            plane.GetImpl()->SetUseDIB(useDIB);
            plane.GetImpl()->GetAlphaFlag() = 1;  // a load clears what was there
            REQUIRE(plane.Load(picture.name) == 0);
            CHECK(PixelsOf(plane) == picture.pixels);
            CHECK(plane.IsLoaded());
            CHECK(plane.IsAlpha() == picture.alpha);
            CHECK(plane.GetImpl()->GetColorKey() == (picture.pixels[0] & 0xFFFFFF));
        }
    }
}

TEST_CASE("a bitmap in an archive loads like the loose file")
{
    CScratch scratch;
    const std::vector<uint32_t> pixels = WithoutAlpha(Pattern(33, 9));
    scratch.PutArchive("data.dat", {{"img\\pattern.bmp", Bmp24(33, 9, pixels)}}, PackOptions{});
    for (bool useDIB : {false, true}) {
        CAPTURE(useDIB);
        CPlane plane;
        plane.GetImpl()->SetUseDIB(useDIB);
        REQUIRE(plane.Load("data\\img\\pattern.bmp") == 0);
        CHECK(PixelsOf(plane) == pixels);
    }
}

TEST_CASE("Save then Load gives back the plane's colours")
{
    CScratch scratch;
    const std::vector<uint32_t> pixels = Pattern(7, 5);
    for (bool saveDIB : {false, true}) {
        for (bool loadDIB : {false, true}) {
            CAPTURE(saveDIB);
            CAPTURE(loadDIB);
            CPlane plane;
            plane.GetImpl()->SetUseDIB(saveDIB);
            REQUIRE(plane.Create(7, 5) == 0);
            std::copy(pixels.begin(), pixels.end(), plane.GetImpl()->GetPixels());
            REQUIRE(plane.GetImpl()->Save("round.bmp", nullptr) == 0);
            CPlane loaded;
            loaded.GetImpl()->SetUseDIB(loadDIB);
            REQUIRE(loaded.Load("round.bmp") == 0);
            CHECK(PixelsOf(loaded) == WithoutAlpha(pixels));
        }
    }
}

TEST_CASE("picture loads that fail give the reader's code and leave the plane empty")
{
    CScratch scratch;
    // A metafile a thousand inches wide: far beyond the size cap.
    scratch.Put("huge.emf", Metafile(2540000, 2540000, RGB(1, 2, 3)));
    scratch.Put("a.bmp", Bmp24(3, 2, Pixels3x2()));
    for (bool useDIB : {false, true}) {
        CAPTURE(useDIB);
        CPlane plane;
        plane.GetImpl()->SetUseDIB(useDIB);
        REQUIRE(plane.Load("a.bmp") == 0);
        CHECK(plane.Load("missing.bmp") == 1);
        CHECK_FALSE(plane.IsLoaded());
        // The decoder refuses it from the size the OLE loader reports, before a pixel block is
        // allocated: no decoder takes the file.
        CHECK(plane.Load("huge.emf") == 1);
        CHECK_FALSE(plane.IsLoaded());
        CHECK(plane.GetImpl()->GetPixels() == nullptr);
    }
}

TEST_CASE("Save with a .png name keeps the alpha of an alpha plane and loads back exactly")
{
    CScratch scratch;
    const std::vector<uint32_t> pixels = Pattern(7, 5);  // alpha bytes from 0 to 0xCC
    for (bool saveDIB : {false, true}) {
        CAPTURE(saveDIB);
        CPlane plane;
        plane.GetImpl()->SetUseDIB(saveDIB);
        REQUIRE(plane.Create(7, 5) == 0);
        std::copy(pixels.begin(), pixels.end(), plane.GetImpl()->GetPixels());

        plane.GetImpl()->GetAlphaFlag() = 1;
        REQUIRE(plane.GetImpl()->Save("alpha.png", nullptr) == 0);
        std::vector<uint8_t> file = ReadScratch(scratch, "alpha.png");
        REQUIRE(file.size() > 29);
        CHECK(file[1] == 'P');
        CHECK(file[25] == 6);  // colour type: RGB with alpha
        // Without the flag the alpha bytes mean nothing: an opaque RGB file, whatever the case of
        // the extension.
        plane.GetImpl()->GetAlphaFlag() = 0;
        const Rect part{2, 1, 6, 4};
        REQUIRE(plane.GetImpl()->Save("part.PNG", &part) == 0);
        file = ReadScratch(scratch, "part.PNG");
        REQUIRE(file.size() > 29);
        CHECK(file[25] == 2);

        CPlane loaded;
        REQUIRE(loaded.Load("alpha.png") == 0);
        CHECK(PixelsOf(loaded) == pixels);
        CHECK(loaded.IsAlpha());
        REQUIRE(loaded.Load("part.PNG") == 0);
        std::vector<uint32_t> inner;
        for (int32_t y = part.top; y < part.bottom; ++y)
            for (int32_t x = part.left; x < part.right; ++x)
                inner.push_back(pixels[size_t(y) * 7 + size_t(x)] & 0x00FFFFFF);
        CHECK(PixelsOf(loaded) == inner);
        CHECK_FALSE(loaded.IsAlpha());
    }
}
