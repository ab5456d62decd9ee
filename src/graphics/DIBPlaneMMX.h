// CDIBPlaneMMX: the plane implementation for processors with MMX. It replaces the sixteen
// transfers, their mirrored twins and the two colour effects with MMX code that moves two
// pixels at a time and gives the portable set's pixels, except that add and subtract saturate
// the top byte too and the alpha blend weights the destination by 256 - a instead of 255 - a.
// CDIBPlaneMMXCMOV, for processors that also have conditional moves, changes nothing.
#pragma once

#include "graphics/DIBPlane.h"

class CDIBPlaneMMX : public CDIBPlane {
public:
    ~CDIBPlaneMMX() override;

    PYRO_TRANSFERS(PYRO_TRANSFER_OVERRIDE)

    int32_t AddColor(uint32_t colour, const Rect* rect) override;
    int32_t SubColor(uint32_t colour, const Rect* rect) override;
};

class CDIBPlaneMMXCMOV : public CDIBPlaneMMX {
public:
    ~CDIBPlaneMMXCMOV() override;
};
