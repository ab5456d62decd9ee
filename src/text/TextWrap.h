// Word wrapping by a width, with the breaking rules of both encodings: Latin text breaks at
// spaces (the spaces at a break are dropped), CJK text between any two characters, and a word
// wider than the line between its characters. No break ever falls inside a double-byte
// Shift-JIS character or a UTF-8 sequence. Line feeds always break. The width of a piece of text
// comes from the caller (GDI's measure, or a fixed one in tests), so the rules are portable.
#pragma once

#include <pyro/file/StringEncoding.h>
#include <pyro/text/TextAlign.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The width of a piece of text (bytes of the given encoding) as it would be drawn.
using TextMeasure = std::function<int32_t(const char* text, size_t length)>;

// Whether the character at text[index] may have a line break before or after it with no space:
// a double-byte Shift-JIS character or half-width katakana, or in UTF-8 a character of the CJK
// and Hangul ranges.
bool IsBreakAnywhere(StringEncoding encoding, const char* text, size_t length, size_t index);

// The lines of text wrapped to maxWidth (no wrapping when maxWidth <= 0, only the line feeds).
std::vector<std::string> WrapTextLines(const std::string& text, StringEncoding encoding, int32_t maxWidth,
                                       const TextMeasure& measure);
