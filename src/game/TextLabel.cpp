// CTextLabel: change tracking and rendering at the magnified font size.
#include <pyro/game/TextLabel.h>

#include <pyro/game/ScreenView.h>

#include <cstdarg>
#include <string>

void CTextLabel::SetFontSize(int32_t size)
{
    if (size == fontSize_) return;
    fontSize_ = size;
    dirty_ = true;
}

void CTextLabel::SetColor(uint32_t colour)
{
    if (colour == text.GetTextColor()) return;
    text.SetTextColor(colour);
    dirty_ = true;
}

void CTextLabel::SetText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string formatted = CTextDraw::FormatV(format, args);
    va_end(args);
    if (formatted == text.GetText()) return;
    text.SetText(formatted.c_str());
    dirty_ = true;
}

void CTextLabel::SetPlainText(const char* plain)
{
    const char* given = plain ? plain : "";
    if (text.GetText() == given) return;
    text.SetText(given);
    dirty_ = true;
}

void CTextLabel::SetTextPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string formatted = FormatTextV(format, args);
    va_end(args);
    SetPlainText(formatted.c_str());
}

int32_t CTextLabel::Update()
{
    if (const CScreenView* view = CScreenView::GetCurrent()) {
        if (view->GetMagnification() != magnification_) {
            magnification_ = view->GetMagnification();
            dirty_ = true;
        }
    }
    if (!dirty_) return 0;
    dirty_ = false;
    text.SetHeight(fontSize_ * magnification_);
    return RenderText();
}
