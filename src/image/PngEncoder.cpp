// The PNG encoder: the packed blue-green-red rows are turned into PNG's red-green-blue order
// and handed to libspng, which writes the file into a buffer of its own.
#include "image/PngEncoder.h"

#include <spng.h>

#include <cstdlib>
#include <utility>
#include <memory>

namespace {

struct SpngContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

}  // namespace

int32_t EncodePng(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height,
                  bool alpha, std::vector<uint8_t>& png)
{
    png.clear();
    const size_t bytesPerPixel = alpha ? 4 : 3;
    if (width == 0 || height == 0 || pixels.size() != size_t(width) * height * bytesPerPixel)
        return 2;
    std::unique_ptr<spng_ctx, SpngContextDeleter> context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context) return 1;
    spng_ctx* ctx = context.get();
    std::vector<uint8_t> rgb(pixels);
    for (size_t i = 0; i < rgb.size(); i += bytesPerPixel) std::swap(rgb[i], rgb[i + 2]);
    spng_ihdr ihdr = {};
    ihdr.width = width;
    ihdr.height = height;
    ihdr.bit_depth = 8;
    ihdr.color_type = alpha ? SPNG_COLOR_TYPE_TRUECOLOR_ALPHA : SPNG_COLOR_TYPE_TRUECOLOR;
    if (spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1) != 0 || spng_set_ihdr(ctx, &ihdr) != 0 ||
        spng_encode_image(ctx, rgb.data(), rgb.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) != 0)
        return 2;
    size_t length = 0;
    int error = 0;
    void* buffer = spng_get_png_buffer(ctx, &length, &error);
    if (!buffer || error != 0) return 2;
    png.assign(static_cast<const uint8_t*>(buffer), static_cast<const uint8_t*>(buffer) + length);
    std::free(buffer);  // the caller owns the buffer, allocated with the library's malloc
    return 0;
}
