// CFileBuffer: whole-file reading from disk or archives, line and list-file reading on the loaded
// content, whole-file and stream writing, scrambling and temporary files. The file-system calls
// themselves are in HostFile.
#include <pyro/file/FileBuffer.h>

#include <cstring>
#include <new>

#include <pyro/file/Path.h>
#include <pyro/file/Scrambler.h>
#include "file/ArchiveLookup.h"
#include "file/HostFile.h"

namespace {

const uint32_t kListLineSize = 256;  // list-file lines are at most 255 bytes
const char kListEndLine[] = "\"END\"";

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a hexadecimal number the way "%x" does (leading blanks, optional 0x); false without
// digits or when the number exceeds max.
bool ParseHex(const char*& p, uint64_t max, uint64_t& value)
{
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && HexDigit(p[2]) >= 0) p += 2;
    value = 0;
    bool any = false;
    for (int digit; (digit = HexDigit(*p)) >= 0; ++p) {
        if (value > (max - static_cast<uint64_t>(digit)) / 16) return false;
        value = value * 16 + static_cast<uint64_t>(digit);
        any = true;
    }
    return any;
}

void AppendHex(std::string& text, uint64_t value)
{
    char digits[17];
    int n = 0;
    do {
        digits[n++] = "0123456789abcdef"[value & 0xF];
        value >>= 4;
    } while (value != 0);
    while (n > 0) text += digits[--n];
}

// The end of the line starting at begin: the CR of the first CR LF, or end.
const unsigned char* FindLineEnd(const unsigned char* begin, const unsigned char* end)
{
    for (const unsigned char* p = begin; p + 1 < end; ++p) {
        if (p[0] == '\r' && p[1] == '\n') return p;
    }
    return end;
}

}  // namespace

int CFileBuffer::Open(const std::string& path, const char* mode)
{
    Close();
    if (!mode) return 1;
    stream_ = OpenHostStream(NormalizePath(path), mode);
    return stream_ ? 0 : 1;
}

int CFileBuffer::Write(const std::string& path, const void* buffer, uint32_t count)
{
    return WriteHostFile(NormalizePath(path), buffer, count);
}

int CFileBuffer::WriteString(const char* text)
{
    if (!stream_ || !text) return -1;
    if (std::fputs(text, stream_) < 0 || std::ferror(stream_)) return 1;
    return 0;
}

int CFileBuffer::Close()
{
    if (stream_) {
        const int result = std::fclose(stream_);
        stream_ = nullptr;
        return result;
    }
    ReleaseContent();
    return 0;
}

void CFileBuffer::ReleaseContent()
{
    if (!memoryAlias_) delete[] data_;
    data_ = nullptr;
    readPointer_ = nullptr;
    size_ = 0;
    scrambled_ = false;
    memoryAlias_ = false;
    fromArchive_ = false;
    if (temporary_) {
        temporary_ = false;
        Delete(fileName_);
    }
}

FILE* CFileBuffer::GetStream() const
{
    return stream_;
}

int CFileBuffer::Read(const std::string& path)
{
    if (path.empty()) return -1;
    // Close alone would only close an open stream; the old content must go as well.
    Close();
    ReleaseContent();
    fileName_ = path;
    if (path[0] == '!') return ReadMemoryName(path);

    const std::string fullPath = NormalizePath(path);
    // A device behind a file name (the archive candidate AUX.dat of AUX\a.txt too) may never
    // answer a read: such names are not found, before anything is opened.
    if (NamesDevice(fullPath)) return 1;
    CHostFile file;
    ArchiveEntry member;
    bool fromArchive = false;
    uint32_t size = 0;
    if (file.OpenForRead(fullPath)) {
        if (!file.GetSize(size)) {
            file.Close();
            return 2;
        }
    } else if (FindArchiveMember(fullPath, file, member)) {
        fromArchive = true;
        size = member.unpackedSize;
        // A directory entry pointing outside the archive, or claiming more than its data can
        // decode to, would fail the read anyway: fail before allocating for it.
        uint32_t archiveSize = 0;
        if (!file.GetSize(archiveSize) || !IsArchiveEntryReadable(member, archiveSize)) {
            file.Close();
            return 4;
        }
    } else {
        return 1;
    }

    unsigned char* data = size < UINT32_MAX ? new (std::nothrow) unsigned char[size_t(size) + 1] : nullptr;
    if (!data) {
        file.Close();
        return 3;
    }
    data[size] = 0;
    const int readResult = fromArchive ? ReadArchiveMember(file, member, data)
                                       : (file.Read(data, size) == size ? 0 : 4);
    if (readResult != 0) {
        delete[] data;
        file.Close();
        return readResult;
    }
    if (!file.Close()) {
        delete[] data;
        return 5;
    }

    data_ = data;
    size_ = size;
    fromArchive_ = fromArchive;
    scrambled_ = HasScrambleMarker(data_, size_);
    if (scrambled_) {
        unsigned char* content = data_ + kScrambleMarkerSize;
        ScrambleBytes(content, content, size_ - kScrambleMarkerSize);
    }
    readPointer_ = GetMemory();
    return 0;
}

