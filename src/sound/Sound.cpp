#include <pyro/sound/Sound.h>

#include <pyro/file/FileBuffer.h>
#include <pyro/sound/SoundResult.h>
#include <pyro/sound/VorbisStream.h>
#include "sound/WaveDecoder.h"

#include <cstring>

int DecodeSoundFile(const unsigned char* bytes, uint32_t size, CSoundData& out)
{
    out = CSoundData();
    if (!bytes || size == 0) return kSoundNoData;
    if (size >= 4 && std::memcmp(bytes, "RIFF", 4) == 0) return CWaveDecoder::Decode(bytes, size, out);
    if (size >= 4 && std::memcmp(bytes, "OggS", 4) == 0) return CVorbisStream::Decode(bytes, size, out);
    return kSoundUnknownFormat;
}

int CSound::Load(const std::string& path)
{
    data_ = CSoundData();
    if (path.empty()) return kSoundNoData;
    CFileBuffer file;
    if (file.Read(path) != 0) return kSoundNotRead;
    return Decode(file.GetMemory(), file.GetSize());
}

int CSound::Decode(const unsigned char* bytes, uint32_t size)
{
    return DecodeSoundFile(bytes, size, data_);
}
