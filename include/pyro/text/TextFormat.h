// FormatText: the C library's full printf (floats, %%, 64-bit integers, widths and precisions)
// into a string of any length. The compiler checks every call's arguments against its format.
// Use it, or SetTextPrintf, for numbers; text that is data (a player's name) is never a format:
// hand it to SetText (CTextDraw) or SetPlainText (CTextLabel).
#pragma once

#include <cstdarg>
#include <string>

// The format attribute of the printf in use: MinGW's own C99 printf on Windows.
#if defined(__MINGW32__)
#define PYRO_PRINTF(formatIndex, firstArg) __attribute__((format(gnu_printf, formatIndex, firstArg)))
#elif defined(__GNUC__)
#define PYRO_PRINTF(formatIndex, firstArg) __attribute__((format(printf, formatIndex, firstArg)))
#else
#define PYRO_PRINTF(formatIndex, firstArg)
#endif

// The formatted text; a null format gives an empty string, as does a format the library rejects.
std::string FormatText(const char* format, ...) PYRO_PRINTF(1, 2);
std::string FormatTextV(const char* format, va_list args);  // the same over a va_list
