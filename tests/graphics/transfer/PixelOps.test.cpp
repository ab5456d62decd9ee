// The pixel rule of every transfer, family by family, in both sets and both directions.
#include "graphics/PlaneTesting.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

namespace {

constexpr uint32_t kKey = 0x00FF00FF;

struct RuleCase {
    const char* op;
    uint32_t src;
    uint32_t dst;
    uint32_t portable;
    uint32_t mmx;  // the same as portable unless the sets may differ; the SSE2 set's too
    uint32_t dstRate = 0;
    uint32_t srcRate = 0;
};

// Five pixels per row: the MMX set takes the first and last alone and the middle in pairs, the
// SSE2 set four together and the last alone.
void Check(const std::vector<RuleCase>& cases)
{
    for (const RuleCase& c : cases) {
        for (const char* suffix : {"", "Mirrored"}) {
            const TransferOp& op = FindTransfer(std::string(c.op) + suffix);
            for (PixelSet set : AllSets()) {
                CAPTURE(op.name);
                CAPTURE(SetName(set));
                CAPTURE(c.src);
                CAPTURE(c.dst);
                auto src = MakePlane(5, 1, std::vector<uint32_t>(5, c.src));
                src->SetColorKey(255, 0, 255);
                auto dst = MakePlane(6, 1, std::vector<uint32_t>(6, c.dst), set);
                op.Run(*dst->GetImpl(), src.get(), 1, 0, c.dstRate, c.srcRate, nullptr, nullptr,
                       nullptr);
                const uint32_t want = set == PixelSet::Portable ? c.portable : c.mmx;
                std::vector<uint32_t> expected(6, want);
                expected[0] = c.dst;
                CHECK(PixelsOf(*dst) == expected);
            }
        }
    }
}

}  // namespace

TEST_CASE("copy: the source word, unless it is the key")
{
    Check({
        {"TransferCopy", 0x12345678, 0xCAFEBABE, 0x12345678, 0x12345678},
        {"TransferCopy", kKey, 0xCAFEBABE, kKey, kKey},
        {"TransferCopyKeyed", kKey, 0xCAFEBABE, 0xCAFEBABE, 0xCAFEBABE},
        // A non-zero alpha byte never matches the key.
        {"TransferCopyKeyed", 0xFFFF00FF, 0xCAFEBABE, 0xFFFF00FF, 0xFFFF00FF},
    });
}

TEST_CASE("average: each channel halves the sum rounding down, the top byte ANDs")
{
    Check({
        {"TransferAverage", 0x00010101, 0x00020202, 0x00010101, 0x00010101},
        {"TransferAverage", 0xF0FF0080, 0x30010040, 0x30800060, 0x30800060},
        {"TransferAverage", 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF},
        {"TransferAverageKeyed", kKey, 0x00446688, 0x00446688, 0x00446688},
        {"TransferAverageKeyed", 0x00FF00FE, 0x00010101, 0x0080007F, 0x0080007F},
    });
}

TEST_CASE("mix: each product rounds down on its own, the sum saturates, the top byte clears")
{
    Check({
        // Destination rate 0xFFFFFF, source rate 0: every non-zero channel loses one.
        {"TransferMix", 0x00FFFFFF, 0xFF804001, 0x007F3F00, 0x007F3F00, 0xFFFFFF, 0},
        {"TransferMix", 0x00FFFFFF, 0x00FFFFFF, 0x00FEFEFE, 0x00FEFEFE, 0x808080, 0x808080},
        {"TransferMix", 0xFFFFFFFF, 0xFFFFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0xFFFFFF, 0xFFFFFF},
        // Each channel has its own weights.
        {"TransferMix", 0x00406080, 0x00C0A0E0, 0x00BF30EF, 0x00BF30EF, 0x00FF0080, 0x000080FF},
        {"TransferMixKeyed", kKey, 0x00C0A0E0, 0x00C0A0E0, 0x00C0A0E0, 0x808080, 0x808080},
        {"TransferMixKeyed", 0x00FF00FE, 0x00000000, 0x007F007F, 0x007F007F, 0x808080, 0x808080},
    });
}

TEST_CASE("add saturates each colour channel; the top byte wraps or saturates by set")
{
    Check({
        {"TransferAdd", 0x80C80001, 0x90640102, 0x10FF0103, 0xFFFF0103},
        // A saturated red channel must not carry into the top byte.
        {"TransferAdd", 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF},
        {"TransferAdd", 0x0080FF7F, 0x00800180, 0x00FFFFFF, 0x00FFFFFF},
        {"TransferAddKeyed", kKey, 0x00101010, 0x00101010, 0x00101010},
        {"TransferAddKeyed", 0x00FF00FE, 0x00101010, 0x00FF10FF, 0x00FF10FF},
    });
}

