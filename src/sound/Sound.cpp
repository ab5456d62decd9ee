#include <pyro/sound/Sound.h>

#include <pyro/app/ErrorLog.h>
#include <pyro/file/FileBuffer.h>
#include <pyro/sound/SoundResult.h>
#include <pyro/sound/VorbisStream.h>
#include "sound/WaveDecoder.h"

#include <cstring>

int DecodeSoundFile(const unsigned char* bytes, uint32_t size, CSoundData& out)
{
    out = CSoundData();
    if (!bytes || size == 0) return kSoundNoData;
    if (size >= 4 && std::memcmp(bytes, "RIFF", 4) == 0) {
        // The samples of a WAVE file take at most twice its size, so the file's own size has
        // bounded the memory already; the cap keeps one rule for every sound decoded whole.
        const int result = CWaveDecoder::Decode(bytes, size, out);
        if (result == kSoundOK && out.samples.size() * 2 > CSoundData::kMaxDecodedBytes) {
            out = CSoundData();
            return kSoundTooLong;
        }
        return result;
    }
    if (size >= 4 && std::memcmp(bytes, "OggS", 4) == 0) return CVorbisStream::Decode(bytes, size, out);
    return kSoundUnknownFormat;
}

int CSound::Load(const std::string& path)
{
    data_ = CSoundData();
    int result = kSoundNoData;
    CFileBuffer file;
    if (!path.empty()) result = file.Read(path) != 0 ? kSoundNotRead : Decode(file.GetMemory(), file.GetSize());
    if (result != kSoundOK) CErrorLog::WriteSystem("CSound::Loadで\"%s\"の読み込みに失敗 (コード %d)", path.c_str(), result);
    return result;
}

int CSound::Decode(const unsigned char* bytes, uint32_t size)
{
    return DecodeSoundFile(bytes, size, data_);
}
