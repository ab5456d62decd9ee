// The PNG encoder writes one frame into a stream on a growing global memory block; the
// stream's size is what it wrote.
#include "image/PngEncoder.h"

#include <cstring>

#include "image/WICFactory.h"

using Microsoft::WRL::ComPtr;

namespace {

int32_t WriteFrame(IWICBitmapEncoder* encoder, const std::vector<uint8_t>& pixels,
                   uint32_t width, uint32_t height, bool alpha)
{
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(encoder->CreateNewFrame(frame.GetAddressOf(), options.GetAddressOf())) ||
        FAILED(frame->Initialize(options.Get())) || FAILED(frame->SetSize(width, height)))
        return 2;
    const WICPixelFormatGUID wanted =
        alpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
    WICPixelFormatGUID format = wanted;
    // The encoder may answer with the nearest format it supports; ours are both PNG's own.
    if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, wanted)) return 2;
    const UINT stride = width * (alpha ? 4 : 3);
    if (FAILED(frame->WritePixels(height, stride, UINT(pixels.size()),
                                  const_cast<BYTE*>(pixels.data()))) ||
        FAILED(frame->Commit()))
        return 2;
    return 0;
}

}  // namespace

int32_t EncodePng(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height,
                  bool alpha, std::vector<uint8_t>& png)
{
    png.clear();
    if (width == 0 || height == 0 ||
        pixels.size() != size_t(width) * height * (alpha ? 4 : 3))
        return 2;
    CWICFactory factory;
    if (!factory.Get()) return 1;
    ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf()))) return 1;
    ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(factory.Get()->CreateEncoder(GUID_ContainerFormatPng, nullptr,
                                            encoder.GetAddressOf())))
        return 1;
    if (FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache))) return 2;
    const int32_t written = WriteFrame(encoder.Get(), pixels, width, height, alpha);
    if (written != 0) return written;
    if (FAILED(encoder->Commit())) return 2;

    STATSTG stat = {};
    HGLOBAL block = nullptr;
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) ||
        FAILED(::GetHGlobalFromStream(stream.Get(), &block)))
        return 2;
    const void* bytes = ::GlobalLock(block);
    if (!bytes) return 2;
    png.assign(static_cast<const uint8_t*>(bytes),
               static_cast<const uint8_t*>(bytes) + size_t(stat.cbSize.QuadPart));
    ::GlobalUnlock(block);
    return 0;
}
