// IByteSource: the sequential reader with absolute seeks that archive directories and members
// are read through. CHostFile implements it over an open file; CMemorySource over a block of
// memory (tools, tests and fuzz targets).
#pragma once

#include <cstdint>
#include <cstring>

class IByteSource {
public:
    virtual ~IByteSource() = default;
    // Reads up to count bytes; returns how many were read (fewer at the end or on failure).
    virtual uint32_t Read(void* buffer, uint32_t count) = 0;
    // Moves to offset bytes from the start; false on failure.
    virtual bool Seek(uint32_t offset) = 0;
};

// CMemorySource: an IByteSource over a block of memory that it does not own.
class CMemorySource : public IByteSource {
public:
    // Reads size bytes at data, from the start.
    CMemorySource(const void* data, uint64_t size)
        : data_(static_cast<const unsigned char*>(data)), size_(size)
    {
    }

    // Copies up to count bytes from the position on.
    uint32_t Read(void* buffer, uint32_t count) override
    {
        const uint64_t left = position_ < size_ ? size_ - position_ : 0;
        const uint32_t n = count < left ? count : static_cast<uint32_t>(left);
        if (n > 0) std::memcpy(buffer, data_ + position_, n);
        position_ += n;
        return n;
    }

    // Like a file, the position may lie past the end; reads there return nothing.
    bool Seek(uint32_t offset) override
    {
        position_ = offset;
        return true;
    }

private:
    const unsigned char* data_;
    uint64_t size_;
    uint64_t position_ = 0;
};
