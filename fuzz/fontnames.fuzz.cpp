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
    // Names come from the data: two bytes each, so they never hold more units than half of it.
    size_t units = 0;
    for (const std::wstring& face : faces) units += face.size();
    if (units > size / 2) std::abort();
    return 0;
}
