// CDIBBuffer: creation of the section, loading through a picture decoder, and saving as a
// 24-bit bitmap. 24-bit and 32-bit sections are read straight from their bits once GDI has
// flushed; other bit counts go through GetPixel, which knows their colour tables.
#include "image/DIBBuffer.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include <pyro/file/FileBuffer.h>
#include <pyro/image/BitmapHeader.h>
#include <pyro/image/PictureDecoder.h>
#include <pyro/image/PictureDecoderFactory.h>

CDIBBuffer::~CDIBBuffer() { Release(); }

int32_t CDIBBuffer::Create(int32_t width, int32_t height, int32_t bitCount)
{
    Release();
    if (width <= 0 || height <= 0) return 1;
    // A section of 8 bits or fewer reads a colour table after the header.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;  // negative: rows run top-down
    info.header.biPlanes = 1;
    info.header.biBitCount = WORD(bitCount);
    info.header.biCompression = BI_RGB;
    if (bitCount > 0 && bitCount <= 8) {
        const int colours = 1 << bitCount;
        for (int i = 0; i < colours; ++i) {
            const BYTE grey = BYTE(i * 255 / (colours - 1));
            info.colours[i] = RGBQUAD{grey, grey, grey, 0};
        }
    }

    HDC screen = ::GetDC(nullptr);
    if (!screen) return 1;
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info),
                                         DIB_RGB_COLORS, &bits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    if (!section || !bits) {
        if (section) ::DeleteObject(section);
        return 1;
    }
    HDC dc = ::CreateCompatibleDC(nullptr);
    if (!dc) {
        ::DeleteObject(section);
        return 1;
    }
    ::SelectObject(dc, section);
    bits_ = bits;
    width_ = width;
    height_ = height;
    bitCount_ = bitCount;
    bitmap_ = section;
    dc_ = dc;
    // Decoders draw into it: what they leave out reads as black, never as the block's past.
    std::memset(bits_, 0, size_t(GetPitch()) * size_t(height));
    return 0;
}

int32_t CDIBBuffer::Release()
{
    if (dc_) ::DeleteDC(dc_);
    if (bitmap_) ::DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
    bitCount_ = 0;
    alpha_ = false;
    return 0;
}

int32_t CDIBBuffer::GetSize(int32_t* width, int32_t* height) const
{
    if (!dc_) return 1;
    if (width) *width = width_;
    if (height) *height = height_;
    return 0;
}

int32_t CDIBBuffer::GetPitch() const
{
    return int32_t((int64_t(width_) * bitCount_ + 31) / 32 * 4);
}

int32_t CDIBBuffer::Load(const char* path, int32_t bitCount)
{
    CFileBuffer file;
    file.Read(path ? path : "");  // an unreadable file shows as a decoder that takes nothing
    std::unique_ptr<CPictureDecoder> decoder(GetPictureDecoderFactory().Create());
    if (!decoder || decoder->Load(&file) != 0) return 1;
    int32_t width = 0;
    int32_t height = 0;
    if (decoder->GetSize(&width, &height) != 0) return 2;
    if (Create(width, height, bitCount) != 0) return 3;
    if (bitCount == 32 && decoder->CopyPixels(static_cast<uint32_t*>(bits_), width * 4) == 0) {
        alpha_ = decoder->HasAlpha();
        return 0;
    }
    if (decoder->Draw(dc_) != 0) return 4;
    ::GdiFlush();
    return 0;
}

int32_t CDIBBuffer::SaveBMP(const char* path, const Rect* rect)
{
    if (!dc_) return 0;
    Rect r = rect ? *rect : Rect{0, 0, width_, height_};
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    r.right = std::min(r.right, width_);
    r.bottom = std::min(r.bottom, height_);
    if (r.left >= r.right || r.top >= r.bottom || !path) return 1;
    const uint32_t width = uint32_t(r.right - r.left);
    const uint32_t height = uint32_t(r.bottom - r.top);

    std::vector<uint8_t> block;
    if (bitCount_ == 24 || bitCount_ == 32) {
        ::GdiFlush();
        const int32_t bytesPerPixel = bitCount_ / 8;
        const uint8_t* top = static_cast<const uint8_t*>(bits_) +
                             ptrdiff_t(r.top) * GetPitch() + ptrdiff_t(r.left) * bytesPerPixel;
        block = EncodeBitmap24(top, GetPitch(), uint32_t(bytesPerPixel), width, height);
    } else {
        const uint32_t stride = BitmapStride24(width);
        block.assign(kBitmapHeadersSize + size_t(stride) * height, 0);
        PutBitmapHeaders24(block.data(), width, height);
        for (int32_t y = r.top; y < r.bottom; ++y) {
            uint8_t* row = block.data() + kBitmapHeadersSize + size_t(r.bottom - 1 - y) * stride;
            for (int32_t x = r.left; x < r.right; ++x) {
                const COLORREF colour = ::GetPixel(dc_, x, y);
                uint8_t* d = row + 3 * size_t(x - r.left);
                d[0] = GetBValue(colour);
                d[1] = GetGValue(colour);
                d[2] = GetRValue(colour);
            }
        }
    }
    CFileBuffer file;
    return file.Write(path, block.data(), uint32_t(block.size()));
}
