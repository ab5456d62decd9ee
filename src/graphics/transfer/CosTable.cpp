#include "graphics/transfer/CosTable.h"

#include <cmath>

const int32_t* CosTable()
{
    static const struct Table {
        int32_t entries[512];
        Table()
        {
            const double pi = 3.14159265358979323846;
            // static_cast truncates toward zero, as the table is defined.
            for (int k = 0; k < 512; ++k) entries[k] = static_cast<int32_t>(std::cos(k * pi / 256) * 65536.0);
        }
    } table;
    return table.entries;
}
