// Text settings, measurement and drawing with the system's Japanese fonts.
#include <pyro/text/TextDraw.h>

#include "TextTestSupport.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

namespace {

struct Measured {
    int32_t w = -1, h = -1, result = -1;
};

Measured Measure(const CTextDraw& text)
{
    Measured m;
    m.result = text.GetTextSize(&m.w, &m.h);
    return m;
}

}  // namespace

TEST_CASE("a new text object has the documented settings and setters chain")
{
    CTextDraw text;
    CHECK(text.GetText().empty());
    CHECK(text.GetFaceName() == "ＭＳ ゴシック");
    CHECK(text.GetHeight() == 16);
    CHECK(text.GetLineSpacing() == 20);
    CHECK(text.GetWeight() == 300);
    CHECK(text.GetQuality() == PROOF_QUALITY);
    CHECK(text.GetTextColor() == 0xFFFFFF);
    CHECK(text.GetShadowColor() == 0x808080);
    CHECK(text.GetBkColor() == CTextDraw::kNone);
    int32_t dx, dy;
    text.GetShadowOffset(&dx, &dy);
    CHECK((dx == 2 && dy == 2));

    CHECK(&text.SetHeight(32).SetItalic(true) == &text);
    CHECK(text.GetHeight() == 32);
    CHECK(text.GetLineSpacing() == 32);
    text.SetLineSpacing(40);
    CHECK(text.GetLineSpacing() == 40);
    CHECK(text.GetHeight() == 32);

    const char* faces[] = {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ Ｐ明朝"};
    for (int i = 0; i < 4; ++i) CHECK(text.SetFaceIndex(i).GetFaceName() == faces[i]);
    CHECK(text.SetFaceIndex(7).GetFaceName().empty());
    CHECK(text.SetFaceIndex(-1).GetFaceName().empty());

    const uint32_t qualities[] = {DEFAULT_QUALITY, DRAFT_QUALITY, PROOF_QUALITY, ANTIALIASED_QUALITY,
                                  NONANTIALIASED_QUALITY};
    for (int i = 0; i < 5; ++i) CHECK(text.SetQuality(i).GetQuality() == qualities[i]);
    CHECK(text.SetQuality(9).GetQuality() == NONANTIALIASED_QUALITY);
}

TEST_CASE("SetTextF formats the platform's way and cuts the result at 511 bytes on a character boundary")
{
    CTextDraw text;
    CHECK(text.SetTextF("ナンバー%d！！", 2).GetText() == "ナンバー2！！");
    CHECK(text.SetTextF("%s/%03d/%x", "a", 7, 255).GetText() == "a/007/ff");

    const std::string a600(600, 'a');
    CHECK(text.SetTextF("%s", a600.c_str()).GetText() == std::string(511, 'a'));
    // Double-byte characters after one single byte: 511 bytes end on a whole pair.
    std::string wide;
    for (int i = 0; i < 300; ++i) wide += "あ";
    CHECK(text.SetTextF("%s", wide.c_str()).GetText() == wide.substr(0, 510));
    CHECK(text.SetTextF("x%s", wide.c_str()).GetText() == "x" + wide.substr(0, 510));
    // Output past the platform's own limit of 1024 characters stays inside the buffer.
    const std::string b2000(2000, 'b');
    CHECK(text.SetTextF("%s%s", b2000.c_str(), b2000.c_str()).GetText() == std::string(511, 'b'));
}

TEST_CASE("SetTextPrintf formats with the C library's printf; SetText never formats")
{
    CTextDraw text;
    CHECK(text.SetTextPrintf("%.1f秒 %lld点 %%", 2.75, 1LL << 40).GetText() == "2.8秒 1099511627776点 %");
    CHECK(text.SetText("100%d%s").GetText() == "100%d%s");
    const std::string c700(700, 'c');
    CHECK(text.SetTextPrintf("%s", c700.c_str()).GetText() == c700);
}

TEST_CASE("measuring: lines, spacing, italic slant, and the empty text")
{
    CTextDraw text;
    CHECK(Measure(text).result == 1);
    CHECK((Measure(text).w == 0 && Measure(text).h == 0));

    const Measured wide = Measure(CTextDraw().SetText("WWWW"));
    const Measured narrow = Measure(CTextDraw().SetText("ii"));
    REQUIRE(wide.result == 0);
    REQUIRE(narrow.result == 0);
    CHECK(wide.w > narrow.w);
    CHECK(wide.h > 3);

    // Each measurement adds 3 to the extent, so a line's own height is h - 3.
    const Measured two = Measure(text.SetText("WWWW\nii"));
    CHECK(two.w == wide.w);
    CHECK(two.h == text.GetLineSpacing() + (narrow.h - 3) + 3);
    const Measured three = Measure(text.SetText("ii\nii\nWWWW"));
    CHECK(three.w == wide.w);
    CHECK(three.h == 2 * text.GetLineSpacing() + wide.h);

    CTextDraw italic;
    italic.SetText("WWWW").SetHeight(32);
    const Measured upright = Measure(italic);
    italic.SetItalic(true);
    CHECK(Measure(italic).w == upright.w + 32 / 4);
}

TEST_CASE("each face name reaches GDI whole: the four faces draw four different fonts")
{
    // Handed over in the machine's ANSI code page, the names would turn into one unknown name on
    // a Western system, and every face into the same fallback font.
    std::vector<std::vector<uint32_t>> images;
    for (int face = 0; face < 4; ++face) {
        Canvas canvas(160, 32, 0);
        CTextDraw().SetText("永ナ2gi").SetHeight(24).SetShadowColor(CTextDraw::kNone).SetFaceIndex(face).Draw(
            canvas.DC(), 0, 0);
        const CPlane& plane = canvas.Flushed();
        REQUIRE(CountOther(plane, 0) > 0);
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 160; ++x) pixels.push_back(plane.GetImpl()->GetPixel(x, y) & 0xFFFFFF);
        for (const std::vector<uint32_t>& other : images) CHECK(pixels != other);
        images.push_back(pixels);
    }
}

