// CFPSDisplay: formats the timer's rates and draws them with the text object.
#include <pyro/text/FPSDisplay.h>

#include <pyro/app/FrameTimer.h>

CFPSDisplay::CFPSDisplay(CFrameTimer* timer) : timer_(timer)
{
    text_.SetHeight(25).SetTextColor(0x80C080).SetShadowColor(0x408040);
}

CFPSDisplay::~CFPSDisplay() = default;

void CFPSDisplay::OnDrawDC(HDC dc)
{
    if (!timer_) return;
    int32_t measured = int32_t(timer_->GetRealFPS());
    const int32_t target = int32_t(timer_->GetFPS());
    const int32_t skipped = int32_t(timer_->GetSkipFrame());
    if (measured > target) measured = target;

    char buffer[64];
    if (showSkipFrame_) wsprintfA(buffer, "FPS:%d/%d(SkipFrame %d)", measured, target, skipped);
    else wsprintfA(buffer, "FPS:%d/%d", measured, target);
    // The formatted text holds no "%", so as a format it comes out unchanged.
    text_.SetTextF(buffer);
    text_.Draw(dc, x, y);
}
