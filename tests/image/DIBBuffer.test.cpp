#include "image/DIBBuffer.h"

#include <doctest/doctest.h>

#include "PictureTesting.h"

TEST_CASE("a DIB buffer is a top-down section of the bit count asked for")
{
    CDIBBuffer buffer;
    int32_t w = 0;
    int32_t h = 0;
    CHECK(buffer.GetSize(&w, &h) == 1);
    REQUIRE(buffer.Create(5, 3, 24) == 0);
    REQUIRE(buffer.GetSize(&w, &h) == 0);
    CHECK(w == 5);
    CHECK(h == 3);
    CHECK(buffer.GetBitCount() == 24);
    CHECK(buffer.GetPitch() == 16);
    REQUIRE(buffer.GetDC() != nullptr);
    ::SetPixel(buffer.GetDC(), 1, 0, RGB(0x11, 0x22, 0x33));
    ::GdiFlush();
    const uint8_t* bits = static_cast<const uint8_t*>(buffer.GetBits());
    CHECK(bits[3] == 0x33);  // row 0 is the top row; bytes blue, green, red
    CHECK(bits[5] == 0x11);

    CHECK(buffer.Create(0, 3, 24) == 1);
    CHECK(buffer.GetDC() == nullptr);
    CHECK(buffer.GetSize(&w, &h) == 1);
    CHECK(buffer.Release() == 0);
}

TEST_CASE("SaveBMP writes the buffer's rectangle as a 24-bit bitmap")
{
    CScratch scratch;
    CDIBBuffer buffer;
    CHECK(buffer.SaveBMP("empty.bmp", nullptr) == 0);
    CHECK_FALSE(scratch.Exists("empty.bmp"));

    SUBCASE("32-bit buffer, whole and in part")
    {
        REQUIRE(buffer.Create(3, 2, 32) == 0);
        std::copy(Pixels3x2().begin(), Pixels3x2().end(), static_cast<uint32_t*>(buffer.GetBits()));
        REQUIRE(buffer.SaveBMP("whole.bmp", nullptr) == 0);
        CHECK(ReadScratch(scratch, "whole.bmp") == Bitmap3x2());

        const Rect part{1, 1, 9, 9};  // cut to (1, 1)-(3, 2)
        REQUIRE(buffer.SaveBMP("part.bmp", &part) == 0);
        const std::vector<uint8_t> file = ReadScratch(scratch, "part.bmp");
        REQUIRE(file.size() == 54 + 8);
        CHECK(GetLE(file, 18) == 2);
        CHECK(GetLE(file, 22) == 1);
        CHECK(std::vector<uint8_t>(file.begin() + 54, file.end()) ==
              std::vector<uint8_t>{0xF0, 0xE0, 0xD0, 0x03, 0x02, 0x01, 0, 0});
    }
    SUBCASE("8-bit buffer through its grey colour table")
    {
        REQUIRE(buffer.Create(4, 1, 8) == 0);
        uint8_t* bits = static_cast<uint8_t*>(buffer.GetBits());
        bits[0] = 0;
        bits[1] = 85;
        bits[2] = 170;
        bits[3] = 255;
        REQUIRE(buffer.SaveBMP("grey.bmp", nullptr) == 0);
        const std::vector<uint8_t> file = ReadScratch(scratch, "grey.bmp");
        REQUIRE(file.size() == 54 + 12);
        CHECK(std::vector<uint8_t>(file.begin() + 54, file.end()) ==
              std::vector<uint8_t>{0, 0, 0, 85, 85, 85, 170, 170, 170, 255, 255, 255});
    }
}

TEST_CASE("a DIB buffer loads a 24-bit bitmap by copying into 32 bits and by drawing otherwise")
{
    CScratch scratch;
    scratch.Put("a.bmp", Bmp24(3, 2, Pixels3x2()));
    CDIBBuffer buffer;
    REQUIRE(buffer.Load("a.bmp", 32) == 0);
    const uint32_t* bits = static_cast<const uint32_t*>(buffer.GetBits());
    CHECK(std::vector<uint32_t>(bits, bits + 6) == WithoutAlpha(Pixels3x2()));

    REQUIRE(buffer.Load("a.bmp", 24) == 0);
    CHECK(buffer.GetBitCount() == 24);
    REQUIRE(buffer.SaveBMP("again.bmp", nullptr) == 0);
    CHECK(ReadScratch(scratch, "again.bmp") == Bitmap3x2());

    CHECK(buffer.Load("missing.bmp", 32) == 1);
    CHECK(buffer.Load(nullptr, 32) == 1);
}
