// CMainMenu: set-up, the frame loop and take-down of the main menu scene.
#include "game/MainMenu.h"

#include <pyro/app/FrameTimer.h>
#include <pyro/game/ScreenView.h>
#include <pyro/input/KeyMapper.h>
#include <pyro/text/FPSDisplay.h>
#include "game/NumberMenu.h"

namespace {

constexpr int32_t kLogicalWidth = 320;
constexpr int32_t kLogicalHeight = 240;
constexpr uint32_t kBackground = 0x000000FF;  // blue
constexpr int32_t kFramesPerSecond = 30;

}  // namespace

void CMainMenu::BindKeys()
{
    CKeyMapper& keys = CKeyMapper::GetInstance();
    keys.keyTable[0x1F] = kLogicalScreenshot;  // S
    keys.keyTable[0x21] = kLogicalReadOut;     // F
    keys.keyTable[0x0B] = 100;                 // 0
    keys.keyTable[0x02] = 101;                 // 1
    keys.keyTable[0x03] = 102;                 // 2
    keys.keyTable[0x04] = 103;                 // 3
}

void CMainMenu::Start()
{
    CScreenView view;
    CFrameTimer timer;
    CFPSDisplay readOut(&timer);
    view.SetLogicalSize(kLogicalWidth, kLogicalHeight);
    CKeyMapper& keys = CKeyMapper::GetInstance();
    keys.Create(&view);
    BindKeys();
    {
        CNumberMenu menu;
        menu.AddNumberButtons();
        menu.SetPos(79, 55);
        timer.SetFPS(kFramesPerSecond);

        while (app && app->PumpMessage()) {
            keys.Update();
            CWidget::UpdateAll();
            view.FillRect(kBackground, nullptr);
            CWidget::DrawAll();
            view.Present();
            timer.WaitFrame();
            // After the present: a screenshot shows the frame just presented.
            if (keys.IsTriggered(kLogicalScreenshot)) view.SaveScreenshot();
            if (keys.IsTriggered(kLogicalReadOut)) readOut.enabled = !readOut.enabled;
            if (keys.IsTriggered(kLogicalEscape)) break;
        }
        keys.Destroy();
        // The menu goes with its labels, releasing any panel that is still open.
    }
}
