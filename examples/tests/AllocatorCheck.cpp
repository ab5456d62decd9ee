// Checks that a program linking the installed Pyro::pyro gets the framework's global allocation
// operators rather than the C runtime's. The framework serves requests of up to 16 bytes from a
// fixed arena of 4096 blocks of 16 bytes with no header between them; the runtime's heap keeps
// a header beside every block, so no two of its blocks lie 16 bytes apart on 64-bit Windows.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

int main()
{
    std::vector<char*> blocks;
    blocks.reserve(5000);
    for (int i = 0; i < 5000; ++i) blocks.push_back(new char[1]);
    std::vector<uintptr_t> addresses;
    for (char* block : blocks) addresses.push_back(reinterpret_cast<uintptr_t>(block));
    std::sort(addresses.begin(), addresses.end());
    int neighbours = 0;
    for (size_t i = 1; i < addresses.size(); ++i) neighbours += addresses[i] - addresses[i - 1] == 16;
    for (char* block : blocks) delete[] block;
    std::printf("%d of 5000 one-byte blocks lie 16 bytes after another\n", neighbours);
    // The arena's blocks not taken during start-up, less one.
    return neighbours >= 4000 ? 0 : 1;
}
