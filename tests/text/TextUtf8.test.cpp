// Text of a UTF-8 program: drawn through the wide GDI calls in any script the face has, the
// face's missing glyph for a character it lacks, and vertical Japanese exactly as a Shift-JIS
// program draws it.
#include <pyro/text/TextPlane.h>

#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "TextTestSupport.h"
#include "file/EncodingScope.h"

namespace {

constexpr const char* kDejaVu = "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
constexpr const char* kIpaGothic = "Z:\\usr\\share\\fonts\\opentype\\ipafont-gothic\\ipag.ttf";

std::vector<uint32_t> Pixels(const CPlane& plane)
{
    int32_t w, h;
    plane.GetSize(&w, &h);
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) pixels.push_back(plane.GetImpl()->GetPixel(x, y) & 0xFFFFFF);
    return pixels;
}

// What GDI draws itself for the units (or, with glyphs, for glyph indices) in DejaVu Sans 24,
// white on black at (0, 0), on a plane of the given size.
std::vector<uint32_t> GdiDrawn(const std::vector<WORD>& units, bool glyphs, int32_t w, int32_t h)
{
    Canvas canvas(w, h, 0x000000);
    HFONT font = CreateFontW(24, 0, 0, 0, 300, 0, 0, 0, DEFAULT_CHARSET, 0, 0, PROOF_QUALITY,
                             FF_MODERN | DEFAULT_PITCH, L"DejaVu Sans");
    HDC dc = canvas.DC();
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, 0xFFFFFF);
    ExtTextOutW(dc, 0, 0, glyphs ? ETO_GLYPH_INDEX : 0, nullptr, reinterpret_cast<const wchar_t*>(units.data()),
                UINT(units.size()), nullptr);
    SelectObject(dc, previous);
    DeleteObject(font);
    GdiFlush();
    return Pixels(canvas.plane);
}

struct FontsLoaded {
    FontsLoaded()
    {
        REQUIRE(CTextDraw::AddFontFile(kDejaVu) == CTextDraw::kFontFileOk);
        REQUIRE(CTextDraw::AddFontFile(kIpaGothic) == CTextDraw::kFontFileOk);
    }
};

}  // namespace

TEST_CASE("a UTF-8 program's text draws through the wide calls, a missing character as the missing glyph")
{
    FontsLoaded loaded;
    EncodingScope utf8(StringEncoding::kUtf8);
    struct Case {
        const wchar_t* text;
        std::vector<WORD> units;
        bool glyphs;
    };
    const Case cases[] = {
        {L"Café", {'C', 'a', 'f', 0xE9}, false},
        {L"Ελληνικά", {0x395, 0x3BB, 0x3BB, 0x3B7, 0x3BD, 0x3B9, 0x3BA, 0x3AC}, false},
        {L"Русский", {0x420, 0x443, 0x441, 0x441, 0x43A, 0x438, 0x439}, false},
        {L"\uD55C", {0}, true},  // 한: DejaVu Sans has no Hangul, so glyph 0 stands for it
    };
    for (const Case& c : cases) {
        CTextPlane plane;
        plane.text.SetFaceName("DejaVu Sans").SetHeight(24).SetText(U8(c.text).c_str()).SetShadowColor(CTextDraw::kNone);
        REQUIRE(plane.RenderText() == 0);
        int32_t w, h;
        plane.GetSize(&w, &h);
        const std::vector<uint32_t> drawn = Pixels(plane);
        CHECK(drawn == GdiDrawn(c.units, c.glyphs, w, h));
        CHECK(CountOther(plane, 0x000000) > 20);
    }
}

TEST_CASE("vertical Japanese of a UTF-8 program is the same picture as a Shift-JIS program's")
{
    FontsLoaded loaded;
    CTextPlane sjis;
    sjis.vertical = true;
    sjis.text.SetFaceName("IPAGothic").SetHeight(20).SetText("縦書きの文字").SetShadowColor(CTextDraw::kNone);
    REQUIRE(sjis.RenderText() == 0);

    EncodingScope utf8(StringEncoding::kUtf8);
    CTextPlane plane;
    plane.vertical = true;
    plane.text.SetFaceName("IPAGothic").SetHeight(20).SetText(U8(L"縦書きの文字").c_str()).SetShadowColor(CTextDraw::kNone);
    REQUIRE(plane.RenderText() == 0);
    int32_t w, h;
    plane.GetSize(&w, &h);
    CHECK(h > 4 * w);
    CHECK(Pixels(plane) == Pixels(sjis));
    CHECK(CountOther(plane, 0x000000) > 100);
}

TEST_CASE("a UTF-8 program's malformed line is neither drawn nor measured, and the others keep their places")
{
    FontsLoaded loaded;
    EncodingScope utf8(StringEncoding::kUtf8);
    CTextDraw text;
    text.SetFaceName("DejaVu Sans").SetHeight(20).SetLineSpacing(24).SetText("ab\n\xC3\n\xF0\x9F\x98");
    std::vector<int32_t> widths;
    REQUIRE(text.GetLineWidths(widths) == 0);
    REQUIRE(widths.size() == 3);
    CHECK(widths[0] > 0);
    CHECK(widths[1] == 0);
    CHECK(widths[2] == 0);
    int32_t w = 0, h = 0;
    REQUIRE(text.GetTextSize(&w, &h) == 0);
    CHECK(w == widths[0] + 3);
    CHECK(h > 48);
}