TEST_CASE("a face name that is not Shift-JIS draws nothing and cannot be measured")
{
    CTextDraw text;
    text.SetText("ナンバー").SetFaceName("ＭＳ\x83");
    CHECK(Measure(text).result == 1);
    Canvas canvas(64, 32, 0);
    text.Draw(canvas.DC(), 0, 0);
    CHECK(CountOther(canvas.Flushed(), 0) == 0);
}

TEST_CASE("lines longer than 255 bytes are drawn and measured as their first 255 bytes")
{
    const Measured cut = Measure(CTextDraw().SetText(std::string(255, 'i').c_str()));
    CHECK(Measure(CTextDraw().SetText(std::string(400, 'i').c_str())).w == cut.w);
    std::string wide;
    for (int i = 0; i < 200; ++i) wide += "あ";
    CHECK(Measure(CTextDraw().SetText(wide.c_str())).w == Measure(CTextDraw().SetText(wide.substr(0, 254).c_str())).w);
    Canvas canvas(64, 32, 0);
    CTextDraw().SetText(wide.c_str()).Draw(canvas.DC(), 0, 0);
    CHECK(CountOther(canvas.Flushed(), 0) > 0);
}

TEST_CASE("drawing: shadow and background rules")
{
    CTextDraw text;
    text.SetText("■■").SetHeight(24).SetTextColor(kGdiRed).SetShadowColor(kGdiBlue).SetShadowOffset(3, 3);

    SUBCASE("both colours off draw nothing, whatever the background")
    {
        Canvas canvas(64, 40, 0x123456);
        text.SetTextColor(CTextDraw::kNone).SetShadowColor(CTextDraw::kNone).SetBkColor(kGdiGreen);
        text.Draw(canvas.DC(), 0, 0);
        CHECK(CountOther(canvas.Flushed(), 0x123456) == 0);
    }
    SUBCASE("transparent background: text over its shadow, the rest untouched")
    {
        Canvas canvas(64, 40, 0x123456);
        text.Draw(canvas.DC(), 0, 0);
        const CPlane& p = canvas.Flushed();
        CHECK(CountPixels(p, kPixelRed) > 0);
        CHECK(CountPixels(p, kPixelBlue) > 0);
        CHECK(CountPixels(p, 0x123456) > 0);
        CHECK(CountPixels(p, kPixelGreen) == 0);
        // The shadow lies 3 pixels right and down of the text: nothing of it left of column 3.
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 3; ++x) CHECK((p.GetImpl()->GetPixel(x, y) & 0xFFFFFF) != kPixelBlue);
    }
    SUBCASE("opaque background: painted by the shadow pass, the text keeps the shadow visible")
    {
        Canvas canvas(64, 40, 0x123456);
        text.SetBkColor(kGdiGreen).Draw(canvas.DC(), 0, 0);
        const CPlane& p = canvas.Flushed();
        CHECK(CountPixels(p, kPixelGreen) > 0);
        CHECK(CountPixels(p, kPixelRed) > 0);
        CHECK(CountPixels(p, kPixelBlue) > 0);
        // The text's own cell at (0, 0) was drawn transparently: where the shadow's background
        // did not reach, the canvas shows.
        CHECK((p.GetImpl()->GetPixel(0, 0) & 0xFFFFFF) == 0x123456);
    }
    SUBCASE("no shadow with a background: the text pass paints it")
    {
        Canvas canvas(64, 40, 0x123456);
        text.SetShadowColor(CTextDraw::kNone).SetBkColor(kGdiGreen).Draw(canvas.DC(), 0, 0);
        const CPlane& p = canvas.Flushed();
        CHECK(CountPixels(p, kPixelGreen) > 0);
        CHECK(CountPixels(p, kPixelBlue) == 0);
        CHECK((p.GetImpl()->GetPixel(0, 0) & 0xFFFFFF) == kPixelGreen);
    }
}

TEST_CASE("second lines are drawn one line spacing further down")
{
    Canvas canvas(40, 80, 0);
    CTextDraw text;
    text.SetText("\n■").SetShadowColor(CTextDraw::kNone).SetTextColor(kGdiRed).SetHeight(16).SetLineSpacing(40);
    text.Draw(canvas.DC(), 0, 0);
    const CPlane& p = canvas.Flushed();
    int top = -1;
    for (int y = 0; y < 80 && top < 0; ++y)
        for (int x = 0; x < 40; ++x)
            if ((p.GetImpl()->GetPixel(x, y) & 0xFFFFFF) == kPixelRed) top = y;
    CHECK(top >= 40);
    CHECK(top < 56);
}
