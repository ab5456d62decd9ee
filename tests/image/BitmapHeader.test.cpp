#include <pyro/image/BitmapHeader.h>

#include <doctest/doctest.h>

#include <climits>
#include <functional>

#include "ImageTesting.h"

namespace {

bool Accepts(const std::vector<uint8_t>& file)
{
    BitmapLayout layout;
    return ParseBitmapFile(file.data(), file.size(), layout);
}

const std::vector<uint32_t> k3x2 = {0x00102030, 0x00405060, 0x00708090,
                                    0x00A0B0C0, 0x00D0E0F0, 0x00010203};

}  // namespace

TEST_CASE("a 24-bit bitmap copies with its rows turned top-down and top bytes 0")
{
    for (bool topDown : {false, true}) {
        CAPTURE(topDown);
        const std::vector<uint8_t> file = Bmp24(3, 2, k3x2, topDown);
        BitmapLayout layout;
        REQUIRE(ParseBitmapFile(file.data(), file.size(), layout));
        CHECK(layout.width == 3);
        CHECK(layout.rows == 2);
        CHECK(layout.height == (topDown ? -2 : 2));
        CHECK(layout.stride == 12);

        // A pitch wider than the rows: the words between them stay untouched.
        std::vector<uint32_t> out(10, 0xEEEEEEEE);
        CopyBitmapRows24(file.data(), layout, out.data(), 20);
        const std::vector<uint32_t> expected = {0x00102030, 0x00405060, 0x00708090, 0xEEEEEEEE,
                                                0xEEEEEEEE, 0x00A0B0C0, 0x00D0E0F0, 0x00010203,
                                                0xEEEEEEEE, 0xEEEEEEEE};
        CHECK(out == expected);
    }
}

TEST_CASE("bitmaps whose headers, colour table or rows do not fit the file are refused")
{
    const std::vector<uint8_t> good24 = Bmp24(3, 2, k3x2);
    REQUIRE(Accepts(good24));
    std::vector<uint32_t> palette(4, 0x00123456);
    const std::vector<uint8_t> good8 = Bmp8(2, 2, {0, 1, 2, 3}, palette);
    REQUIRE(Accepts(good8));

    struct Damage {
        const char* what;
        const std::vector<uint8_t>* base;
        std::function<void(std::vector<uint8_t>&)> apply;
    };
    const Damage damages[] = {
        {"shorter than the two headers", &good24, [](auto& f) { f.resize(53); }},
        {"not BM", &good24, [](auto& f) { f[1] = 'A'; }},
        {"last row cut by a byte", &good24, [](auto& f) { f.pop_back(); }},
        {"bit offset past the end", &good24, [](auto& f) { PutLE(f, 10, uint32_t(f.size() + 1)); }},
        {"bit offset leaves too few rows", &good24, [](auto& f) { PutLE(f, 10, 60); }},
        {"bit offset near 4 GiB", &good24, [](auto& f) { PutLE(f, 10, 0xFFFFFFF0); }},
        {"core header size", &good24, [](auto& f) { PutLE(f, 14, 12); }},
        {"header size past the end", &good24, [](auto& f) { PutLE(f, 14, 0xFFFFFFFF); }},
        {"width 0", &good24, [](auto& f) { PutLE(f, 18, 0); }},
        {"negative width", &good24, [](auto& f) { PutLE(f, 18, uint32_t(-3)); }},
        {"height 0", &good24, [](auto& f) { PutLE(f, 22, 0); }},
        {"smallest height", &good24, [](auto& f) { PutLE(f, 22, uint32_t(INT32_MIN)); }},
        {"rows beyond the data", &good24, [](auto& f) { PutLE(f, 22, 3); }},
        {"width times bit count overflows", &good24,
         [](auto& f) {
             PutLE(f, 18, 0x7FFFFFFF);
             PutLE(f, 28, 32, 2);
         }},
        {"height times stride overflows", &good24, [](auto& f) { PutLE(f, 22, 0x7FFFFFFF); }},
        {"bit count 0", &good24, [](auto& f) { PutLE(f, 28, 0, 2); }},
        {"bit count 3", &good24, [](auto& f) { PutLE(f, 28, 3, 2); }},
        {"JPEG compression", &good24, [](auto& f) { PutLE(f, 30, 4); }},
        {"run-length coding at 24 bits", &good24, [](auto& f) { PutLE(f, 30, kBitmapRle8); }},
        {"bit fields at 24 bits", &good24, [](auto& f) { PutLE(f, 30, kBitmapBitFields); }},
        {"colours used beyond the file", &good24, [](auto& f) { PutLE(f, 46, 100); }},
        {"palette cut", &good8, [](auto& f) { PutLE(f, 46, 0); }},  // 256 colours named
        {"run-length top-down", &good8,
         [](auto& f) {
             PutLE(f, 30, kBitmapRle8);
             PutLE(f, 22, uint32_t(-2));
         }},
        {"run-length size past the end", &good8,
         [](auto& f) {
             PutLE(f, 30, kBitmapRle8);
             PutLE(f, 34, 9);
         }},
        {"run-length size 0", &good8,
         [](auto& f) {
             PutLE(f, 30, kBitmapRle8);
             PutLE(f, 34, 0);
         }},
    };
    for (const Damage& damage : damages) {
        CAPTURE(damage.what);
        std::vector<uint8_t> file = *damage.base;
        damage.apply(file);
        CHECK_FALSE(Accepts(file));
    }

    // The same sizes are sound at their limits.
    std::vector<uint8_t> rle = good8;
    PutLE(rle, 30, kBitmapRle8);
    PutLE(rle, 34, 8);
    CHECK(Accepts(rle));
    BmpFields fields;
    fields.width = 1;
    fields.bitCount = 32;
    fields.compression = kBitmapBitFields;
    fields.palette = {0x00FF0000, 0x0000FF00, 0x000000FF};  // the masks follow the header
    fields.data = {1, 2, 3, 4};
    std::vector<uint8_t> withMasks = BuildBmp(fields);
    CHECK(Accepts(withMasks));
    withMasks.resize(54 + 8);  // the masks cut; the pixel still fits
    PutLE(withMasks, 10, 58);
    CHECK_FALSE(Accepts(withMasks));
}

