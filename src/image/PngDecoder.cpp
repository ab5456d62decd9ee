// PNG through libspng: the header's size is checked before the image is decoded; chunk
// checksums are checked by the library; transparency chunks become alpha; 16-bit samples keep
// their high byte. The pixel block is zero-filled before the library writes into it.
#include "image/DecodedPicture.h"

#include <spng.h>

#include <memory>
#include <new>

#include "image/PictureFormat.h"

namespace {

struct SpngContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

// Ancillary chunks (text, profiles) are skipped rather than gathered when they exceed this.
constexpr size_t kChunkLimit = size_t(1) << 24;

int32_t Decode(const uint8_t* content, size_t size, DecodedPicture& picture)
{
    if (!HasPngSignature(content, size)) return kPictureNotThisFormat;
    uint32_t w = 0;
    uint32_t h = 0;
    if (!ReadPngSize(content, size, w, h)) return kPictureDamaged;
    if (!IsPictureSizeAllowed(w, h)) return kPictureBeyondCap;
    std::unique_ptr<spng_ctx, SpngContextDeleter> context(spng_ctx_new(0));
    if (!context) return kPictureNoMemory;
    spng_ctx* ctx = context.get();
    if (spng_set_image_limits(ctx, kMaxPictureSide, kMaxPictureSide) != 0 ||
        spng_set_chunk_limits(ctx, kChunkLimit, kChunkLimit) != 0 ||
        spng_set_png_buffer(ctx, content, size) != 0)
        return kPictureDamaged;
    spng_ihdr ihdr = {};
    if (spng_get_ihdr(ctx, &ihdr) != 0) return kPictureDamaged;
    if (!IsPictureSizeAllowed(ihdr.width, ihdr.height)) return kPictureBeyondCap;
    size_t bytes = 0;
    if (spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &bytes) != 0 ||
        bytes != size_t(ihdr.width) * ihdr.height * 4)
        return kPictureDamaged;
    try {
        picture.pixels.assign(size_t(ihdr.width) * ihdr.height, 0);
    } catch (const std::bad_alloc&) {
        return kPictureNoMemory;
    }
    if (spng_decode_image(ctx, picture.pixels.data(), bytes, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) != 0)
        return kPictureDamaged;
    // Red, green, blue, alpha bytes to 0xAARRGGBB.
    for (uint32_t& pixel : picture.pixels) {
        const uint8_t* p = reinterpret_cast<const uint8_t*>(&pixel);
        pixel = (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    }
    picture.width = ihdr.width;
    picture.height = ihdr.height;
    picture.alpha = KeepAlphaIfTranslucent(picture.pixels.data(), picture.pixels.size());
    return kPictureDecoded;
}

}  // namespace

int32_t DecodePngPicture(const uint8_t* content, size_t size, DecodedPicture& picture)
{
    picture = DecodedPicture();
    const int32_t result = Decode(content, size, picture);
    if (result != kPictureDecoded) picture = DecodedPicture();
    return result;
}

int32_t DecodeOwnPicture(const uint8_t* content, size_t size, DecodedPicture& picture)
{
    if (HasPngSignature(content, size)) return DecodePngPicture(content, size, picture);
    if (HasJpegSignature(content, size)) return DecodeJpegPicture(content, size, picture);
    picture = DecodedPicture();
    return kPictureNotThisFormat;
}
