#include <pyro/file/LzssDecoder.h>

#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "Scratch.h"
#include "tools/LzssEncoder.h"

namespace {

std::string DecodeToString(const std::vector<unsigned char>& packed, uint32_t size, int expected = 0)
{
    CLzssDecoder decoder;
    std::string out(size, '?');
    unsigned char* output = reinterpret_cast<unsigned char*>(&out[0]);
    CHECK(
        decoder.Decode(packed.data(), static_cast<uint32_t>(packed.size()), output, size, false) == expected);
    return out;
}

}  // namespace

TEST_CASE("literals and overlapping references decode as the format says")
{
    // Flag 07: three literals, then a reference to ring slot 0xFEE (where 'a' went) of length 6.
    const std::vector<unsigned char> packed = {0x07, 'a', 'b', 'c', 0xEE, 0xF3};
    CHECK(DecodeToString(packed, 9) == "abcabcabc");
    // Output stops exactly at the requested size, also in the middle of a reference.
    CHECK(DecodeToString(packed, 5) == "abcab");
    CHECK(DecodeToString(packed, 2) == "ab");
}

TEST_CASE("the ring starts zero-filled")
{
    // A reference to slot 0 of length 18 before anything was written gives 18 zero bytes.
    const std::vector<unsigned char> packed = {0x02, 0x00, 0x0F, 'x'};
    CHECK(DecodeToString(packed, 19) == std::string(18, '\0') + "x");
}

TEST_CASE("an output size of 0 writes nothing and allocates nothing")
{
    CLzssDecoder decoder;
    const unsigned char packed[] = {0xFF, 'a'};
    unsigned char byte = 0x5A;
    unsigned char* output = &byte;
    CHECK(decoder.Decode(packed, 2, output, 0, false) == CLzssDecoder::kEmptyOutput);
    CHECK(byte == 0x5A);
    CHECK(decoder.Decode(packed, 2, output, 0, true) == CLzssDecoder::kEmptyOutput);
    CHECK(output == &byte);
    unsigned char* none = nullptr;
    CHECK(decoder.Decode(packed, 2, none, 4, false) == CLzssDecoder::kBadArgument);
}

TEST_CASE("a stream ending early stops at its end and zero-fills the rest")
{
    SUBCASE("inside a literal group")
    {
        CHECK(DecodeToString({ 0xFF, 'a', 'b' }, 5, 2) == std::string("ab\0\0\0", 5));
    }
    SUBCASE("inside a reference's two bytes")
    {
        CHECK(DecodeToString({ 0x01, 'a', 0xEE }, 4, 2) == std::string("a\0\0\0", 4));
    }
    SUBCASE("before a flag byte") { CHECK(DecodeToString({0x01, 'a'}, 3, 2) == std::string("a\0\0", 3)); }
    SUBCASE("no data at all") { CHECK(DecodeToString({}, 2, 2) == std::string(2, '\0')); }
}

TEST_CASE("the allocate flag hands a new block to the caller")
{
    const std::vector<unsigned char> text = Bytes("allocate allocate allocate");
    const std::vector<unsigned char> packed = CLzssEncoder::Encode(text.data(), text.size());
    CLzssDecoder decoder;
    unsigned char* output = nullptr;
    REQUIRE(decoder.Decode(packed.data(), static_cast<uint32_t>(packed.size()), output,
                           static_cast<uint32_t>(text.size()), true) == 0);
    REQUIRE(output != nullptr);
    CHECK(std::vector<unsigned char>(output, output + text.size()) == text);
    delete[] output;
}
