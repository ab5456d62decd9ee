// The process-wide base directory. Files are used on the application's thread only, so the
// string takes no lock.
#include <pyro/file/BaseDirectory.h>

#include <pyro/file/Path.h>
#include "file/HostFile.h"

namespace {
std::string g_baseDirectory;
}

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
