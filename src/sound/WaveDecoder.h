// CWaveDecoder: RIFF WAVE files into 16-bit samples. PCM of 8 and 16 bits and IEEE float of
// 32 bits (also behind the extensible format tag), one or two channels, any rate from 1 Hz to
// 384 kHz. Unknown chunks are skipped, odd chunk sizes padded.
#pragma once

#include <pyro/sound/SoundData.h>

#include <cstdint>

class CWaveDecoder {
public:
    // Decodes the whole file into out (replaced; empty on failure):
    //   kSoundOK; kSoundNoData no input; kSoundUnknownFormat not "RIFF....WAVE";
    //   kSoundBadHeader no "fmt " chunk of at least 16 bytes, no data chunk, or a block size
    //   that does not match the channels and bits; kSoundUnsupported another encoding, bit
    //   depth, channel count or rate (also an extensible format whose sub-format GUID is not
    //   all 16 bytes of PCM's or IEEE float's); kSoundTruncated a chunk that runs past the end;
    //   kSoundEmpty a data chunk without one whole frame; kSoundOutOfMemory.
    // A trailing partial frame in the data chunk is dropped. Float samples are scaled by
    // 32768, rounded half up and clamped; NaN becomes 0. 8-bit samples become (b - 128) * 256.
    static int Decode(const unsigned char* bytes, uint32_t size, CSoundData& out);
};
