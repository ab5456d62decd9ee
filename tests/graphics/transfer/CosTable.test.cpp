#include "graphics/transfer/CosTable.h"

#include <doctest/doctest.h>

TEST_CASE("the cosine table holds cos(k pi / 256) * 65536 truncated toward zero")
{
    const int32_t* c = CosTable();
    CHECK(c == CosTable());
    CHECK(c[0] == 65536);
    CHECK(c[128] == 0);
    CHECK(c[256] == -65536);
    CHECK(c[384] == 0);
    CHECK(c[64] == 46340);    // 46340.95
    CHECK(c[192] == -46340);  // toward zero, not down
    CHECK(c[511] == 65531);
    for (int k = 0; k < 512; ++k) {
        CAPTURE(k);
        CHECK(c[k] == -c[(k + 256) % 512]);
        CHECK(c[(k + 384) % 512] == -c[(k + 128) % 512]);  // the sine
    }
}
