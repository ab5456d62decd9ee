// The process-wide base directory. Files are used on the application's thread only, so the
// string takes no lock.
#include <pyro/file/BaseDirectory.h>

#include <pyro/file/Path.h>
#include <pyro/file/StringEncoding.h>
#include "file/HostFile.h"

#include <cstring>

namespace {

std::string g_baseDirectory;

// A folder name of one or more parts separated by backslashes, each a name Windows can create.
bool IsFolderName(const std::string& name)
{
    size_t partStart = 0;
    for (size_t i = 0; i <= name.size();) {
        if (i == name.size() || name[i] == '\\') {
            const std::string part = name.substr(partStart, i - partStart);
            if (part.empty() || part == "." || part == "..") return false;
            if (i == name.size()) return true;
            partStart = ++i;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x20 || std::strchr("<>:\"/|?*", c)) return false;
        i = NextCharIndex(name, i);  // a second byte may be any of these
    }
    return true;
}

}  // namespace

void InitBaseDirectory()
{
    std::string current;
    if (GetHostCurrentDirectory(current)) SetBaseDirectory(current);
}

void SetBaseDirectory(const std::string& path)
{
    if (path.empty()) return;
    std::string stored = path;
    if (stored[0] == '"') {
        stored.erase(0, 1);
        if (stored.find('.') != std::string::npos) {
            GetParentDirectory(stored);
            g_baseDirectory = stored;
            return;
        }
    }
    if (!EndsWithSeparator(stored)) stored += '\\';
    g_baseDirectory = stored;
}

std::string GetBaseDirectory()
{
    if (g_baseDirectory.empty()) InitBaseDirectory();
    return g_baseDirectory;
}

std::string GetProgramDirectory()
{
    std::string directory;
    return GetHostProgramDirectory(directory) ? directory : std::string();
}

bool UseProgramDirectoryAsBase()
{
    const std::string directory = GetProgramDirectory();
    if (directory.empty()) return false;
    SetBaseDirectory(directory);
    return true;
}

std::string GetSaveDirectory(const std::string& game)
{
    std::string directory;
    if (!IsFolderName(game) || !MakeHostAppDataDirectory(game, directory)) return std::string();
    return directory;
}
