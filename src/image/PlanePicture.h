// The Windows side of a plane's image files: pictures decoded by the picture decoders (straight
// into a use-DIB plane, or through a 32-bit CDIBBuffer into a heap plane), and the plane saved
// as a bitmap through a 24-bit CDIBBuffer. No platform header: the plane's own files call these.
#pragma once

#include <cstdint>

#include <pyro/graphics/Rect.h>

class CPlaneImpl;

// Into a plane with a DIB section: 0; 1 no decoder takes the file, or it begins with "BM" and
// fails the bitmap checks; 2 it reports no size; 3 the plane cannot be allocated; 4 drawing
// into the plane failed. On 0, alpha tells whether the picture has pixels that are not fully
// opaque; their alpha bytes stay in the plane, all other pictures leave the alpha bytes 0.
int32_t ReadPlanePicture(CPlaneImpl& plane, const char* path, bool& alpha);

// Into a plane with heap pixels: 0; 1 the buffer cannot be loaded; 2 the buffer is empty;
// 3 the plane cannot be allocated. alpha as above.
int32_t ReadPlanePictureBuffered(CPlaneImpl& plane, const char* path, bool& alpha);

// rect lies within the plane and is not empty: 0; 1 no 24-bit buffer; 2 BitBlt failed;
// otherwise the file write's result.
int32_t SavePlaneThroughBuffer(const CPlaneImpl& plane, const char* path, const Rect& rect);
