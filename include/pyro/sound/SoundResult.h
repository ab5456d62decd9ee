// Result codes shared by the sound decoders, the sound object and the music stream. Every
// operation that loads or decodes sound returns one of these, and a success always carries
// something playable.
//
//   code                 CSound::Load  CSound::Decode  CMusicStream::Open
//   kSoundOK                  x              x                x
//   kSoundNoData              x              x                x
//   kSoundNotRead             x                               x
//   kSoundUnknownFormat       x              x                x
//   kSoundBadHeader           x              x                x   (WAVE)
//   kSoundUnsupported         x              x                x
//   kSoundTruncated           x              x                x   (WAVE)
//   kSoundCorrupt             x              x                x   (Ogg Vorbis)
//   kSoundTooLong             x              x                x   (Ogg Vorbis of 2 GiB or more)
//   kSoundOutOfMemory         x              x                x
//   kSoundEmpty               x              x                x
//
// A sound decoded whole (CSound) takes at most CSoundData::kMaxDecodedBytes of samples, and Ogg
// Vorbis also at most CVorbisStream::kMaxFramesPerByte frames per byte (fewer for more than
// two channels, see CVorbisStream::Decode); the decoder
// stops with kSoundTooLong before it takes more. Music (CMusicStream) keeps the file and one
// decoded block in memory, whatever the length of the stream.
#pragma once

enum : int {
    kSoundOK = 0,
    kSoundNoData = -1,         // empty path, null or empty input
    kSoundNotRead = 1,         // the file object could not read the path (disk or archive)
    kSoundUnknownFormat = 2,   // neither RIFF WAVE nor Ogg
    kSoundBadHeader = 3,       // WAVE without a usable "fmt " chunk or data chunk
    kSoundUnsupported = 4,     // an encoding, bit depth, channel count or rate not handled
    kSoundTruncated = 5,       // a chunk runs past the end of the file
    kSoundCorrupt = 6,         // the Ogg Vorbis stream cannot be decoded
    kSoundTooLong = 7,         // decoded whole it would pass the cap above
    kSoundOutOfMemory = 8,
    kSoundNoVoice = 9,         // every voice of the mixer is busy (CSoundMixer only)
    kSoundEmpty = 10,          // well formed, but without a single frame of sound
};
