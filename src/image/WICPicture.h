// The first frame of a picture decoded by the Windows Imaging Component from content in memory
// (TIFF, and whatever other formats the system's component knows), converted to the pixels of a
// DecodedPicture. PNG and JPEG never reach the component: the framework decodes them itself.
#pragma once

#include <cstdint>

#include "image/DecodedPicture.h"

// 0 decoded; 1 no imaging component; 2 no decoder takes the content; 3 the picture is empty or
// beyond the size cap (PictureFormat.h), read from the frame before any pixel is converted;
// 4 damaged or cut-off data; 5 out of memory. Any failure leaves picture empty.
int32_t DecodeWICPicture(const uint8_t* content, uint32_t size, DecodedPicture& picture);
