// Greedy wrapping: each line takes characters while it still fits, and breaks at the last
// opportunity seen (after a run of spaces, or beside a CJK character); with none, before the
// character that no longer fits.
#include "text/TextWrap.h"

namespace {

uint32_t Utf8CodePoint(const char* text, size_t length, size_t index)
{
    const size_t size = Utf8SequenceLength(text, length, index);
    const auto at = [&](size_t k) { return uint32_t(static_cast<unsigned char>(text[index + k])); };
    switch (size) {
    case 2: return (at(0) & 0x1F) << 6 | (at(1) & 0x3F);
    case 3: return (at(0) & 0x0F) << 12 | (at(1) & 0x3F) << 6 | (at(2) & 0x3F);
    case 4: return (at(0) & 0x07) << 18 | (at(1) & 0x3F) << 12 | (at(2) & 0x3F) << 6 | (at(3) & 0x3F);
    default: return at(0);
    }
}

bool IsCjk(uint32_t code)
{
    return (code >= 0x1100 && code <= 0x11FF)      // Hangul Jamo
        || (code >= 0x2E80 && code <= 0x9FFF)      // CJK radicals, punctuation, kana, ideographs
        || (code >= 0xAC00 && code <= 0xD7AF)      // Hangul syllables
        || (code >= 0xF900 && code <= 0xFAFF)      // compatibility ideographs
        || (code >= 0xFF00 && code <= 0xFFEF)      // full-width forms and half-width katakana
        || (code >= 0x20000 && code <= 0x3FFFF);   // ideographs beyond the BMP
}

}  // namespace

bool IsBreakAnywhere(StringEncoding encoding, const char* text, size_t length, size_t index)
{
    if (index >= length) return false;
    const unsigned char byte = static_cast<unsigned char>(text[index]);
    if (encoding == StringEncoding::kShiftJis) {
        return NextCharIndex(encoding, text, length, index) == index + 2 || (byte >= 0xA1 && byte <= 0xDF);
    }
    return byte >= 0x80 && IsCjk(Utf8CodePoint(text, length, index));
}

std::vector<std::string> WrapTextLines(const std::string& text, StringEncoding encoding, int32_t maxWidth,
                                       const TextMeasure& measure)
{
    constexpr size_t kNone = size_t(-1);
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const char* paragraph = text.data() + start;
        const size_t length = end - start;
        if (maxWidth <= 0 || length == 0) lines.emplace_back(paragraph, length);
        size_t lineStart = 0;
        while (maxWidth > 0 && lineStart < length) {
            size_t lineEnd = length, resume = length;
            size_t breakEnd = kNone, breakResume = kNone;
            size_t previous = kNone;  // the character before i, when it is no space
            for (size_t i = lineStart; i < length;) {
                if (paragraph[i] == ' ') {
                    size_t after = i;
                    while (after < length && paragraph[after] == ' ') ++after;
                    if (i > lineStart) {
                        breakEnd = i;
                        breakResume = after;
                    }
                    previous = kNone;
                    i = after;
                    continue;
                }
                const size_t next = NextCharIndex(encoding, paragraph, length, i);
                if (previous != kNone && (IsBreakAnywhere(encoding, paragraph, length, i)
                                          || IsBreakAnywhere(encoding, paragraph, length, previous))) {
                    breakEnd = breakResume = i;
                }
                if (measure(paragraph + lineStart, next - lineStart) > maxWidth) {
                    if (breakEnd != kNone) {
                        lineEnd = breakEnd;
                        resume = breakResume;
                    } else if (i > lineStart) {
                        lineEnd = resume = i;  // a word wider than the line: cut between its characters
                    } else {
                        lineEnd = resume = next;  // one character wider than the line stands alone
                    }
                    break;
                }
                previous = i;
                i = next;
            }
            size_t trimmed = lineEnd;
            while (trimmed > lineStart && paragraph[trimmed - 1] == ' ') --trimmed;
            lines.emplace_back(paragraph + lineStart, trimmed - lineStart);
            lineStart = resume;
            while (lineStart < length && paragraph[lineStart] == ' ') ++lineStart;
        }
        if (end == text.size()) break;
        start = end + 1;
    }
    return lines;
}

int32_t AlignOffset(TextAlign align, int32_t boxWidth, int32_t lineWidth)
{
    if (lineWidth >= boxWidth) return 0;
    switch (align) {
    case TextAlign::kCentre: return (boxWidth - lineWidth) / 2;
    case TextAlign::kRight: return boxWidth - lineWidth;
    default: return 0;
    }
}
