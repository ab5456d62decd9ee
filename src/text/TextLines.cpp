// Cutting byte strings of the program's encoding on character boundaries.
#include "text/TextLines.h"

#include <pyro/file/StringEncoding.h>

size_t CutAtCharBoundary(const char* text, size_t length, size_t limit)
{
    const StringEncoding encoding = GetStringEncoding();
    size_t i = 0;
    while (i < length) {
        // A lead byte at the very end has lost its second byte; it still counts as one byte.
        const size_t next = NextCharIndex(encoding, text, length, i);
        if (next > limit) break;
        i = next;
    }
    return i;
}
