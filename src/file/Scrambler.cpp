// Scrambling of file contents behind the "MPK1" marker.
#include <pyro/file/Scrambler.h>

#include <cstring>

const char kScrambleMarker[kScrambleMarkerSize + 1] = "MPK1";

bool HasScrambleMarker(const unsigned char* data, uint32_t size)
{
    return data && size >= kScrambleMarkerSize
        && std::memcmp(data, kScrambleMarker, kScrambleMarkerSize) == 0;
}

void ScrambleBytes(const unsigned char* source, unsigned char* destination, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) {
        const unsigned b = source[i];
        destination[i] = static_cast<unsigned char>((((b & 0x0F) << 4) | (b >> 4)) ^ 0x99);
    }
}
