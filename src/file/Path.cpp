// Path normalisation, parent directories and file-name parts on byte strings of the program's
// encoding.
#include <pyro/file/Path.h>

#include <pyro/file/BaseDirectory.h>
#include <pyro/file/StringEncoding.h>

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Index of the last character for which match is true, or npos; steps over double-byte characters.
template <typename Match>
size_t FindLast(const std::string& text, Match match)
{
    size_t found = std::string::npos;
    for (size_t i = 0; i < text.size(); i = NextCharIndex(text, i)) {
        if (match(text[i])) found = i;
    }
    return found;
}

// The component from begin to end, cut at its first full stop or colon and stripped of
// trailing spaces, compared with the device names without regard to case.
bool IsDeviceComponent(const std::string& path, size_t begin, size_t end)
{
    size_t stop = begin;
    while (stop < end && path[stop] != '.' && path[stop] != ':') ++stop;
    while (stop > begin && path[stop - 1] == ' ') --stop;
    std::string name = path.substr(begin, stop - begin);
    ToLowerName(name);
    if (name == "con" || name == "prn" || name == "aux" || name == "nul") return true;
    const bool port = name.compare(0, 3, "com") == 0 || name.compare(0, 3, "lpt") == 0;
    return port && name.size() == 4 && name[3] >= '1' && name[3] <= '9';
}

bool StartsWith(const std::string& text, size_t at, const char* prefix, size_t length)
{
    return text.compare(at, length, prefix, length) == 0;
}

}  // namespace

std::string NormalizePath(const std::string& path)
{
    std::string result;
    const bool unc = path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
    // A colon can never be the second byte of a double-byte character, so a plain search will do.
    if (unc || path.find(':') != std::string::npos) {
        result = path;
    } else {
        std::string directory = GetBaseDirectory();
        size_t at = 0;
        // Only the leading relative components are resolved; a double-byte character or any other
        // byte ends the loop.
        while (at < path.size()) {
            if (StartsWith(path, at, "..\\", 3) || StartsWith(path, at, "../", 3)) {
                GetParentDirectory(directory);
                at += 3;
            } else if (StartsWith(path, at, ".\\", 2) || StartsWith(path, at, "./", 2)) {
                at += 2;
            } else if (IsSeparator(path[at])) {
                ++at;
            } else {
                break;
            }
        }
        result = directory + path.substr(at);
    }
    for (size_t i = 0; i < result.size(); i = NextCharIndex(result, i)) {
        if (result[i] == '/') result[i] = '\\';
    }
    return result;
}

int GetParentDirectory(std::string& path)
{
    const size_t length = path.size();
    if (length == 0) return 1;
    const bool unc = length >= 2 && path[0] == '\\' && path[1] == '\\';
    if (unc && length == 2) return 1;

    // The server name of a UNC path and the separator after it belong to the root.
    bool inServerName = unc;
    size_t last = std::string::npos;
    size_t previous = std::string::npos;
    bool endsInSeparator = false;
    for (size_t i = unc ? 2 : 0; i < length; i = NextCharIndex(path, i)) {
        endsInSeparator = IsSeparator(path[i]);
        if (!endsInSeparator) continue;
        if (inServerName) {
            inServerName = false;
        } else {
            previous = last;
            last = i;
        }
    }

    if (!endsInSeparator) {
        if (last == std::string::npos) {
            path += '\\';  // a bare name stands for a directory
        } else {
            path.resize(last + 1);
        }
        return 0;
    }
    if (previous == std::string::npos) return 1;
    path.resize(previous + 1);
    return 0;
}

bool EndsWithSeparator(const std::string& path)
{
    const size_t last = FindLast(path, [](char) { return true; });
    return last != std::string::npos && last + 1 == path.size() && IsSeparator(path[last]);
}

std::string GetFileNamePart(const std::string& path)
{
    const size_t separator = FindLast(path, IsSeparator);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string GetSuffixPart(const std::string& path)
{
    const std::string name = GetFileNamePart(path);
    const size_t stop = FindLast(name, [](char c) { return c == '.'; });
    return stop == std::string::npos ? std::string() : name.substr(stop + 1);
}

bool NamesDevice(const std::string& path)
{
    size_t begin = 0;
    for (size_t i = 0; i < path.size(); i = NextCharIndex(path, i)) {
        if (!IsSeparator(path[i])) continue;
        if (IsDeviceComponent(path, begin, i)) return true;
        begin = i + 1;
    }
    return IsDeviceComponent(path, begin, path.size());
}
