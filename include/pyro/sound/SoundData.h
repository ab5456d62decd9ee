// CSoundData: decoded sound in memory, 16-bit signed samples, one or two interleaved channels,
// at the sound's own rate. The mixer resamples it on playback.
#pragma once

#include <cstdint>
#include <vector>

class CSoundData {
public:
    // The highest rate any decoder accepts; the mixer's fixed-point steps are sized for it.
    static constexpr int kMaxRate = 384000;
    // The most sample memory a sound decoded whole may take (samples x channels x 2 bytes):
    // about three minutes of stereo at 44.1 kHz. Longer sounds are music, streamed as they
    // play; a small hostile file cannot make a decoder take more than this.
    static constexpr uint32_t kMaxDecodedBytes = 32u << 20;

    int channels = 0;       // 1 or 2
    int sampleRate = 0;     // frames per second, 1 to kMaxRate
    std::vector<int16_t> samples;  // channels interleaved

    // The length in frames (samples per channel).
    uint32_t GetFrames() const
    {
        return channels ? static_cast<uint32_t>(samples.size() / channels) : 0;
    }
};
