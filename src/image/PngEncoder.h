// Writing PNG files through libspng, in memory: the caller writes the bytes wherever its files
// go. The same encoder on every platform, so a saved plane is the same file everywhere.
#pragma once

#include <cstdint>
#include <vector>

// pixels: width × height packed rows as PixelsForEncoding makes them, with alpha (32-bit
// blue, green, red, alpha) or without (24-bit). 0 and the file in png; 1 the encoder could not
// be made; 2 the encoder refused the pixels.
int32_t EncodePng(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height,
                  bool alpha, std::vector<uint8_t>& png);