TEST_CASE("subtract stops each colour channel at 0; the top byte wraps or saturates by set")
{
    Check({
        {"TransferSubtract", 0x20C80010, 0x10640120, 0xF0000110, 0x00000110},
        {"TransferSubtract", 0x00FFFFFF, 0x00000000, 0x00000000, 0x00000000},
        {"TransferSubtract", 0x00010101, 0x00FFFFFF, 0x00FEFEFE, 0x00FEFEFE},
        {"TransferSubtractKeyed", kKey, 0x00101010, 0x00101010, 0x00101010},
        {"TransferSubtractKeyed", 0x00080808, 0x00101010, 0x00080808, 0x00080808},
    });
}

TEST_CASE("opaque clears the top byte; its key test looks at the colour bytes only")
{
    Check({
        {"TransferOpaque", 0xAB123456, 0xCAFEBABE, 0x00123456, 0x00123456},
        {"TransferOpaqueKeyed", 0xAB000000 | kKey, 0x00101010, 0x00101010, 0x00101010},
        {"TransferOpaqueKeyed", kKey, 0x00101010, 0x00101010, 0x00101010},
        {"TransferOpaqueKeyed", 0xAB123456, 0x00101010, 0x00123456, 0x00123456},
    });
}

TEST_CASE("colour only keeps the destination's top byte; its key test looks at the whole word")
{
    Check({
        {"TransferColourOnly", 0xAB123456, 0xCD654321, 0xCD123456, 0xCD123456},
        {"TransferColourOnlyKeyed", kKey, 0xCD654321, 0xCD654321, 0xCD654321},
        {"TransferColourOnlyKeyed", 0x01000000 | kKey, 0xCD654321, 0xCDFF00FF, 0xCDFF00FF},
    });
}

TEST_CASE("alpha: 255 copies, 0 keeps, between them the sets weight the destination differently")
{
    Check({
        {"TransferAlpha", 0xFF123456, 0x00ABCDEF, 0x00123456, 0x00123456},
        {"TransferAlpha", 0x00123456, 0x77ABCDEF, 0x00ABCDEF, 0x00ABCDEF},
        // The portable set weights the destination 255 - a, the MMX set 256 - a.
        {"TransferAlpha", 0x80FF0000, 0x0000FF40, 0x007F7E1F, 0x007F7F20},
        {"TransferAlpha", 0x01FFFFFF, 0x00FFFFFF, 0x00FDFDFD, 0x00FEFEFE},
    });
}

TEST_CASE("alpha mix: factors by alpha from the two rates, exact at alpha 255")
{
    Check({
        // Level 0 of a fade: the destination weighted 255 whatever the alpha.
        {"TransferAlphaMix", 0xFF804020, 0x00808080, 0x007F7F7F, 0x007F7F7F, 0xFFFFFF, 0},
        {"TransferAlphaMix", 0x00804020, 0x00808080, 0x007F7F7F, 0x007F7F7F, 0xFFFFFF, 0},
        // Level 255 at alpha 255: the source weighted 255 and nothing of the destination.
        {"TransferAlphaMix", 0xFF804020, 0x00FFFFFF, 0x007F3F1F, 0x007F3F1F, 0, 0xFFFFFF},
        // Alpha 0x80: F = 96 and G = 160 from rates 0x404040 and 0xC0C0C0.
        {"TransferAlphaMix", 0x80FFFFFF, 0x00FFFFFF, 0x00FEFEFE, 0x00FEFEFE, 0x404040, 0xC0C0C0},
        {"TransferAlphaMix", 0x80FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0xFFFFFF, 0xFFFFFF},
    });
}

TEST_CASE("keyed colour-only transfers keep skipping key pixels after drawing others")
{
    const std::vector<uint32_t> row = {kKey, 0x00111111, kKey, 0x00222222, kKey,
                                       kKey, 0x00333333, kKey, kKey};
    for (const char* name : {"TransferColourOnlyKeyed", "TransferColourOnlyKeyedMirrored"}) {
        for (PixelSet set : AllSets()) {
            CAPTURE(name);
            CAPTURE(SetName(set));
            auto src = MakePlane(9, 1, row);
            src->SetColorKey(255, 0, 255);
            auto dst = MakePlane(9, 1, std::vector<uint32_t>(9, 0xEE000000), set);
            FindTransfer(name).Run(*dst->GetImpl(), src.get(), 0, 0, 0, 0, nullptr, nullptr,
                                   nullptr);
            std::vector<uint32_t> expected(9, 0xEE000000);
            for (size_t i = 0; i < row.size(); ++i) {
                const uint32_t s = std::string(name).find("Mirrored") != std::string::npos
                                       ? row[row.size() - 1 - i]
                                       : row[i];
                if (s != kKey) expected[i] = 0xEE000000 | s;
            }
            CHECK(PixelsOf(*dst) == expected);
        }
    }
}
