// CDIBBuffer: a top-down DIB section of any bit count selected into a memory device context of
// its own. Planes draw pictures into one when their pixels live on the heap, and copy their
// pixels into a 24-bit one to save them as a bitmap file.
#pragma once

#include <windows.h>

#include <cstdint>

#include <pyro/graphics/Rect.h>

class CDIBBuffer {
public:
    CDIBBuffer() = default;
    CDIBBuffer(const CDIBBuffer&) = delete;
    CDIBBuffer& operator=(const CDIBBuffer&) = delete;
    virtual ~CDIBBuffer();

    // Releases, then makes a section of width × height at bitCount bits per pixel (1, 4 and 8
    // bits get a grey colour table): 0, or 1 when the screen's device context or the section
    // cannot be had.
    int32_t Create(int32_t width, int32_t height, int32_t bitCount);
    // Deletes the device context and the section. 0.
    int32_t Release();
    // 0 and the size, or 1 when empty.
    int32_t GetSize(int32_t* width, int32_t* height) const;
    // Reads an image file into a new buffer of bitCount bits: 0; 1 no decoder takes it (a
    // damaged bitmap is offered to none); 2 it reports no size; 3 no buffer of that size;
    // 4 drawing failed. A 24-bit bitmap or a picture of the imaging component goes straight
    // into a 32-bit buffer; the alpha bytes are left as the decoder wrote them.
    int32_t Load(const char* path, int32_t bitCount);
    // After Load: whether the buffer's alpha bytes hold the picture's own, not-all-opaque alpha.
    bool HasAlpha() const { return alpha_; }
    // Writes the rectangle (null: the whole buffer; clipped to it) as a 24-bit bitmap file:
    // 0 also when the buffer is empty (nothing written), else the file write's result.
    int32_t SaveBMP(const char* path, const Rect* rect);

    void* GetBits() const { return bits_; }
    HDC GetDC() const { return dc_; }
    int32_t GetBitCount() const { return bitCount_; }
    // Bytes from one row of the section to the next.
    int32_t GetPitch() const;

private:
    void* bits_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t bitCount_ = 0;
    HBITMAP bitmap_ = nullptr;
    HDC dc_ = nullptr;
    bool alpha_ = false;
};
