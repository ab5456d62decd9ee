// The file-system calls of the file module, behind one narrow set of functions. Windows builds
// use the Win32 file API. The native build maps the same Windows-style paths onto the host the
// way Wine does (Z:\x\y is /x/y, backslashes are separators), so path rules behave alike.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include <pyro/file/ByteSource.h>

// File and system times count 100-nanosecond units, as on Windows.
constexpr uint64_t kHostTimeUnitsPerSecond = 10000000;

// What the system says about one version of a file: its size and last write time, and the
// system time at which it said so.
struct HostFileStamp {
    uint64_t size = 0;
    uint64_t writeTime = 0;
    uint64_t readTime = 0;
};

// One file open for reading.
class CHostFile : public IByteSource {
public:
    CHostFile() = default;
    ~CHostFile() override;
    CHostFile(const CHostFile&) = delete;
    CHostFile& operator=(const CHostFile&) = delete;

    // Opens an existing disk file for reading, sharing read access; closes a file open before.
    // Anything else that opens like a file (a directory, device or pipe) is refused.
    bool OpenForRead(const std::string& path);
    bool IsOpen() const { return handle_ != kNoHandle; }
    // False when the size cannot be queried or does not fit 32 bits.
    bool GetSize(uint32_t& size);
    // False when the system cannot tell.
    bool GetStamp(HostFileStamp& stamp);
    uint32_t Read(void* buffer, uint32_t count) override;
    bool Seek(uint32_t offset) override;
    // False when the system reports a failure; the file is closed either way.
    bool Close();

private:
    static constexpr intptr_t kNoHandle = -1;
    intptr_t handle_ = kNoHandle;
};

// Writes a whole file, truncating an existing one (opened without sharing) or creating it:
// 0, 1 when it can be neither opened nor created, 2 when a write fails, 3 when closing fails.
int WriteHostFile(const std::string& path, const void* data, uint32_t count);

// Deletes a file; false when the system refuses.
bool DeleteHostFile(const std::string& path);

// Opens a C stream with a C library mode string; null on failure.
FILE* OpenHostStream(const std::string& path, const char* mode);

// The current directory, without a trailing separator except at a root. On Windows a directory
// whose name has characters outside Shift-JIS is given in its short 8.3 form; false (the
// directory unchanged) when it has none.
bool GetHostCurrentDirectory(std::string& directory);

// Creates a new, empty, uniquely named file with the prefix "MVO" in the system's temporary
// directory: 0 with its name, 2 on failure (also when the name cannot be given in Shift-JIS, as
// above; the file is then removed again).
int MakeTempFileName(std::string& name);

// A whole file written beside its target as "<target>.tmp" and moved into its place in one step,
// so that a crash or a power loss leaves the target with its old or its new content, never a mix.
// A temporary file that was not committed is removed.
class CHostSaveFile {
public:
    CHostSaveFile() = default;
    ~CHostSaveFile();
    CHostSaveFile(const CHostSaveFile&) = delete;
    CHostSaveFile& operator=(const CHostSaveFile&) = delete;

    // Creates the temporary file (replacing one a crash left behind); false when it cannot.
    bool Begin(const std::string& target);
    // Appends bytes to the temporary file; false when the system reports a failure.
    bool Write(const void* data, uint32_t count);
    // Flushes the temporary file to the disk and closes it: false when either fails.
    bool Finish();
    // Replaces the target with the finished temporary file (written through to the disk).
    bool Replace();
    // Closes and removes the temporary file unless it replaced the target.
    void Abandon();

private:
    static constexpr intptr_t kNoHandle = -1;
    intptr_t handle_ = kNoHandle;
    std::string target_;
    std::string temporary_;
    bool pending_ = false;  // a temporary file exists that has not replaced the target
};

// The folder of the running program, ending in a separator; the short 8.3 form when its name
// has characters outside Shift-JIS. False when the system cannot tell or there is no such form.
bool GetHostProgramDirectory(std::string& directory);

// Creates, where missing, the folder at relative (parts separated by backslashes) under the
// user's roaming application-data folder, and gives its path ending in a separator (in the short
// form as above). False when a level cannot be created or named.
bool MakeHostAppDataDirectory(const std::string& relative, std::string& directory);
