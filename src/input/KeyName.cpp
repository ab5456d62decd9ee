// The readable name of a scan code from the keyboard layout, for a rebinding screen.
#include <pyro/input/KeyCodes.h>

#ifdef _WIN32
#include <pyro/file/Utf16.h>

#include <windows.h>

std::string GetKeyName(int32_t scanCode)
{
    const uint32_t param = KeyNameParam(scanCode);
    if (param == 0) return {};
    wchar_t name[64];
    const int length = GetKeyNameTextW(LONG(param), name, int(sizeof name / sizeof name[0]));
    std::string text;
    // A name with a character outside the program's encoding is no name the program could show.
    if (length <= 0 || !FromWide(name, size_t(length), text)) return {};
    return text;
}
#else
std::string GetKeyName(int32_t) { return {}; }
#endif
