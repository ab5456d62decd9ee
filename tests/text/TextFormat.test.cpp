#include <pyro/text/TextFormat.h>

#include <doctest/doctest.h>

#include <cstdint>
#include <string>

TEST_CASE("the full printf: floats, percent signs, 64-bit integers, widths, any length")
{
    CHECK(FormatText("%.1f", 3.14159) == "3.1");
    CHECK(FormatText("%6.2f|%-4d|%04x", -2.5, 7, 0xBEEFu) == " -2.50|7   |beef");
    CHECK(FormatText("100%%") == "100%");
    CHECK(FormatText("%lld %llu", static_cast<long long>(INT64_MIN), static_cast<unsigned long long>(UINT64_MAX)) ==
          "-9223372036854775808 18446744073709551615");
    CHECK(FormatText("%zu", sizeof(uint64_t)) == "8");
    CHECK(FormatText("%s", "名前%s") == "名前%s");  // an argument is never a format
    // Longer than any fixed buffer: nothing cut.
    const std::string wide = FormatText("[%600s]", "x");
    CHECK(wide.size() == 602);
    CHECK(wide.substr(598) == "  x]");
    CHECK(FormatText(nullptr).empty());
}
