// Fuzz target: Ogg Vorbis through the sound loader (the file object's memory name, then the
// decoder) and through the music stream, read to its end and rewound. Neither may allocate more
// than the file justifies nor read outside it.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <pyro/file/FileBuffer.h>
#include <pyro/sound/MusicStream.h>
#include <pyro/sound/Sound.h>
#include <pyro/sound/SoundResult.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    CSound sound;
    const int result = sound.Load(CFileBuffer::MakeMemoryName(data, static_cast<uint32_t>(size)));
    if (result == kSoundOK) {
        if (uint64_t(sound.GetFrames()) > uint64_t(CVorbisStream::kMaxFramesPerByte) * size + 4096) std::abort();
    } else if (sound.IsLoaded()) {
        std::abort();
    }

    CMusicStream stream;
    if (stream.OpenMemory(data, static_cast<uint32_t>(size)) != kSoundOK) return 0;
    std::vector<int16_t> block(2 * 1024);
    for (int pass = 0; pass < 2; ++pass) {
        uint64_t frames = 0;
        while (int got = stream.Read(block.data(), 1024)) {
            if (got < 0 || got > 1024) std::abort();
            frames += got;
            if (frames > uint64_t(CVorbisStream::kMaxFramesPerByte) * size + 4096) break;
        }
        if (stream.Rewind() != kSoundOK) break;
    }
    return 0;
}
