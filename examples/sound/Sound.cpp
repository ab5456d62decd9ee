// sound: background music streamed from the archive sounds.dat (made at build time from the
// folder sounds/ with pyro-pack), and three effects on the keys 1, 2 and 3. Up and Down change
// the effects' volume, Left and Right their pan; both are shown on screen, and each effect's box
// is lit while it plays. Escape ends the program.
//   sound [--demo]   --demo presses the keys by itself: effect 1 in the middle at full volume,
//                    effect 2 on the left, effect 3 on the right at half volume
#include <pyro/app/Application.h>
#include <pyro/app/FrameTimer.h>
#include <pyro/app/Main.h>
#include <pyro/game/ScreenView.h>
#include <pyro/input/KeyMapper.h>
#include <pyro/sound/Sound.h>
#include <pyro/sound/SoundPlayer.h>

#include <algorithm>
#include <cstdio>

#include "ExampleRun.h"
#include "TextLine.h"

namespace {

// What a key does. The effects have logical keys of their own, from the first free number.
enum Action { kEffect1, kEffect2, kEffect3, kLouder, kQuieter, kPanLeft, kPanRight, kActionCount };
constexpr int32_t kLogicalEffect1 = 10;
constexpr uint8_t kScanCode1 = 0x02;  // the keys 1, 2, 3 are scan codes 2, 3, 4
const int32_t kActionKeys[kActionCount] = {kLogicalEffect1, kLogicalEffect1 + 1, kLogicalEffect1 + 2,
                                           kLogicalUp, kLogicalDown, kLogicalLeft, kLogicalRight};
const char* const kEffectFiles[3] = {"sounds\\effect1.wav", "sounds\\effect2.wav", "sounds\\effect3.wav"};
constexpr int kVolumeStep = 32;
constexpr int kPanStep = 64;

// --demo: the keys it presses, by frame (30 frames a second).
struct Press {
    int frame;
    Action action;
    int times;
};
const Press kDemo[] = {
    {15, kEffect1, 1},
    {30, kPanLeft, 4}, {30, kEffect2, 1},
    {45, kQuieter, 4}, {45, kPanRight, 8}, {45, kEffect3, 1},
};

// The screen, 320 by 240: the volume as a bar kVolumeBar wide at full volume, the pan as a
// marker on a track, so that a screenshot shows both exactly.
const Rect kVolumeTrack = {32, 116, 288, 124};
const Rect kPanTrack = {30, 156, 290, 164};
constexpr uint32_t kBackground = 0x102030, kTrack = 0x303840, kVolumeColour = 0x40C040, kPanColour = 0xE04040;
constexpr uint32_t kEffectLit = 0xF0C040, kEffectIdle = 0x404860;

}  // namespace

class CSoundApp : public CApplication {
public:
    explicit CSoundApp(CExampleRun& run) : run_(run) {}

    int OnInit(CWindowOption& options) override
    {
        options.caption = "sound";
        options.className = "PYROSOUND";
        options.sizeX = 320;
        options.sizeY = 240;
        return 0;
    }

    void MainThread() override
    {
        CScreenView view;
        view.SetLogicalSize(320, 240);
        CFrameTimer timer;
        timer.SetFPS(30);
        CKeyMapper& keys = CKeyMapper::GetInstance();
        keys.Create(&view);
        for (int32_t i = 0; i < 3; ++i) keys.keyTable[kScanCode1 + i] = kLogicalEffect1 + i;

        // Without an audio device Create says so once in the error log; the rest works silently.
        const bool audible = player_.Create() == 0;
        for (int i = 0; i < 3; ++i) Print("%s: result %d", kEffectFiles[i], effects_[i].Load(kEffectFiles[i]));
        // Streamed: the file stays in memory as it is, and its Ogg Vorbis is decoded as it plays.
        Print("sounds\\music.ogg: result %d", player_.PlayMusic("sounds\\music.ogg", true));

        const bool demo = run_.Flag("--demo");
        CTextLine help, volumeLine, panLine, musicLine, digits[3];
        char text[64];
        while (PumpMessage() && run_.NextFrame(view)) {
            keys.Update();
            for (int action = 0; action < kActionCount; ++action)
                if (keys.IsTriggered(kActionKeys[action])) Do(Action(action));
            if (demo)
                for (const Press& press : kDemo)
                    if (press.frame == run_.Frame())
                        for (int i = 0; i < press.times; ++i) Do(press.action);

            view.FillRect(kBackground, nullptr);
            help.Draw(view, 16, 12, "1 2 3 effects, arrows volume and pan");
            for (int i = 0; i < 3; ++i) {
                const Rect box = {16 + i * 56, 40, 64 + i * 56, 80};
                view.FillRect(player_.IsPlaying(handles_[i]) ? kEffectLit : kEffectIdle, &box);
                text[0] = char('1' + i), text[1] = '\0';
                digits[i].Draw(view, box.left + 20, box.top + 12, text);
            }
            std::snprintf(text, sizeof text, "volume %d", params_.volume);
            volumeLine.Draw(view, 16, 94, text);
            Rect bar = kVolumeTrack;
            view.FillRect(kTrack, &bar);
            bar.right = bar.left + params_.volume;
            view.FillRect(kVolumeColour, &bar);
            std::snprintf(text, sizeof text, "pan %d", params_.pan);
            panLine.Draw(view, 16, 134, text);
            view.FillRect(kTrack, &kPanTrack);
            const int32_t middle = (kPanTrack.left + kPanTrack.right) / 2 + params_.pan / 2;
            const Rect marker = {middle - 2, kPanTrack.top, middle + 2, kPanTrack.bottom};
            view.FillRect(kPanColour, &marker);
            musicLine.Draw(view, 16, 190, audible ? "music: music.ogg, looping" : "no audio device: silent");
            view.Present();
            timer.WaitFrame();
            if (keys.IsTriggered(kLogicalEscape)) break;
        }
        player_.Destroy();
        keys.Destroy();
    }

private:
    void Do(Action action)
    {
        switch (action) {
        case kEffect1:
        case kEffect2:
        case kEffect3:
            handles_[action] = player_.Play(effects_[action], params_);
            Print("effect %d, volume %d, pan %d", action + 1, params_.volume, params_.pan);
            break;
        case kLouder: params_.volume = std::min(params_.volume + kVolumeStep, 256); break;
        case kQuieter: params_.volume = std::max(params_.volume - kVolumeStep, 0); break;
        case kPanLeft: params_.pan = std::max(params_.pan - kPanStep, -256); break;
        case kPanRight: params_.pan = std::min(params_.pan + kPanStep, 256); break;
        default: break;
        }
    }

    CExampleRun& run_;
    // The sounds before the player: members end in reverse order, so no voice outlives its sound.
    CSound effects_[3];
    CSoundPlayer player_;
    uint32_t handles_[3] = {};
    CSoundParams params_;  // the effects' volume and pan
};

int PyroMain(int argc, char* argv[])
{
    CExampleRun run(argc, argv);
    CSoundApp app(run);
    app.Run();
    return 0;
}
