// The file-system calls on the native (POSIX) build, used to run the file module under the
// sanitizers. Paths keep the Windows form everywhere else: Z:\x\y names /x/y as under Wine,
// other drive letters name nothing, and backslashes (not second bytes) become slashes here.
#include "file/HostFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <pyro/file/StringEncoding.h>

namespace {

bool ToHostPath(const std::string& path, std::string& host)
{
    size_t start = 0;
    if (path.size() >= 2 && path[1] == ':') {
        if (path[0] != 'Z' && path[0] != 'z') return false;
        start = 2;
    }
    host.clear();
    for (size_t i = start; i < path.size();) {
        const size_t next = NextCharIndex(path, i);
        if (path[i] == '\\') {
            host += '/';
        } else {
            host.append(path, i, next - i);
        }
        i = next;
    }
    return !host.empty();
}

std::string FromHostPath(const std::string& host)
{
    std::string path = "Z:" + host;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

int OpenHost(const std::string& path, int flags, mode_t mode = 0)
{
    std::string host;
    if (!ToHostPath(path, host)) {
        errno = ENOENT;
        return -1;
    }
    int fd;
    do {
        fd = open(host.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool WriteAll(int fd, const unsigned char* data, uint32_t count)
{
    while (count > 0) {
        const ssize_t n = write(fd, data, count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        count -= static_cast<uint32_t>(n);
    }
    return true;
}

}  // namespace

CHostFile::~CHostFile()
{
    Close();
}

bool CHostFile::OpenForRead(const std::string& path)
{
    Close();
    // Without O_NONBLOCK, opening a FIFO would wait for a writer before the check below.
    const int fd = OpenHost(path, O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    // Only regular files count, as only disk files do on Windows: a directory, a device or a
    // pipe is not found.
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

bool CHostFile::GetSize(uint32_t& size)
{
    struct stat info;
    if (!IsOpen() || fstat(static_cast<int>(handle_), &info) != 0) return false;
    if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) > UINT32_MAX) return false;
    size = static_cast<uint32_t>(info.st_size);
    return true;
}

bool CHostFile::GetStamp(HostFileStamp& stamp)
{
    struct stat info;
    struct timespec now;
    if (!IsOpen() || fstat(static_cast<int>(handle_), &info) != 0) return false;
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
    const auto units = [](const struct timespec& time) {
        return static_cast<uint64_t>(time.tv_sec) * kHostTimeUnitsPerSecond
            + static_cast<uint64_t>(time.tv_nsec) / 100;
    };
    stamp.size = static_cast<uint64_t>(info.st_size);
    stamp.writeTime = units(info.st_mtim);
    stamp.readTime = units(now);
    return true;
}

uint32_t CHostFile::Read(void* buffer, uint32_t count)
{
    if (!IsOpen()) return 0;
    unsigned char* out = static_cast<unsigned char*>(buffer);
    uint32_t total = 0;
    while (total < count) {
        const ssize_t n = read(static_cast<int>(handle_), out + total, count - total);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        total += static_cast<uint32_t>(n);
    }
    return total;
}

bool CHostFile::Seek(uint32_t offset)
{
    return IsOpen() && lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) != -1;
}

bool CHostFile::Close()
{
    if (!IsOpen()) return true;
    const int result = close(static_cast<int>(handle_));
    handle_ = kNoHandle;
    return result == 0;
}

int WriteHostFile(const std::string& path, const void* data, uint32_t count)
{
    int fd = OpenHost(path, O_WRONLY | O_TRUNC);
    if (fd < 0) fd = OpenHost(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) return 1;
    if (!WriteAll(fd, static_cast<const unsigned char*>(data), count)) {
        close(fd);
        return 2;
    }
    return close(fd) == 0 ? 0 : 3;
}

bool DeleteHostFile(const std::string& path)
{
    std::string host;
    return ToHostPath(path, host) && unlink(host.c_str()) == 0;
}

FILE* OpenHostStream(const std::string& path, const char* mode)
{
    std::string host;
    return ToHostPath(path, host) ? std::fopen(host.c_str(), mode) : nullptr;
}

bool GetHostCurrentDirectory(std::string& directory)
{
    char buffer[PATH_MAX];
    if (!getcwd(buffer, sizeof buffer)) return false;
    directory = FromHostPath(buffer);
    return true;
}

int MakeTempFileName(std::string& name)
{
    const char* temp = std::getenv("TMPDIR");
    std::string pattern = (temp && *temp) ? temp : "/tmp";
    if (pattern.back() != '/') pattern += '/';
    pattern += "MVOXXXXXX";
    const int fd = mkstemp(&pattern[0]);
    if (fd < 0) return 2;
    close(fd);
    name = FromHostPath(pattern);
    return 0;
}

CHostSaveFile::~CHostSaveFile() { Abandon(); }

bool CHostSaveFile::Begin(const std::string& target)
{
    Abandon();
    const int fd = OpenHost(target + ".tmp", O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return false;
    handle_ = fd;
    target_ = target;
    temporary_ = target + ".tmp";
    pending_ = true;
    return true;
}

bool CHostSaveFile::Write(const void* data, uint32_t count)
{
    return handle_ != kNoHandle && WriteAll(static_cast<int>(handle_), static_cast<const unsigned char*>(data), count);
}

bool CHostSaveFile::Finish()
{
    if (handle_ == kNoHandle) return false;
    const bool flushed = fsync(static_cast<int>(handle_)) == 0;
    const bool closed = close(static_cast<int>(handle_)) == 0;
    handle_ = kNoHandle;
    return flushed && closed;
}

bool CHostSaveFile::Replace()
{
    std::string from, to;
    if (!pending_ || handle_ != kNoHandle || !ToHostPath(temporary_, from) || !ToHostPath(target_, to)) return false;
    if (rename(from.c_str(), to.c_str()) != 0) return false;
    pending_ = false;
    // The rename itself reaches the disk with the folder.
    const size_t slash = to.find_last_of('/');
    const int folder = open(slash == std::string::npos ? "." : to.substr(0, slash + 1).c_str(), O_RDONLY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}

void CHostSaveFile::Abandon()
{
    if (handle_ != kNoHandle) close(static_cast<int>(handle_));
    handle_ = kNoHandle;
    if (pending_) DeleteHostFile(temporary_);
    pending_ = false;
}

bool GetHostProgramDirectory(std::string& directory)
{
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return false;
    std::string path(buffer, static_cast<size_t>(length));
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return false;
    directory = FromHostPath(path.substr(0, slash + 1));
    return true;
}

bool MakeHostAppDataDirectory(const std::string& relative, std::string& directory)
{
    // The host's counterpart of the roaming application-data folder.
    std::string path;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
        path = data;
    } else if (const char* home = std::getenv("HOME"); home && *home == '/') {
        path = std::string(home) + "/.local/share";
    } else {
        return false;
    }
    std::string host;
    if (!ToHostPath(relative, host)) return false;
    // Every level, the root's own included, is made where missing.
    path += '/' + host + '/';
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string level = path.substr(0, slash);
        struct stat info;
        if (mkdir(level.c_str(), 0777) != 0 && errno != EEXIST) return false;
        if (stat(level.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    }
    directory = FromHostPath(path);
    return true;
}