int CFileBuffer::ReadMemoryName(const std::string& name)
{
    const char* p = name.c_str() + 1;
    uint64_t address = 0;
    uint64_t size = 0;
    if (!ParseHex(p, UINTPTR_MAX, address) || *p++ != ',' || !ParseHex(p, UINT32_MAX, size)) return 6;
    data_ = reinterpret_cast<unsigned char*>(static_cast<uintptr_t>(address));
    size_ = static_cast<uint32_t>(size);
    readPointer_ = data_;
    memoryAlias_ = true;
    return 0;
}

std::string CFileBuffer::MakeMemoryName(const void* memory, uint32_t size)
{
    std::string name = "!";
    AppendHex(name, reinterpret_cast<uintptr_t>(memory));
    name += ',';
    AppendHex(name, size);
    return name;
}

std::string CFileBuffer::GetFileName() const
{
    return fileName_;
}

std::string CFileBuffer::GetPureFileName() const
{
    return GetFileNamePart(fileName_);
}

std::string CFileBuffer::GetSuffix() const
{
    return GetSuffixPart(fileName_);
}

unsigned char* CFileBuffer::GetMemory() const
{
    if (!data_) return nullptr;
    return scrambled_ ? data_ + kScrambleMarkerSize : data_;
}

uint32_t CFileBuffer::GetSize() const
{
    return scrambled_ ? size_ - kScrambleMarkerSize : size_;
}

int CFileBuffer::ReadLine(std::string& line)
{
    if (!data_) return 3;
    const unsigned char* end = ContentEnd();
    if (readPointer_ >= end) return 1;
    const unsigned char* lineEnd = FindLineEnd(readPointer_, end);
    line.assign(reinterpret_cast<const char*>(readPointer_), static_cast<size_t>(lineEnd - readPointer_));
    readPointer_ = const_cast<unsigned char*>(lineEnd == end ? end : lineEnd + 2);
    return 0;
}

int CFileBuffer::ReadLine(char* buffer, uint32_t bufferSize)
{
    if (!data_) return 3;
    const unsigned char* end = ContentEnd();
    if (readPointer_ >= end) return 1;
    if (!buffer || bufferSize == 0) return -1;
    const unsigned char* lineEnd = FindLineEnd(readPointer_, end);
    const size_t length = static_cast<size_t>(lineEnd - readPointer_);
    if (length > bufferSize - 1) {
        std::memcpy(buffer, readPointer_, bufferSize - 1);
        buffer[bufferSize - 1] = '\0';
        readPointer_ += bufferSize - 1;
        return 2;
    }
    std::memcpy(buffer, readPointer_, length);
    buffer[length] = '\0';
    readPointer_ = const_cast<unsigned char*>(lineEnd == end ? end : lineEnd + 2);
    return 0;
}

int CFileBuffer::ReadQuotedString(char* buffer, uint32_t bufferSize)
{
    if (!buffer || bufferSize == 0) return 1;
    buffer[0] = '\0';
    char line[kListLineSize];
    if (ReadLine(line, kListLineSize) != 0) return 1;
    if (std::strcmp(line, kListEndLine) == 0) return 1;

    // The value is the line without its opening quote, joined with the following lines by line
    // feeds until it ends in the closing quote.
    const char* value = line[0] != '\0' ? line + 1 : line;
    size_t used = std::strlen(value);
    if (used + 1 > bufferSize) return 1;
    std::memcpy(buffer, value, used + 1);
    while (used == 0 || buffer[used - 1] != '"') {
        if (ReadLine(line, kListLineSize) != 0) return 1;
        const size_t length = std::strlen(line);
        if (used + 1 + length + 1 > bufferSize) return 1;
        buffer[used++] = '\n';
        std::memcpy(buffer + used, line, length + 1);
        used += length;
    }
    buffer[used - 1] = '\0';
    return 0;
}

