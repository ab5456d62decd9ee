// Fuzz target: CFileBuffer's line, list-file and byte-stream reading on arbitrary content served
// in place through a memory name, and scrambling. The first byte chooses the caller's buffer
// size for quoted values and lines.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <pyro/file/FileBuffer.h>
#include <pyro/file/Scrambler.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const uint32_t bufferSize = 2 + data[0];
    const uint8_t* content = data + 1;
    const uint32_t contentSize = static_cast<uint32_t>(size - 1);
    CFileBuffer file;
    if (file.Read(CFileBuffer::MakeMemoryName(content, contentSize)) != 0) std::abort();

    // Exactly sized buffers, so the sanitizer sees any write past their end.
    char* value = new char[bufferSize];
    for (uint32_t i = 0; i <= contentSize && file.ReadQuotedString(value, bufferSize) == 0; ++i) {
        if (std::strlen(value) >= bufferSize) std::abort();
    }
    file.ResetReadPointer();
    std::string line;
    for (uint32_t i = 0; i <= contentSize && file.ReadLine(line) == 0; ++i) {
    }
    file.ResetReadPointer();
    for (uint32_t i = 0; i <= contentSize && file.ReadLine(value, bufferSize) != 1; ++i) {
    }
    file.ResetReadPointer();
    for (uint32_t i = 0; i <= contentSize && file.ReadData(value, bufferSize) == 0; ++i) {
    }
    delete[] value;

    const bool marked = HasScrambleMarker(content, contentSize);
    if (file.Scramble() != (marked ? 1 : 0)) std::abort();
    if (!marked && contentSize > 0) {
        std::vector<unsigned char> expected(contentSize);
        ScrambleBytes(content, expected.data(), contentSize);
        if (file.GetSize() != contentSize + kScrambleMarkerSize
            || std::memcmp(file.GetMemory() + kScrambleMarkerSize, expected.data(), contentSize) != 0) {
            std::abort();
        }
    }
    return 0;
}
