// The file-system calls on Windows: CreateFileA and friends for whole files, the C library for
// streams, GetTempPathA/GetTempFileNameA for temporary names.
#include "file/HostFile.h"

#include <windows.h>

namespace {

HANDLE AsHandle(intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
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
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
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
    return DeleteFileA(path.c_str()) != FALSE;
}

FILE* OpenHostStream(const std::string& path, const char* mode)
{
    return std::fopen(path.c_str(), mode);
}

bool GetHostCurrentDirectory(std::string& directory)
{
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return false;
    std::string buffer(needed, '\0');
    const DWORD length = GetCurrentDirectoryA(needed, &buffer[0]);
    if (length == 0 || length >= needed) return false;
    buffer.resize(length);
    directory = buffer;
    return true;
}

int MakeTempFileName(std::string& name)
{
    char directory[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, directory);
    if (length == 0 || length > MAX_PATH) return 2;
    char file[MAX_PATH];
    if (GetTempFileNameA(directory, "MVO", 0, file) == 0) return 2;
    name = file;
    return 0;
}
