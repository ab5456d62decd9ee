// Fuzz target: the face-name reader of TrueType, OpenType and collection files. Input: the file.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/FontNames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::wstring> faces;
    const int32_t result = ReadFontFaceNames(data, size, faces);
    if (result < kFontNamesOk || result > kFontNamesNoFace) std::abort();
    if ((result == kFontNamesOk) == faces.empty()) std::abort();
    // Strings may overlap in the name table, so only the reader's own bounds hold.
    if (faces.size() > kMaxFaceNames) std::abort();
    for (const std::wstring& face : faces) {
        if (face.empty() || face.size() > kMaxFaceNameLength) std::abort();
    }
    return 0;
}
