#include <pyro/image/PictureDecoder.h>

#include <doctest/doctest.h>

#include <memory>

#include <pyro/file/Path.h>
#include <pyro/image/PictureDecoderFactory.h>
#include "PictureTesting.h"

namespace {

const std::vector<uint32_t> kPalette = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00808080};

// The installed plug-in of a suffix, held so that its count of IsSupported calls outlives the
// decoders' loading and freeing of the library.
class CHeldPlugin {
public:
    CHeldPlugin(const CScratch& scratch, const std::string& suffix)
    {
        InstallPlugin(scratch, suffix);
        module_ = ::LoadLibraryA(NormalizePath("spi/if" + suffix + ".spi").c_str());
        REQUIRE(module_ != nullptr);
        calls_ = reinterpret_cast<CallCount>(reinterpret_cast<void (*)()>(
            ::GetProcAddress(module_, "PyroTestIsSupportedCalls")));
        REQUIRE(static_cast<bool>(calls_));
    }
    ~CHeldPlugin() { ::FreeLibrary(module_); }
    CHeldPlugin(const CHeldPlugin&) = delete;
    CHeldPlugin& operator=(const CHeldPlugin&) = delete;

    LONG IsSupportedCalls() const { return calls_(); }

private:
    using CallCount = LONG(WINAPI*)();
    HMODULE module_ = nullptr;
    CallCount calls_ = nullptr;
};

// Counts how often Load went on from the bitmap reader to the other two decoders.
class CWatchedDecoder : public CPictureDecoder {
public:
    int pictureCalls = 0;
    int pluginCalls = 0;
    int32_t LoadPicture(CFileBuffer* file) override
    {
        ++pictureCalls;
        return CPictureDecoder::LoadPicture(file);
    }
    int32_t LoadPlugin(CFileBuffer* file) override
    {
        ++pluginCalls;
        return CPictureDecoder::LoadPlugin(file);
    }
};

}  // namespace

TEST_CASE("a 24-bit bitmap is copied with its rows top-down and drawn the same way")
{
    for (bool topDown : {false, true}) {
        CAPTURE(topDown);
        CScratch scratch;
        CFileBuffer file;
        ReadFixture(scratch, file, "a.bmp", Bmp24(3, 2, Pixels3x2(), topDown));
        CPictureDecoder decoder;
        REQUIRE(decoder.Load(&file) == 0);
        // Also when the file stores the height negative.
        CHECK(SizeOf(decoder) == Extent{3, 2});
        std::vector<uint32_t> out(6, 0xEEEEEEEE);
        CHECK(decoder.CopyPixels(out.data(), 12) == 0);
        CHECK(out == WithoutAlpha(Pixels3x2()));
        for (uint32_t p : out) CHECK((p >> 24) == 0);
        CHECK(DrawnPixels(decoder, 3, 2) == WithoutAlpha(Pixels3x2()));
    }
}

TEST_CASE("palette and run-length bitmaps are drawn, not copied")
{
    CScratch scratch;
    SUBCASE("8 bits: CopyPixels returns 3")
    {
        CFileBuffer file;
        ReadFixture(scratch, file, "p.bmp", Bmp8(3, 2, {0, 1, 2, 3, 3, 1}, kPalette));
        CPictureDecoder decoder;
        REQUIRE(decoder.Load(&file) == 0);
        uint32_t out[6] = {};
        CHECK(decoder.CopyPixels(out, 12) == 3);
        CHECK(DrawnPixels(decoder, 3, 2) ==
              std::vector<uint32_t>{0x00FF0000, 0x0000FF00, 0x000000FF, 0x00808080, 0x00808080,
                                    0x0000FF00});
    }
    SUBCASE("run-length coding: CopyPixels returns 2")
    {
        BmpFields fields;
        fields.width = 4;
        fields.height = 2;
        fields.bitCount = 8;
        fields.compression = kBitmapRle8;
        fields.palette = kPalette;
        fields.coloursUsed = 4;
        // Bottom row four of colour 1; top row two of 2 and two of 3; end of bitmap.
        fields.data = {4, 1, 0, 0, 2, 2, 2, 3, 0, 1};
        CFileBuffer file;
        ReadFixture(scratch, file, "rle.bmp", BuildBmp(fields));
        CPictureDecoder decoder;
        REQUIRE(decoder.LoadBMP(&file) == 0);
        uint32_t out[8] = {};
        CHECK(decoder.CopyPixels(out, 16) == 2);
        CHECK(DrawnPixels(decoder, 4, 2) ==
              std::vector<uint32_t>{0x000000FF, 0x000000FF, 0x00808080, 0x00808080, 0x0000FF00,
                                    0x0000FF00, 0x0000FF00, 0x0000FF00});
    }
}

