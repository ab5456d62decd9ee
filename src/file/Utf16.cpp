// The two conversions through the system's code page 932 tables, never through the ANSI code page.
#include <pyro/file/Utf16.h>

#include <pyro/file/StringEncoding.h>

#include <climits>
#include <windows.h>

namespace {

constexpr UINT kShiftJis = 932;

}  // namespace

bool SjisToUtf16(const std::string& text, std::wstring& wide)
{
    wide.clear();
    if (text.empty()) return true;
    if (text.size() > INT_MAX) return false;
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0) return false;
    wide.resize(static_cast<size_t>(length));
    if (MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, text.data(), size, &wide[0], length) != length) {
        wide.clear();
        return false;
    }
    return true;
}

bool Utf16ToSjis(const wchar_t* wide, size_t length, std::string& text)
{
    text.clear();
    if (length == 0) return true;
    if (!wide || length > INT_MAX) return false;
    const int size = static_cast<int>(length);
    // Without WC_NO_BEST_FIT_CHARS "é" would become "e" and "¥" a backslash: another file.
    BOOL lossy = FALSE;
    const int bytes = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0, nullptr, &lossy);
    if (bytes <= 0 || lossy) return false;
    text.resize(static_cast<size_t>(bytes));
    if (WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide, size, &text[0], bytes, nullptr, &lossy) != bytes ||
        lossy) {
        text.clear();
        return false;
    }
    return true;
}

bool Utf16ToSjis(const std::wstring& wide, std::string& text)
{
    return Utf16ToSjis(wide.data(), wide.size(), text);
}

bool ToWide(const std::string& text, std::wstring& wide)
{
    return IsUtf8Program() ? Utf8ToUtf16(text, wide) : SjisToUtf16(text, wide);
}

bool FromWide(const wchar_t* wide, size_t length, std::string& text)
{
    if (!IsUtf8Program()) return Utf16ToSjis(wide, length, text);
    if (length != 0 && !wide) {
        text.clear();
        return false;
    }
    return Utf16ToUtf8(wide, length, text);
}

bool FromWide(const std::wstring& wide, std::string& text)
{
    return FromWide(wide.data(), wide.size(), text);
}

bool ProgramToSjis(const std::string& text, std::string& sjis)
{
    if (!IsUtf8Program()) {
        sjis = text;
        return true;
    }
    std::wstring wide;
    if (!Utf8ToUtf16(text, wide)) {
        sjis.clear();
        return false;
    }
    return Utf16ToSjis(wide, sjis);
}

bool SjisToProgram(const std::string& sjis, std::string& text)
{
    if (!IsUtf8Program()) {
        text = sjis;
        return true;
    }
    std::wstring wide;
    if (!SjisToUtf16(sjis, wide)) {
        text.clear();
        return false;
    }
    return Utf16ToUtf8(wide.data(), wide.size(), text);
}
