#include "app/DpiScale.h"

#include <algorithm>

namespace {

constexpr uint32_t kBaseDpi = 96;

}  // namespace

int32_t LargestWholeScale(uint32_t dpi, int32_t width, int32_t height, int32_t roomWidth, int32_t roomHeight)
{
    if (width <= 0 || height <= 0) return 1;
    const int64_t scale = std::min<int64_t>({dpi / kBaseDpi, roomWidth / width, roomHeight / height});
    return scale > 1 ? static_cast<int32_t>(scale) : 1;
}
