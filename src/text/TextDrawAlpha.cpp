// CTextDraw::DrawAlpha: text as greyscale coverage in the alpha byte of 32-bit pixels, for
// planes drawn with the alpha transfers. Each glyph comes from GDI as a GGO_GRAY8_BITMAP and is
// laid at the place TextOut would put it (the pen advancing by each glyph's cell); the shadow
// goes first, then the text over it, and an opaque box lies behind the lines as TextOut's
// opaque background does.
#include <pyro/text/TextDraw.h>

#include <pyro/file/StringEncoding.h>
#include <pyro/file/Utf16.h>
#include "text/CoverageBlend.h"
#include "text/TextLines.h"

#include <algorithm>
#include <vector>

namespace {

// 0x00BBGGRR to 0xRRGGBB.
uint32_t PixelColour(uint32_t gdi)
{
    return (gdi & 0xFF) << 16 | (gdi & 0xFF00) | (gdi >> 16 & 0xFF);
}

bool LineUnits(const char* line, size_t length, std::wstring& units)
{
    const std::string text(line, length);
    return IsUtf8Program() ? Utf8ToUtf16(text, units) : SjisToUtf16(text, units);
}

}  // namespace

void CTextDraw::DrawAlphaLines(HDC dc, uint32_t* pixels, int32_t pitch, int32_t width, int32_t height, int32_t left,
                               int32_t y, uint32_t colour, bool box) const
{
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    const uint32_t rgb = PixelColour(colour);
    std::wstring units;
    std::vector<uint8_t> levels;
    const std::vector<int32_t> offsets = LineOffsets(dc);
    size_t index = 0;
    ForEachLine(text_.c_str(), [&](const char* line, size_t length, bool) {
        const int32_t x = left + offsets[index++];
        if (LineUnits(line, length, units)) {
            if (box) {
                SIZE size = {0, 0};
                GetTextExtentPoint32W(dc, units.c_str(), int(units.size()), &size);
                const uint8_t full = 64;
                const uint32_t boxColour = PixelColour(bkColor_);
                for (int32_t row = 0; row < size.cy; ++row) {
                    for (int32_t column = 0; column < size.cx; ++column)
                        BlendGlyph(pixels, pitch, width, height, &full, 1, 1, 1, x + column, y + row, boxColour);
                }
            }
            int32_t pen = x;
            for (size_t i = 0; i < units.size(); ++i) {
                UINT code = units[i];
                if (code >= 0xD800 && code <= 0xDBFF && i + 1 < units.size()) {
                    code = 0x10000 + ((code - 0xD800) << 10) + (UINT(units[i + 1]) - 0xDC00);
                    ++i;
                }
                GLYPHMETRICS glyph = {};
                const DWORD size = GetGlyphOutlineW(dc, code, GGO_GRAY8_BITMAP, &glyph, 0, nullptr, &identity);
                if (size != GDI_ERROR && size > 0) {
                    levels.assign(size, 0);
                    if (GetGlyphOutlineW(dc, code, GGO_GRAY8_BITMAP, &glyph, size, levels.data(), &identity) != GDI_ERROR) {
                        const int32_t glyphPitch = int32_t((glyph.gmBlackBoxX + 3) & ~3u);
                        const int32_t rows = std::min<int32_t>(int32_t(glyph.gmBlackBoxY), int32_t(size / std::max(1, glyphPitch)));
                        BlendGlyph(pixels, pitch, width, height, levels.data(), glyphPitch, int32_t(glyph.gmBlackBoxX), rows,
                                   pen + glyph.gmptGlyphOrigin.x, y + metrics.tmAscent - glyph.gmptGlyphOrigin.y, rgb);
                    }
                } else if (size == GDI_ERROR) {
                    GetGlyphOutlineW(dc, code, GGO_METRICS, &glyph, 0, nullptr, &identity);
                }
                pen += glyph.gmCellIncX;  // a blank (size 0) still advances
            }
        }
        y += lineSpacing_;
    });
}

int32_t CTextDraw::DrawAlpha(uint32_t* pixels, int32_t pitch, int32_t width, int32_t height, int32_t x, int32_t y) const
{
    if (!pixels || width <= 0 || height <= 0 || pitch < width) return 1;
    if (text_.empty()) return 0;
    HFONT font = CreateTextFont();
    if (!font) return 1;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(font);
        return 1;
    }
    HGDIOBJ previous = SelectObject(dc, font);
    const bool shadow = shadowColor_ != kNone;
    if (shadow) DrawAlphaLines(dc, pixels, pitch, width, height, x + shadowX_, y + shadowY_, shadowColor_, bkColor_ != kNone);
    if (textColor_ != kNone) DrawAlphaLines(dc, pixels, pitch, width, height, x, y, textColor_, !shadow && bkColor_ != kNone);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
    return 0;
}
