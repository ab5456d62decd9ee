// Helpers for the sound tests: the waveform the fixtures were made from (make_fixtures.py), the
// fixtures built beside the tests, a WAVE file builder for hostile and odd files, and a mixer
// run collected into a vector.
#pragma once

#include <doctest/doctest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <pyro/sound/SoundData.h>
#include <pyro/sound/SoundMixer.h>
#include "tools/Packer.h"

// Channel c of frame i of every fixture, as make_fixtures.py writes it.
inline int16_t Triangle(uint32_t i, int channel)
{
    const int period = channel == 0 ? 200 : channel == 1 ? 120 : 80;
    return static_cast<int16_t>(256 * (std::abs(int(i % period) - period / 2) - period / 4));
}

inline std::vector<unsigned char> Fixture(const std::string& name)
{
    const char* binary = std::getenv("PYRO_BINARY_DIR");
    REQUIRE(binary != nullptr);
    std::vector<unsigned char> bytes;
    std::string error;
    REQUIRE_MESSAGE(ReadFileBytes(std::string(binary) + "/tests/sound/fixtures/" + name, bytes, error), error);
    return bytes;
}

inline void Put16(std::vector<unsigned char>& out, uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

inline void Put32(std::vector<unsigned char>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

inline void PutChunk(std::vector<unsigned char>& out, const char* id, const std::vector<unsigned char>& body,
                     uint32_t declaredSize)
{
    out.insert(out.end(), id, id + 4);
    Put32(out, declaredSize);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1) out.push_back(0);
}

struct WaveFormat {
    uint16_t tag = 1;
    uint16_t channels = 1;
    uint32_t rate = 44100;
    uint16_t bits = 16;
    int blockAlign = -1;  // -1: channels * bits / 8
};

inline std::vector<unsigned char> FormatBody(const WaveFormat& f)
{
    std::vector<unsigned char> body;
    const uint16_t align = f.blockAlign >= 0 ? uint16_t(f.blockAlign) : uint16_t(f.channels * f.bits / 8);
    Put16(body, f.tag);
    Put16(body, f.channels);
    Put32(body, f.rate);
    Put32(body, f.rate * align);
    Put16(body, align);
    Put16(body, f.bits);
    return body;
}

// "RIFF" size "WAVE" followed by the chunks as given.
inline std::vector<unsigned char> Riff(const std::vector<unsigned char>& chunks)
{
    std::vector<unsigned char> out{'R', 'I', 'F', 'F'};
    Put32(out, uint32_t(chunks.size() + 4));
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    out.insert(out.end(), chunks.begin(), chunks.end());
    return out;
}

inline std::vector<unsigned char> Wave(const WaveFormat& format, const std::vector<unsigned char>& data)
{
    std::vector<unsigned char> chunks;
    PutChunk(chunks, "fmt ", FormatBody(format), 16);
    PutChunk(chunks, "data", data, uint32_t(data.size()));
    return Riff(chunks);
}

inline std::vector<unsigned char> Samples16(const std::vector<int16_t>& samples)
{
    std::vector<unsigned char> out;
    for (int16_t s : samples) Put16(out, uint16_t(s));
    return out;
}

inline CSoundData MakeData(int channels, int rate, std::vector<int16_t> samples)
{
    CSoundData data;
    data.channels = channels;
    data.sampleRate = rate;
    data.samples = std::move(samples);
    return data;
}

// Mixes frames frames and returns them interleaved.
inline std::vector<int16_t> MixFrames(CSoundMixer& mixer, int frames)
{
    std::vector<int16_t> out(size_t(frames) * 2, 12345);
    mixer.Mix(out.data(), frames);
    return out;
}

// One channel of a mixed block.
inline std::vector<int16_t> Channel(const std::vector<int16_t>& mixed, int channel)
{
    std::vector<int16_t> out;
    for (size_t i = channel; i < mixed.size(); i += 2) out.push_back(mixed[i]);
    return out;
}
