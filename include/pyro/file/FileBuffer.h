// CFileBuffer: the file object all file input goes through. It loads a whole file into memory,
// from disk or from an archive member, undoes "MPK1" scrambling, and serves the content as a
// block, line by line or as a byte stream. It also writes whole files, writes text through a C
// stream, scrambles content, and turns archive content into a temporary file on disk.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class CHostSaveFile;

class CFileBuffer {
public:
    CFileBuffer() = default;
    CFileBuffer(const CFileBuffer&) = delete;
    CFileBuffer& operator=(const CFileBuffer&) = delete;

    // The virtual operations are declared in slot order; the destructor takes the last slot.

    // Closes, then opens a C stream on the normalised path: 0, or 1 when it cannot be opened.
    virtual int Open(const std::string& path, const char* mode);
    // Writes count bytes as a whole file: 0, 1 not created, 2 write failed, 3 close failed.
    virtual int Write(const std::string& path, const void* buffer, uint32_t count);
    // Writes text to the open stream as it is: 0, -1 no stream, 1 the stream reports an error.
    virtual int WriteString(const char* text);
    // With a stream open, closes only the stream and returns the C library's result. Otherwise
    // releases the content (deleting a temporary file made by MakeRealFile) and returns 0.
    virtual int Close();
    // The stream Open opened, or null.
    virtual FILE* GetStream() const;
    // Loads a whole file: 0; -1 empty path; 1 neither on disk nor in an archive (also a path
    // through a device name such as AUX or COM1, and anything not a disk file); 2 size unknown;
    // 3 out of memory; 4 read failed (also a damaged archive member); 5 close failed; 6 a memory
    // name without both numbers. A memory name "!address,size" (hexadecimal) serves that caller
    // memory in place: nothing is copied, unscrambled or freed.
    virtual int Read(const std::string& path);
    // The normalised path of the content loaded last.
    virtual std::string GetFileName() const;
    // Its file name without the folders.
    virtual std::string GetPureFileName() const;
    // Its suffix, the part after the last full stop.
    virtual std::string GetSuffix() const;
    // The content, after the marker when the file was scrambled; null when nothing is loaded.
    // A loaded content is followed by a 0 byte (except caller memory).
    virtual unsigned char* GetMemory() const;
    // The size of the content (without the scrambling marker); 0 when nothing is loaded.
    virtual uint32_t GetSize() const;
    // Reads the line at the read pointer (up to CR LF or the end): 0; 1 at the end; 3 nothing loaded.
    virtual int ReadLine(std::string& line);
    // As above into a fixed buffer; a longer line is cut at bufferSize - 1 bytes and 2 returned,
    // the read pointer staying inside the line. -1 for no buffer.
    virtual int ReadLine(char* buffer, uint32_t bufferSize);
    // Reads the next double-quoted value of a list file (lines up to 255 bytes, a value spanning
    // lines joined by line feeds): 0; 1 at the end line "END" in quotes, at the end of the
    // content, or when the value does not fit the buffer.
    virtual int ReadQuotedString(char* buffer, uint32_t bufferSize);
    // Moves the read pointer back to the start of the content: 0.
    virtual int ResetReadPointer();
    // Copies count bytes from the read pointer on: 0; 1 at or past the end; 2 nothing loaded;
    // 3 fewer bytes remained (they are copied, the rest of destination is zeroed, the read
    // pointer reaches the end); -1 for no destination.
    virtual int ReadData(void* destination, uint32_t count);
    // Writes the content as it is loaded to a file: the result of Write.
    virtual int Save(const std::string& path);
    // Replaces the content by its scrambled form behind the marker: 0; 1 nothing loaded or
    // already scrambled; 2 out of memory.
    virtual int Scramble();
    // Deletes the file at the normalised path: 0; -1 empty path; 1 refused.
    virtual int Delete(const std::string& path);
    // Makes the content a real file: archive and memory content goes to a new temporary file
    // that becomes the file name and is deleted by the next Close. Afterwards nothing is loaded.
    // 0; 1 nothing loaded; 2 no temporary file could be written.
    virtual int MakeRealFile();
    // Read, then a copy of the content into bytes: the result of Read.
    virtual int ReadToBytes(const std::string& path, std::vector<unsigned char>& bytes);
    // Writes the strings as they are (no line ends added) to a text file created at the path as
    // given: 0; 1 not created; 2 a write failed.
    virtual int WriteLines(const std::string& path, const std::vector<std::string>& lines);
    // Write of the bytes as a whole file: the result of Write.
    virtual int WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
    // Closes the stream and releases the content.
    virtual ~CFileBuffer();

    // Writes count bytes as a whole file that a crash or power loss cannot leave half-written:
    // they go to "<path>.tmp" in the same folder, which is flushed to the disk and then replaces
    // the file in one step. Afterwards the file holds its old or its new content, never a mix.
    // 0; 1 the temporary file cannot be created; 2 a write failed; 3 flushing or closing failed;
    // 4 the file could not be replaced. On every failure the file is as it was and the temporary
    // file is removed.
    int WriteAtomic(const std::string& path, const void* buffer, uint32_t count);
    // WriteAtomic of the bytes; -1 when there are 4 GiB or more.
    int WriteBytesAtomic(const std::string& path, const std::vector<unsigned char>& bytes);

    // The memory name under which Read serves size bytes at memory.
    static std::string MakeMemoryName(const void* memory, uint32_t size);

    // Whether the loaded content was scrambled (and is served unscrambled).
    bool IsScrambled() const { return scrambled_; }
    // Whether the content came from an archive member rather than a file.
    bool IsFromArchive() const { return fromArchive_; }

protected:
    // One piece of an atomic write (at most 64 KiB); false when it failed. After the destructor
    // in slot order; tests override it to fail part of the way through.
    virtual bool WritePart(CHostSaveFile& file, const void* data, uint32_t count);

private:
    int ReadMemoryName(const std::string& name);
    // The content part of Close, whether or not a stream is open.
    void ReleaseContent();
    unsigned char* ContentEnd() const { return GetMemory() + GetSize(); }

    FILE* stream_ = nullptr;
    unsigned char* data_ = nullptr;
    uint32_t size_ = 0;  // including the marker of scrambled content
    unsigned char* readPointer_ = nullptr;
    std::string fileName_;
    bool scrambled_ = false;
    bool temporary_ = false;
    bool fromArchive_ = false;
    bool memoryAlias_ = false;
};
