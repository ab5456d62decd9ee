// Opaque names for the two GDI handles a plane keeps. They are the very types <windows.h>
// declares (struct HDC__* and struct HBITMAP__*), so Windows code passes them to GDI without a
// cast, while portable code never sees the platform header.
#pragma once

struct HDC__;
struct HBITMAP__;

using PlaneDC = HDC__*;  // a GDI device context
using PlaneBitmap = HBITMAP__*;  // a GDI bitmap
