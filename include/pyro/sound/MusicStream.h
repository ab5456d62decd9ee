// ISoundStream: a source the mixer pulls frames from as it plays, for music too long to decode
// whole. CMusicStream is the one the system uses: the file's bytes stay in memory (so a member of
// an archive streams as well as a loose file) and Ogg Vorbis is decoded a block at a time; a WAVE
// file is decoded whole on opening and then served from memory.
#pragma once

#include <pyro/sound/SoundData.h>
#include <pyro/sound/VorbisStream.h>

#include <cstdint>
#include <string>
#include <vector>

// A source of frames the mixer pulls from while a stream voice plays.
class ISoundStream {
public:
    virtual ~ISoundStream() = default;
    virtual int GetChannels() const = 0;    // 1 or 2
    virtual int GetSampleRate() const = 0;  // frames per second
    // Up to frames frames, channels interleaved; how many were written, 0 at the end.
    virtual int Read(int16_t* out, int frames) = 0;
    // Back to the first frame; 0 on success.
    virtual int Rewind() = 0;
};

// Music from a file: Ogg Vorbis decoded as it plays, WAVE decoded once and served from memory.
class CMusicStream : public ISoundStream {
public:
    // Reads the file through the file object:
    //   kSoundOK; kSoundNoData empty path; kSoundNotRead the file could not be read;
    //   kSoundUnknownFormat neither WAVE nor Ogg; kSoundBadHeader, kSoundTruncated (WAVE) and
    //   kSoundCorrupt (Ogg Vorbis) damaged files; kSoundUnsupported an encoding, channel count
    //   or rate not handled; kSoundEmpty no frame of sound; kSoundTooLong an Ogg file of 2 GiB
    //   or more; kSoundOutOfMemory (see <pyro/sound/SoundResult.h>).
    int Open(const std::string& path);
    // The same over a copy of a file image in memory.
    int OpenMemory(const unsigned char* bytes, uint32_t size);
    // Releases the file; Read then gives nothing.
    void Close();

    int GetChannels() const override;  // 1 or 2; 0 when nothing is open
    int GetSampleRate() const override;  // frames per second; 0 when nothing is open
    // Up to frames frames, channels interleaved; how many were written, 0 at the end.
    int Read(int16_t* out, int frames) override;
    // Back to the first frame; 0 on success.
    int Rewind() override;

private:
    int OpenBytes();

    std::vector<unsigned char> bytes_;  // the Ogg file the decoder reads from
    CVorbisStream vorbis_;
    CSoundData wave_;
    uint32_t wavePosition_ = 0;  // frames
    bool isWave_ = false;
};
