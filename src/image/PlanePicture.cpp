// Plane pictures on Windows: decoders from the process-wide factory fill the plane; saving a
// bitmap goes through a 24-bit DIB buffer so that GDI converts the pixels.
#include "image/PlanePicture.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <vector>

#include <pyro/file/FileBuffer.h>
#include <pyro/graphics/PlaneImpl.h>
#include <pyro/image/PictureDecoder.h>
#include <pyro/image/PictureDecoderFactory.h>
#include "image/DIBBuffer.h"

int32_t ReadPlanePicture(CPlaneImpl& plane, const char* path, bool& alpha)
{
    alpha = false;
    CFileBuffer file;
    file.Read(path);  // an unreadable file shows as a decoder that takes nothing
    std::unique_ptr<CPictureDecoder> decoder(GetPictureDecoderFactory().Create());
    if (!decoder || decoder->Load(&file) != 0) return 1;
    int32_t width = 0;
    int32_t height = 0;
    if (decoder->GetSize(&width, &height) != 0) return 2;
    if (plane.Allocate(width, height) != 0) return 3;
    // A decoder that draws less than it promised leaves black, never what the block held.
    std::memset(plane.GetPixels(), 0, size_t(plane.GetPitch()) * size_t(height));
    if (decoder->CopyPixels(plane.GetPixels(), width * 4) == 0) {
        alpha = decoder->HasAlpha();
        return 0;
    }
    if (decoder->Draw(plane.GetDC()) != 0) return 4;
    ::GdiFlush();
    plane.ClearAlphaByte();
    return 0;
}

int32_t ReadPlanePictureBuffered(CPlaneImpl& plane, const char* path, bool& alpha)
{
    alpha = false;
    CDIBBuffer buffer;
    if (buffer.Load(path, 32) != 0) return 1;
    int32_t width = 0;
    int32_t height = 0;
    if (buffer.GetSize(&width, &height) != 0) return 2;
    if (plane.Allocate(width, height) != 0) return 3;
    std::memcpy(plane.GetPixels(), buffer.GetBits(), size_t(width) * size_t(height) * 4);
    alpha = buffer.HasAlpha();
    if (!alpha) plane.ClearAlphaByte();
    return 0;
}

int32_t SavePlaneThroughBuffer(const CPlaneImpl& plane, const char* path, const Rect& rect)
{
    const int32_t width = rect.right - rect.left;
    const int32_t height = rect.bottom - rect.top;
    CDIBBuffer buffer;
    if (buffer.Create(width, height, 24) != 0 || !buffer.GetDC()) return 1;
    if (plane.GetDC()) {
        if (!::BitBlt(buffer.GetDC(), 0, 0, width, height, plane.GetDC(), rect.left, rect.top,
                      SRCCOPY))
            return 2;
    } else {
        // What SetPixel of each pixel would do to a 24-bit section, written straight into it.
        ::GdiFlush();
        uint8_t* bits = static_cast<uint8_t*>(buffer.GetBits());
        for (int32_t y = 0; y < height; ++y) {
            uint8_t* d = bits + ptrdiff_t(y) * buffer.GetPitch();
            for (int32_t x = 0; x < width; ++x, d += 3) {
                const uint32_t pixel = plane.GetPixel(rect.left + x, rect.top + y);
                d[0] = uint8_t(pixel);
                d[1] = uint8_t(pixel >> 8);
                d[2] = uint8_t(pixel >> 16);
            }
        }
    }
    return buffer.SaveBMP(path, nullptr);
}
