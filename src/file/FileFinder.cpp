// CFileFinder on the Win32 file API.
#include <pyro/file/FileFinder.h>

#include <windows.h>

#include "file/HostFile.h"

CFileFinder::CFileFinder()
    : pattern_("*.*"), findHandle_(reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE))
{
}

CFileFinder::~CFileFinder()
{
    HANDLE handle = reinterpret_cast<HANDLE>(findHandle_);
    if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
}

bool CFileFinder::IsExist(const std::string& path)
{
    CHostFile file;
    return file.OpenForRead(path);
}