TEST_CASE("content beginning with BM is a damaged bitmap exactly when the checks refuse it")
{
    for (const HostileFile& hostile : HostileBitmaps()) {
        CAPTURE(hostile.what);
        CHECK(IsDamagedBitmap(hostile.bytes.data(), hostile.bytes.size()));
    }
    const std::vector<uint8_t> good = Bmp24(3, 2, k3x2);
    CHECK_FALSE(IsDamagedBitmap(good.data(), good.size()));
    // Not claiming to be a bitmap at all: other decoders may try it.
    const std::vector<uint8_t> others[] = {{}, {'B'}, {'M', 'B', 0}, {'b', 'm', 0}, {'G', 'I'}};
    for (const std::vector<uint8_t>& other : others)
        CHECK_FALSE(IsDamagedBitmap(other.data(), other.size()));
    CHECK_FALSE(IsDamagedBitmap(nullptr, 100));
}

TEST_CASE("a bitmap information block must hold its colour table and its pixel block its rows")
{
    std::vector<uint8_t> file = Bmp8(2, 2, {0, 1, 2, 3}, std::vector<uint32_t>(4, 0));
    const uint8_t* info = file.data() + kBitmapFileHeaderSize;
    BitmapLayout layout;
    CHECK(CheckBitmapInfo(info, 40 + 16, 8, layout));
    CHECK(layout.paletteColours == 4);
    CHECK(layout.paletteOffset == 40);
    CHECK_FALSE(CheckBitmapInfo(info, 40 + 15, 8, layout));  // colour table cut
    CHECK_FALSE(CheckBitmapInfo(info, 40 + 16, 7, layout));  // rows cut
    CHECK_FALSE(CheckBitmapInfo(info, 39, 8, layout));
    CHECK_FALSE(CheckBitmapInfo(nullptr, 100, 100, layout));
}

TEST_CASE("the logical palette takes at most 236 colours and keeps the system's twenty")
{
    std::vector<uint32_t> table(256);
    for (uint32_t i = 0; i < 256; ++i) table[i] = (i << 16) | ((255 - i) << 8) | (i ^ 0x5A);
    uint8_t entries[256 * 4];

    SUBCASE("8 bits: entries 10 to 245 from the first 236 colours")
    {
        const std::vector<uint8_t> file = Bmp8(1, 1, {0}, table);
        BitmapLayout layout;
        REQUIRE(ParseBitmapFile(file.data(), file.size(), layout));
        FillBitmapPalette(file.data(), layout, entries);
        for (int i = 0; i < 256; ++i) {
            CAPTURE(i);
            const uint8_t* e = entries + 4 * i;
            if (i < 10 || i >= 246) {
                CHECK(e[0] == i);
                CHECK(e[1] == 0);
                CHECK(e[2] == 0);
                CHECK(e[3] == 2);
            } else {
                const uint32_t c = table[size_t(i - 10)];
                CHECK(e[0] == uint8_t(c >> 16));
                CHECK(e[1] == uint8_t(c >> 8));
                CHECK(e[2] == uint8_t(c));
                CHECK(e[3] == 5);
            }
        }
    }
    SUBCASE("a short colour table or a 1-bit bitmap leaves the rest up to 245 zero")
    {
        for (uint32_t bits : {1u, 8u}) {
            CAPTURE(bits);
            BmpFields fields;
            fields.bitCount = bits;
            fields.palette.assign(table.begin(), table.begin() + 16);
            fields.coloursUsed = bits == 8 ? 16 : 0;
            fields.data = {0, 0, 0, 0};
            const std::vector<uint8_t> file = BuildBmp(fields);
            BitmapLayout layout;
            REQUIRE(ParseBitmapFile(file.data(), file.size(), layout));
            FillBitmapPalette(file.data(), layout, entries);
            const int taken = bits == 1 ? 2 : 16;
            CHECK(entries[4 * (10 + taken - 1) + 3] == 5);
            for (int i = 10 + taken; i < 246; ++i) {
                CAPTURE(i);
                CHECK((entries[4 * i] | entries[4 * i + 1] | entries[4 * i + 2] |
                       entries[4 * i + 3]) == 0);
            }
        }
    }
}

TEST_CASE("a saved 3 by 2 bitmap is 78 bytes with the bottom row first")
{
    // Rows of 4-byte pixels with a pitch of 5 words; the fourth byte never reaches the file.
    std::vector<uint32_t> rows(10, 0xFFFFFFFF);
    std::copy(Pixels3x2().begin(), Pixels3x2().begin() + 3, rows.begin());
    std::copy(Pixels3x2().begin() + 3, Pixels3x2().end(), rows.begin() + 5);
    CHECK(EncodeBitmap24(reinterpret_cast<const uint8_t*>(rows.data()), 20, 4, 3, 2) ==
          Bitmap3x2());

    // 3-byte pixels give the same file.
    const std::vector<uint8_t> bmp = Bmp24(3, 2, Pixels3x2(), true);
    CHECK(EncodeBitmap24(bmp.data() + 54, 12, 3, 3, 2) == Bitmap3x2());
    CHECK(BitmapStride24(1) == 4);
    CHECK(BitmapStride24(4) == 12);
}
