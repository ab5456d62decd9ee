// CTextLabel: a text plane for scene text whose font grows with the screen view's magnification,
// so that text stays sharp on a magnified screen. It renders again only when its text, colour,
// font size or the magnification changed.
#pragma once

#include <pyro/text/TextPlane.h>

#include <cstdint>

class CTextLabel : public CTextPlane {
public:
    // Logical font height in pixels; 16 to begin with.
    void SetFontSize(int32_t size);
    // A GDI colour value 0x00BBGGRR.
    void SetColor(uint32_t colour);
    // wvsprintfA formatting; texts are cut at 511 bytes. The text is a format: a player's name
    // or any other data belongs in SetPlainText.
    void SetText(const char* format, ...);
    // The text as it is, never formatted: "100%" stays "100%".
    void SetPlainText(const char* text);
    // The C library's full printf (FormatText), checked by the compiler, of any length.
    void SetTextPrintf(const char* format, ...) PYRO_PRINTF(2, 3);
    // Renders at font size × the current view's magnification when anything changed: the result
    // of RenderText, or 0 when nothing had to be done.
    int32_t Update();

    // The logical font height.
    int32_t GetFontSize() const { return fontSize_; }
    // Whether the next Update renders.
    bool IsDirty() const { return dirty_; }

private:
    bool dirty_ = true;
    int32_t fontSize_ = 16;
    int32_t magnification_ = 1;
};
