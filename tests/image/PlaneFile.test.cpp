// The plane's qga reader, its choice of reader by extension, and Save. On Windows each case
// runs for heap planes and for planes with a DIB section.
#include <pyro/graphics/PlaneImpl.h>

#include <doctest/doctest.h>

#include <pyro/image/QgaHeader.h>
#include "ImageTesting.h"
#include "app/ErrorCapture.h"
#include "tools/LzssEncoder.h"

namespace {

std::vector<bool> PlaneKinds()
{
#if defined(_WIN32)
    return {false, true};
#else
    return {false};
#endif
}

CPlane& Prepare(CPlane& plane, bool useDIB)
{
    plane.GetImpl()->SetUseDIB(useDIB);
    return plane;
}

void CheckEmpty(const CPlane& plane)
{
    CHECK(PixelsOf(plane).empty());
    CHECK_FALSE(plane.IsLoaded());
    CHECK_FALSE(plane.IsAlpha());
}

std::vector<uint8_t> QgaHeaderOnly(uint32_t width, uint32_t height, uint32_t compressed,
                                   uint32_t length, size_t dataBytes)
{
    std::vector<uint8_t> file(QgaHeader::kSize + dataBytes, 0x11);
    PutLE(file, 0, 0x31414751);
    PutLE(file, 4, width);
    PutLE(file, 8, height);
    PutLE(file, 12, compressed);
    PutLE(file, 16, length);
    PutLE(file, 20, uint32_t(dataBytes));
    return file;
}

// A qga file whose pixels are LZSS-coded whether or not that makes them smaller.
std::vector<uint8_t> QgaCoded(uint32_t width, uint32_t height, const std::vector<uint32_t>& pixels)
{
    std::vector<uint8_t> bytes(pixels.size() * 4);
    for (size_t i = 0; i < pixels.size(); ++i) PutLE(bytes, 4 * i, pixels[i]);
    const std::vector<uint8_t> coded = CLzssEncoder::Encode(bytes.data(), bytes.size());
    std::vector<uint8_t> file = QgaHeaderOnly(width, height, 1, uint32_t(bytes.size()), 0);
    file.insert(file.end(), coded.begin(), coded.end());
    return file;
}

}  // namespace

TEST_CASE("a stored qga file fills the plane, sets the alpha flag and keys on its first pixel")
{
    CScratch scratch;
    std::vector<uint8_t> file = QgaHeaderOnly(2, 1, 0, 8, 8);
    PutLE(file, 24, 0x80123456);
    PutLE(file, 28, 0xFF00FF00);
    scratch.Put("a.qga", file);
    for (bool useDIB : PlaneKinds()) {
        CAPTURE(useDIB);
        CPlane plane;
        REQUIRE(Prepare(plane, useDIB).Load("a.qga") == 0);
        CHECK(PixelsOf(plane) == std::vector<uint32_t>{0x80123456, 0xFF00FF00});
        CHECK(plane.IsLoaded());
        CHECK(plane.IsAlpha());
        CHECK(plane.GetImpl()->GetColorKey() == 0x00123456);
        CHECK((plane.GetImpl()->GetDC() != nullptr) == useDIB);
    }
}

TEST_CASE("a compressed qga file loads like the stored one, loose or from an archive")
{
    CScratch scratch;
    const std::vector<uint32_t> pixels = Pattern(37, 11);
    const std::vector<uint8_t> coded = Qga(37, 11, pixels, true);
    REQUIRE(GetLE(coded, 12) != 0);  // the pattern does compress
    scratch.Put("img\\coded.qga", coded);
    scratch.Put("img\\stored.qga", Qga(37, 11, pixels, false));
    scratch.PutArchive("data.dat", {{"img\\coded.qga", coded}}, PackOptions{});

    for (bool useDIB : PlaneKinds()) {
        CAPTURE(useDIB);
        for (const char* path : {"img\\coded.qga", "img\\stored.qga", "data\\img\\coded.qga"}) {
            CAPTURE(path);
            CPlane plane;
            REQUIRE(Prepare(plane, useDIB).Load(path) == 0);
            CHECK(PixelsOf(plane) == pixels);
            CHECK(plane.IsAlpha());
            CHECK(plane.GetImpl()->GetColorKey() == (pixels[0] & 0xFFFFFF));
        }
    }
}

