// CTextDraw: text settings, GDI drawing of the lines with shadow and background, measurement.
#include <pyro/text/TextDraw.h>

#include <pyro/file/StringEncoding.h>
#include <pyro/file/Utf16.h>
#include "text/TextLines.h"
#include "text/TextWrap.h"

#include <algorithm>
#include <cstdarg>

namespace {

const char* const kFaceNames[] = {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ Ｐ明朝"};
const uint32_t kQualities[] = {DEFAULT_QUALITY, DRAFT_QUALITY, PROOF_QUALITY, ANTIALIASED_QUALITY,
                               NONANTIALIASED_QUALITY};

// Formatted text: wvsprintfA writes at most 1024 characters and its terminating zero.
constexpr size_t kFormatBuffer = 1025;
constexpr size_t kMaxFormattedBytes = 511;

}  // namespace

CTextDraw::CTextDraw() : faceName_(kFaceNames[0]) {}

CTextDraw::~CTextDraw() = default;

CTextDraw& CTextDraw::SetText(const char* text)
{
    text_ = text ? text : "";
    return *this;
}

CTextDraw& CTextDraw::SetTextF(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    text_ = FormatV(format, args);
    va_end(args);
    return *this;
}

CTextDraw& CTextDraw::SetTextPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    text_ = FormatTextV(format, args);
    va_end(args);
    return *this;
}

std::string CTextDraw::FormatV(const char* format, va_list args)
{
    char buffer[kFormatBuffer];
    int written = wvsprintfA(buffer, format ? format : "", args);
    written = std::clamp(written, 0, int(kFormatBuffer - 1));
    buffer[written] = '\0';
    return std::string(buffer, CutAtCharBoundary(buffer, size_t(written), kMaxFormattedBytes));
}

CTextDraw& CTextDraw::SetFaceIndex(int32_t index)
{
    faceName_ = index >= 0 && index < 4 ? kFaceNames[index] : "";
    return *this;
}

CTextDraw& CTextDraw::SetFaceName(const char* faceName)
{
    faceName_ = faceName ? faceName : "";
    return *this;
}

CTextDraw& CTextDraw::SetHeight(int32_t height)
{
    height_ = height;
    lineSpacing_ = height;
    return *this;
}

CTextDraw& CTextDraw::SetLineSpacing(int32_t spacing)
{
    lineSpacing_ = spacing;
    return *this;
}

CTextDraw& CTextDraw::SetTextColor(uint32_t colour)
{
    textColor_ = colour;
    return *this;
}

CTextDraw& CTextDraw::SetShadowColor(uint32_t colour)
{
    shadowColor_ = colour;
    return *this;
}

CTextDraw& CTextDraw::SetBkColor(uint32_t colour)
{
    bkColor_ = colour;
    return *this;
}

CTextDraw& CTextDraw::SetQuality(int32_t index)
{
    if (index >= 0 && index < 5) quality_ = kQualities[index];
    return *this;
}

CTextDraw& CTextDraw::SetAlphaQuality(bool on)
{
    alphaQuality_ = on ? 1 : 0;
    return *this;
}

CTextDraw& CTextDraw::SetWeight(int32_t weight)
{
    weight_ = weight;
    return *this;
}

CTextDraw& CTextDraw::SetItalic(bool italic)
{
    italic_ = italic ? 1 : 0;
    return *this;
}

CTextDraw& CTextDraw::SetUnderline(bool underline)
{
    underline_ = underline ? 1 : 0;
    return *this;
}

CTextDraw& CTextDraw::SetStrikeOut(bool strikeOut)
{
    strikeOut_ = strikeOut ? 1 : 0;
    return *this;
}

CTextDraw& CTextDraw::SetShadowOffset(int32_t x, int32_t y)
{
    shadowX_ = x;
    shadowY_ = y;
    return *this;
}

void CTextDraw::GetShadowOffset(int32_t* x, int32_t* y) const
{
    if (x) *x = shadowX_;
    if (y) *y = shadowY_;
}

HFONT CTextDraw::CreateTextFont() const
{
    // The face name goes in UTF-16 so that it names the same font on every Windows. A Shift-JIS
    // program's text is drawn with the A calls, which GDI converts by the font's Shift-JIS
    // character set; a UTF-8 program's goes through the W calls, and its font asks for no
    // character set, so that a face without Japanese (a Latin or Korean one) is not passed over.
    std::wstring face;
    if (!ToWide(faceName_, face)) return nullptr;
    const DWORD charset = IsUtf8Program() ? DEFAULT_CHARSET : SHIFTJIS_CHARSET;
    return CreateFontW(height_, 0, 0, 0, weight_, italic_, underline_, strikeOut_, charset, 0, 0, quality_,
                       FF_MODERN | DEFAULT_PITCH, face.c_str());
}

void CTextDraw::SetBackground(HDC dc) const
{
    if (bkColor_ == kNone) {
        SetBkMode(dc, TRANSPARENT);
    } else {
        SetBkMode(dc, OPAQUE);
        ::SetBkColor(dc, bkColor_);
    }
}

