// Benchmark of the file module (not a test): LZSS decoding throughput against memcpy of the same
// output size, and the time to open a member of a 10,000-entry archive (first, middle and last
// entry) against a loose file of the same size: once while the archive's directory is read
// (the first open, or every open of an archive written moments ago) and then from the kept
// directory. Run from a writable directory; it makes bench-files/ there and removes it afterwards.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <pyro/file/BaseDirectory.h>
#include <pyro/file/FileBuffer.h>
#include <pyro/file/LzssDecoder.h>
#include "BenchTiming.h"
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

// The best of several timed runs of work(), in seconds per call.
template <class Work>
double BestSeconds(Work&& work, int calls, int runs = 7)
{
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        for (int i = 0; i < calls; ++i) work(i);
        const double seconds = Seconds(start) / calls;
        if (seconds < best) best = seconds;
    }
    return best;
}

void BenchDecode(const char* name, const std::vector<unsigned char>& data)
{
    const std::vector<unsigned char> packed = CLzssEncoder::Encode(data.data(), data.size());
    std::vector<unsigned char> out(data.size());
    std::vector<unsigned char> copy(data.size());
    CLzssDecoder decoder;
    const double decodeSeconds = BestSeconds(
        [&](int) {
            unsigned char* output = out.data();
            decoder.Decode(packed.data(), static_cast<uint32_t>(packed.size()), output,
                           static_cast<uint32_t>(out.size()), false);
        },
        2);
    if (out != data) std::printf("  (decoded data differs!)\n");
    const double copySeconds = BestSeconds(
        [&](int i) {
            std::memcpy(copy.data(), data.data(), data.size());
            // Keep the copies from being merged or dropped.
            std::memcpy(&copy[size_t(i) % copy.size()], &i, 1);
        },
        10);

    const double megabytes = double(data.size()) / (1024 * 1024);
    std::printf("| %-6s | %5.1f | %5.1f | %8.1f | %8.1f | %.3f |\n", name, megabytes,
                packed.size() / 1048576.0, megabytes / decodeSeconds, megabytes / copySeconds,
                copySeconds / decodeSeconds);
}

// Seconds per CFileBuffer::Read of each path: the best of many short runs that take turns, so
// that a burst of other work on the machine slows all of them alike and the best runs show the
// cost of the reads themselves. Negative for a path that cannot be read.
std::vector<double> TimeReads(const std::vector<std::string>& paths, int calls, int rounds)
{
    std::vector<double> best(paths.size(), 1e30);
    CFileBuffer file;
    for (int round = 0; round < rounds; ++round) {
        for (size_t i = 0; i < paths.size(); ++i) {
            bool failed = false;
            const double seconds = BestSeconds([&](int) { failed |= file.Read(paths[i]) != 0; }, calls, 1);
            best[i] = failed ? -1 : std::min(best[i], seconds);
        }
    }
    return best;
}

void BenchArchive(ArchiveLayout layout, const char* name, bool compress)
{
    namespace fs = std::filesystem;
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
    const std::vector<std::string> paths = {"loose.txt", "data\\img\\file00000.txt",
                                            "data\\img\\file05000.txt", "data\\img\\file09999.txt"};

    // Just written: the directory is scanned on every open, as on the first open of any archive.
    fs::last_write_time("bench-files/data.dat", fs::file_time_type::clock::now());
    const std::vector<double> scanned = TimeReads(paths, 3, 7);

    // An archive as shipped, written long ago: its directory is read once and kept.
    fs::last_write_time("bench-files/data.dat", fs::file_time_type::clock::now() - std::chrono::hours(24));
    const std::vector<double> kept = TimeReads(paths, 20, 40);
    const double loose = kept[0];

    const double ms = 1000;
    std::printf("| %-5s | %-6s | %4.1f | %.4f | %.3f / %.3f / %.3f | %.4f / %.4f / %.4f"
                " | %.1f / %.1f / %.1f |\n",
                name, compress ? "LZSS" : "stored", archive.size() / 1048576.0, loose * ms, scanned[1] * ms,
                scanned[2] * ms, scanned[3] * ms, kept[1] * ms, kept[2] * ms, kept[3] * ms, kept[1] / loose,
                kept[2] / loose, kept[3] / loose);
}

}  // namespace

int main()
{
    WarnIfInstrumented();
    const size_t size = 8 * 1024 * 1024;
    std::printf("LZSS decoding of 8 MB, best of 7 runs\n\n");
    std::printf("| data | MB | packed MB | decode MB/s | memcpy MB/s | decode/memcpy |\n");
    std::printf("|---|---|---|---|---|---|\n");
    BenchDecode("text", MakeText(size));
    BenchDecode("pixels", MakePixels(size));
    BenchDecode("random", MakeRandom(size));

    namespace fs = std::filesystem;
    fs::remove_all("bench-files");
    fs::create_directories("bench-files");
    InitBaseDirectory();
    SetBaseDirectory(GetBaseDirectory() + "bench-files\\");
    std::printf("\nOpening (CFileBuffer::Read) the first / middle / last member of a 10,000-entry archive,"
                " in ms\n\n");
    std::printf("| layout | members | MB | loose file | directory scanned | directory kept |"
                " kept/loose |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    BenchArchive(ArchiveLayout::Plain, "plain", false);
    BenchArchive(ArchiveLayout::Ex, "Ex", true);
    BenchArchive(ArchiveLayout::Dx, "Dx", true);
    fs::remove_all("bench-files");
    return 0;
}
