// PNG through libspng: the header's size is checked before the image is decoded, and every
// chunk's checksum up to IEND (the library stops reading at the end of the image data and never
// sees the last ones). Transparency chunks become alpha; 16-bit samples keep their high byte. A
// palette shorter than its bit depth allows has its indices checked first, since the library
// reads an index past it as black. The pixel block is zero-filled before the library writes
// into it.
#include "image/DecodedPicture.h"

#include <spng.h>

#include <memory>
#include <new>
#include <vector>

#include "image/PictureFormat.h"

namespace {

struct SpngContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

// Ancillary chunks (text, profiles) are skipped rather than gathered when they exceed this.
constexpr size_t kChunkLimit = size_t(1) << 24;

using Context = std::unique_ptr<spng_ctx, SpngContextDeleter>;

// A context over the content with the cap and chunk limits set; null on failure.
Context OpenContext(const uint8_t* content, size_t size)
{
    Context context(spng_ctx_new(0));
    if (!context || spng_set_image_limits(context.get(), kMaxPictureSide, kMaxPictureSide) != 0 ||
        spng_set_chunk_limits(context.get(), kChunkLimit, kChunkLimit) != 0 ||
        spng_set_png_buffer(context.get(), content, size) != 0)
        return nullptr;
    return context;
}

// Whether every index of an indexed image lies inside its palette. The image is decoded to
// its packed indices for this, so it is only done when the palette is short.
int32_t CheckPaletteIndices(const uint8_t* content, size_t size, const spng_ihdr& ihdr,
                            uint32_t entries)
{
    Context context = OpenContext(content, size);
    if (!context) return kPictureNoMemory;
    size_t bytes = 0;
    if (spng_decoded_image_size(context.get(), SPNG_FMT_PNG, &bytes) != 0) return kPictureDamaged;
    std::vector<uint8_t> indices;
    try {
        indices.assign(bytes, 0);
    } catch (const std::bad_alloc&) {
        return kPictureNoMemory;
    }
    if (spng_decode_image(context.get(), indices.data(), bytes, SPNG_FMT_PNG, 0) != 0)
        return kPictureDamaged;
    const unsigned depth = ihdr.bit_depth;
    const size_t rowBytes = (size_t(ihdr.width) * depth + 7) / 8;
    if (rowBytes * ihdr.height != bytes) return kPictureDamaged;
    for (uint32_t y = 0; y < ihdr.height; ++y) {
        const uint8_t* row = indices.data() + rowBytes * y;
        for (size_t bit = 0; bit < size_t(ihdr.width) * depth; bit += depth) {
            const unsigned index = (row[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
            if (index >= entries) return kPictureDamaged;
        }
    }
    return kPictureDecoded;
}

int32_t Decode(const uint8_t* content, size_t size, DecodedPicture& picture)
{
    if (!HasPngSignature(content, size)) return kPictureNotThisFormat;
    uint32_t w = 0;
    uint32_t h = 0;
    if (!ReadPngSize(content, size, w, h)) return kPictureDamaged;
    if (!IsPictureSizeAllowed(w, h)) return kPictureBeyondCap;
    if (!CheckPngChunks(content, size)) return kPictureDamaged;
    Context context = OpenContext(content, size);
    if (!context) return kPictureNoMemory;
    spng_ctx* ctx = context.get();
    spng_ihdr ihdr = {};
    if (spng_get_ihdr(ctx, &ihdr) != 0) return kPictureDamaged;
    if (!IsPictureSizeAllowed(ihdr.width, ihdr.height)) return kPictureBeyondCap;
    if (ihdr.color_type == SPNG_COLOR_TYPE_INDEXED) {
        spng_plte palette = {};
        if (spng_get_plte(ctx, &palette) != 0) return kPictureDamaged;
        if (palette.n_entries < (1u << ihdr.bit_depth)) {
            const int32_t checked = CheckPaletteIndices(content, size, ihdr, palette.n_entries);
            if (checked != kPictureDecoded) return checked;
        }
    }
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
