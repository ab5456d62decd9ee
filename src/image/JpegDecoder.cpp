// JPEG through libjpeg-turbo: the frame's size is checked from the header before decompression
// starts; the library's errors come back here through longjmp, and its warnings about corrupt
// or cut-off data make the file damaged, so a few hostile bytes never cost a whole decode. A
// progressive file may hold any number of scans, each a full pass: their count is limited.
#include "image/DecodedPicture.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t first

#include <jpeglib.h>

#include <new>

#include "image/PictureFormat.h"

namespace {

constexpr int kMaxScans = 256;
// What the library may allocate beyond the output rows (coefficient buffers of progressive
// files among it); past it the library fails instead of asking for more.
constexpr long kMaxLibraryMemory = 256L << 20;

struct ErrorManager {
    jpeg_error_mgr base;
    jmp_buf escape;
};

[[noreturn]] void Fail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

// Level -1 is a warning: the data is corrupt or cut off. Trace messages (0 and up) are ignored.
void Message(j_common_ptr info, int level)
{
    if (level < 0) Fail(info);
}

void CountScans(j_common_ptr info)
{
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (info->is_decompressor && decompress->input_scan_number > kMaxScans) Fail(info);
}

uint8_t Scale(unsigned a, unsigned b) { return uint8_t((a * b + 127) / 255); }

// Adobe's CMYK files store the inks inverted: each channel is the colour's share, times the
// share of no black.
void CmykToPixels(uint32_t* pixels, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = reinterpret_cast<const uint8_t*>(&pixels[i]);
        const unsigned k = p[3];
        pixels[i] = 0xFF000000u | (uint32_t(Scale(p[0], k)) << 16) |
                    (uint32_t(Scale(p[1], k)) << 8) | Scale(p[2], k);
    }
}

// Kept apart from the caller so that nothing with a destructor lives in the frame longjmp
// returns to. picture.pixels is sized before the first row is decoded.
int32_t Decode(jpeg_decompress_struct& info, ErrorManager& errors, const uint8_t* content,
               size_t size, DecodedPicture& picture)
{
    jpeg_progress_mgr progress = {};
    progress.progress_monitor = CountScans;
    if (setjmp(errors.escape)) return kPictureDamaged;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxLibraryMemory;
    info.progress = &progress;
    jpeg_mem_src(&info, content, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return kPictureDamaged;
    if (!IsPictureSizeAllowed(info.image_width, info.image_height)) return kPictureBeyondCap;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_calc_output_dimensions(&info);
    if (info.output_width != info.image_width || info.output_height != info.image_height ||
        info.output_components != 4)
        return kPictureDamaged;
    const size_t count = size_t(info.output_width) * info.output_height;
    if (picture.pixels.size() != count) return kPictureDamaged;  // sized from another frame
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(picture.pixels.data() +
                                                  size_t(info.output_scanline) * info.output_width);
        if (jpeg_read_scanlines(&info, &row, 1) != 1) return kPictureDamaged;
    }
    jpeg_finish_decompress(&info);
    if (cmyk) CmykToPixels(picture.pixels.data(), count);
    picture.width = info.output_width;
    picture.height = info.output_height;
    return kPictureDecoded;
}

// The frame's size, read ahead of the library so the pixel block can be sized, zero-filled,
// outside the frame longjmp returns to. False when no frame header is found.
bool ReadJpegSize(const uint8_t* content, size_t size, uint32_t& width, uint32_t& height)
{
    size_t at = 2;
    while (at + 4 <= size) {
        if (content[at] != 0xFF) return false;
        const uint8_t marker = content[at + 1];
        if (marker == 0xFF) {
            ++at;  // fill byte
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        const size_t length = (size_t(content[at + 2]) << 8) | content[at + 3];
        if (length < 2) return false;
        // Start-of-frame markers: C0-CF except DHT (C4), JPG (C8) and DAC (CC).
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            if (length < 7 || at + 9 > size) return false;
            height = (uint32_t(content[at + 5]) << 8) | content[at + 6];
            width = (uint32_t(content[at + 7]) << 8) | content[at + 8];
            return true;
        }
        if (marker == 0xDA || marker == 0xD9) return false;  // scan or end before any frame
        at += 2 + length;
    }
    return false;
}

}  // namespace

bool HasJpegSignature(const uint8_t* content, size_t size)
{
    return content && size >= 3 && content[0] == 0xFF && content[1] == 0xD8 && content[2] == 0xFF;
}

int32_t DecodeJpegPicture(const uint8_t* content, size_t size, DecodedPicture& picture)
{
    picture = DecodedPicture();
    if (!HasJpegSignature(content, size)) return kPictureNotThisFormat;
    uint32_t w = 0;
    uint32_t h = 0;
    if (!ReadJpegSize(content, size, w, h)) return kPictureDamaged;
    // A frame of height 0 takes its height from a later marker, which these files never use.
    if (!IsPictureSizeAllowed(w, h)) return kPictureBeyondCap;
    try {
        picture.pixels.assign(size_t(w) * h, 0);
    } catch (const std::bad_alloc&) {
        return kPictureNoMemory;
    }
    jpeg_decompress_struct info = {};
    ErrorManager errors = {};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = Fail;
    errors.base.emit_message = Message;
    const int32_t result = Decode(info, errors, content, size, picture);
    jpeg_destroy_decompress(&info);
    if (result != kPictureDecoded) {
        picture = DecodedPicture();
        return result;
    }
    picture.alpha = KeepAlphaIfTranslucent(picture.pixels.data(), picture.pixels.size());
    return kPictureDecoded;
}
