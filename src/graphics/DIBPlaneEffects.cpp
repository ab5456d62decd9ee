// The effects and the geometry of CDIBPlane.
#include "graphics/DIBPlane.h"

#include "graphics/Plane.h"

// Not built yet: each reports failure and leaves the plane alone.
int32_t CDIBPlane::SetAlphaFromPlane(CPlane*, int32_t, int32_t, int32_t, int32_t, const Rect*) { return 1; }
int32_t CDIBPlane::CopyScaleAlpha(CPlane*, int32_t, const Rect*) { return 1; }
int32_t CDIBPlane::MorphBlt(CPlane*, const Point*, const Point*, const Rect*, int32_t) { return 1; }
int32_t CDIBPlane::MorphBltFromRect(CPlane*, const Rect*, const Point*, const Rect*) { return 1; }
int32_t CDIBPlane::MorphBltToRect(CPlane*, const Point*, const Rect*, const Rect*) { return 1; }
int32_t CDIBPlane::MorphBltFast(CPlane*, const Point*, const Point*, const Rect*, int32_t) { return 1; }
int32_t CDIBPlane::MorphBltFastFromRect(CPlane*, const Rect*, const Point*, const Rect*) { return 1; }
int32_t CDIBPlane::MorphBltFastToRect(CPlane*, const Point*, const Rect*, const Rect*) { return 1; }
int32_t CDIBPlane::RotateBlt(CPlane*, const Rect*, int32_t, int32_t, int32_t, int32_t, int32_t, const Rect*) { return 1; }
int32_t CDIBPlane::RotateBltFast(CPlane*, const Rect*, int32_t, int32_t, int32_t, int32_t, int32_t, const Rect*) { return 1; }
int32_t CDIBPlane::Reserved(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t) { return 0; }
int32_t CDIBPlane::DisplaceBlt(CPlane*, const Point*, int32_t, int32_t, const Rect*, Rect*) { return 1; }
int32_t CDIBPlane::AddColor(uint32_t, const Rect*) { return 1; }
int32_t CDIBPlane::SubColor(uint32_t, const Rect*) { return 1; }
int32_t CDIBPlane::Blur(const Rect*) { return 1; }
int32_t CDIBPlane::Mosaic(int32_t, const Rect*) { return 1; }
int32_t CDIBPlane::Negate(const Rect*) { return 1; }
int32_t CDIBPlane::ScaleColor(int32_t, const Rect*) { return 1; }
int32_t CDIBPlane::ScaleAlpha(int32_t, const Rect*) { return 1; }
int32_t CDIBPlane::NegateAlpha(const Rect*) { return 1; }
