// Lower-casing of Shift-JIS names: only single-byte A to Z change, as in the C locale.
#include <pyro/file/ShiftJis.h>

void ToLowerSjis(char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (IsSjisLeadByte(byte)) {
            ++i;  // the second byte stays as it is
        } else if (byte >= 'A' && byte <= 'Z') {
            text[i] = static_cast<char>(byte - 'A' + 'a');
        }
    }
}

void ToLowerSjis(std::string& text)
{
    ToLowerSjis(&text[0], text.size());
}
