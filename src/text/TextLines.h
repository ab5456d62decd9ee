// Line splitting for text drawn with GDI: the text's lines end at line feeds, and each line is
// drawn from a 256-byte buffer, so a longer line is cut at 255 bytes, never inside a character
// (a double-byte Shift-JIS one or a UTF-8 sequence, by the program's encoding). Portable, so the cutting rules run under the sanitizers.
#pragma once

#include <cstddef>

// Bytes a line may hold (a 256-byte buffer with its terminating zero).
constexpr size_t kMaxLineBytes = 255;

// The longest prefix of text[0, length) of at most limit bytes that ends on a character boundary.
size_t CutAtCharBoundary(const char* text, size_t length, size_t limit);

// Calls line(start, length, isLast) for every line of the zero-terminated text, each cut to
// kMaxLineBytes. An empty text is one empty line.
template <class LineFunction>
void ForEachLine(const char* text, LineFunction line)
{
    const char* start = text;
    for (const char* p = text;; ++p) {
        if (*p == '\n' || *p == '\0') {
            const size_t length = CutAtCharBoundary(start, size_t(p - start), kMaxLineBytes);
            const bool last = *p == '\0';
            line(start, length, last);
            if (last) return;
            start = p + 1;
        }
    }
}
