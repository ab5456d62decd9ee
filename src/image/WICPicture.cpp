// Decoding through the imaging component: a stream over the caller's content (nothing is
// copied), the decoder the component picks for it, its first frame, and a format converter to
// 32-bit BGRA with straight alpha, which is a plane's pixel layout byte for byte.
#include "image/WICPicture.h"

#include <new>

#include "image/PictureFormat.h"
#include "image/WICFactory.h"

using Microsoft::WRL::ComPtr;

namespace {

int32_t DecodeFirstFrame(IWICImagingFactory* factory, const uint8_t* content, uint32_t size,
                         DecodedPicture& picture)
{
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.GetAddressOf())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(content), DWORD(size))))
        return 2;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand,
                                                decoder.GetAddressOf())))
        return 2;
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
        picture.pixels.assign(size_t(w) * h, 0);
    } catch (const std::bad_alloc&) {
        return 5;
    }
    const UINT stride = w * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * h,
                                     reinterpret_cast<BYTE*>(picture.pixels.data()))))
        return 4;
    picture.width = w;
    picture.height = h;
    return 0;
}

}  // namespace

int32_t DecodeWICPicture(const uint8_t* content, uint32_t size, DecodedPicture& picture)
{
    picture = DecodedPicture();
    if (!content || size == 0) return 2;
    CWICFactory factory;
    if (!factory.Get()) return 1;
    const int32_t result = DecodeFirstFrame(factory.Get(), content, size, picture);
    if (result != 0) {
        picture = DecodedPicture();
        return result;
    }
    picture.alpha = KeepAlphaIfTranslucent(picture.pixels.data(), picture.pixels.size());
    return 0;
}
