// A line of white text drawn as a plane, rendered again only when its text changes: the
// examples' read-outs, which change now and then but are drawn every frame.
#pragma once

#include <pyro/game/ScreenView.h>
#include <pyro/text/TextPlane.h>

class CTextLine {
public:
    CTextLine() { plane_.text.SetHeight(16).SetTextColor(0xFFFFFF).SetShadowColor(CTextDraw::kNone); }
    void Draw(CScreenView& view, int32_t x, int32_t y, const char* text)
    {
        if (plane_.text.GetText() != text) {
            plane_.Release();
            plane_.text.SetText(text);
            plane_.RenderText();
        }
        view.Blt(&plane_, x, y);
    }

private:
    CTextPlane plane_;
};
