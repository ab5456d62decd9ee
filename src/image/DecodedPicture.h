// Pictures the framework decodes itself, on every platform and with the same libraries, so that
// a file gives the same pixels everywhere: PNG through libspng, JPEG through libjpeg-turbo.
// Their sizes are checked against the cap (PictureFormat.h) from the header, before any pixel
// block is allocated or a row decoded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Pixels 0xAARRGGBB with straight alpha, rows top-down with no gap: a plane's layout.
struct DecodedPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    // Whether some pixel is not fully opaque; without one the top bytes are 0.
    bool alpha = false;
    std::vector<uint32_t> pixels;
};

// Result codes of the decoders below (CWICPicture's codes, which they stand in for).
enum : int32_t {
    kPictureDecoded = 0,
    kPictureNotThisFormat = 2,  // the content does not start as the format does
    kPictureBeyondCap = 3,      // empty, or wider, taller or larger than the cap
    kPictureDamaged = 4,        // damaged or cut-off data, or an index past the palette
    kPictureNoMemory = 5,
};

bool HasJpegSignature(const uint8_t* content, size_t size);

// Any failure leaves picture empty.
int32_t DecodePngPicture(const uint8_t* content, size_t size, DecodedPicture& picture);
int32_t DecodeJpegPicture(const uint8_t* content, size_t size, DecodedPicture& picture);
// PNG or JPEG by their signatures; kPictureNotThisFormat for anything else.
int32_t DecodeOwnPicture(const uint8_t* content, size_t size, DecodedPicture& picture);
