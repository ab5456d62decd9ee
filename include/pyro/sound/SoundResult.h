// Result codes shared by the sound decoders, the sound object and the music stream. Every
// operation that loads or decodes sound returns one of these; the tables beside each operation
// say which it can give.
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
    kSoundTooLong = 7,         // decoding whole would need more memory than the file justifies
    kSoundOutOfMemory = 8,
    kSoundNoVoice = 9,         // every voice of the mixer is busy
};