int CFileBuffer::ResetReadPointer()
{
    readPointer_ = GetMemory();
    return 0;
}

int CFileBuffer::ReadData(void* destination, uint32_t count)
{
    if (!data_) return 2;
    const unsigned char* end = ContentEnd();
    if (readPointer_ >= end) return 1;
    if (!destination && count > 0) return -1;
    const size_t left = static_cast<size_t>(end - readPointer_);
    unsigned char* out = static_cast<unsigned char*>(destination);
    if (count <= left) {
        if (count > 0) std::memcpy(out, readPointer_, count);
        readPointer_ += count;
        return 0;
    }
    std::memcpy(out, readPointer_, left);
    std::memset(out + left, 0, count - left);
    readPointer_ += left;
    return 3;
}

int CFileBuffer::Save(const std::string& path)
{
    return Write(path, GetMemory(), GetSize());
}

int CFileBuffer::Scramble()
{
    if (!data_ || scrambled_ || HasScrambleMarker(data_, size_)) return 1;
    const uint32_t size = size_;
    if (size > UINT32_MAX - kScrambleMarkerSize - 1) return 2;
    unsigned char* block = new (std::nothrow) unsigned char[size_t(size) + kScrambleMarkerSize + 1];
    if (!block) return 2;
    std::memcpy(block, kScrambleMarker, kScrambleMarkerSize);
    ScrambleBytes(data_, block + kScrambleMarkerSize, size);
    block[kScrambleMarkerSize + size] = 0;
    Close();
    ReleaseContent();
    // The marker stays part of the content, so Save writes exactly what Read will unscramble.
    data_ = block;
    size_ = size + kScrambleMarkerSize;
    readPointer_ = data_;
    return 0;
}

int CFileBuffer::Delete(const std::string& path)
{
    if (path.empty()) return -1;
    return DeleteHostFile(NormalizePath(path)) ? 0 : 1;
}

int CFileBuffer::MakeRealFile()
{
    if (!data_) return 1;
    if (fromArchive_ || memoryAlias_) {
        std::string temporary;
        if (MakeTempFileName(temporary) != 0) return 2;
        if (Save(temporary) != 0) {
            DeleteHostFile(temporary);  // the system created it already
            return 2;
        }
        Close();
        ReleaseContent();
        temporary_ = true;
        fileName_ = temporary;
    } else {
        Close();
        ReleaseContent();
    }
    return 0;
}

int CFileBuffer::ReadToBytes(const std::string& path, std::vector<unsigned char>& bytes)
{
    const int result = Read(path);
    if (result == 0) bytes.assign(GetMemory(), GetMemory() + GetSize());
    return result;
}

int CFileBuffer::WriteLines(const std::string& path, const std::vector<std::string>& lines)
{
    FILE* file = OpenHostStream(path, "w");
    if (!file) return 1;
    int result = 0;
    for (const std::string& line : lines) {
        if (std::fwrite(line.data(), 1, line.size(), file) != line.size()) {
            result = 2;
            break;
        }
    }
    // Closing flushes the last writes, so its failure is a failed write too.
    if (std::fclose(file) != 0 && result == 0) result = 2;
    return result;
}

int CFileBuffer::WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    if (bytes.size() > UINT32_MAX) return -1;
    return Write(path, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

int CFileBuffer::WriteAtomic(const std::string& path, const void* buffer, uint32_t count)
{
    constexpr uint32_t kPart = 64 * 1024;
    CHostSaveFile file;  // removes the temporary file on every early return
    if (!file.Begin(NormalizePath(path))) return 1;
    const unsigned char* bytes = static_cast<const unsigned char*>(buffer);
    for (uint32_t done = 0; done < count;) {
        const uint32_t part = count - done < kPart ? count - done : kPart;
        if (!WritePart(file, bytes + done, part)) return 2;
        done += part;
    }
    if (!file.Finish()) return 3;
    return file.Replace() ? 0 : 4;
}

int CFileBuffer::WriteBytesAtomic(const std::string& path, const std::vector<unsigned char>& bytes)
{
    if (bytes.size() > UINT32_MAX) return -1;
    return WriteAtomic(path, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

bool CFileBuffer::WritePart(CHostSaveFile& file, const void* data, uint32_t count) { return file.Write(data, count); }

CFileBuffer::~CFileBuffer()
{
    Close();
    ReleaseContent();
}
