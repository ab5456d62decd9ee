// CSoundPlayer: the sound system as an application uses it, a mixer with its Windows output.
// Create it on the application's thread (the output then pauses with the application on
// minimise). Without an audio device Create reports it once through the error log and the
// player stays silent: every other operation still works, so the program runs on unchanged.
#pragma once

#include <pyro/sound/SoundMixer.h>
#include <pyro/sound/SoundOutput.h>

class CSoundPlayer : public CSoundMixer {
public:
    // A mixer of voices voices (1 .. kMaxVoices) with no device open yet.
    explicit CSoundPlayer(int voices = 32) : CSoundMixer(voices) {}
    ~CSoundPlayer() override { Destroy(); }

    // Opens the default device (or the given one): the codes of CSoundOutput::Open.
    int Create(UINT device = WAVE_MAPPER) { return output_.Open(this, device); }
    // Stops the output; the voices keep their state and play on after the next Create.
    void Destroy() { output_.Close(); }
    // True when sound reaches a device.
    bool IsAudible() const { return output_.IsOpen(); }
    // The output, for pausing by hand or asking its state.
    CSoundOutput& GetOutput() { return output_; }

private:
    CSoundOutput output_;
};
