// CWICPicture: the first frame of a picture decoded by the Windows Imaging Component from
// content in memory (PNG, TIFF, and whatever other formats the system's component knows),
// converted to 32-bit pixels 0xAARRGGBB with straight alpha, rows top-down: a plane's layout.
#pragma once

#include <cstdint>
#include <vector>

class CWICPicture {
public:
    // 0 decoded; 1 no imaging component; 2 no decoder takes the content; 3 the picture is empty
    // or beyond the size cap (PictureFormat.h); 4 damaged or cut-off data; 5 out of memory.
    // A PNG's header and chunk checksums are checked before the component sees it. Any failure
    // leaves the picture empty.
    int32_t Decode(const uint8_t* content, uint32_t size);
    void Release();

    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }
    const uint32_t* GetPixels() const { return pixels_.data(); }
    // Whether some pixel is not fully opaque. Without one the top bytes are 0.
    bool HasAlpha() const { return alpha_; }

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    bool alpha_ = false;
    std::vector<uint32_t> pixels_;
};
