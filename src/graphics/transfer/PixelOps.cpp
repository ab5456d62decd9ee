// Factor tables of the alpha-weighted mix, shared by the portable and the MMX set so that both
// weight every alpha value alike.
#include "graphics/transfer/PixelOps.h"

namespace PixelOps {

// F_k(i) = i * Q_k / 256 and G_k(i) = 255 - i * (255 - P_k) / 256, except that entry 255 is
// exact (F = Q, G = P), so a fully opaque pixel gets exactly the given rates.
void BuildAlphaMixTable(AlphaMixTable& table, uint32_t dstRate, uint32_t srcRate)
{
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t f = 0;
        uint32_t g = 0;
        for (int k = 0; k < 3; ++k) {
            const uint32_t q = Channel(srcRate, k);
            const uint32_t p = Channel(dstRate, k);
            const uint32_t fk = i == 255 ? q : (i * q) >> 8;
            const uint32_t gk = i == 255 ? p : 255 - ((i * (255 - p)) >> 8);
            f |= fk << (8 * k);
            g |= gk << (8 * k);
        }
        table.src[i] = f;
        table.dst[i] = g;
    }
}

}  // namespace PixelOps
