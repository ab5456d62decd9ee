// CDIBPlaneSSE2: the plane implementation for processors with SSE2. It replaces the transfers
// and the two colour effects of the MMX set with code that moves four pixels per register and
// gives exactly the MMX set's pixels, the MMX set's differences from the portable one included;
// everything else it inherits.
#pragma once

#include "graphics/DIBPlaneMMX.h"

class CDIBPlaneSSE2 : public CDIBPlaneMMXCMOV {
public:
    ~CDIBPlaneSSE2() override;

    PYRO_TRANSFERS(PYRO_TRANSFER_OVERRIDE)

    int32_t AddColor(uint32_t colour, const Rect* rect) override;
    int32_t SubColor(uint32_t colour, const Rect* rect) override;
};