TEST_CASE("the qga reader is chosen by the extension after the last full stop, in any case")
{
    CScratch scratch;
    const std::vector<uint8_t> qga = Qga(2, 2, Pattern(2, 2), false);
    for (const char* name : {"upper.QGA", "mixed.QgA", "dir.bmp\\inner.qga"}) {
        CAPTURE(name);
        scratch.Put(name, qga);
        CPlane plane;
        CHECK(plane.Load(name) == 0);
        CHECK(plane.IsAlpha());
    }
    // The same bytes under other names go to the picture decoders, which take nothing here.
    for (const char* name : {"twice.qga.bmp", "noextension", "dir.qga\\inner"}) {
        CAPTURE(name);
        scratch.Put(name, qga);
        CPlane plane;
        CHECK(plane.Load(name) == 1);
        CheckEmpty(plane);
    }
}

TEST_CASE("damaged qga files fail with their codes and leave the plane empty")
{
    CScratch scratch;
    scratch.Put("good.qga", Qga(3, 2, Pattern(3, 2), true));
    std::vector<uint8_t> cutStream = Qga(40, 40, Pattern(40, 40), true);
    cutStream.resize(cutStream.size() - 8);

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        int32_t code;
    };
    const Case cases[] = {
        {"shorter than the header", std::vector<uint8_t>(23, 0), 1},
        {"width 0", QgaHeaderOnly(0, 5, 0, 0, 0), 2},
        {"height 0", QgaHeaderOnly(5, 0, 0, 0, 0), 2},
        {"more than a gigabyte of pixels", QgaHeaderOnly(65536, 65536, 0, 16, 16), 2},
        {"width times height overflows 32 bits", QgaHeaderOnly(0x10000, 0x10001, 0, 4, 4), 2},
        {"four bytes a pixel wrap 64 bits to 0", QgaHeaderOnly(0x80000000, 0x80000000, 0, 16, 16),
         2},
        {"the largest sizes, coded with length 0", QgaHeaderOnly(0xFFFFFFFF, 0xFFFFFFFF, 1, 0, 4),
         2},
        {"one pixel more than a gigabyte", QgaHeaderOnly(0x4000001, 4, 0, 16, 16), 2},
        {"length beyond width x height x 4", QgaHeaderOnly(2, 2, 0, 17, 17), 3},
        {"stored data shorter than the length", QgaHeaderOnly(2, 2, 0, 16, 15), 3},
        {"coded length 0", QgaHeaderOnly(2, 2, 1, 0, 4), 3},
        {"coded data too short to expand to the length", QgaHeaderOnly(100, 100, 1, 40000, 100),
         3},
        {"coded stream ending early", cutStream, 3},
    };
    for (bool useDIB : PlaneKinds()) {
        for (const Case& c : cases) {
            CAPTURE(useDIB);
            CAPTURE(c.what);
            scratch.Put("bad.qga", c.bytes);
            CPlane plane;
            REQUIRE(Prepare(plane, useDIB).Load("good.qga") == 0);
            CHECK(plane.Load("bad.qga") == c.code);
            CheckEmpty(plane);
        }
        CPlane plane;
        CHECK(Prepare(plane, useDIB).Load("missing.qga") == 1);
        CHECK(plane.Load(nullptr) == 1);
        CheckEmpty(plane);
    }
}

