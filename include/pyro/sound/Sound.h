// CSound: a short sound decoded whole into memory, loaded through the file object from a loose
// file or an archive member. RIFF WAVE and Ogg Vorbis are told apart by their first bytes, not
// by the name. A sound must outlive the voices that play it; destroying it while the mixer still
// plays it is the caller's fault, so stop them first (CSoundMixer::StopSound).
#pragma once

#include <pyro/sound/SoundData.h>

#include <cstdint>
#include <string>

class CSound {
public:
    CSound() = default;
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;
    virtual ~CSound() = default;

    // Loads and decodes the file at path (relative to the base directory, or in an archive):
    //   kSoundOK; kSoundNoData empty path; kSoundNotRead the file object could not read it;
    //   then the codes of Decode. On failure the sound is empty.
    virtual int Load(const std::string& path);
    // Decodes a file image already in memory (copied):
    //   kSoundOK; kSoundNoData no bytes; kSoundUnknownFormat neither "RIFF" nor "OggS";
    //   kSoundBadHeader, kSoundTruncated (WAVE) and kSoundCorrupt (Ogg Vorbis) damaged files;
    //   kSoundUnsupported an encoding, channel count or rate not handled; kSoundEmpty no
    //   frame of sound; kSoundTooLong more than CSoundData::kMaxDecodedBytes of samples (or,
    //   for Ogg Vorbis, more than CVorbisStream::kMaxFramesPerByte frames per byte);
    //   kSoundOutOfMemory. <pyro/sound/SoundResult.h> has the table of every code.
    virtual int Decode(const unsigned char* bytes, uint32_t size);
    // Frees the samples; stop the voices that play them first.
    virtual void Release() { data_ = CSoundData(); }

    // The decoded samples, channels interleaved at the sound's own rate.
    const CSoundData& GetData() const { return data_; }
    // True when the sound holds samples.
    bool IsLoaded() const { return !data_.samples.empty(); }
    // Length in frames at the sound's own rate.
    uint32_t GetFrames() const { return data_.GetFrames(); }

private:
    CSoundData data_;
};

// Decodes RIFF WAVE or Ogg Vorbis by their first bytes; the codes of CSound::Decode.
int DecodeSoundFile(const unsigned char* bytes, uint32_t size, CSoundData& out);
