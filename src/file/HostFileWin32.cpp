// The file-system calls on Windows: CreateFileW and friends for whole files, the C library's
// _wfopen for streams, GetTempPathW/GetTempFileNameW for temporary names, MoveFileExW for atomic
// saves, SHGetKnownFolderPath for the application-data folder. Paths are in the program's
// encoding (Shift-JIS or UTF-8) and converted to UTF-16 for every call, so the machine's ANSI
// code page plays no part; a path not valid in that encoding fails like a file that cannot be
// opened.
#include "file/HostFile.h"

#include <pyro/file/Utf16.h>

#include <windows.h>
// After windows.h, which they need.
#include <knownfolders.h>
#include <shlobj.h>

namespace {

HANDLE AsHandle(intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

// A path named by Windows, in the program's encoding. In a Shift-JIS program a path with
// characters outside Shift-JIS (a user folder "José", say) is tried in its short 8.3 form, which the file system spells without them; false
// when that has none either.
bool PathFromWindows(const std::wstring& wide, std::string& path)
{
    if (FromWide(wide, path)) return true;
    const DWORD needed = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0) return false;
    std::wstring shortName(needed, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), &shortName[0], needed);
    if (length == 0 || length >= needed) return false;
    shortName.resize(length);
    return FromWide(shortName, path);
}

}  // namespace

// INVALID_HANDLE_VALUE is -1 cast to a handle, so kNoHandle stands for it.

CHostFile::~CHostFile()
{
    Close();
}

bool CHostFile::OpenForRead(const std::string& path)
{
    Close();
    std::wstring wide;
    if (!ToWide(path, wide)) return false;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    // Consoles, pipes and ports open like files but may block a read for ever: only disk files
    // count as found.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return false;
    }
    handle_ = reinterpret_cast<intptr_t>(file);
    return true;
}

