// Text planes: sizes, the quarter-turned vertical rendering and Japanese glyphs.
#include <pyro/text/TextPlane.h>

#include "graphics/PlaneTesting.h"

#include "TextTestSupport.h"

#include <doctest/doctest.h>

#include <vector>

TEST_CASE("a horizontal render makes a plane of the text's size; an empty text a 1 by 1 plane")
{
    CTextPlane plane;
    CHECK(plane.RenderText() == 0);
    int32_t w, h;
    plane.GetSize(&w, &h);
    CHECK((w == 1 && h == 1));

    plane.text.SetText("Pyro\n丸").SetTextColor(kGdiRed);
    plane.GetImpl()->GetAlphaFlag() = 1;
    CHECK(plane.RenderText() == 0);
    int32_t tw, th;
    plane.text.GetTextSize(&tw, &th);
    plane.GetSize(&w, &h);
    CHECK((w == tw && h == th));
    CHECK_FALSE(plane.IsAlpha());
    CHECK(plane.GetImpl()->GetDC() != nullptr);
    CHECK(CountPixels(plane, kPixelRed) > 0);

    // The draw offset moves the text inside the plane.
    CTextPlane moved;
    moved.text.SetText("Pyro\n丸").SetTextColor(kGdiRed);
    moved.drawX = 5;
    CHECK(moved.RenderText() == 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 5; ++x) CHECK((moved.GetImpl()->GetPixel(x, y) & 0xFFFFFF) == 0);
}

TEST_CASE("a vertical render is the horizontal render of the \"@\" face turned a quarter clockwise")
{
    // The shadow offset is turned back before drawing, so the horizontal reference uses the
    // turned-back offset (dy, -dx) to draw the same image.
    CTextPlane horizontal;
    horizontal.text.SetText("ナンバー2\nAb").SetFaceName("@ＭＳ ゴシック").SetShadowOffset(2, -2);
    horizontal.drawX = 1;
    horizontal.drawY = 3;
    REQUIRE(horizontal.RenderText() == 0);
    int32_t w, h;
    horizontal.GetSize(&w, &h);

    for (const char* face : {"ＭＳ ゴシック", "@ＭＳ ゴシック"}) {
        CAPTURE(face);
        CTextPlane vertical;
        vertical.vertical = true;
        vertical.text.SetText("ナンバー2\nAb").SetFaceName(face);
        vertical.drawX = 1;
        vertical.drawY = 3;
        vertical.GetImpl()->GetAlphaFlag() = 1;
        REQUIRE(vertical.RenderText() == 0);
        int32_t vw, vh;
        vertical.GetSize(&vw, &vh);
        CHECK((vw == h && vh == w));
        CHECK_FALSE(vertical.IsAlpha());
        // Face and shadow offset read back as they were (and "@" was not doubled: the image is
        // the same for both faces).
        CHECK(vertical.text.GetFaceName() == face);
        int32_t dx, dy;
        vertical.text.GetShadowOffset(&dx, &dy);
        CHECK((dx == 2 && dy == 2));

        const std::vector<uint32_t> from = PixelsOf(horizontal);
        const std::vector<uint32_t> to = PixelsOf(vertical);
        int bad = 0;
        for (int i = 0; i < h; ++i)
            for (int j = 0; j < w; ++j) bad += to[size_t(j) * vw + (vw - 1 - i)] != from[size_t(i) * w + j];
        CHECK(bad == 0);
        CHECK(CountOther(vertical, 0) > 0);
    }
}

TEST_CASE("\"ナンバー2！！\" in \"ＭＳ ゴシック\" draws real glyphs, not boxes or question marks")
{
    // The font the system picks for the face, upright or vertical, has a glyph for every
    // character, Latin letters included.
    for (const char* face : {"ＭＳ ゴシック", "@ＭＳ ゴシック"}) {
        CAPTURE(face);
        HFONT font = CreateFontA(24, 0, 0, 0, 300, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, PROOF_QUALITY, 0x30, face);
        REQUIRE(font != nullptr);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, font);
        const wchar_t wide[] = L"\u30CA\u30F3\u30D0\u30FC2\uFF01\uFF01Pyro";
        WORD glyphs[11];
        CHECK(GetGlyphIndicesW(dc, wide, 11, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == 11);
        for (WORD g : glyphs) CHECK(g != 0xFFFF);
        // Each Shift-JIS character is one full-width cell: the code page reached the font intact.
        SIZE one, all;
        GetTextExtentPoint32A(dc, "ナ", 2, &one);
        GetTextExtentPoint32A(dc, "ナンバー", 8, &all);
        CHECK(all.cx == 4 * one.cx);
        CHECK(one.cx > 16);
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(font);
    }

    // Rendered one by one, the characters all differ from each other and from "?": a missing
    // glyph box or a replacement mark would look the same each time.
    const char* characters[] = {"ナ", "ン", "バ", "ー", "！", "?"};
    std::vector<std::vector<uint32_t>> images;
    for (const char* c : characters) {
        CTextPlane plane;
        plane.text.SetText(c).SetHeight(24).SetShadowColor(CTextDraw::kNone);
        REQUIRE(plane.RenderText() == 0);
        CHECK(CountOther(plane, 0) > 4);
        images.push_back(PixelsOf(plane));
    }
    for (size_t i = 0; i < images.size(); ++i)
        for (size_t j = i + 1; j < images.size(); ++j) CHECK(images[i] != images[j]);

    CTextPlane whole;
    whole.text.SetText("ナンバー2！！").SetHeight(24);
    REQUIRE(whole.RenderText() == 0);
    CHECK(CountPixels(whole, 0xFFFFFF) > 50);
    CHECK(CountPixels(whole, 0x808080) > 50);
}
