// CTextDraw: one piece of text (in the program's encoding, Shift-JIS or UTF-8; lines separated by
// line feeds) with its font and
// colour settings. It draws itself onto a GDI device context, with an optional shadow and
// background, or reports the size it needs. Fonts are made for each call and never kept.
#pragma once

#include <pyro/text/TextAlign.h>
#include <pyro/text/TextFormat.h>

#include <windows.h>

#include <cstdarg>
#include <cstdint>
#include <string>
#include <vector>

class CTextDraw {
public:
    // A colour value that switches the text, its shadow or its background off.
    static constexpr uint32_t kNone = 0xFFFFFFFF;

    // Results of AddFontFile.
    enum FontFileResult : int32_t {
        kFontFileOk = 0,
        kFontFileNotRead = 1,   // no such file on disk or in an archive, or a null path
        kFontFileNotFont = 2,   // not a TrueType, OpenType or collection file, damaged, or nameless
        kFontFileRefused = 3,   // GDI would not take it
    };

    // Loads a TrueType, OpenType or collection file, loose or from an archive, as a private font
    // of the process, usable by name in SetFaceName like an installed face until the program
    // ends. faces (when given) receives the family names it holds, in the program's encoding,
    // English ones first; a name the encoding cannot hold is left out.
    static int32_t AddFontFile(const char* path, std::vector<std::string>* faces = nullptr);

    CTextDraw();  // white text with a grey shadow, 16 pixels high, default face
    virtual ~CTextDraw();  // the text

    // Each setter returns the object itself. Colours are GDI values 0x00BBGGRR.
    CTextDraw& SetText(const char* text);
    // wvsprintfA formatting; the result is cut at 511 bytes on a character boundary. It knows
    // no floats nor 64-bit integers: for those use SetTextPrintf.
    CTextDraw& SetTextF(const char* format, ...);
    // The C library's full printf (FormatText), checked by the compiler, of any length.
    CTextDraw& SetTextPrintf(const char* format, ...) PYRO_PRINTF(2, 3);
    // The formatting of SetTextF on its own: wvsprintfA, cut at 511 bytes on a character boundary.
    static std::string FormatV(const char* format, va_list args);
    // 0 "ＭＳ ゴシック", 1 "ＭＳ Ｐゴシック", 2 "ＭＳ 明朝", 3 "ＭＳ Ｐ明朝", other: the default face.
    CTextDraw& SetFaceIndex(int32_t index);
    // A face by name; an empty name is the default face. A name not valid in the program's encoding
    // makes drawing draw nothing and measuring fail.
    CTextDraw& SetFaceName(const char* faceName);
    // Sets the font height and the line spacing.
    CTextDraw& SetHeight(int32_t height);
    // The distance from one line's top to the next line's.
    CTextDraw& SetLineSpacing(int32_t spacing);
    // The text's colour; kNone draws no text.
    CTextDraw& SetTextColor(uint32_t colour);
    // The shadow's colour; kNone draws no shadow.
    CTextDraw& SetShadowColor(uint32_t colour);
    // The background's colour behind the text; kNone (the default) leaves it.
    CTextDraw& SetBkColor(uint32_t colour);
    // 0 default, 1 draft, 2 proof, 3 antialiased, 4 non-antialiased; other indices change nothing.
    CTextDraw& SetQuality(int32_t index);
    // The font weight, 100 to 900.
    CTextDraw& SetWeight(int32_t weight);
    CTextDraw& SetItalic(bool italic);  // italic letters
    CTextDraw& SetUnderline(bool underline);  // underlined
    CTextDraw& SetStrikeOut(bool strikeOut);  // struck out
    // Where the shadow lies from the text; (2, 2) to begin with.
    CTextDraw& SetShadowOffset(int32_t x, int32_t y);

    // Antialiased text with alpha (off by default): a text plane then holds the text's colour in
    // the colour bytes and its greyscale coverage in the alpha byte, and sets its alpha flag, so
    // that Blt and BltAlpha draw smooth edges over any background and a fade works as on sprites.
    CTextDraw& SetAlphaQuality(bool on);
    // Whether antialiased text with alpha is on.
    bool IsAlphaQuality() const { return alphaQuality_ != 0; }

