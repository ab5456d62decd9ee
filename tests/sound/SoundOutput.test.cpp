#include "SoundTesting.h"

#include <pyro/sound/SoundPlayer.h>
#include "../app/ErrorCapture.h"

TEST_CASE("without a device the player logs once, stays silent and every operation still works")
{
    ErrorCapture errors;
    CSoundPlayer player;
    // No system has this many wave devices: the open fails as it does on a machine without sound.
    CHECK(player.Create(9999) == 1);
    REQUIRE(errors.messages.size() == 1);
    CHECK(errors.messages[0] == "CSoundOutput::OpenでwaveOutOpen失敗(2)");
    CHECK_FALSE(player.IsAudible());

    const CSoundData data = MakeData(1, 44100, std::vector<int16_t>(100, 1000));
    const uint32_t handle = player.Play(data);
    CHECK(handle != 0);
    CHECK(player.SetVolume(handle, 10) == 0);
    CHECK(player.Fade(handle, 0, 100) == 0);
    player.SetMasterVolume(0);
    CHECK(player.Stop(handle) == 0);
    player.Destroy();
    CHECK(errors.messages.size() == 1);
}
