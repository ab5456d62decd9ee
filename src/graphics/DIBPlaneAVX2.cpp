// The AVX2 transfers of CDIBPlaneAVX2, one per row of the transfer list: the shared clip and
// stretch set-up and loop with the vector pixel rules on AVX2 registers. This file alone is
// compiled with AVX2 enabled (see CMakeLists.txt); CPlane creates this set only after the
// processor and the system reported AVX2.
#include "graphics/DIBPlaneAVX2.h"

#include "graphics/transfer/PixelOpsAVX2.h"
#include "graphics/transfer/TransferSet.h"
#include "graphics/shape/ShapeSpanWriter.h"

CDIBPlaneAVX2::~CDIBPlaneAVX2() = default;

#define PYRO_DEFINE(...) PYRO_TRANSFER_DEFINITION(CDIBPlaneAVX2, PixelOpsAVX2, __VA_ARGS__)
PYRO_TRANSFERS(PYRO_DEFINE)
#undef PYRO_DEFINE

PYRO_COLOUR_EFFECTS_DEFINITION(CDIBPlaneAVX2, PixelOpsAVX2)

// The shape span writers of this set.
const ShapeSpanSet& AVX2ShapeSpans()
{
    return ShapeSpanWriter<PixelOpsAVX2::Set, PixelOpsAVX2>::Writers();
}