TEST_CASE("GetPalette fills entries 10 onwards from the colour table")
{
    CScratch scratch;
    CFileBuffer file;
    ReadFixture(scratch, file, "p.bmp", Bmp8(1, 1, {0}, kPalette));
    CPictureDecoder decoder;
    REQUIRE(decoder.Load(&file) == 0);
    PALETTEENTRY entries[256];
    REQUIRE(decoder.GetPalette(entries) == 0);
    CHECK(entries[9].peRed == 9);
    CHECK(entries[9].peFlags == PC_EXPLICIT);
    CHECK(entries[10].peRed == 0xFF);
    CHECK(entries[10].peFlags == (PC_RESERVED | PC_NOCOLLAPSE));
    CHECK(entries[13].peRed == 0x80);
    CHECK(entries[13].peBlue == 0x80);
    CHECK(entries[14].peFlags == 0);
    CHECK(entries[255].peRed == 255);

    CFileBuffer deep;
    ReadFixture(scratch, deep, "d.bmp", Bmp24(1, 1, {0}));
    CPictureDecoder decoder24;
    REQUIRE(decoder24.Load(&deep) == 0);
    CHECK(decoder24.GetPalette(entries) == 2);
}

TEST_CASE("an empty decoder, and one whose file no decoder takes, answer 1")
{
    CScratch scratch;
    CPictureDecoder decoder;
    int32_t w = 0;
    int32_t h = 0;
    uint32_t pixel = 0;
    PALETTEENTRY entries[256];
    CHECK(decoder.GetSize(&w, &h) == 1);
    CHECK(decoder.Draw(nullptr) == 1);
    CHECK(decoder.CopyPixels(&pixel, 4) == 1);
    CHECK(decoder.GetPalette(entries) == 1);
    CHECK(decoder.Release() == 0);

    CFileBuffer nothing;
    CHECK(decoder.Load(&nothing) == 1);
    CHECK(decoder.Load(nullptr) == 1);

    // A bitmap cut short is no bitmap for the reader, so its rows are never read past the end.
    std::vector<uint8_t> cut = Bmp24(30, 20, std::vector<uint32_t>(600, 0x00336699));
    cut.resize(cut.size() - 1);
    CFileBuffer file;
    ReadFixture(scratch, file, "cut.bmp", cut);
    CHECK(decoder.LoadBMP(&file) == 1);
    CHECK(decoder.CopyPixels(&pixel, 4) == 1);
}

TEST_CASE("a file beginning with BM that fails the bitmap checks reaches no other decoder")
{
    CScratch scratch;
    const CHeldPlugin plugin(scratch, "bmp");
    const LONG before = plugin.IsSupportedCalls();

    for (const HostileFile& hostile : HostileBitmaps()) {
        CAPTURE(hostile.what);
        CFileBuffer file;
        ReadFixture(scratch, file, "hostile.bmp", hostile.bytes);
        CWatchedDecoder decoder;
        CHECK(decoder.Load(&file) == 1);
        CHECK(decoder.pictureCalls == 0);
        CHECK(decoder.pluginCalls == 0);
        CHECK(SizeOf(decoder) == Extent{-1, -1});
        CHECK(DrawnPixels(decoder, 4, 4).empty());
    }
    CHECK(plugin.IsSupportedCalls() == before);

    // Content that does not claim to be a bitmap still goes on to both.
    CFileBuffer other;
    ReadFixture(scratch, other, "other.bmp", std::vector<uint8_t>(3000, 'x'));
    CWatchedDecoder decoder;
    CHECK(decoder.Load(&other) == 1);
    CHECK(decoder.pictureCalls == 1);
    CHECK(decoder.pluginCalls == 1);
    CHECK(plugin.IsSupportedCalls() == before + 1);
}

