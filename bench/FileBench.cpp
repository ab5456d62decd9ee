// Benchmark of the file module (not a test): LZSS decoding throughput against memcpy of the same
// output size, and the time to open a member of a 10,000-entry archive (first, middle and last
// entry) against a loose file of the same size. Run from a writable directory; it makes
// bench-files/ there and removes it afterwards.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <pyro/file/BaseDirectory.h>
#include <pyro/file/FileBuffer.h>
#include <pyro/file/LzssDecoder.h>
#include "tools/ArchiveWriter.h"
#include "tools/LzssEncoder.h"
#include "tools/Packer.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

uint32_t g_seed = 12345;
uint32_t Next()
{
    g_seed = g_seed * 1664525u + 1013904223u;
    return g_seed >> 8;
}

// Text made of words from a small vocabulary, like scripts and list files.
std::vector<unsigned char> MakeText(size_t size)
{
    static const char* const kWords[] = {"the", "button", "number", "panel", "opens", "menu", "select",
                                         "\x83\x69\x83\x93\x83\x6F\x81\x5B", "key", "frame", "plane", "draw",
                                         "\"value\"", "\r\n", "image", "load", "scene", "pyro"};
    std::vector<unsigned char> text;
    while (text.size() < size) {
        const char* word = kWords[Next() % (sizeof kWords / sizeof *kWords)];
        text.insert(text.end(), word, word + std::strlen(word));
        text.push_back(' ');
    }
    text.resize(size);
    return text;
}

// 32-bit pixels with flat areas and soft gradients, like game graphics.
std::vector<unsigned char> MakePixels(size_t size)
{
    std::vector<unsigned char> pixels(size);
    for (size_t i = 0; i + 4 <= size; i += 4) {
        const uint32_t x = static_cast<uint32_t>(i / 4 % 640);
        const uint32_t y = static_cast<uint32_t>(i / 4 / 640);
        const uint32_t value
            = (x / 64 + y / 48) % 3 == 0 ? 0xFF000000u : 0xFF000000u | (x & 0xF8) << 16 | (y & 0xF8) << 8;
        std::memcpy(&pixels[i], &value, 4);
    }
    return pixels;
}

std::vector<unsigned char> MakeRandom(size_t size)
{
    std::vector<unsigned char> bytes(size);
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(Next());
    return bytes;
}

void BenchDecode(const char* name, const std::vector<unsigned char>& data)
{
    const std::vector<unsigned char> packed = CLzssEncoder::Encode(data.data(), data.size());
    std::vector<unsigned char> out(data.size());
    std::vector<unsigned char> copy(data.size());
    CLzssDecoder decoder;
    const int rounds = 10;

    auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) {
        unsigned char* output = out.data();
        decoder.Decode(packed.data(), static_cast<uint32_t>(packed.size()), output,
            static_cast<uint32_t>(out.size()), false);
    }
    const double decodeSeconds = Seconds(start);
    if (out != data) std::printf("  (decoded data differs!)\n");

    start = Clock::now();
    for (int i = 0; i < rounds * 10; ++i) {
        std::memcpy(copy.data(), data.data(), data.size());
        // Keep the copies from being merged or dropped.
        std::memcpy(&copy[i % copy.size()], &i, 1);
    }
    const double copySeconds = Seconds(start) / 10;

    const double megabytes = rounds * double(data.size()) / (1024 * 1024);
    std::printf(
        "LZSS decode %-7s %5.1f MB from %5.1f MB: %8.1f MB/s; memcpy %8.1f MB/s; decode/memcpy %.4f\n", name,
        data.size() / 1048576.0, packed.size() / 1048576.0, megabytes / decodeSeconds,
        megabytes / copySeconds, copySeconds / decodeSeconds);
}

// Average time of CFileBuffer::Read over repetitions, in milliseconds.
double TimeRead(const std::string& path, int repetitions)
{
    CFileBuffer file;
    const auto start = Clock::now();
    for (int i = 0; i < repetitions; ++i) {
        if (file.Read(path) != 0) {
            std::printf("  cannot read %s\n", path.c_str());
            return 0;
        }
    }
    return Seconds(start) * 1000 / repetitions;
}

void BenchArchive(ArchiveLayout layout, const char* name, bool compress)
{
    const int entries = 10000;
    std::vector<PackMember> members;
    for (int i = 0; i < entries; ++i) {
        char member[32];
        std::snprintf(member, sizeof member, "img\\file%05d.txt", i);
        members.push_back({member, MakeText(1000)});
    }
    PackOptions options;
    options.layout = layout;
    options.compress = compress;
    std::vector<unsigned char> archive;
    std::string error;
    if (!BuildArchive(members, options, archive, error)
        || !WriteFileBytes("bench-files/data.dat", archive, error)
        || !WriteFileBytes("bench-files/loose.txt", members[0].bytes, error)) {
        std::printf("cannot write the archive: %s\n", error.c_str());
        return;
    }
    const int repetitions = 30;
    const double loose = TimeRead("loose.txt", repetitions * 10);
    const double first = TimeRead("data\\img\\file00000.txt", repetitions);
    const double middle = TimeRead("data\\img\\file05000.txt", repetitions);
    const double last = TimeRead("data\\img\\file09999.txt", repetitions);
    std::printf(
        "open member of a %d-entry %s archive (%s, %.1f MB): first %.3f ms, middle %.3f ms, last %.3f ms;"
        " loose file %.3f ms; ratios to loose %.1f / %.1f / %.1f\n",
        entries, name, compress ? "LZSS" : "stored", archive.size() / 1048576.0, first, middle, last, loose,
        first / loose, middle / loose, last / loose);
}

}  // namespace

int main()
{
    const size_t size = 8 * 1024 * 1024;
    BenchDecode("text", MakeText(size));
    BenchDecode("pixels", MakePixels(size));
    BenchDecode("random", MakeRandom(size));

    namespace fs = std::filesystem;
    fs::remove_all("bench-files");
    fs::create_directories("bench-files");
    InitBaseDirectory();
    SetBaseDirectory(GetBaseDirectory() + "bench-files\\");
    BenchArchive(ArchiveLayout::Plain, "plain", false);
    BenchArchive(ArchiveLayout::Ex, "Ex", true);
    BenchArchive(ArchiveLayout::Dx, "Dx", true);
    fs::remove_all("bench-files");
    return 0;
}
