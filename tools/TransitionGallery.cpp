// Transition gallery: renders every transition effect at phases 64, 128 and 192 from one
// generated picture onto another and writes a contact sheet as a 24-bit bitmap, each cell
// numbered with its effect. Usage: transition_gallery [output.bmp]; docs/transitions.png is
// its output converted with `convert transition-gallery.bmp docs/transitions.png`.
#include <pyro/graphics/Plane.h>
#include <pyro/graphics/transfer/Transition.h>
#include "tools/BmpFile.h"
#include "tools/Packer.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int32_t CellW = 160;  // half the game's screen in each direction
constexpr int32_t CellH = 120;
constexpr int32_t Phases[3] = {64, 128, 192};
constexpr int32_t GroupsPerRow = 4;
constexpr int32_t CellGap = 2;    // between the three phases of one effect
constexpr int32_t GroupGap = 12;  // between effects
constexpr int32_t Margin = 8;
constexpr int32_t Scale = 2;      // of the digit font
constexpr int32_t LabelH = 5 * Scale + 6;
constexpr int32_t GroupW = 3 * CellW + 2 * CellGap;
constexpr int32_t RowH = CellH + LabelH + 4;
constexpr uint32_t Background = 0x202020;
constexpr uint32_t Ink = 0xFFFFFF;
constexpr uint32_t HeaderInk = 0xA0A0A0;

// Digits 0-9 in a 3 by 5 font, rows from the top, three bits per row (leftmost pixel highest).
constexpr uint16_t Digits[10] = {
    0b111'101'101'101'111, 0b010'110'010'010'111, 0b111'001'111'100'111, 0b111'001'111'001'111,
    0b101'101'111'001'001, 0b111'100'111'001'111, 0b111'100'111'101'111, 0b111'001'001'001'001,
    0b111'101'111'101'111, 0b111'101'111'001'111,
};

struct Sheet {
    PixelImage image;

    Sheet(int32_t w, int32_t h)
    {
        image.width = uint32_t(w);
        image.height = uint32_t(h);
        image.pixels.assign(size_t(w) * size_t(h), Background);
    }

    void Set(int32_t x, int32_t y, uint32_t colour)
    {
        if (x >= 0 && y >= 0 && uint32_t(x) < image.width && uint32_t(y) < image.height)
            image.pixels[size_t(y) * image.width + x] = colour;
    }

    // Writes a number centred on column cx with its top at y.
    void Number(int32_t value, int32_t cx, int32_t y, uint32_t colour)
    {
        char text[16];
        const int n = std::snprintf(text, sizeof text, "%d", value);
        const int32_t advance = 4 * Scale;
        int32_t x = cx - (n * advance - Scale) / 2;
        for (int i = 0; i < n; ++i, x += advance) {
            const uint16_t glyph = Digits[text[i] - '0'];
            for (int32_t row = 0; row < 5; ++row)
                for (int32_t col = 0; col < 3; ++col)
                    if (glyph >> (14 - row * 3 - col) & 1)
                        for (int32_t sy = 0; sy < Scale; ++sy)
                            for (int32_t sx = 0; sx < Scale; ++sx)
                                Set(x + col * Scale + sx, y + row * Scale + sy, colour);
        }
    }

    void Paste(const CPlane& plane, int32_t left, int32_t top)
    {
        const uint32_t* src = plane.GetImpl()->GetPixels();
        for (int32_t y = 0; y < CellH; ++y)
            for (int32_t x = 0; x < CellW; ++x) Set(left + x, top + y, src[y * CellW + x]);
    }
};

uint32_t Rgb(int32_t r, int32_t g, int32_t b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

// The picture the transitions start from: a smooth blue-green gradient with faint diagonals.
void PaintFrom(CPlane& plane)
{
    uint32_t* p = plane.GetImpl()->GetPixels();
    for (int32_t y = 0; y < CellH; ++y)
        for (int32_t x = 0; x < CellW; ++x) {
            const int32_t stripe = ((x + y) / 8) % 2 ? 24 : 0;
            p[y * CellW + x] = Rgb(20 + stripe, 60 + y * 160 / CellH, 120 + x * 120 / CellW);
        }
}

// The picture they end on: a warm checkerboard with rings around the centre and a white
// triangle in the top-left corner, so that mirrored or moved pieces are easy to tell.
void PaintTo(CPlane& plane)
{
    uint32_t* p = plane.GetImpl()->GetPixels();
    for (int32_t y = 0; y < CellH; ++y)
        for (int32_t x = 0; x < CellW; ++x) {
            const bool check = ((x / 10) + (y / 10)) % 2 != 0;
            uint32_t colour = check ? Rgb(230, 150, 40) : Rgb(170, 40, 60);
            const int32_t dx = 2 * x - CellW;
            const int32_t dy = 2 * y - CellH;
            const int32_t d2 = dx * dx + dy * dy;
            for (int32_t ring = CellH / 4; ring <= CellW; ring += CellH / 4)
                if (d2 >= (2 * ring - 3) * (2 * ring - 3) && d2 <= (2 * ring + 3) * (2 * ring + 3))
                    colour = Rgb(250, 240, 120);
            if (x + y < CellH / 3) colour = Rgb(255, 255, 255);
            p[y * CellW + x] = colour;
        }
}

}  // namespace

int main(int argc, char** argv)
{
    const char* output = argc > 1 ? argv[1] : "transition-gallery.bmp";
    CPlane from;
    CPlane to;
    CPlane cell;
    if (from.Create(CellW, CellH) || to.Create(CellW, CellH) || cell.Create(CellW, CellH)) {
        std::fprintf(stderr, "transition_gallery: cannot create the planes\n");
        return 1;
    }
    PaintFrom(from);
    PaintTo(to);

    const int32_t rows = (TransitionCount + GroupsPerRow - 1) / GroupsPerRow;
    const int32_t headerH = 5 * Scale + 8;
    Sheet sheet(2 * Margin + GroupsPerRow * GroupW + (GroupsPerRow - 1) * GroupGap,
                2 * Margin + headerH + rows * RowH);
    for (int32_t g = 0; g < GroupsPerRow; ++g)
        for (int32_t i = 0; i < 3; ++i)
            sheet.Number(Phases[i], Margin + g * (GroupW + GroupGap) + i * (CellW + CellGap) + CellW / 2,
                         Margin, HeaderInk);

    for (int32_t effect = 0; effect < TransitionCount; ++effect) {
        const int32_t left = Margin + (effect % GroupsPerRow) * (GroupW + GroupGap);
        const int32_t top = Margin + headerH + (effect / GroupsPerRow) * RowH;
        for (int32_t i = 0; i < 3; ++i) {
            cell.BltFast(&from, 0, 0, nullptr, nullptr, nullptr);
            TransitionTable[effect](&cell, &to, 0, 0, Phases[i], 0, 0, nullptr);
            const int32_t x = left + i * (CellW + CellGap);
            sheet.Paste(cell, x, top);
            sheet.Number(effect, x + CellW / 2, top + CellH + 4, Ink);
        }
    }
    std::string error;
    if (!WriteFileBytes(output, EncodeBmp(sheet.image, 24), error)) {
        std::fprintf(stderr, "transition_gallery: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
