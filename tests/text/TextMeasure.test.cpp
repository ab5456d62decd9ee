// Measuring, wrapping and aligning with a real font: every expected width comes from GDI's own
// GetTextExtentPoint32W of the same font.
#include <pyro/text/TextPlane.h>

#include <doctest/doctest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* kDejaVu = "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";

int32_t Extent(const wchar_t* text, int height = 20)
{
    HFONT font = CreateFontW(height, 0, 0, 0, 300, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, PROOF_QUALITY,
                             FF_MODERN | DEFAULT_PITCH, L"DejaVu Sans");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
    return size.cx;
}

}  // namespace

TEST_CASE("a text measures line by line without being drawn, and wraps by its font's widths")
{
    REQUIRE(CTextDraw::AddFontFile(kDejaVu) == CTextDraw::kFontFileOk);
    CTextDraw text;
    text.SetFaceName("DejaVu Sans").SetHeight(20).SetText("Wide WWW\niii");
    std::vector<int32_t> widths;
    REQUIRE(text.GetLineWidths(widths) == 0);
    CHECK(widths == std::vector<int32_t>{Extent(L"Wide WWW"), Extent(L"iii")});
    int32_t w = 0, h = 0;
    REQUIRE(text.GetTextSize(&w, &h) == 0);
    CHECK(w == Extent(L"Wide WWW") + 3);
    text.SetItalic(true);
    REQUIRE(text.GetLineWidths(widths) == 0);
    CHECK(widths[1] == Extent(L"iii") + 5);  // 20 / 4 for the slant (of the upright measure)
    text.SetItalic(false);

    // Wrapped at exactly the width of "The quick brown": that line fits, one letter less does not.
    const int32_t width = Extent(L"The quick brown");
    text.SetText("The quick brown fox jumps").WrapToWidth(width);
    CHECK(text.GetText() == "The quick brown\nfox jumps");
    text.SetText("The quick brown fox jumps").WrapToWidth(width - 1);
    CHECK(text.GetText() == "The quick\nbrown fox\njumps");
    text.SetText("unchanged text").WrapToWidth(0);
    CHECK(text.GetText() == "unchanged text");

    CTextDraw empty;
    CHECK(empty.GetLineWidths(widths) == 1);
    CHECK(widths.empty());
}

TEST_CASE("centred and right-aligned lines are the left-aligned ones moved by the room left in the box")
{
    REQUIRE(CTextDraw::AddFontFile(kDejaVu) == CTextDraw::kFontFileOk);
    const int32_t box = 200;
    const int32_t lineWidth = Extent(L"Centre");
    for (TextAlign align : {TextAlign::kCentre, TextAlign::kRight}) {
        CAPTURE(int(align));
        CTextPlane left, aligned;
        for (CTextPlane* plane : {&left, &aligned}) {
            plane->text.SetFaceName("DejaVu Sans").SetHeight(20).SetText("Centre").SetShadowColor(CTextDraw::kNone)
                .SetAlphaQuality(true);
        }
        aligned.text.SetAlign(align, box);
        REQUIRE(left.RenderText() == 0);
        REQUIRE(aligned.RenderText() == 0);
        int32_t lw, lh, aw, ah;
        left.GetSize(&lw, &lh);
        aligned.GetSize(&aw, &ah);
        CHECK(aw == box + 3);
        CHECK(ah == lh);
        const int32_t offset = align == TextAlign::kCentre ? (box - lineWidth) / 2 : box - lineWidth;
        int mismatches = 0;
        for (int32_t y = 0; y < ah; ++y) {
            for (int32_t x = 0; x < aw; ++x) {
                const int32_t from = x - offset;
                const uint32_t expected = from >= 0 && from < lw ? left.GetImpl()->GetPixel(from, y) : 0;
                mismatches += aligned.GetImpl()->GetPixel(x, y) != expected;
            }
        }
        CHECK(mismatches == 0);
    }
}
