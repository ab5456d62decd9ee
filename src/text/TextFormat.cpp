#include <pyro/text/TextFormat.h>

#include <cstdio>

namespace {

// On Windows the C runtime's own vsnprintf may lack %lld, %zu and C99 rounding; MinGW's
// implementation has them on every runtime.
int Print(char* buffer, size_t size, const char* format, va_list args)
{
#if defined(__MINGW32__)
    return __mingw_vsnprintf(buffer, size, format, args);
#else
    return std::vsnprintf(buffer, size, format, args);
#endif
}

}  // namespace

std::string FormatTextV(const char* format, va_list args)
{
    if (!format) return {};
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int length = Print(small, sizeof small, format, copy);
    va_end(copy);
    if (length < 0) return {};
    if (size_t(length) < sizeof small) return std::string(small, size_t(length));
    std::string text(size_t(length) + 1, '\0');
    Print(&text[0], text.size(), format, args);
    text.resize(size_t(length));
    return text;
}

std::string FormatText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatTextV(format, args);
    va_end(args);
    return text;
}
