// CPictureDecoder: decodes one image file held in memory by the first decoder that takes it: the
// built-in bitmap reader, the platform's OLE picture loader, the Windows Imaging Component, and
// an image plug-in library "spi/if" + suffix + ".spi" under the base directory, in that order.
// PNG and JPEG are decoded by the framework itself instead, right after the bitmap reader, with
// the same pixels on every platform. Icons, cursors and GIFs reach the OLE loader and the
// imaging component only when their directory or frames lie inside the file and under the size
// cap (16384 pixels a side, 2^24 in all); every decoder's picture size is checked against the
// cap before a pixel is drawn. Whichever took the file, the decoder reports the picture's size
// in pixels and draws it onto a device context; uncompressed 24-bit bitmaps and the pictures
// decoded into pixels (PNG, JPEG, the imaging component's) also copy into 32-bit pixels.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <cstdint>
#include <memory>

#include <pyro/image/BitmapHeader.h>

class CFileBuffer;
struct DecodedPicture;

class CPictureDecoder {
public:
    CPictureDecoder();
    CPictureDecoder(const CPictureDecoder&) = delete;
    CPictureDecoder& operator=(const CPictureDecoder&) = delete;

    // The virtual operations in slot order. Results are 0 for success.

    // LoadBMP, else LoadPicture, else LoadWIC, else LoadPlugin. 0 when one took the file, else
    // 1. Content beginning with "BM" is a bitmap or nothing: when LoadBMP refuses it, the
    // result is 1 at once. Content with the PNG or JPEG signature is decoded by LoadOwn alone.
    // An icon, cursor or GIF that fails its checks is offered to the plug-in only. The file
    // must hold its content while the decoder is in use: bitmaps and plug-ins read it in place.
    virtual int32_t Load(CFileBuffer* file);
    // The picture's size in pixels: 0, or 1 when nothing is loaded or a plug-in reports a size
    // beyond the cap. OLE pictures are measured in HIMETRIC units and converted at the screen's
    // pixels per inch.
    virtual int32_t GetSize(int32_t* width, int32_t* height);
    // Draws the whole picture with its top-left corner at (0, 0): 0 drawn; 1 nothing loaded or
    // drawing failed (a failing plug-in also empties the decoder).
    virtual int32_t Draw(HDC dc);
    // Copies into 32-bit pixels, rows top-down: an uncompressed 24-bit bitmap with top bytes 0,
    // or a decoded picture (LoadOwn, LoadWIC) with its straight alpha (top bytes 0 when it is
    // opaque). 0 copied; 1 neither loaded; 2 a compressed bitmap; 3 a bit count other than 24.
    virtual int32_t CopyPixels(uint32_t* destination, int32_t pitch);
    // Empties the decoder: 0, or for an OLE picture 1 when others still hold it.
    virtual int32_t Release();
    // A logical palette for a bitmap of 8 bits or fewer (see FillBitmapPalette): 0; 1 no bitmap
    // loaded; 2 more than 8 bits.
    virtual int32_t GetPalette(PALETTEENTRY* entries);
    virtual ~CPictureDecoder();
    // The bitmap reader: 0 when the content is a bitmap file whose headers, colour table and
    // pixel rows lie inside it, else 1.
    virtual int32_t LoadBMP(CFileBuffer* file);
    // The OLE picture loader: 0; 1 no stream for the content; 2 the loader refused it, or an
    // icon, cursor or GIF failed its checks; 3 the loaded picture measures beyond the cap.
    // PNG and JPEG go to LoadOwn instead: 0, or 2 when it refuses them.
    virtual int32_t LoadPicture(CFileBuffer* file);
    // The plug-in for the file's suffix: 0 when it takes the file; 1 no library, a library
    // without the three entry points, content under 2048 bytes, or refused by IsSupported.
    virtual int32_t LoadPlugin(CFileBuffer* file);
    // Frees the two blocks the plug-in's GetPicture handed out.
    virtual void FreePluginImage();
    // The Windows Imaging Component: 0 when it decodes the content; 1 no component, 2 no
    // decoder for the content, 3 empty or larger than 16384 pixels a side or 2^24 pixels in
    // all (read before any pixel is converted), 4 damaged or cut-off data, or an icon, cursor
    // or GIF that failed its checks, 5 out of memory. PNG and JPEG go to LoadOwn instead.
    virtual int32_t LoadWIC(CFileBuffer* file);

    // The framework's own PNG and JPEG decoders, whose sizes are checked from the header before
    // any decoding: the codes of LoadWIC, with 2 for content of neither format.
    int32_t LoadOwn(CFileBuffer* file);

    // Whether the loaded picture has a pixel that is not fully opaque; only decoded pictures
    // (LoadOwn, LoadWIC) carry alpha.
    bool HasAlpha() const;

    // Entry points of a plug-in (standard calling convention): IsSupported.
    using IsSupportedProc = int(WINAPI*)(LPCSTR fileName, void* data);
    // GetPictureInfo.
    using GetPictureInfoProc = int(WINAPI*)(LPCSTR data, LONG_PTR size, unsigned int flag,
                                            void* info);
    // GetPicture.
    using GetPictureProc = int(WINAPI*)(LPCSTR data, LONG_PTR size, unsigned int flag,
                                        HLOCAL* infoHandle, HLOCAL* bitsHandle,
                                        FARPROC progress, LONG_PTR progressData);

private:
    int32_t DrawPlugin(HDC dc);
    int32_t DrawDecoded(HDC dc);

    const uint8_t* bitmapFile_ = nullptr;
    const BITMAPINFO* bitmapInfo_ = nullptr;
    const uint8_t* bitmapBits_ = nullptr;
    IPicture* picture_ = nullptr;
    HMODULE plugin_ = nullptr;
    IsSupportedProc isSupported_ = nullptr;
    GetPictureInfoProc getPictureInfo_ = nullptr;
    GetPictureProc getPicture_ = nullptr;
    CFileBuffer* file_ = nullptr;
    HLOCAL pluginBits_ = nullptr;
    HLOCAL pluginInfo_ = nullptr;
    BitmapLayout layout_;  // of the bitmap, while one is loaded
    std::unique_ptr<DecodedPicture> decoded_;  // decoded pixels, while they are loaded
};
