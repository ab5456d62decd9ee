#include <pyro/sound/MusicStream.h>

#include <pyro/app/ErrorLog.h>
#include <pyro/file/FileBuffer.h>
#include <pyro/sound/SoundResult.h>
#include "sound/WaveDecoder.h"

#include <algorithm>
#include <cstring>

int CMusicStream::Open(const std::string& path)
{
    Close();
    const int result = [&]() -> int {
        if (path.empty()) return kSoundNoData;
        CFileBuffer file;
        if (file.ReadToBytes(path, bytes_) != 0) {
            bytes_.clear();
            return kSoundNotRead;
        }
        return OpenBytes();
    }();
    // One line per failure, as CSound::Load and CPlane::Load give.
    if (result != kSoundOK) CErrorLog::WriteSystem("CMusicStream::Openで\"%s\"の読み込みに失敗 (コード %d)", path.c_str(), result);
    return result;
}

int CMusicStream::OpenMemory(const unsigned char* bytes, uint32_t size)
{
    Close();
    if (!bytes || size == 0) return kSoundNoData;
    bytes_.assign(bytes, bytes + size);
    return OpenBytes();
}

int CMusicStream::OpenBytes()
{
    const uint32_t size = static_cast<uint32_t>(bytes_.size());
    int result = kSoundUnknownFormat;
    if (size >= 4 && std::memcmp(bytes_.data(), "RIFF", 4) == 0) {
        result = CWaveDecoder::Decode(bytes_.data(), size, wave_);
        isWave_ = result == kSoundOK;
        bytes_ = std::vector<unsigned char>();
    } else if (size >= 4 && std::memcmp(bytes_.data(), "OggS", 4) == 0) {
        result = vorbis_.Open(bytes_.data(), size);
    }
    if (result != kSoundOK) Close();
    return result;
}

void CMusicStream::Close()
{
    vorbis_.Close();
    bytes_ = std::vector<unsigned char>();
    wave_ = CSoundData();
    wavePosition_ = 0;
    isWave_ = false;
}

int CMusicStream::GetChannels() const { return isWave_ ? wave_.channels : vorbis_.GetChannels(); }

int CMusicStream::GetSampleRate() const { return isWave_ ? wave_.sampleRate : vorbis_.GetSampleRate(); }

int CMusicStream::Read(int16_t* out, int frames)
{
    if (!isWave_) return vorbis_.Read(out, frames);
    if (!out || frames <= 0) return 0;
    const uint32_t count = std::min<uint32_t>(static_cast<uint32_t>(frames), wave_.GetFrames() - wavePosition_);
    std::copy_n(wave_.samples.data() + size_t(wavePosition_) * wave_.channels, size_t(count) * wave_.channels, out);
    wavePosition_ += count;
    return static_cast<int>(count);
}

int CMusicStream::Rewind()
{
    if (!isWave_) return vorbis_.Rewind();
    wavePosition_ = 0;
    return kSoundOK;
}
