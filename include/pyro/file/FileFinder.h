// CFileFinder: a small file-finder object holding a search pattern ("*.*" after construction)
// and a find handle that it closes on destruction. The system only uses its existence test,
// IsExist; no directory search is made anywhere.
#pragma once

#include <cstdint>
#include <string>

class CFileFinder {
public:
    CFileFinder();  // pattern "*.*", no search open
    virtual ~CFileFinder();  // closes the find handle
    CFileFinder(const CFileFinder&) = delete;
    CFileFinder& operator=(const CFileFinder&) = delete;

    // True when the file can be opened for reading; the path is used as given, not normalised.
    virtual bool IsExist(const std::string& path);

    // The search pattern.
    const std::string& GetPattern() const { return pattern_; }

private:
    std::string pattern_;
    intptr_t findHandle_;  // a Win32 find handle, INVALID_HANDLE_VALUE while none is open
};
