// Builds the cosine table on first use (the initialisation of a local static is thread-safe).
#include "graphics/transfer/CosTable.h"

#include <array>
#include <cmath>

namespace {
std::array<int32_t, 512> BuildCosTable()
{
    std::array<int32_t, 512> table{};
    const double pi = std::acos(-1.0);
    for (int k = 0; k < 512; ++k)
        table[size_t(k)] = int32_t(std::trunc(std::cos(k * pi / 256) * 65536));
    return table;
}
}  // namespace

const int32_t* GetCosTable()
{
    static const std::array<int32_t, 512> table = BuildCosTable();
    return table.data();
}
