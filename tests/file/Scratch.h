// Test helper: a scratch directory below the test's current directory that is also the base
// directory while it lives, and small file helpers for putting fixtures into it. Paths given to
// the helpers are relative, with backslashes, as the framework writes them.
#pragma once

#include <doctest/doctest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <pyro/file/BaseDirectory.h>
#include "tools/Packer.h"

class CScratch {
public:
    CScratch()
    {
        static int counter = 0;
        name_ = "scratch-" + std::to_string(++counter);
        std::filesystem::remove_all(name_);
        std::filesystem::create_directories(name_);
        InitBaseDirectory();
        previousBase_ = GetBaseDirectory();
        base_ = previousBase_ + name_ + "\\";
        SetBaseDirectory(base_);
    }

    ~CScratch()
    {
        SetBaseDirectory(previousBase_);
        std::error_code ignored;
        std::filesystem::remove_all(name_, ignored);
    }

    // The base directory, ending in a backslash.
    const std::string& Base() const { return base_; }
    // The directory's name, relative to the current directory.
    const std::string& Name() const { return name_; }

    // A path below the scratch directory in the host's own form, for standard file streams.
    std::string HostPath(const std::string& relative) const
    {
        std::string path = name_ + "/" + relative;
        std::replace(path.begin(), path.end(), '\\', '/');
        return path;
    }

    void Put(const std::string& relative, const std::vector<unsigned char>& bytes) const
    {
        const std::filesystem::path path(HostPath(relative));
        std::filesystem::create_directories(path.parent_path());
        std::string error;
        REQUIRE_MESSAGE(WriteFileBytes(path.string(), bytes, error), error);
    }

    void Put(const std::string& relative, const std::string& text) const
    {
        Put(relative, std::vector<unsigned char>(text.begin(), text.end()));
    }

    void PutArchive(const std::string& relative, const std::vector<PackMember>& members,
                    const PackOptions& options) const
    {
        std::vector<unsigned char> archive;
        std::string error;
        REQUIRE_MESSAGE(BuildArchive(members, options, archive, error), error);
        Put(relative, archive);
    }

    bool Exists(const std::string& relative) const { return std::filesystem::exists(HostPath(relative)); }

    // Gives the file a last write time an hour or more in the past, a different one on each call,
    // as files that were not just written have. Returns that time.
    std::filesystem::file_time_type Age(const std::string& relative) const
    {
        static const auto hourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
        static int calls = 0;
        const auto time = hourAgo - std::chrono::seconds(++calls);
        SetWriteTime(relative, time);
        return time;
    }

    void SetWriteTime(const std::string& relative, std::filesystem::file_time_type time) const
    {
        std::error_code failure;
        std::filesystem::last_write_time(HostPath(relative), time, failure);
        REQUIRE_MESSAGE(!failure, failure.message());
    }

private:
    std::string name_;
    std::string base_;
    std::string previousBase_;
};

inline std::vector<unsigned char> Bytes(const std::string& text)
{
    return std::vector<unsigned char>(text.begin(), text.end());
}

// Deterministic pseudo-random bytes.
inline std::vector<unsigned char> RandomBytes(size_t size, uint32_t seed)
{
    std::vector<unsigned char> bytes(size);
    for (unsigned char& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<unsigned char>(seed >> 24);
    }
    return bytes;
}

// Real text: one of this repository's own source files.
inline std::vector<unsigned char> RealText()
{
    const char* source = std::getenv("PYRO_SOURCE_DIR");
    REQUIRE(source != nullptr);
    std::vector<unsigned char> text;
    std::string error;
    REQUIRE_MESSAGE(ReadFileBytes(std::string(source) + "/src/file/FileBuffer.cpp", text, error), error);
    return text;
}
