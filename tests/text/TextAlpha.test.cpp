// Antialiased text with alpha, compared pixel for pixel with GDI's own greyscale glyphs of the
// same font, fetched and placed here: each glyph's GGO_GRAY8_BITMAP levels (0 to 64) scaled to
// 255 in the alpha byte at the pen position plus the glyph's origin, below the ascent.
#include <pyro/text/TextPlane.h>

#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "TextTestSupport.h"

namespace {

// Debian's font files, by the drive Wine maps the file system to.
constexpr const char* kDejaVu = "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
constexpr const char* kIpaGothic = "Z:\\usr\\share\\fonts\\opentype\\ipafont-gothic\\ipag.ttf";

// The expected alpha bytes of one line drawn at (x, y) on a width by height plane.
std::vector<int> ExpectedAlpha(const wchar_t* text, int height, int32_t width, int32_t planeHeight, int x, int y)
{
    std::vector<int> alpha(size_t(width) * planeHeight, 0);
    HFONT font = CreateFontW(height, 0, 0, 0, 300, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, PROOF_QUALITY,
                             FF_MODERN | DEFAULT_PITCH, L"DejaVu Sans");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    int pen = x;
    for (const wchar_t* c = text; *c; ++c) {
        GLYPHMETRICS glyph;
        const DWORD size = GetGlyphOutlineW(dc, *c, GGO_GRAY8_BITMAP, &glyph, 0, nullptr, &identity);
        std::vector<BYTE> levels(size ? size : 1);
        GetGlyphOutlineW(dc, *c, GGO_GRAY8_BITMAP, &glyph, size, levels.data(), &identity);
        const int pitch = (int(glyph.gmBlackBoxX) + 3) & ~3;
        for (int row = 0; size && row < int(glyph.gmBlackBoxY); ++row) {
            for (int column = 0; column < int(glyph.gmBlackBoxX); ++column) {
                const int px = pen + glyph.gmptGlyphOrigin.x + column;
                const int py = y + metrics.tmAscent - glyph.gmptGlyphOrigin.y + row;
                const int level = levels[size_t(row) * pitch + column];
                if (level && px >= 0 && px < width && py >= 0 && py < planeHeight)
                    alpha[size_t(py) * width + px] = level >= 64 ? 255 : (level * 255 + 32) / 64;
            }
        }
        pen += glyph.gmCellIncX;
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
    return alpha;
}

struct FontLoaded {
    FontLoaded()
    {
        REQUIRE(CTextDraw::AddFontFile(kDejaVu) == CTextDraw::kFontFileOk);
        REQUIRE(CTextDraw::AddFontFile(kIpaGothic) == CTextDraw::kFontFileOk);
    }
};

}  // namespace

TEST_CASE("alpha text holds GDI's greyscale glyphs as coverage and the text colour in every covered pixel")
{
    FontLoaded loaded;
    CTextPlane plane;
    plane.text.SetFaceName("DejaVu Sans").SetHeight(24).SetText("Wavy glyphs").SetTextColor(0x3080FF)
        .SetShadowColor(CTextDraw::kNone).SetAlphaQuality(true);
    REQUIRE(plane.RenderText() == 0);
    CHECK(plane.IsAlpha());
    int32_t w, h;
    plane.GetSize(&w, &h);
    const std::vector<int> expected = ExpectedAlpha(L"Wavy glyphs", 24, w, h, 0, 0);
    int mismatches = 0, partial = 0, covered = 0;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t pixel = plane.GetImpl()->GetPixel(x, y);
            const int alpha = int(pixel >> 24);
            mismatches += alpha != expected[size_t(y) * w + x];
            mismatches += alpha != 0 && (pixel & 0xFFFFFF) != 0xFF8030;  // colour 0x3080FF as a pixel
            mismatches += alpha == 0 && pixel != 0;
            covered += alpha != 0;
            partial += alpha != 0 && alpha != 255;
        }
    }
    CHECK(mismatches == 0);
    CHECK(covered > 200);
    CHECK(partial > 50);  // smooth edges: many pixels partly covered

    SUBCASE("the classic keyed rendering stays the default")
    {
        CTextPlane classic;
        classic.text.SetFaceName("DejaVu Sans").SetHeight(24).SetText("Wavy glyphs");
        REQUIRE(classic.RenderText() == 0);
        CHECK_FALSE(classic.IsAlpha());
        CHECK_FALSE(classic.text.IsAlphaQuality());
    }
}