    // Wraps the text to lines of at most maxWidth pixels in the current font, putting line feeds
    // in: at spaces for Latin text (dropping them), between characters for CJK text, never inside
    // a character; a word wider than the line is cut between its characters. Nothing changes
    // when maxWidth <= 0 or the font cannot be made.
    CTextDraw& WrapToWidth(int32_t maxWidth);
    // Each line's place in a box boxWidth wide (0: as wide as the widest line); left by default.
    // A box wider than the text makes GetTextSize, and so a text plane, that wide.
    CTextDraw& SetAlign(TextAlign align, int32_t boxWidth = 0);
    // The alignment.
    TextAlign GetAlign() const { return align_; }
    // Measures without drawing: 0 with each line's width (with the italic slant) in widths, or 1
    // with widths empty, as GetTextSize fails. GetTextSize gives the whole text's size.
    int32_t GetLineWidths(std::vector<int32_t>& widths) const;

    // Draws with the text's top-left corner at (x, y): first the shadow, then the text.
    void Draw(HDC dc, int32_t x, int32_t y) const;
    // Lays the text as coverage over 0xAARRGGBB pixels (width by height, pitch pixels a row)
    // with its top-left corner at (x, y): shadow, then text, each over what lies below; the box
    // is opaque. 0; 1 for no pixels or when the font cannot be made. What falls outside is cut.
    int32_t DrawAlpha(uint32_t* pixels, int32_t pitch, int32_t width, int32_t height, int32_t x, int32_t y) const;
    // 0 and the size the text needs (with 3 pixels to spare each way), or 1 and 0 by 0.
    int32_t GetTextSize(int32_t* width, int32_t* height) const;

    // The text.
    const std::string& GetText() const { return text_; }
    // The face name.
    const std::string& GetFaceName() const { return faceName_; }
    // The shadow offset.
    void GetShadowOffset(int32_t* x, int32_t* y) const;
    // The font height.
    int32_t GetHeight() const { return height_; }
    // The line spacing.
    int32_t GetLineSpacing() const { return lineSpacing_; }
    // The GDI font quality.
    uint32_t GetQuality() const { return quality_; }
    // The text colour.
    uint32_t GetTextColor() const { return textColor_; }
    // The shadow colour.
    uint32_t GetShadowColor() const { return shadowColor_; }
    // The background colour.
    uint32_t GetBkColor() const { return bkColor_; }
    // The font weight.
    int32_t GetWeight() const { return weight_; }
    // Whether the letters are italic.
    bool IsItalic() const { return italic_ != 0; }

private:
    HFONT CreateTextFont() const;
    void SetBackground(HDC dc) const;
    void DrawLines(HDC dc, int32_t x, int32_t y) const;
    // A line's measured size in the font selected into dc (0 by 0 when it does not convert).
    SIZE MeasureLine(HDC dc, const char* line, size_t length) const;
    // Where each line starts from x: the alignment's offsets in the box, one per line.
    std::vector<int32_t> LineOffsets(HDC dc) const;
    void DrawAlphaLines(HDC dc, uint32_t* pixels, int32_t pitch, int32_t width, int32_t height, int32_t x, int32_t y,
                        uint32_t colour, bool box) const;

    std::string text_;
    uint32_t quality_ = PROOF_QUALITY;
    uint32_t textColor_ = 0xFFFFFF;
    uint32_t shadowColor_ = 0x808080;
    uint32_t bkColor_ = kNone;
    int32_t height_ = 16;
    std::string faceName_;
    int32_t lineSpacing_ = 20;
    int32_t weight_ = 300;
    uint8_t italic_ = 0;
    uint8_t underline_ = 0;
    uint8_t strikeOut_ = 0;
    int32_t shadowX_ = 2;
    int32_t shadowY_ = 2;
    uint8_t alphaQuality_ = 0;
    TextAlign align_ = TextAlign::kLeft;
    int32_t alignBox_ = 0;
};
