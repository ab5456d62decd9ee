#include "tools/LzssEncoder.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

#include <pyro/file/LzssDecoder.h>

namespace {

std::vector<unsigned char> Random(size_t size, uint32_t seed, unsigned range = 256)
{
    std::vector<unsigned char> bytes(size);
    for (unsigned char& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<unsigned char>((seed >> 24) % range);
    }
    return bytes;
}

// Encodes, checks the stream decodes back exactly, and returns the coded size.
size_t RoundTrip(const std::vector<unsigned char>& data)
{
    const std::vector<unsigned char> packed = CLzssEncoder::Encode(data.data(), data.size());
    CLzssDecoder decoder;
    std::vector<unsigned char> out(data.size() + 1, 0xEE);
    unsigned char* output = out.data();
    const int result = decoder.Decode(packed.data(), static_cast<uint32_t>(packed.size()), output,
                                      static_cast<uint32_t>(data.size()), false);
    CHECK(result == (data.empty() ? CLzssDecoder::kEmptyOutput : CLzssDecoder::kDone));
    CHECK(out.back() == 0xEE);  // nothing beyond the requested size
    out.pop_back();
    CHECK(out == data);
    return packed.size();
}

}  // namespace

TEST_CASE("encoded data decodes back exactly")
{
    SUBCASE("empty") { CHECK(RoundTrip({}) == 0); }
    SUBCASE("short inputs of every length around a flag group")
    {
        for (size_t n = 1; n <= 40; ++n) RoundTrip(Random(n, uint32_t(n), 3));
    }
    SUBCASE("random bytes stay within an eighth over their size")
    {
        const std::vector<unsigned char> data = Random(100000, 7);
        CHECK(RoundTrip(data) <= data.size() + data.size() / 8 + 1);
    }
    SUBCASE("few distinct bytes, many long and overlapping matches") { RoundTrip(Random(200000, 11, 4)); }
    SUBCASE("repeats at exactly the largest distance")
    {
        std::vector<unsigned char> block = Random(4096, 3);
        std::vector<unsigned char> data = block;
        data.insert(data.end(), block.begin(), block.end());
        data.insert(data.end(), block.begin(), block.end());
        CHECK(RoundTrip(data) < 4096 * 9 / 8 + 1100);  // without them over 9000
    }
    SUBCASE("repeats just beyond the largest distance are not referenced")
    {
        std::vector<unsigned char> block = Random(4097, 5);
        std::vector<unsigned char> data = block;
        data.insert(data.end(), block.begin(), block.end());
        RoundTrip(data);
    }
}

TEST_CASE("leading zeros are coded as references into the zero-filled ring")
{
    std::vector<unsigned char> data(4000, 0);
    data.push_back('x');
    // 4000 zeros need 223 references of 18; no literal.
    CHECK(RoundTrip(data) < 700);
    // A run of a byte other than zero needs a literal first.
    std::vector<unsigned char> ones(18, 1);
    CHECK(RoundTrip(ones) == 1 + 1 + 2);
}