TEST_CASE("alpha text keeps its shadow under the text and its box opaque, and draws smooth over any background")
{
    FontLoaded loaded;
    CTextPlane shadowed;
    shadowed.text.SetFaceName("DejaVu Sans").SetHeight(24).SetText("Il").SetTextColor(0xFFFFFF)
        .SetShadowColor(0x0000FF).SetShadowOffset(3, 3).SetAlphaQuality(true);
    REQUIRE(shadowed.RenderText() == 0);
    int32_t w, h;
    shadowed.GetSize(&w, &h);
    const std::vector<int> text = ExpectedAlpha(L"Il", 24, w, h, 0, 0);
    const std::vector<int> shadow = ExpectedAlpha(L"Il", 24, w, h, 3, 3);
    int wrong = 0, shadowOnly = 0;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t pixel = shadowed.GetImpl()->GetPixel(x, y);
            const int t = text[size_t(y) * w + x], s = shadow[size_t(y) * w + x];
            if (t == 255) wrong += pixel != 0xFFFFFFFF;              // full text hides the shadow
            if (t == 0 && s != 0) {
                wrong += pixel != (uint32_t(s) << 24 | 0xFF0000);     // shadow alone: red at its coverage
                ++shadowOnly;
            }
            if (t == 0 && s == 0) wrong += pixel != 0;
        }
    }
    CHECK(wrong == 0);
    CHECK(shadowOnly > 30);

    CTextPlane boxed;
    boxed.text.SetFaceName("DejaVu Sans").SetHeight(24).SetText("Box").SetTextColor(0xFFFFFF)
        .SetShadowColor(CTextDraw::kNone).SetBkColor(0x004080).SetAlphaQuality(true);
    REQUIRE(boxed.RenderText() == 0);
    boxed.GetSize(&w, &h);
    SIZE extent = {0, 0};
    {
        HFONT font = CreateFontW(24, 0, 0, 0, 300, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, PROOF_QUALITY, FF_MODERN, L"DejaVu Sans");
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, font);
        GetTextExtentPoint32W(dc, L"Box", 3, &extent);
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(font);
    }
    int notOpaque = 0, outside = 0;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t alpha = boxed.GetImpl()->GetPixel(x, y) >> 24;
            if (x < extent.cx && y < extent.cy) notOpaque += alpha != 255;
            else outside += alpha != 0;
        }
    }
    CHECK(notOpaque == 0);
    CHECK(outside == 0);

    // BltAlpha over white: the edges of black text are greys between the two.
    Canvas canvas(w, 40, 0xFFFFFF);
    CTextPlane grey;
    grey.text.SetFaceName("DejaVu Sans").SetHeight(24).SetText("Il").SetTextColor(0x000000)
        .SetShadowColor(CTextDraw::kNone).SetAlphaQuality(true);
    REQUIRE(grey.RenderText() == 0);
    REQUIRE(canvas.plane.BltAlpha(&grey, 0, 0) == 0);
    int greys = 0;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t p = canvas.plane.GetImpl()->GetPixel(x, y) & 0xFFFFFF;
            greys += p != 0xFFFFFF && p != 0 && (p & 0xFF) == (p >> 8 & 0xFF);
        }
    CHECK(greys > 10);
}

TEST_CASE("alpha text turns for vertical planes like keyed text")
{
    FontLoaded loaded;
    CTextPlane upright, vertical;
    for (CTextPlane* plane : {&upright, &vertical}) {
        plane->text.SetFaceName("IPAGothic").SetHeight(20).SetText("縦書き").SetShadowColor(CTextDraw::kNone)
            .SetAlphaQuality(true);
    }
    vertical.vertical = true;
    REQUIRE(vertical.RenderText() == 0);
    CHECK(vertical.IsAlpha());
    CHECK(vertical.text.GetFaceName() == "IPAGothic");
    int32_t w, h;
    vertical.GetSize(&w, &h);
    CHECK(h > w);
    int covered = 0;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) covered += (vertical.GetImpl()->GetPixel(x, y) >> 24) != 0;
    CHECK(covered > 100);
}
