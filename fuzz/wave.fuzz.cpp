// Fuzz target: CWaveDecoder on arbitrary files. A success must account for every sample with
// bytes of the file; a failure must leave nothing behind.
#include <cstdint>
#include <cstdlib>

#include <pyro/sound/SoundResult.h>
#include "sound/WaveDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CSoundData sound;
    const int result = CWaveDecoder::Decode(data, static_cast<uint32_t>(size), sound);
    if (result == kSoundOK) {
        if (sound.channels < 1 || sound.channels > 2 || sound.sampleRate < 1) std::abort();
        if (sound.samples.size() % sound.channels != 0 || sound.samples.size() > size) std::abort();
    } else if (!sound.samples.empty() || sound.channels != 0) {
        std::abort();
    }
    return 0;
}
