// The Windows storage of a plane: a top-down 32-bit DIB section selected into a memory device
// context, so that GDI can draw into the plane and copy from it. Only the Windows build has it.
#pragma once

#include <pyro/graphics/GdiHandle.h>

#include <cstdint>

// On success fills the three outputs and returns true; on failure leaves nothing behind.
bool CreatePlaneDIBSection(int32_t width, int32_t height, uint32_t** bits, PlaneBitmap* bitmap,
                           PlaneDC* dc);
// Deletes the memory DC, then the section (which frees its bits). Either may be null.
void DeletePlaneDIBSection(PlaneBitmap bitmap, PlaneDC dc);