bool CHostFile::GetSize(uint32_t& size)
{
    if (!IsOpen()) return false;
    DWORD high = 0;
    SetLastError(NO_ERROR);  // a size whose low part is all ones is not a failure
    const DWORD low = GetFileSize(AsHandle(handle_), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
    if (high != 0) return false;
    size = low;
    return true;
}

bool CHostFile::GetStamp(HostFileStamp& stamp)
{
    // Not GetFileInformationByHandle: it also asks for the volume, which costs more than the open.
    FILETIME written;
    LARGE_INTEGER size;
    if (!IsOpen() || !GetFileTime(AsHandle(handle_), nullptr, nullptr, &written)
        || !GetFileSizeEx(AsHandle(handle_), &size)) {
        return false;
    }
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const auto units = [](const FILETIME& time) {
        return static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
    };
    stamp.size = static_cast<uint64_t>(size.QuadPart);
    stamp.writeTime = units(written);
    stamp.readTime = units(now);
    return true;
}

uint32_t CHostFile::Read(void* buffer, uint32_t count)
{
    if (!IsOpen()) return 0;
    DWORD got = 0;
    if (!ReadFile(AsHandle(handle_), buffer, count, &got, nullptr)) return 0;
    return got;
}

bool CHostFile::Seek(uint32_t offset)
{
    if (!IsOpen()) return false;
    LONG high = 0;  // with a high part the low part counts as unsigned
    SetLastError(NO_ERROR);
    const DWORD moved = SetFilePointer(AsHandle(handle_), static_cast<LONG>(offset), &high, FILE_BEGIN);
    return !(moved == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

bool CHostFile::Close()
{
    if (!IsOpen()) return true;
    const BOOL closed = CloseHandle(AsHandle(handle_));
    handle_ = kNoHandle;
    return closed != FALSE;
}

int WriteHostFile(const std::string& path, const void* data, uint32_t count)
{
    std::wstring wide;
    if (!ToWide(path, wide)) return 1;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    }
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    if (!WriteFile(file, data, count, &written, nullptr) || written != count) {
        CloseHandle(file);
        return 2;
    }
    return CloseHandle(file) ? 0 : 3;
}

bool DeleteHostFile(const std::string& path)
{
    std::wstring wide;
    return ToWide(path, wide) && DeleteFileW(wide.c_str()) != FALSE;
}

FILE* OpenHostStream(const std::string& path, const char* mode)
{
    std::wstring wide, wideMode;
    if (!ToWide(path, wide) || !SjisToUtf16(mode ? mode : "", wideMode)) return nullptr;
    return _wfopen(wide.c_str(), wideMode.c_str());
}

bool GetHostCurrentDirectory(std::string& directory)
{
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return false;
    std::wstring buffer(needed, L'\0');
    const DWORD length = GetCurrentDirectoryW(needed, &buffer[0]);
    if (length == 0 || length >= needed) return false;
    buffer.resize(length);
    std::string converted;
    if (!PathFromWindows(buffer, converted)) return false;
    directory = converted;
    return true;
}

int MakeTempFileName(std::string& name)
{
    wchar_t directory[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, directory);
    if (length == 0 || length > MAX_PATH) return 2;
    wchar_t file[MAX_PATH];
    if (GetTempFileNameW(directory, L"MVO", 0, file) == 0) return 2;
    // The new file exists already: one whose name cannot be given back is removed again.
    std::string named;
    if (!PathFromWindows(file, named)) {
        DeleteFileW(file);
        return 2;
    }
    name = named;
    return 0;
}

CHostSaveFile::~CHostSaveFile() { Abandon(); }

bool CHostSaveFile::Begin(const std::string& target)
{
    Abandon();
    std::wstring wide;
    if (!ToWide(target + ".tmp", wide)) return false;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    handle_ = reinterpret_cast<intptr_t>(file);
    target_ = target;
    temporary_ = target + ".tmp";
    pending_ = true;
    return true;
}

bool CHostSaveFile::Write(const void* data, uint32_t count)
{
    if (handle_ == kNoHandle) return false;
    DWORD written = 0;
    return WriteFile(AsHandle(handle_), data, count, &written, nullptr) && written == count;
}

bool CHostSaveFile::Finish()
{
    if (handle_ == kNoHandle) return false;
    const bool flushed = FlushFileBuffers(AsHandle(handle_)) != FALSE;
    const bool closed = CloseHandle(AsHandle(handle_)) != FALSE;
    handle_ = kNoHandle;
    return flushed && closed;
}

bool CHostSaveFile::Replace()
{
    std::wstring from, to;
    if (!pending_ || handle_ != kNoHandle || !ToWide(temporary_, from) || !ToWide(target_, to)) return false;
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return false;
    pending_ = false;
    return true;
}

void CHostSaveFile::Abandon()
{
    if (handle_ != kNoHandle) CloseHandle(AsHandle(handle_));
    handle_ = kNoHandle;
    if (pending_) DeleteHostFile(temporary_);
    pending_ = false;
}

bool GetHostProgramDirectory(std::string& directory)
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &name[0], static_cast<DWORD>(name.size()));
        if (length == 0) return false;
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2);  // cut short: the path is longer than the buffer
    }
    const size_t slash = name.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return false;
    name.resize(slash + 1);
    return PathFromWindows(name, directory);
}

bool MakeHostAppDataDirectory(const std::string& relative, std::string& directory)
{
    PWSTR root = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &root)) || !root) {
        CoTaskMemFree(root);
        return false;
    }
    std::wstring path = root;
    CoTaskMemFree(root);
    std::wstring parts;
    if (!ToWide(relative, parts)) return false;
    size_t start = 0;
    while (start <= parts.size()) {
        size_t end = parts.find(L'\\', start);
        if (end == std::wstring::npos) end = parts.size();
        if (path.empty() || path.back() != L'\\') path += L'\\';
        path.append(parts, start, end - start);
        if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
        start = end + 1;
    }
    path += L'\\';
    return PathFromWindows(path, directory);
}