TEST_CASE("a file that begins with BM and fails the bitmap checks leaves the plane empty with 1")
{
    CScratch scratch;
    scratch.Put("good.qga", Qga(3, 2, Pattern(3, 2), false));
    for (const HostileFile& hostile : HostileBitmaps()) {
        scratch.Put("hostile.bmp", hostile.bytes);
        for (bool useDIB : PlaneKinds()) {
            CAPTURE(hostile.what);
            CAPTURE(useDIB);
            CPlane plane;
            REQUIRE(Prepare(plane, useDIB).Load("good.qga") == 0);
            CHECK(plane.Load("hostile.bmp") == 1);
            CheckEmpty(plane);
            CHECK(plane.GetImpl()->GetPixels() == nullptr);
        }
    }
}

TEST_CASE("pixels beyond a qga file's length are zero; a stored length of 0 is an empty image")
{
    CScratch scratch;
    std::vector<uint8_t> file = QgaHeaderOnly(2, 2, 0, 6, 6);
    PutLE(file, 24, 0xA1B2C3D4);
    file[28] = 0x77;
    file[29] = 0x66;
    scratch.Put("short.qga", file);
    scratch.Put("empty.qga", QgaHeaderOnly(2, 1, 0, 0, 0));
    for (bool useDIB : PlaneKinds()) {
        CAPTURE(useDIB);
        CPlane plane;
        REQUIRE(Prepare(plane, useDIB).Load("short.qga") == 0);
        CHECK(PixelsOf(plane) == std::vector<uint32_t>{0xA1B2C3D4, 0x00006677, 0, 0});
        REQUIRE(plane.Load("empty.qga") == 0);
        CHECK(PixelsOf(plane) == std::vector<uint32_t>{0, 0});
    }
}

TEST_CASE("coded data longer than its pixels, and coded near the largest ratio, load exactly")
{
    CScratch scratch;
    // Noise: coded, it is longer than the pixels (a flag byte for every eight literals).
    std::vector<uint32_t> noise(61 * 17);
    uint32_t seed = 7;
    for (uint32_t& p : noise) p = seed = seed * 1664525u + 1013904223u;
    const std::vector<uint8_t> noisy = QgaCoded(61, 17, noise);
    REQUIRE(noisy.size() - QgaHeader::kSize > noise.size() * 4);
    scratch.Put("noise.qga", noisy);
    // One colour: every reference at its longest, 144 bytes for 17 of coded data.
    const std::vector<uint32_t> flat(1024 * 1024, 0x80FF8040);
    const std::vector<uint8_t> coded = QgaCoded(1024, 1024, flat);
    REQUIRE((coded.size() - QgaHeader::kSize) * 8 < flat.size() * 4);
    scratch.Put("flat.qga", coded);
    for (bool useDIB : PlaneKinds()) {
        CAPTURE(useDIB);
        CPlane plane;
        REQUIRE(Prepare(plane, useDIB).Load("noise.qga") == 0);
        CHECK(PixelsOf(plane) == noise);
        REQUIRE(plane.Load("flat.qga") == 0);
        CHECK(PixelsOf(plane) == flat);
        CHECK(plane.IsAlpha());
    }
}

TEST_CASE("decoding stops at the end of a coded stream that promises more than it holds")
{
    const std::vector<uint8_t> file = Qga(8, 8, Pattern(8, 8), true);
    QgaHeader header;
    REQUIRE(ReadQgaHeader(file.data(), file.size(), header) == kQgaDone);
    REQUIRE(header.compressed);
    std::vector<uint8_t> pixels(header.length);
    CHECK(DecodeQgaPixels(file.data(), file.size(), header, pixels.data()) == kQgaDone);
    CHECK(DecodeQgaPixels(file.data(), file.size() - 1, header, pixels.data()) == kQgaBadData);
}

