// The MMX transfers of CDIBPlaneMMX, one per row of the transfer list: the shared clip and
// stretch set-up and loop with the MMX pixel rules of PixelOpsMMX. This file is compiled for MMX
// registers (see CMakeLists.txt).
#include "graphics/DIBPlaneMMX.h"

#include <pyro/graphics/Plane.h>
#include "graphics/transfer/PixelOpsMMX.h"
#include "graphics/transfer/TransferSet.h"
#include "graphics/shape/ShapeSpanWriter.h"

CDIBPlaneMMX::~CDIBPlaneMMX() = default;

CDIBPlaneMMXCMOV::~CDIBPlaneMMXCMOV() = default;

#define PYRO_DEFINE(...) PYRO_TRANSFER_DEFINITION(CDIBPlaneMMX, PixelOpsMMX, __VA_ARGS__)
PYRO_TRANSFERS(PYRO_DEFINE)
#undef PYRO_DEFINE

PYRO_COLOUR_EFFECTS_DEFINITION(CDIBPlaneMMX, PixelOpsMMX)

// The shape span writers of this set.
namespace {

struct MMXShapeRules {
    using Copy = PixelOpsMMX::Copy;
    using ShapeAlpha = PixelOpsMMX::ShapeAlpha;
    using Add = PixelOpsMMX::Add;
    using Subtract = PixelOpsMMX::Subtract;
    using Multiply = PixelOpsMMX::Multiply;
};

}  // namespace

const ShapeSpanSet& MMXShapeSpans()
{
    return ShapeSpanWriter<PixelOpsMMX::Set, MMXShapeRules>::Writers();
}
