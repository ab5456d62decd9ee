// input: the key mapper's logical keys, the mouse (position, buttons, press and release edges)
// the joystick, and up to four XInput pads with their sticks, triggers and rumble (A runs the
// heavy motor, B the light one for a third of a second), and a name typed with the keyboard or
// the IME, drawn live. Each change is also printed.
// Escape ends the program.
#include <pyro/app/Application.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/app/Main.h>
#include <pyro/game/ScreenView.h>
#include <pyro/input/GamePad.h>
#include <pyro/input/KeyMapper.h>
#include <pyro/input/TextInput.h>

#include <cstdio>
#include <string>

#include "ExampleRun.h"
#include "TextLine.h"

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
// The default logical keys 1 to 9, by number.
const char* const kKeyNames[10] = {"", "escape", "up", "left", "right", "down", "decide", "cancel", "tab", "shift"};

}  // namespace

class CInputApp : public CApplication {
public:
    explicit CInputApp(CExampleRun& run) : run_(run) {}

    int OnInit(CWindowOption& options) override
    {
        options.caption = "input";
        options.className = "PYROINPUT";
        options.sizeX = kWidth;
        options.sizeY = kHeight;
        return 0;
    }

    void MainThread() override
    {
        CScreenView view;
        view.SetLogicalSize(kWidth, kHeight);
        CFrameTimer timer;
        timer.SetFPS(30);
        // The mapper polls the keyboard, the mouse and the joystick once per Update; with the
        // view, its mouse position is in logical coordinates.
        CKeyMapper& keys = CKeyMapper::GetInstance();
        keys.Create(&view);
        CTextLine keyNames[10], mouseLine, edgesLine, joystickLine, padLines[kPadSlots];
        CGamePad pads[] = {CGamePad(0), CGamePad(1), CGamePad(2), CGamePad(3)};
        CTextLine nameLine;
        CTextInput entry;
        entry.Start(true);  // true: the IME is on while the name is typed, for Japanese names
        std::string name;
        int32_t presses[2] = {}, releases[2] = {};

        while (PumpMessage() && run_.NextFrame(view)) {
            keys.Update();
            view.FillRect(0x202020, nullptr);
            // The nine logical keys: a box each, lit while held.
            for (int32_t key = 1; key <= 9; ++key) {
                const Rect box = {16 + (key - 1) * 68, 16, 76 + (key - 1) * 68, 56};
                view.FillRect(keys.IsDown(key) ? 0x40E040 : 0x404040, &box);
                keyNames[key].Draw(view, box.left + 4, box.top + 12, kKeyNames[key]);
                if (keys.IsTriggered(key)) Print("key %s down", kKeyNames[key]);
                if (wasDown_[key] && !keys.IsDown(key)) Print("key %s up", kKeyNames[key]);
                wasDown_[key] = keys.IsDown(key);
            }

            // The mouse: a cross at its position, the buttons, and the edges of this frame.
            CMouse& mouse = *keys.mouse;
            const int32_t x = keys.mouseX, y = keys.mouseY;
            const bool edges[4] = {mouse.IsLButtonPushed(), mouse.IsLButtonReleased(),
                                   mouse.IsRButtonPushed(), mouse.IsRButtonReleased()};
            for (int32_t button = 0; button < 2; ++button) {
                const char* name = button == 0 ? "left" : "right";
                if (edges[button * 2]) ++presses[button], Print("mouse %s press at %d,%d", name, x, y);
                if (edges[button * 2 + 1]) ++releases[button], Print("mouse %s release at %d,%d", name, x, y);
            }
            const Rect across = {x - 8, y, x + 9, y + 1}, down = {x, y - 8, x + 1, y + 9};
            const uint32_t crossColour = mouse.IsLButton() ? 0xFF4040 : mouse.IsRButton() ? 0x4080FF : 0xFFFFFF;
            view.FillRect(crossColour, &across);
            view.FillRect(crossColour, &down);
            char text[128];
            std::snprintf(text, sizeof text, "mouse %d,%d  left %s  right %s", x, y,
                          mouse.IsLButton() ? "down" : "up", mouse.IsRButton() ? "down" : "up");
            mouseLine.Draw(view, 16, 80, text);
            std::snprintf(text, sizeof text, "presses left %d right %d, releases left %d right %d",
                          presses[0], presses[1], releases[0], releases[1]);
            edgesLine.Draw(view, 16, 104, text);

            // The joystick: its four directions and first two buttons as keys, when there is one.
            CJoyStick& joystick = *keys.joystick;
            if (joystick.GetImplementation() && joystick.GetImplementation()->IsValid()) {
                std::snprintf(text, sizeof text, "joystick %s%s%s%s %s %s",
                              joystick.IsDown(kJoyUp) ? "up " : "", joystick.IsDown(kJoyDown) ? "down " : "",
                              joystick.IsDown(kJoyLeft) ? "left " : "", joystick.IsDown(kJoyRight) ? "right " : "",
                              joystick.IsDown(kJoyButton1) ? "button 1" : "", joystick.IsDown(kJoyButton1 + 1) ? "button 2" : "");
            } else {
                std::snprintf(text, sizeof text, "joystick: none");
            }
            joystickLine.Draw(view, 16, 128, text);

            entry.Update();
            if (entry.EditLine(name, 16)) Print("name %s entered", name.c_str());
            std::snprintf(text, sizeof text, "name: %s_", name.c_str());
            nameLine.Draw(view, 360, 128, text);

            for (uint32_t slot = 0; slot < kPadSlots; ++slot) {
                DrawPad(view, pads[slot], padLines[slot], 16, 160 + int32_t(slot) * 76);
            }

            view.Present();
            timer.WaitFrame();
            if (keys.IsTriggered(kLogicalEscape)) break;
        }
        keys.Destroy();
    }

private:
    // One pad: a line of its state, both sticks after their dead zones as dots in boxes, and the
    // triggers as bars. A and B start the motors.
    static void DrawPad(CScreenView& view, CGamePad& pad, CTextLine& line, int32_t x, int32_t y)
    {
        pad.Update();
        if (pad.WasConnected()) Print("pad %u connected", pad.GetSlot());
        if (pad.WasDisconnected()) Print("pad %u disconnected", pad.GetSlot());
        char text[128];
        if (!pad.IsConnected()) {
            std::snprintf(text, sizeof text, "pad %u: none", pad.GetSlot());
            line.Draw(view, x, y, text);
            return;
        }
        if (pad.IsTriggered(kPadA)) pad.SetRumble(0xC000, 0, 333);
        if (pad.IsTriggered(kPadB)) pad.SetRumble(0, 0xC000, 333);
        const GamePadState& state = pad.GetState();
        std::snprintf(text, sizeof text, "pad %u: left %d,%d right %d,%d triggers %u %u buttons %04X",
                      pad.GetSlot(), state.leftX, state.leftY, state.rightX, state.rightY,
                      state.leftTrigger, state.rightTrigger, state.buttons);
        line.Draw(view, x, y, text);
        const StickPosition sticks[2] = {pad.GetLeftStick(), pad.GetRightStick()};
        for (int32_t i = 0; i < 2; ++i) {
            const Rect box = {x + i * 60, y + 20, x + i * 60 + 50, y + 70};
            view.FillRect(0x404040, &box);
            const int32_t dotX = box.left + 25 + int32_t(sticks[i].x * 22), dotY = box.top + 25 - int32_t(sticks[i].y * 22);
            const Rect dot = {dotX - 2, dotY - 2, dotX + 3, dotY + 3};
            view.FillRect(0xFFFFFF, &dot);
        }
        const float triggers[2] = {pad.GetLeftTrigger(), pad.GetRightTrigger()};
        for (int32_t i = 0; i < 2; ++i) {
            const Rect bar = {x + 130, y + 24 + i * 24, x + 130 + int32_t(triggers[i] * 200), y + 40 + i * 24};
            view.FillRect(0xE0A040, &bar);
        }
    }

    CExampleRun& run_;
    bool wasDown_[10] = {};
};

int PyroMain(int argc, char* argv[])
{
    CExampleRun run(argc, argv);
    CInputApp app(run);
    app.Run();
    return 0;
}