TEST_CASE("Save of a 3 by 2 plane writes 78 bytes, bottom row first")
{
    CScratch scratch;
    for (bool useDIB : PlaneKinds()) {
        CAPTURE(useDIB);
        CPlane plane;
        Prepare(plane, useDIB).Create(3, 2);
        std::copy(Pixels3x2().begin(), Pixels3x2().end(), plane.GetImpl()->GetPixels());
        REQUIRE(plane.GetImpl()->Save("shot.bmp", nullptr) == 0);
        CHECK(ReadScratch(scratch, "shot.bmp") == Bitmap3x2());
    }
}

TEST_CASE("Save writes the part of its rectangle inside the plane, and nothing for no pixels")
{
    CScratch scratch;
    for (bool useDIB : PlaneKinds()) {
        CAPTURE(useDIB);
        CPlane plane;
        Prepare(plane, useDIB);
        CHECK(plane.GetImpl()->Save("none.bmp", nullptr) == 0);
        CHECK_FALSE(scratch.Exists("none.bmp"));

        plane.Create(5, 4);
        const std::vector<uint32_t> pixels = Pattern(5, 4);
        std::copy(pixels.begin(), pixels.end(), plane.GetImpl()->GetPixels());
        // (3, 2)-(7, 9) keeps columns 3-4 and rows 2-3.
        const Rect beyond{3, 2, 7, 9};
        REQUIRE(plane.GetImpl()->Save("part.bmp", &beyond) == 0);
        const std::vector<uint8_t> file = ReadScratch(scratch, "part.bmp");
        REQUIRE(file.size() == 54 + 8 * 2);
        CHECK(GetLE(file, 18) == 2);
        CHECK(GetLE(file, 22) == 2);
        for (int32_t y = 0; y < 2; ++y) {
            for (int32_t x = 0; x < 2; ++x) {
                CAPTURE(x);
                CAPTURE(y);
                const uint32_t expected = pixels[size_t(2 + y) * 5 + size_t(3 + x)] & 0xFFFFFF;
                const size_t at = 54 + size_t(1 - y) * 8 + size_t(x) * 3;
                CHECK((GetLE(file, at) & 0xFFFFFF) == expected);
            }
        }
        const Rect outside{5, 0, 8, 4};
        CHECK(plane.GetImpl()->Save("outside.bmp", &outside) == 1);
        CHECK_FALSE(scratch.Exists("outside.bmp"));
        CHECK(plane.GetImpl()->Save(nullptr, nullptr) == 1);
    }
}

TEST_CASE("Save to a .png name writes an opaque RGB PNG of the plane's size on every platform")
{
    CScratch scratch;
    CPlane plane;
    plane.Create(3, 2);
    CHECK(plane.GetImpl()->Save("shot.png", nullptr) == 0);
    const std::vector<uint8_t> file = ReadScratch(scratch, "shot.png");
    REQUIRE(file.size() > 29);
    CHECK(file[1] == 'P');
    CHECK(GetLE(file, 16) == 0x03000000);  // width 3, big-endian
    CHECK(GetLE(file, 20) == 0x02000000);
    CHECK(file[25] == 2);
}

TEST_CASE("every failed load writes one line naming the file and the code, a good one none")
{
    CScratch scratch;
    scratch.Put("good.qga", Qga(3, 2, Pattern(3, 2), false));
    scratch.Put("bad.qga", QgaHeaderOnly(2, 2, 0, 17, 17));
    ErrorCapture errors;
    CPlane plane;
    REQUIRE(plane.Load("good.qga") == 0);
    CHECK(errors.messages.empty());
    CHECK(plane.Load("data\\missing.qga") == 1);
    CHECK(plane.Load("bad.qga") == 3);
    CHECK(plane.Load(nullptr) == 1);
    CHECK(errors.messages == std::vector<std::string>{"CPlane::Loadで\"data\\missing.qga\"の読み込みに失敗 (コード 1)",
                                                      "CPlane::Loadで\"bad.qga\"の読み込みに失敗 (コード 3)",
                                                      "CPlane::Loadで\"\"の読み込みに失敗 (コード 1)"});
}
