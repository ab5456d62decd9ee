// The SSE2 transfers of CDIBPlaneSSE2, one per row of the transfer list: the shared clip and
// stretch set-up and loop with the vector pixel rules on SSE2 registers. This file alone is
// compiled with SSE2 enabled (see CMakeLists.txt); CPlane creates this set only after the
// processor reported SSE2.
#include "graphics/DIBPlaneSSE2.h"

#include "graphics/transfer/PixelOpsSSE2.h"
#include "graphics/transfer/TransferSet.h"
#include "graphics/shape/ShapeSpanWriter.h"

CDIBPlaneSSE2::~CDIBPlaneSSE2() = default;

#define PYRO_DEFINE(...) PYRO_TRANSFER_DEFINITION(CDIBPlaneSSE2, PixelOpsSSE2, __VA_ARGS__)
PYRO_TRANSFERS(PYRO_DEFINE)
#undef PYRO_DEFINE

PYRO_COLOUR_EFFECTS_DEFINITION(CDIBPlaneSSE2, PixelOpsSSE2)

// The shape span writers of this set.
const ShapeSpanSet& SSE2ShapeSpans()
{
    return ShapeSpanWriter<PixelOpsSSE2::Set, PixelOpsSSE2>::Writers();
}
