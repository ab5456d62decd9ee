// CTextPlane: horizontal rendering straight into the plane's DIB section, vertical rendering
// through a temporary plane and a quarter-turn copy.
#include <pyro/text/TextPlane.h>

#include <string>

CTextPlane::CTextPlane() { GetImpl()->SetUseDIB(true); }

void CTextPlane::DrawAlphaText(CPlane& plane, int32_t x, int32_t y) const
{
    CPlaneImpl* impl = plane.GetImpl();
    int32_t width, height;
    plane.GetSize(&width, &height);
    GdiFlush();  // GDI may still hold drawing into the pixels
    // A fresh plane is cleared to its fill colour, whose top byte is no coverage: start clear.
    if (!plane.IsLoaded()) {
        impl->Clear(0, nullptr);
    } else if (!impl->GetAlphaFlag()) {
        // A loaded picture without alpha is opaque: the text goes over it, not in place of it.
        uint32_t* pixels = impl->GetPixels();
        for (int32_t row = 0; row < height; ++row) {
            for (int32_t column = 0; column < width; ++column) pixels[size_t(row) * (impl->GetPitch() / 4) + column] |= 0xFF000000u;
        }
    }
    text.DrawAlpha(impl->GetPixels(), impl->GetPitch() / 4, width, height, x, y);
    impl->GetAlphaFlag() = 1;
}

int32_t CTextPlane::RenderText() { return vertical ? RenderVertical() : RenderHorizontal(); }

void CTextPlane::TextSize(int32_t* width, int32_t* height) const
{
    text.GetTextSize(width, height);
    if (*width == 0 || *height == 0) *width = *height = 1;
}

int32_t CTextPlane::RenderHorizontal()
{
    if (!IsLoaded()) {
        int32_t width, height;
        TextSize(&width, &height);
        if (Create(width, height) != 0) return 1;
    }
    if (text.IsAlphaQuality()) {
        DrawAlphaText(*this, drawX, drawY);
        return 0;
    }
    text.Draw(GetImpl()->GetDC(), drawX, drawY);
    GdiFlush();
    GetImpl()->GetAlphaFlag() = 0;
    return 0;
}

int32_t CTextPlane::RenderVertical()
{
    // The "@" variant of a face draws each character turned a quarter anticlockwise; the turn
    // below stands them upright again and runs the line downwards.
    const std::string face = text.GetFaceName();
    if (face.empty() || face[0] != '@') text.SetFaceName(("@" + face).c_str());

    int32_t result = 0;
    int32_t w, h;
    if (IsLoaded()) {
        GetSize(&w, &h);
    } else {
        TextSize(&w, &h);
        if (Create(h, w) != 0) result = 1;
    }
    if (result == 0) {
        // The shadow offset is given upright; on the unturned image it is turned back.
        int32_t dx, dy;
        text.GetShadowOffset(&dx, &dy);
        text.SetShadowOffset(dy, -dx);
        CPlane temporary;
        temporary.GetImpl()->SetUseDIB(true);
        if (temporary.Create(w, h) != 0) {
            result = 2;
        } else {
            if (text.IsAlphaQuality()) {
                DrawAlphaText(temporary, drawX, drawY);
            } else {
                text.Draw(temporary.GetImpl()->GetDC(), drawX, drawY);
                GdiFlush();
            }
            // Temporary pixel (j, i) becomes (W - 1 - i, j). A loaded image that is not square
            // may be too small for the turned text: what falls outside is left out.
            const CPlaneImpl* from = temporary.GetImpl();
            CPlaneImpl* to = GetImpl();
            int32_t width, height;
            GetSize(&width, &height);
            uint32_t* pixels = to->GetPixels();
            const int32_t pitch = to->GetPitch() / 4;
            for (int32_t i = 0; i < h && i < width; ++i) {
                const uint32_t* row = from->GetPixels() + size_t(i) * size_t(from->GetPitch() / 4);
                for (int32_t j = 0; j < w && j < height; ++j) pixels[size_t(j) * pitch + (width - 1 - i)] = row[j];
            }
            to->GetAlphaFlag() = text.IsAlphaQuality() ? 1 : 0;
        }
        text.SetShadowOffset(dx, dy);
    }
    text.SetFaceName(face.c_str());
    return result;
}