TEST_CASE("GIF and JPEG files are decoded by the OLE picture loader")
{
    CScratch scratch;
    SUBCASE("GIF: exact colours at the picture's size")
    {
        CFileBuffer file;
        ReadFixture(scratch, file, "pattern.gif", Fixture("pattern.gif"));
        CPictureDecoder decoder;
        CHECK(decoder.LoadBMP(&file) == 1);
        REQUIRE(decoder.Load(&file) == 0);
        CHECK(SizeOf(decoder) == Extent{16, 8});
        uint32_t pixel = 0;
        CHECK(decoder.CopyPixels(&pixel, 4) == 1);  // not a bitmap
        const std::vector<uint32_t> drawn = DrawnPixels(decoder, 16, 8);
        REQUIRE(drawn.size() == 128);
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 16; ++x) {
                CAPTURE(x);
                CAPTURE(y);
                CHECK(drawn[size_t(y) * 16 + size_t(x)] == GifPixel(x, y));
            }
        CHECK(decoder.Release() == 0);
        CHECK(SizeOf(decoder) == Extent{-1, -1});
    }
    SUBCASE("JPEG: flat halves close to their colours")
    {
        CFileBuffer file;
        ReadFixture(scratch, file, "pattern.jpg", Fixture("pattern.jpg"));
        CPictureDecoder decoder;
        REQUIRE(decoder.Load(&file) == 0);
        CHECK(SizeOf(decoder) == Extent{32, 16});
        const std::vector<uint32_t> drawn = DrawnPixels(decoder, 32, 16);
        REQUIRE(drawn.size() == 512);
        for (int32_t y = 0; y < 16; y += 5) {
            CAPTURE(y);
            CHECK(Near(drawn[size_t(y) * 32 + 2], 0x00C02020, 12));
            CHECK(Near(drawn[size_t(y) * 32 + 29], 0x002030C0, 12));
        }
    }
}

TEST_CASE("a picture of 2540 by 2540 HIMETRIC units measures one inch of screen pixels")
{
    CScratch scratch;
    CFileBuffer file;
    ReadFixture(scratch, file, "inch.emf", Metafile(2540, 2540, RGB(0x20, 0x40, 0x60)));
    CPictureDecoder decoder;
    REQUIRE(decoder.Load(&file) == 0);
    HDC screen = ::GetDC(nullptr);
    const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    CAPTURE(dpiX);
    const auto [w, h] = SizeOf(decoder);
    CHECK(w == dpiX);  // 96 by 96 on a screen of 96 pixels per inch
    CHECK(h == dpiY);
    const std::vector<uint32_t> drawn = DrawnPixels(decoder, w, h);
    REQUIRE(drawn.size() == size_t(w) * size_t(h));
    CHECK(drawn[size_t(h / 2) * size_t(w) + size_t(w / 2)] == 0x00204060);
}

TEST_CASE("a plug-in decodes its own format end to end")
{
    CScratch scratch;
    InstallPlugin(scratch, "ppic");
    std::vector<uint32_t> pixels = WithoutAlpha(Pattern(24, 30));
    CFileBuffer file;
    ReadFixture(scratch, file, "pic.ppic", PluginFile(24, 30, pixels));
    REQUIRE(file.GetSize() >= 2048);

    CPictureDecoder decoder;
    CHECK(decoder.LoadBMP(&file) == 1);
    CHECK(decoder.LoadPicture(&file) == 2);
    REQUIRE(decoder.Load(&file) == 0);
    CHECK(SizeOf(decoder) == Extent{24, 30});
    uint32_t pixel = 0;
    CHECK(decoder.CopyPixels(&pixel, 4) == 1);
    // Each Draw decodes the file again.
    CHECK(DrawnPixels(decoder, 24, 30) == pixels);
    CHECK(DrawnPixels(decoder, 24, 30) == pixels);
}

