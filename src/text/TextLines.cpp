// Cutting Shift-JIS byte strings on character boundaries.
#include "text/TextLines.h"

#include <pyro/file/ShiftJis.h>

size_t CutAtCharBoundary(const char* text, size_t length, size_t limit)
{
    size_t i = 0;
    while (i < length) {
        // A lead byte at the very end has lost its second byte; it still counts as one byte.
        const size_t step = IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < length ? 2 : 1;
        if (i + step > limit) break;
        i += step;
    }
    return i;
}
