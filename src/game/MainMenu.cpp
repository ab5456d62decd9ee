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
    keys.keyTable[kKeyS] = kLogicalScreenshot;
    keys.keyTable[kKeyF] = kLogicalReadOut;
    keys.keyTable[kKey0] = 100;
    keys.keyTable[kKey1] = 101;
    keys.keyTable[kKey2] = 102;
    keys.keyTable[kKey3] = 103;
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
