// CTextDraw::AddFontFile: a TrueType, OpenType or collection file read through the file layer
// (loose or from an archive) and handed to GDI as a private font of the process. The fonts stay
// until the program ends, when one static registry gives them back.
#include <pyro/text/TextDraw.h>

#include <pyro/file/FileBuffer.h>
#include <pyro/file/Utf16.h>
#include "text/FontNames.h"

#include <vector>

namespace {

// Private fonts live as long as the process's statics.
class CFontRegistry {
public:
    ~CFontRegistry()
    {
        for (HANDLE font : fonts_) RemoveFontMemResourceEx(font);
    }
    void Add(HANDLE font) { fonts_.push_back(font); }

private:
    std::vector<HANDLE> fonts_;
};

CFontRegistry& Registry()
{
    static CFontRegistry registry;
    return registry;
}

}  // namespace

int32_t CTextDraw::AddFontFile(const char* path, std::vector<std::string>* faces)
{
    if (faces) faces->clear();
    CFileBuffer file;
    if (!path || file.Read(path) != 0) return kFontFileNotRead;
    std::vector<std::wstring> names;
    if (ReadFontFaceNames(file.GetMemory(), file.GetSize(), names) != kFontNamesOk) return kFontFileNotFont;
    CFontRegistry& registry = Registry();  // made before the font, so given back after it
    DWORD count = 0;
    HANDLE font = AddFontMemResourceEx(file.GetMemory(), file.GetSize(), nullptr, &count);
    if (!font) return kFontFileRefused;
    if (count == 0) {
        RemoveFontMemResourceEx(font);
        return kFontFileRefused;
    }
    registry.Add(font);
    if (faces) {
        for (const std::wstring& name : names) {
            std::string face;
            if (FromWide(name, face)) faces->push_back(face);
        }
    }
    return kFontFileOk;
}
