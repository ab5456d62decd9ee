// CVorbisStream: an Ogg Vorbis stream decoded from memory by the reference decoder (libvorbis
// through libvorbisfile), a block of frames at a time, so music is decoded as it plays; Decode
// turns a short sound into samples at once. Streams of more than two channels are folded to
// stereo.
#pragma once

#include <pyro/sound/SoundData.h>

#include <cstdint>
#include <memory>

class CVorbisStream {
public:
    CVorbisStream();
    CVorbisStream(const CVorbisStream&) = delete;
    CVorbisStream& operator=(const CVorbisStream&) = delete;
    virtual ~CVorbisStream();

    // Opens the stream over bytes, which are not copied and must outlive it, and decodes its
    // first block, so that a success always has something to play:
    //   kSoundOK; kSoundNoData no input; kSoundUnknownFormat not starting with an Ogg page;
    //   kSoundCorrupt the headers or the first audio cannot be decoded; kSoundEmpty the headers
    //   are followed by no sound; kSoundUnsupported a rate above CSoundData::kMaxRate;
    //   kSoundTooLong a file of 2 GiB or more; kSoundOutOfMemory.
    virtual int Open(const unsigned char* bytes, uint32_t size);
    // Frees the decoder; Read then gives nothing.
    virtual void Close();
    // 1 or 2 (wider streams are folded to stereo); 0 when nothing is open.
    virtual int GetChannels() const { return channels_; }
    // Frames per second; 0 when nothing is open.
    virtual int GetSampleRate() const { return sampleRate_; }
    // Decodes up to frames frames (channels interleaved) into out and returns how many; 0 at
    // the end, after a decoding error, or when nothing is open. A later part of a chained file
    // with another rate or channel count counts as a decoding error: it cannot be played on.
    virtual int Read(int16_t* out, int frames);
    // Back to the first frame, sample for sample as after Open (the stream is opened again
    // over the same bytes): 0, or kSoundCorrupt (nothing open, or the stream cannot be
    // decoded again from its start; it is then closed).
    virtual int Rewind();
    // True when the last Read stopped on damaged data rather than at the end.
    virtual bool HasFailed() const { return failed_; }

    // Decodes a whole stream into out (replaced; empty on failure): Open's codes, and
    // kSoundCorrupt when decoding stops on damaged data, kSoundTooLong as soon as the samples
    // would pass CSoundData::kMaxDecodedBytes, or kMaxFramesPerByte frames per byte of the
    // file, or kMaxFramesPerByte per byte read so far plus kFramesAllowed (checked before the
    // memory for them is taken). The two rates are for streams of one or two channels; a
    // stream of c channels gets 2/c of them, as its decoding takes c/2 times the work.
    static int Decode(const unsigned char* bytes, uint32_t size, CSoundData& out);

    // A bound that real files stay far below (long silence compresses to a few hundred frames
    // per byte, and the headers come first); a hostile file cannot make Decode allocate more
    // than this.
    static constexpr uint32_t kMaxFramesPerByte = 1024;
    static constexpr uint32_t kFramesAllowed = 65536;  // granted besides, whatever the size

private:
    struct Decoder;  // libvorbisfile's state and the reading position in the bytes

    bool NextBlock();  // decodes the next block into the decoder's pending frames
    int Reopen();      // opens the decoder from the first byte and decodes the first block

    std::unique_ptr<Decoder> decoder_;
    int channels_ = 0;
    int sampleRate_ = 0;
    bool failed_ = false;
};
