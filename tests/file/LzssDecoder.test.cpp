#include <pyro/file/LzssDecoder.h>

#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "LzssReference.h"
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

namespace {

// A stream of literals and references with chosen distances back from the byte being written:
// short ones that overlap what they write, the block sizes' edges, long ones, and (while the
// output is short) ones reaching into the zero fill before it. Returns the number of bytes it
// decodes to. With widest set, after three groups of literals every group is seven references
// of 18 bytes and one of 3 bytes from 16 back: the most a group can write past the output's
// position when it starts.
size_t MakeStream(uint32_t seed, size_t items, std::vector<unsigned char>& packed, bool widest = false)
{
    static const uint32_t kDistances[] = {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 18, 19, 31, 32, 33,
                                          100, 1000, 4095, 4096};
    uint32_t state = seed;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    packed.clear();
    size_t written = 0;
    size_t flagAt = 0;
    for (size_t item = 0; item < items; ++item) {
        if (item % 8 == 0) {
            flagAt = packed.size();
            packed.push_back(0);
        }
        if (widest ? item < 24 : next() % 3 == 0) {
            packed[flagAt] |= static_cast<unsigned char>(1 << (item % 8));
            packed.push_back(static_cast<unsigned char>(next()));
            written += 1;
            continue;
        }
        uint32_t distance = next() % 4 == 0 ? next() % 4096 + 1 : kDistances[next() % 20];
        uint32_t length = next() % 16 + 3;
        if (widest) {
            distance = item % 8 == 7 ? 16 : 20;
            length = item % 8 == 7 ? 3 : 18;
        }
        const uint32_t r = static_cast<uint32_t>(CLzssDecoder::kStartPosition + written) & 0xFFF;
        const uint32_t position = (r - distance) & 0xFFF;
        packed.push_back(static_cast<unsigned char>(position));
        packed.push_back(static_cast<unsigned char>(((position >> 4) & 0xF0) | (length - 3)));
        written += length;
    }
    return written;
}

// Decodes with CLzssDecoder and with the plain ring decoder; both must give the same bytes and
// the same result, and a stream ending early must leave zeros after what it produced.
void CheckAgainstReference(const std::vector<unsigned char>& packed, uint32_t outputSize)
{
    std::vector<unsigned char> expected;
    const bool complete = ReferenceLzssDecode(packed.data(), packed.size(), outputSize, expected);
    expected.resize(outputSize, 0);
    std::vector<unsigned char> out(outputSize, 0xA5);
    unsigned char* output = out.data();
    CLzssDecoder decoder;
    const int result = decoder.Decode(packed.data(), static_cast<uint32_t>(packed.size()), output, outputSize,
                                      false);
    CHECK(result == (complete ? CLzssDecoder::kDone : CLzssDecoder::kInputEnded));
    CHECK(out == expected);
}

}  // namespace

TEST_CASE("decoding gives the plain ring decoder's bytes for every distance, length and end")
{
    std::vector<unsigned char> packed;
    SUBCASE("crafted distances, cut at every size near the ends")
    {
        for (uint32_t seed = 0; seed <= 16; ++seed) {
            CAPTURE(seed);
            const size_t size = MakeStream(seed, 2000 + seed * 37, packed, seed == 0);
            for (uint32_t outputSize : {1u, 2u, 17u, 100u, 4095u, 4096u, 4097u}) {
                CheckAgainstReference(packed, outputSize);
            }
            for (size_t cut = size > 200 ? size - 200 : 1; cut <= size + 40; ++cut) {
                CheckAgainstReference(packed, static_cast<uint32_t>(cut));
            }
        }
    }
    SUBCASE("random bytes as a stream, also cut inside its last group")
    {
        for (uint32_t seed = 1; seed <= 16; ++seed) {
            CAPTURE(seed);
            packed = RandomBytes(3000 + seed, seed);
            for (size_t keep = packed.size() - 20; keep <= packed.size(); ++keep) {
                const std::vector<unsigned char> cut(packed.begin(), packed.begin() + keep);
                CheckAgainstReference(cut, 1 << 16);
            }
        }
    }
    SUBCASE("encoded text and pixels")
    {
        std::vector<unsigned char> data = RealText();
        for (uint32_t i = 0; i < 20000; ++i) {
            const uint32_t pixel = (i / 50) % 3 == 0 ? 0xFF000000u : 0xFF102030u + (i / 7 % 5);
            for (int b = 0; b < 4; ++b) data.push_back(static_cast<unsigned char>(pixel >> (8 * b)));
        }
        data.insert(data.end(), 5000, 0);
        packed = CLzssEncoder::Encode(data.data(), data.size());
        CheckAgainstReference(packed, static_cast<uint32_t>(data.size()));
    }
}
