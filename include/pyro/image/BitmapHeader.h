// Windows bitmap files held in memory: the checks that accept a file only when its headers,
// colour table and pixel data lie inside the content, the portable readers of an accepted file
// (24-bit rows into 32-bit pixels, colour table into a logical palette), and the headers of the
// 24-bit bitmaps that planes save. No platform header is needed: every field is read byte-wise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr uint32_t kBitmapFileHeaderSize = 14;  // BITMAPFILEHEADER
constexpr uint32_t kBitmapInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr uint32_t kBitmapHeadersSize = kBitmapFileHeaderSize + kBitmapInfoHeaderSize;  // 54

// The compression field's values that the checks know.
enum BitmapCompression : uint32_t {
    kBitmapRgb = 0,
    kBitmapRle8 = 1,
    kBitmapRle4 = 2,
    kBitmapBitFields = 3
};

// What the checks found out about an accepted bitmap.
struct BitmapLayout {
    int32_t width = 0;            // positive
    int32_t height = 0;           // as stored: negative when the rows run top-down
    uint32_t rows = 0;            // the number of rows, |height|
    uint32_t bitCount = 0;  // bits per pixel
    uint32_t compression = 0;  // a BitmapCompression
    uint32_t stride = 0;          // bytes per uncompressed row, a multiple of 4
    uint32_t paletteOffset = 0;   // colour table, from the start of the information header
    uint32_t paletteColours = 0;  // colour-table entries present
    uint32_t bitsOffset = 0;      // pixel data, from the start of the file (files only)
    bool topDown = false;  // rows stored from the top
};

// Checks a BITMAPINFO block of infoBytes bytes whose pixel data holds bitsBytes bytes: header
// size at least 40 and inside the block; width above 0; height not 0; a bit count of 1, 2, 4,
// 8, 16, 24 or 32 that suits the compression (RGB; RLE8 at 8 and RLE4 at 4 bits, bottom-up,
// with their coded size inside the data; bit fields at 16 and 32 bits with the masks inside the
// block); the colour table inside the block; every row inside the data. All sizes are computed
// without overflow.
bool CheckBitmapInfo(const uint8_t* info, uint64_t infoBytes, uint64_t bitsBytes,
                     BitmapLayout& layout);

// Accepts a whole bitmap file: at least 54 bytes beginning "BM", a pixel-data offset inside
// the file, and CheckBitmapInfo on the rest.
bool ParseBitmapFile(const uint8_t* content, uint64_t size, BitmapLayout& layout);

// Content that begins with "BM" but fails ParseBitmapFile: a damaged or hostile bitmap. It is
// refused outright; no other decoder may see it (one that guesses would read past its end).
bool IsDamagedBitmap(const uint8_t* content, uint64_t size);

// For an accepted file with 24 bits and no compression: destination row i (row 0 at the top)
// receives the image's row i whichever way the file stores its rows; each pixel is the source's
// blue, green, red with a top byte of 0. Destination rows start pitch bytes apart.
void CopyBitmapRows24(const uint8_t* content, const BitmapLayout& layout, uint32_t* destination,
                      int32_t pitch);

// For an accepted file of 8 bits or fewer: a 256-entry logical palette of 4-byte entries (red,
// green, blue, flags). Entries 0-9 and 246-255 name the system palette entries of the same
// index (flags PC_EXPLICIT); from entry 10 on, the file's colours with PC_RESERVED |
// PC_NOCOLLAPSE, at most 2, 4, 16 or 236 of them for 1, 2, 4 or 8 bits and never more than
// the colour table holds; the rest up to entry 245 zero.
void FillBitmapPalette(const uint8_t* content, const BitmapLayout& layout, uint8_t* entries);

// Bytes per row of a 24-bit bitmap: width × 3 rounded up to a multiple of 4.
uint32_t BitmapStride24(uint32_t width);

// The 54 header bytes of an uncompressed bottom-up 24-bit bitmap of width × height with 3780
// pixels per metre both ways.
void PutBitmapHeaders24(uint8_t* out, uint32_t width, uint32_t height);

// A whole 24-bit bitmap file of width × height pixels read from top-down rows of 3-byte (blue,
// green, red) or 4-byte (blue, green, red, ignored) pixels, the first row at top and the next
// pitch bytes further: the image's bottom row comes first, padding bytes are 0.
std::vector<uint8_t> EncodeBitmap24(const uint8_t* top, ptrdiff_t pitch, uint32_t bytesPerPixel,
                                    uint32_t width, uint32_t height);