TEST_CASE("the plug-in library is found below a base directory with a Japanese name")
{
    CScratch scratch;
    std::vector<uint8_t> library;
    std::string error;
    REQUIRE_MESSAGE(ReadFileBytes(PYRO_TEST_PLUGIN, library, error), error);
    scratch.Put("ゲーム\\spi\\ifppic.spi", library);
    const std::vector<uint32_t> pixels = WithoutAlpha(Pattern(24, 30));
    scratch.Put("ゲーム\\pic.ppic", PluginFile(24, 30, pixels));
    SetBaseDirectory(scratch.Base() + "ゲーム\\");  // the scratch directory puts the old one back
    CFileBuffer file;
    REQUIRE(file.Read("pic.ppic") == 0);
    CPictureDecoder decoder;
    REQUIRE(decoder.LoadPlugin(&file) == 0);
    CHECK(DrawnPixels(decoder, 24, 30) == pixels);
}

TEST_CASE("a file under 2048 bytes is never offered to the plug-in")
{
    CScratch scratch;
    const CHeldPlugin plugin(scratch, "ppic");
    const LONG before = plugin.IsSupportedCalls();

    CFileBuffer small;
    ReadFixture(scratch, small, "small.ppic",
                PluginFile(8, 8, std::vector<uint32_t>(64, 0x00123456), 0, 1000));
    REQUIRE(small.GetSize() == 1000);
    CPictureDecoder decoder;
    CHECK(decoder.Load(&small) == 1);
    CHECK(plugin.IsSupportedCalls() == before);

    // A large file the plug-in does not know is asked about once and refused.
    CFileBuffer foreign;
    ReadFixture(scratch, foreign, "foreign.ppic", std::vector<uint8_t>(3000, 'x'));
    CHECK(decoder.Load(&foreign) == 1);
    CHECK(plugin.IsSupportedCalls() == before + 1);
    CHECK(decoder.GetSize(nullptr, nullptr) == 1);
}

TEST_CASE("plug-ins that are missing, incomplete or failing are refused cleanly")
{
    CScratch scratch;
    const std::vector<uint32_t> pixels(48 * 16, 0x00405060);
    CFileBuffer file;
    ReadFixture(scratch, file, "pic.ppic", PluginFile(48, 16, pixels));
    CPictureDecoder decoder;

    SUBCASE("no library for the suffix") { CHECK(decoder.Load(&file) == 1); }
    SUBCASE("a library without GetPicture")
    {
        InstallPlugin(scratch, "ppic", PYRO_TEST_PLUGIN_PARTIAL);
        CHECK(decoder.LoadPlugin(&file) == 1);
        CHECK(decoder.Load(&file) == 1);
        CHECK(decoder.GetSize(nullptr, nullptr) == 1);
    }
    SUBCASE("GetPicture failing, or handing back fewer pixels than its header says")
    {
        InstallPlugin(scratch, "ppic");
        for (uint32_t mode : {1u, 2u}) {
            CAPTURE(mode);
            CFileBuffer failing;
            ReadFixture(scratch, failing, "mode.ppic", PluginFile(48, 16, pixels, mode));
            REQUIRE(decoder.Load(&failing) == 0);
            CHECK(DrawnPixels(decoder, 48, 16).empty());
            CHECK(decoder.GetSize(nullptr, nullptr) == 1);  // the failure emptied the decoder
        }
    }
}

TEST_CASE("the factory interface makes no decoder; the process-wide factory makes one")
{
    CPictureDecoderFactory none;
    CHECK(none.Create() == nullptr);
    CPictureDecoderFactory& factory = GetPictureDecoderFactory();
    CHECK(&factory == &GetPictureDecoderFactory());
    std::unique_ptr<CPictureDecoder> decoder(factory.Create());
    CHECK(decoder != nullptr);
}