SIZE CTextDraw::MeasureLine(HDC dc, const char* line, size_t length) const
{
    SIZE size = {0, 0};
    std::wstring units;
    if (!IsUtf8Program()) {
        GetTextExtentPoint32A(dc, line, int(length), &size);
    } else if (Utf8ToUtf16(std::string(line, length), units)) {
        GetTextExtentPoint32W(dc, units.c_str(), int(units.size()), &size);
    } else {
        // A line that is not UTF-8 is not drawn; it keeps its height so the lines below stay put.
        GetTextExtentPoint32W(dc, L" ", 1, &size);
        size.cx = 0;
    }
    return size;
}

std::vector<int32_t> CTextDraw::LineOffsets(HDC dc) const
{
    std::vector<int32_t> widths;
    ForEachLine(text_.c_str(), [&](const char* line, size_t length, bool) {
        widths.push_back(align_ == TextAlign::kLeft ? 0 : int32_t(MeasureLine(dc, line, length).cx));
    });
    int32_t box = alignBox_;
    if (box <= 0) {
        for (int32_t width : widths) box = std::max(box, width);
    }
    for (int32_t& width : widths) width = AlignOffset(align_, box, width);
    return widths;
}

void CTextDraw::DrawLines(HDC dc, int32_t x, int32_t y) const
{
    const bool wide = IsUtf8Program();
    const std::vector<int32_t> offsets = LineOffsets(dc);
    size_t index = 0;
    std::wstring units;
    ForEachLine(text_.c_str(), [&](const char* line, size_t length, bool) {
        const int32_t at = x + offsets[index++];
        if (!wide) {
            TextOutA(dc, at, y, line, int(length));
        } else if (Utf8ToUtf16(std::string(line, length), units)) {
            TextOutW(dc, at, y, units.c_str(), int(units.size()));
        }
        y += lineSpacing_;
    });
}

CTextDraw& CTextDraw::SetAlign(TextAlign align, int32_t boxWidth)
{
    align_ = align;
    alignBox_ = boxWidth;
    return *this;
}

CTextDraw& CTextDraw::WrapToWidth(int32_t maxWidth)
{
    if (maxWidth <= 0 || text_.empty()) return *this;
    HFONT font = CreateTextFont();
    if (!font) return *this;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(font);
        return *this;
    }
    HGDIOBJ previous = SelectObject(dc, font);
    const int32_t slant = italic_ ? height_ / 4 : 0;
    const std::vector<std::string> lines = WrapTextLines(text_, GetStringEncoding(), maxWidth,
        [&](const char* text, size_t length) { return int32_t(MeasureLine(dc, text, length).cx) + slant; });
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) joined += (i ? "\n" : "") + lines[i];
    text_ = joined;
    return *this;
}

int32_t CTextDraw::GetLineWidths(std::vector<int32_t>& widths) const
{
    widths.clear();
    if (text_.empty()) return 1;
    HFONT font = CreateTextFont();
    if (!font) return 1;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(font);
        return 1;
    }
    HGDIOBJ previous = SelectObject(dc, font);
    const int32_t slant = italic_ ? height_ / 4 : 0;
    ForEachLine(text_.c_str(), [&](const char* line, size_t length, bool) {
        widths.push_back(int32_t(MeasureLine(dc, line, length).cx) + slant);
    });
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
    return 0;
}

void CTextDraw::Draw(HDC dc, int32_t x, int32_t y) const
{
    if (text_.empty() || !dc) return;
    HFONT font = CreateTextFont();
    if (!font) return;
    HGDIOBJ previous = SelectObject(dc, font);

    const bool shadow = shadowColor_ != kNone;
    if (shadow) {
        ::SetTextColor(dc, shadowColor_);
        SetBackground(dc);
        DrawLines(dc, x + shadowX_, y + shadowY_);
    }
    if (textColor_ != kNone) {
        if (!shadow) SetBackground(dc);
        else if (bkColor_ != kNone) SetBkMode(dc, TRANSPARENT);  // the shadow pass painted it
        ::SetTextColor(dc, textColor_);
        DrawLines(dc, x, y);
    }

    SelectObject(dc, previous);
    DeleteObject(font);
}

int32_t CTextDraw::GetTextSize(int32_t* width, int32_t* height) const
{
    if (width) *width = 0;
    if (height) *height = 0;
    if (text_.empty()) return 1;
    HFONT font = CreateTextFont();
    if (!font) return 1;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(font);
        return 1;
    }
    HGDIOBJ previous = SelectObject(dc, font);

    int32_t maxWidth = 0;
    int32_t total = 0;
    const int32_t slant = italic_ ? height_ / 4 : 0;
    ForEachLine(text_.c_str(), [&](const char* line, size_t length, bool last) {
        const SIZE size = MeasureLine(dc, line, length);
        total += last ? size.cy : lineSpacing_;
        maxWidth = std::max(maxWidth, int32_t(size.cx) + slant);
    });

    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
    if (alignBox_ > 0) maxWidth = std::max(maxWidth, alignBox_);  // a box is the text's width
    if (width) *width = maxWidth + 3;
    if (height) *height = total + 3;
    return 0;
}
