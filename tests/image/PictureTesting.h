// Helpers for the Windows image tests: the test plug-in installed under the base directory,
// files of the plug-in's own format, an enhanced metafile of a given HIMETRIC frame, and what a
// decoder draws, read back from a 32-bit DIB buffer.
#pragma once

#include <windows.h>

#include <cstring>
#include <utility>

#include <pyro/file/FileBuffer.h>
#include <pyro/image/PictureDecoder.h>
#include "ImageTesting.h"
#include "PictureFixtures.h"
#include "image/DIBBuffer.h"
#include "image/PictureFormat.h"

// Paths of the two plug-in builds (the second lacks GetPicture), set by the build.
#ifndef PYRO_TEST_PLUGIN
#error "PYRO_TEST_PLUGIN names the test plug-in"
#endif

// The 16 by 8 GIF fixture: four flat quarters.
inline uint32_t GifPixel(int32_t x, int32_t y)
{
    if (y < 4) return x < 8 ? 0x00FF00FF : 0x0010A030;
    return x < 8 ? 0x002040C0 : 0x00F0E0D0;
}

// Copies a plug-in build to "spi/if" + suffix + ".spi" under the scratch directory.
inline void InstallPlugin(const CScratch& scratch, const std::string& suffix,
                          const char* build = PYRO_TEST_PLUGIN)
{
    std::vector<uint8_t> library;
    std::string error;
    REQUIRE_MESSAGE(ReadFileBytes(build, library, error), error);
    scratch.Put("spi\\if" + suffix + ".spi", library);
}

// A file of the plug-in's format: "PPIC", width, height, mode, then the pixels as blue, green,
// red, rows top-down; zero bytes appended up to padTo.
inline std::vector<uint8_t> PluginFile(uint32_t width, uint32_t height,
                                       const std::vector<uint32_t>& pixels, uint32_t mode = 0,
                                       size_t padTo = 0)
{
    std::vector<uint8_t> file(16, 0);
    file[0] = 'P';
    file[1] = 'P';
    file[2] = 'I';
    file[3] = 'C';
    PutLE(file, 4, width);
    PutLE(file, 8, height);
    PutLE(file, 12, mode);
    for (uint32_t p : pixels) {
        file.push_back(uint8_t(p));
        file.push_back(uint8_t(p >> 8));
        file.push_back(uint8_t(p >> 16));
    }
    if (file.size() < padTo) file.resize(padTo, 0);
    return file;
}

// An enhanced metafile whose frame is width × height HIMETRIC units, filled with one colour.
inline std::vector<uint8_t> Metafile(int32_t width, int32_t height, COLORREF colour)
{
    const RECT frame{0, 0, width, height};
    HDC screen = ::GetDC(nullptr);
    HDC recorder = ::CreateEnhMetaFileA(screen, nullptr, &frame, nullptr);
    ::ReleaseDC(nullptr, screen);
    REQUIRE(recorder != nullptr);
    HBRUSH brush = ::CreateSolidBrush(colour);
    const RECT all{0, 0, 4000, 4000};
    ::FillRect(recorder, &all, brush);
    ::DeleteObject(brush);
    HENHMETAFILE metafile = ::CloseEnhMetaFile(recorder);
    REQUIRE(metafile != nullptr);
    std::vector<uint8_t> bytes(::GetEnhMetaFileBits(metafile, 0, nullptr));
    ::GetEnhMetaFileBits(metafile, UINT(bytes.size()), bytes.data());
    ::DeleteEnhMetaFile(metafile);
    return bytes;
}

// Puts bytes into the scratch directory and reads them into file.
inline void ReadFixture(const CScratch& scratch, CFileBuffer& file, const std::string& name,
                        const std::vector<uint8_t>& bytes)
{
    scratch.Put(name, bytes);
    REQUIRE(file.Read(name) == 0);
}

// The decoder's size as (width, height); (-1, -1) when it reports none.
using Extent = std::pair<int32_t, int32_t>;
inline Extent SizeOf(CPictureDecoder& decoder)
{
    int32_t w = -1;
    int32_t h = -1;
    if (decoder.GetSize(&w, &h) != 0) return {-1, -1};
    return {w, h};
}

// What Draw puts into a cleared 32-bit buffer of width × height, alpha bytes dropped.
inline std::vector<uint32_t> DrawnPixels(CPictureDecoder& decoder, int32_t width, int32_t height)
{
    CDIBBuffer buffer;
    REQUIRE(buffer.Create(width, height, 32) == 0);
    if (decoder.Draw(buffer.GetDC()) != 0) return {};
    ::GdiFlush();
    const uint32_t* bits = static_cast<const uint32_t*>(buffer.GetBits());
    return WithoutAlpha(std::vector<uint32_t>(bits, bits + size_t(width) * size_t(height)));
}

// Whether every channel of a is within tolerance of b.
inline bool Near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}
