// CVorbisStream: an Ogg Vorbis stream decoded from memory, a block of frames at a time, so music
// is decoded as it plays; Decode turns a short sound into samples at once. Streams of more than
// two channels are folded to stereo.
#pragma once

#include <pyro/sound/SoundData.h>

#include <cstdint>
#include <vector>

struct stb_vorbis;

class CVorbisStream {
public:
    CVorbisStream() = default;
    CVorbisStream(const CVorbisStream&) = delete;
    CVorbisStream& operator=(const CVorbisStream&) = delete;
    virtual ~CVorbisStream();

    // Opens the stream over bytes, which are not copied and must outlive it:
    //   kSoundOK; kSoundNoData no input; kSoundUnknownFormat not starting with an Ogg page;
    //   kSoundCorrupt the headers cannot be decoded; kSoundUnsupported a rate above
    //   CSoundData::kMaxRate; kSoundTooLong a file of 2 GiB or more; kSoundOutOfMemory the
    //   decoder's tables need more memory than the file justifies.
    virtual int Open(const unsigned char* bytes, uint32_t size);
    // Frees the decoder; Read then gives nothing.
    virtual void Close();
    // 1 or 2 (wider streams are folded to stereo); 0 when nothing is open.
    virtual int GetChannels() const { return channels_; }
    // Frames per second; 0 when nothing is open.
    virtual int GetSampleRate() const { return sampleRate_; }
    // Decodes up to frames frames (channels interleaved) into out and returns how many; 0 at
    // the end, after a decoding error, or when nothing is open.
    virtual int Read(int16_t* out, int frames);
    // Back to the first frame: 0, or kSoundCorrupt (nothing open, or the stream cannot seek).
    virtual int Rewind();
    // True when the last Read stopped on damaged data rather than at the end.
    virtual bool HasFailed() const;

    // Decodes a whole stream into out (replaced; empty on failure): Open's codes, and
    // kSoundCorrupt when decoding stops on damaged data, kSoundTooLong when the sound would
    // exceed kMaxFramesPerByte frames per byte of the file.
    static int Decode(const unsigned char* bytes, uint32_t size, CSoundData& out);

    // A bound that real files stay far below (long silence compresses to a few hundred frames
    // per byte); a hostile file cannot make Decode allocate more than this.
    static constexpr uint32_t kMaxFramesPerByte = 1024;

private:
    stb_vorbis* vorbis_ = nullptr;
    std::vector<char> arena_;  // every allocation of the decoder comes from here
    int channels_ = 0;
    int sampleRate_ = 0;
};
