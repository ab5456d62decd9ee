// CDIBPlaneAVX2: the plane implementation for processors (and systems) with AVX2. It replaces
// the transfers and the two colour effects of the SSE2 set with the same rules on registers of
// eight pixels, giving exactly the same pixels; everything else it inherits.
#pragma once

#include "graphics/DIBPlaneSSE2.h"

class CDIBPlaneAVX2 : public CDIBPlaneSSE2 {
public:
    ~CDIBPlaneAVX2() override;

    PYRO_TRANSFERS(PYRO_TRANSFER_OVERRIDE)

    int32_t AddColor(uint32_t colour, const Rect* rect) override;
    int32_t SubColor(uint32_t colour, const Rect* rect) override;
};
