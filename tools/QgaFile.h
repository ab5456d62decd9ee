// qga image files, the framework's own alpha image format: a 24-byte header (tag, width,
// height, compressed flag, pixel byte length, stored byte length) and 32-bit pixels 0xAARRGGBB,
// rows top-down, stored as they are or LZSS-coded. The framework reads only width, height, the
// flag and the pixel length; the tag and the stored length are for people and tools.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/BmpFile.h"

constexpr uint32_t kQgaHeaderSize = 24;

// With compress, the pixels are LZSS-coded when that makes them smaller.
std::vector<unsigned char> EncodeQga(const PixelImage& image, bool compress);

// Reads a qga file back; false when the header and the data do not fit together.
bool DecodeQga(const std::vector<unsigned char>& file, PixelImage& image, std::string& error);
