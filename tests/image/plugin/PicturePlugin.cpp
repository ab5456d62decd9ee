// A small image plug-in for the tests of the picture decoder, built as a DLL. It decodes a
// format of its own: "PPIC", then width, height and a mode word (32-bit little-endian), then
// width × height pixels of three bytes (blue, green, red), rows top-down. Mode 1 makes
// GetPicture fail; mode 2 makes it hand back a pixel block half as long as the image needs.
// It also counts the calls of IsSupported, so a test can tell whether it was asked at all.
#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr uint32_t kHeaderSize = 16;
constexpr int kSuccess = 0;
constexpr int kFailed = 1;
constexpr int kUnknownFormat = 2;
constexpr int kBrokenData = 3;
constexpr int kNoMemory = 4;

LONG isSupportedCalls = 0;

uint32_t GetU32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) |
           (uint32_t(b[3]) << 24);
}

bool HasMagic(const char* data) { return data && std::memcmp(data, "PPIC", 4) == 0; }

struct Header {
    uint32_t width;
    uint32_t height;
    uint32_t mode;
};

// Only data in memory (flag 1) holding the whole image is taken.
bool ReadHeader(const char* data, LONG_PTR size, unsigned int flag, Header& header)
{
    if ((flag & 7) != 1 || size < LONG_PTR(kHeaderSize) || !HasMagic(data)) return false;
    header.width = GetU32(data + 4);
    header.height = GetU32(data + 8);
    header.mode = GetU32(data + 12);
    if (header.width == 0 || header.height == 0 || header.width > 4096 || header.height > 4096)
        return false;
    return uint64_t(size) >= kHeaderSize + uint64_t(header.width) * header.height * 3;
}

}  // namespace

extern "C" {

__declspec(dllexport) int WINAPI IsSupported(LPCSTR, void* data)
{
    InterlockedIncrement(&isSupportedCalls);
    return HasMagic(static_cast<const char*>(data)) ? 1 : 0;
}

__declspec(dllexport) int WINAPI GetPictureInfo(LPCSTR data, LONG_PTR size, unsigned int flag,
                                                void* info)
{
    Header header;
    if (!ReadHeader(data, size, flag, header)) return kUnknownFormat;
    // left, top, width, height, densities, colour depth and a handle: 28 bytes in all on
    // 32-bit builds; nothing beyond them is written.
    unsigned char* record = static_cast<unsigned char*>(info);
    std::memset(record, 0, 28);
    const int32_t extent[2] = {int32_t(header.width), int32_t(header.height)};
    std::memcpy(record + 8, extent, sizeof extent);
    const int16_t depth = 24;
    std::memcpy(record + 20, &depth, sizeof depth);
    return kSuccess;
}

#if !defined(PYRO_PLUGIN_WITHOUT_GETPICTURE)
__declspec(dllexport) int WINAPI GetPicture(LPCSTR data, LONG_PTR size, unsigned int flag,
                                            HLOCAL* infoHandle, HLOCAL* bitsHandle, FARPROC,
                                            LONG_PTR)
{
    Header header;
    if (!ReadHeader(data, size, flag, header)) return kBrokenData;
    if (header.mode == 1) return kFailed;
    const uint32_t stride = (header.width * 3 + 3) & ~3u;
    const SIZE_T bitsSize = SIZE_T(stride) * header.height / (header.mode == 2 ? 2 : 1);
    HLOCAL info = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(BITMAPINFOHEADER));
    HLOCAL bits = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, bitsSize);
    if (!info || !bits) {
        if (info) LocalFree(info);
        if (bits) LocalFree(bits);
        return kNoMemory;
    }
    auto* bi = static_cast<BITMAPINFOHEADER*>(LocalLock(info));
    bi->biSize = sizeof(BITMAPINFOHEADER);
    bi->biWidth = LONG(header.width);
    bi->biHeight = LONG(header.height);  // bottom-up, as DIBs usually are
    bi->biPlanes = 1;
    bi->biBitCount = 24;
    bi->biCompression = BI_RGB;
    LocalUnlock(info);
    auto* out = static_cast<unsigned char*>(LocalLock(bits));
    const char* pixels = data + kHeaderSize;
    for (uint32_t y = 0; y < header.height; ++y) {
        const SIZE_T row = header.height - 1 - y;  // bottom-up
        if ((row + 1) * stride > bitsSize) continue;
        std::memcpy(out + row * stride, pixels + SIZE_T(y) * header.width * 3,
                    SIZE_T(header.width) * 3);
    }
    LocalUnlock(bits);
    *infoHandle = info;
    *bitsHandle = bits;
    return kSuccess;
}
#endif

// Not part of the plug-in interface: how often IsSupported has been called.
__declspec(dllexport) LONG WINAPI PyroTestIsSupportedCalls() { return isSupportedCalls; }

}  // extern "C"
