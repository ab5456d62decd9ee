// What the imaging-component decoder and encoder need that no platform header provides: the PNG
// signature, header and chunk checks, the size cap that keeps an absurd header from asking for a
// huge block, the alpha rule of decoded pictures, and the pixels handed to the PNG encoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Decoded pictures larger than this are refused before any pixel block is allocated: each side
// at most 16384 pixels and at most 2^24 pixels (64 MiB of 32-bit pixels) in all.
constexpr uint32_t kMaxPictureSide = 16384;
constexpr uint64_t kMaxPicturePixels = uint64_t(1) << 24;

bool IsPictureSizeAllowed(uint32_t width, uint32_t height);

// The eight bytes every PNG file starts with.
bool HasPngSignature(const uint8_t* content, uint64_t size);

// The width and height of a PNG's header chunk, which must follow the signature: true when the
// chunk is there with its 13 bytes, whatever the sizes (the caller checks them).
bool ReadPngSize(const uint8_t* content, uint64_t size, uint32_t& width, uint32_t& height);

// The PNG checksum (CRC-32 as in zlib) of size bytes.
uint32_t PngCrc(const uint8_t* bytes, size_t size);

// Whether every chunk from the signature up to and including IEND lies inside the content with
// a matching checksum. Some decoders skip checksums altogether; a file that fails this is
// damaged whatever they would make of it.
bool CheckPngChunks(const uint8_t* content, uint64_t size);

// Decoded pixels 0xAARRGGBB with straight alpha: true when some pixel is not fully opaque.
// Otherwise every top byte is cleared, so that an opaque picture reads like any other picture
// without alpha.
bool KeepAlphaIfTranslucent(uint32_t* pixels, size_t count);

// Rows of width pixels from top (rows pitch bytes apart) packed into one block for the PNG
// encoder, with no gap between rows: blue, green, red, alpha per pixel with alpha; blue, green,
// red without.
std::vector<uint8_t> PixelsForEncoding(const uint32_t* top, ptrdiff_t pitch, uint32_t width,
                                       uint32_t height, bool alpha);

// Checks made before a picture goes to a platform decoder that is not ours (PictureDecoder).
enum class PictureCheck {
    kNotThisFormat,  // the content does not start as the format does
    kPassed,         // every structure the check knows lies inside the file, under the cap
    kRefused,        // some entry lies outside the file or beyond the cap
};

// An icon or cursor directory: every entry's data inside the file (offset plus size computed
// without wrapping), its bitmap header or embedded PNG header inside the entry, sizes under the
// cap, and the bitmap's colour table, colour rows and mask rows inside the entry.
PictureCheck CheckIconDirectory(const uint8_t* content, uint64_t size);

// A GIF: the logical screen under the cap, and every frame's rectangle (offset plus size)
// under it too, with the blocks up to the trailer, or the end of the file, walked.
PictureCheck CheckGifFrames(const uint8_t* content, uint64_t size);
