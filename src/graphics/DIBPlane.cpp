// The portable transfers of CDIBPlane, one per row of the transfer list: each is the clip and
// stretch set-up followed by the shared loop with one pixel rule of PixelOps.
#include "graphics/DIBPlane.h"

#include <pyro/graphics/Plane.h>
#include "graphics/transfer/PixelOps.h"
#include "graphics/transfer/TransferSet.h"

CDIBPlane::~CDIBPlane() = default;

#define PYRO_DEFINE(...) PYRO_TRANSFER_DEFINITION(CDIBPlane, PixelOps, __VA_ARGS__)
PYRO_TRANSFERS(PYRO_DEFINE)
#undef PYRO_DEFINE
