// CTextPlane: a plane that holds rendered text, so that a label is drawn like any other plane and
// re-rendered only when its text or settings change. Vertical text uses the "@" faces drawn on a
// temporary plane and turned a quarter clockwise.
#pragma once

#include <pyro/graphics/Plane.h>
#include <pyro/text/TextDraw.h>

#include <cstdint>

class CTextPlane : public CPlane {
public:
    // Keeps its pixels in a DIB section, so that GDI can draw the text into them.
    CTextPlane();

    // Redraws the plane from the text object: 0; 1 when the plane cannot be made at the needed
    // size; 2 when the temporary plane of the vertical path cannot be made. A plane holding a
    // loaded image keeps its size and content, and the text is drawn over it.
    int32_t RenderText();

    // What is rendered: the text and its settings.
    CTextDraw text;
    // Where the text is placed inside the plane (before the quarter turn, for vertical text).
    int32_t drawX = 0;
    int32_t drawY = 0;  // and down
    // Whether the text runs downwards, each character upright.
    bool vertical = false;

private:
    // The size the text needs, at least 1 by 1.
    void TextSize(int32_t* width, int32_t* height) const;
    int32_t RenderHorizontal();
    // The text as coverage over the plane's pixels (antialiased text with alpha).
    void DrawAlphaText(CPlane& plane, int32_t x, int32_t y) const;
    int32_t RenderVertical();
};
