// A plane's image files: CPlaneImpl::Load picks the reader by the path's extension (qga files
// are read here, straight into the plane's pixels; other formats go to the picture decoders of
// the Windows build, and natively to the framework's PNG and JPEG decoders) and
// CPlaneImpl::Save writes a rectangle of the plane as a 24-bit bitmap, or as PNG through the
// framework's encoder when the path ends in ".png".
#include <pyro/graphics/PlaneImpl.h>

#include <cstring>
#include <string>
#include <vector>

#include <pyro/file/FileBuffer.h>
#include <pyro/file/ShiftJis.h>
#include <pyro/image/BitmapHeader.h>
#include <pyro/image/QgaHeader.h>
#include "image/DecodedPicture.h"
#include "image/PictureFormat.h"
#include "image/PngEncoder.h"

#if defined(_WIN32)
#include <windows.h>

#include "image/PlanePicture.h"
#endif

namespace {

// The text after the path's last full stop, lower-cased; empty when there is none. A full stop
// is never the second byte of a double-byte character, so the plain search is safe.
std::string LowerExtension(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos) return std::string();
    std::string extension = path.substr(dot + 1);
    ToLowerSjis(extension);
    return extension;
}

// The header is checked against the file before the plane is allocated, so a damaged file
// never makes the decoding leave the content or the pixels.
int32_t ReadQgaFile(CPlaneImpl& plane, const std::string& path)
{
    CFileBuffer file;
    if (file.Read(path) != 0) return 1;
    QgaHeader header;
    const int check = ReadQgaHeader(file.GetMemory(), file.GetSize(), header);
    if (check != kQgaDone) return check;
    if (plane.Allocate(int32_t(header.width), int32_t(header.height)) != 0) return 2;
    uint8_t* pixels = reinterpret_cast<uint8_t*>(plane.GetPixels());
    const int decoded = DecodeQgaPixels(file.GetMemory(), file.GetSize(), header, pixels);
    // Pixels past the length would otherwise keep whatever the allocation held.
    const size_t capacity = size_t(header.width) * header.height * 4;
    std::memset(pixels + header.length, 0, capacity - header.length);
    return decoded;
}

// alpha: whether the picture brought alpha bytes of its own.
int32_t ReadPictureFile(CPlaneImpl& plane, const std::string& path, bool& alpha)
{
    alpha = false;
#if defined(_WIN32)
    return plane.GetUseDIB() ? ReadPlanePicture(plane, path.c_str(), alpha)
                             : ReadPlanePictureBuffered(plane, path.c_str(), alpha);
#else
    // The codes of the Windows build's buffered reader: 1 no decoder takes the file, 3 no plane.
    CFileBuffer file;
    if (file.Read(path) != 0) return 1;
    DecodedPicture picture;
    if (DecodeOwnPicture(file.GetMemory(), file.GetSize(), picture) != kPictureDecoded) return 1;
    if (plane.Allocate(int32_t(picture.width), int32_t(picture.height)) != 0) return 3;
    uint8_t* row = reinterpret_cast<uint8_t*>(plane.GetPixels());
    for (uint32_t y = 0; y < picture.height; ++y, row += plane.GetPitch())
        std::memcpy(row, picture.pixels.data() + size_t(y) * picture.width,
                    size_t(picture.width) * 4);
    alpha = picture.alpha;
    return 0;
#endif
}

// rect lies within the plane and is not empty: with the plane's alpha bytes when its alpha
// flag is set, else opaque 24-bit. 0; 1 no PNG encoder; 2 the encoder failed; otherwise the
// file write's result.
int32_t SavePlanePng(const CPlaneImpl& plane, const char* path, const Rect& rect)
{
    const uint32_t width = uint32_t(rect.right - rect.left);
    const uint32_t height = uint32_t(rect.bottom - rect.top);
#if defined(_WIN32)
    ::GdiFlush();  // a use-DIB plane's pixels may still wait for GDI
#endif
    const uint8_t* top = reinterpret_cast<const uint8_t*>(plane.GetPixels()) +
                         ptrdiff_t(rect.top) * plane.GetPitch() + ptrdiff_t(rect.left) * 4;
    const bool alpha = plane.IsAlpha();
    std::vector<uint8_t> png;
    const int32_t encoded =
        EncodePng(PixelsForEncoding(reinterpret_cast<const uint32_t*>(top), plane.GetPitch(),
                                    width, height, alpha),
                  width, height, alpha, png);
    if (encoded != 0) return encoded;
    CFileBuffer file;
    return file.Write(path, png.data(), uint32_t(png.size()));
}

}  // namespace

int32_t CPlaneImpl::Load(const char* fileName)
{
    Release();
    if (!fileName) return 1;
    const std::string path(fileName);
    const bool qga = LowerExtension(path) == "qga";
    bool pictureAlpha = false;
    const int32_t result =
        qga ? ReadQgaFile(*this, path) : ReadPictureFile(*this, path, pictureAlpha);
    if (result != 0) {
        Release();  // a failed load leaves no half-filled pixels behind
        return result;
    }
    loaded_ = 1;
    colorKey_ = GetPixel(0, 0) & 0xFFFFFF;
    if (qga || pictureAlpha) hasAlpha_ = 1;
    return 0;
}

int32_t CPlaneImpl::Save(const char* fileName, const Rect* rect) const
{
    if (!pixels_) return 0;
    // Only the part of the rectangle inside the plane is saved.
    Rect r;
    ClipToBounds(&r, rect);
    if (r.left >= r.right || r.top >= r.bottom || !fileName) return 1;
    if (LowerExtension(fileName) == "png") return SavePlanePng(*this, fileName, r);
#if defined(_WIN32)
    return SavePlaneThroughBuffer(*this, fileName, r);
#else
    const uint8_t* top = reinterpret_cast<const uint8_t*>(rows_[size_t(r.top)] + r.left);
    const std::vector<uint8_t> file =
        EncodeBitmap24(top, pitch_, 4, uint32_t(r.right - r.left), uint32_t(r.bottom - r.top));
    CFileBuffer writer;
    return writer.Write(fileName, file.data(), uint32_t(file.size()));
#endif
}
