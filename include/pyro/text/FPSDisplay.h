// CFPSDisplay: the frame-rate read-out "FPS:measured/target", drawn in the top-left corner of
// the back buffer every time the screen presents. A GDI hook of the calling thread's screen;
// it reads the numbers from a frame timer it does not own.
#pragma once

#include <pyro/text/DrawHook.h>
#include <pyro/text/TextDraw.h>

#include <cstdint>

class CFrameTimer;

class CFPSDisplay : public CGDIHook {
public:
    // Made after the screen, on its thread, so that it finds the screen; 25-pixel text in light
    // green with a dark green shadow.
    explicit CFPSDisplay(CFrameTimer* timer);
    ~CFPSDisplay() override;

    // Draws the read-out; the measured rate never shows above the target.
    void OnDrawDC(HDC dc) override;

    // The long form adds "(SkipFrame n)".
    void SetShowSkipFrame(bool show) { showSkipFrame_ = show ? 1 : 0; }
    // The text object the read-out draws with.
    const CTextDraw& GetTextDraw() const { return text_; }

private:
    CTextDraw text_;
    CFrameTimer* timer_;
    uint8_t showSkipFrame_ = 0;
};
