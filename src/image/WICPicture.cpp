// Decoding through the imaging component: a stream over the caller's content (nothing is
// copied), the decoder the component picks for it, its first frame, and a format converter to
// 32-bit BGRA with straight alpha, which is a plane's pixel layout byte for byte.
#include "image/WICPicture.h"

#include <new>

#include "image/PictureFormat.h"
#include "image/WICFactory.h"

using Microsoft::WRL::ComPtr;

namespace {

// png: the content passed the PNG checks, so a decoder that refuses it found damaged data.
int32_t DecodeFirstFrame(IWICImagingFactory* factory, const uint8_t* content, uint32_t size,
                         bool png, int32_t& width, int32_t& height, std::vector<uint32_t>& pixels)
{
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.GetAddressOf())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(content), DWORD(size))))
        return 2;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand,
                                                decoder.GetAddressOf())))
        return png ? 4 : 2;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT w = 0;
    UINT h = 0;
    if (FAILED(decoder->GetFrame(0, frame.GetAddressOf())) || FAILED(frame->GetSize(&w, &h)))
        return 4;
    if (!IsPictureSizeAllowed(w, h)) return 3;

    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.GetAddressOf())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return 4;
    // Zero-filled first: rows a lenient decoder leaves out read as transparent black, never
    // as whatever the block held before.
    try {
        pixels.assign(size_t(w) * h, 0);
    } catch (const std::bad_alloc&) {
        return 5;
    }
    const UINT stride = w * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * h,
                                     reinterpret_cast<BYTE*>(pixels.data()))))
        return 4;
    width = int32_t(w);
    height = int32_t(h);
    return 0;
}

}  // namespace

int32_t CWICPicture::Decode(const uint8_t* content, uint32_t size)
{
    Release();
    if (!content || size == 0) return 2;
    // The component may decode a whole PNG as soon as it opens it, so an absurd header is
    // refused before the component sees it; and it may ignore checksums, so they are checked
    // here.
    const bool png = HasPngSignature(content, size);
    if (png) {
        uint32_t w = 0;
        uint32_t h = 0;
        if (!ReadPngSize(content, size, w, h)) return 4;
        if (!IsPictureSizeAllowed(w, h)) return 3;
        if (!CheckPngChunks(content, size)) return 4;
    }
    CWICFactory factory;
    if (!factory.Get()) return 1;
    const int32_t result =
        DecodeFirstFrame(factory.Get(), content, size, png, width_, height_, pixels_);
    if (result != 0) {
        Release();
        return result;
    }
    alpha_ = KeepAlphaIfTranslucent(pixels_.data(), pixels_.size());
    return 0;
}

void CWICPicture::Release()
{
    width_ = 0;
    height_ = 0;
    alpha_ = false;
    std::vector<uint32_t>().swap(pixels_);
}
