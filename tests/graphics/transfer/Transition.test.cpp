// The transition effects: the common frame, the random numbers they share, exact pictures of a
// few effects, and properties over all of them (clip respected, reveals only grow, no crash on
// degenerate planes).
#include <pyro/graphics/transfer/Transition.h>

#include "graphics/PlaneTesting.h"
#include "graphics/transfer/TransitionRandom.h"

#include <doctest/doctest.h>

#include <set>
#include <string>
#include <vector>

namespace {

constexpr uint32_t Background = 0xFF102030;  // no source pixel has a top byte
constexpr int32_t AllPhases[] = {1, 17, 64, 100, 128, 161, 192, 230, 255};

// A source whose pixels all differ from each other and from the background, with some alpha
// so that the alpha modes have something to blend.
std::unique_ptr<CPlane> Source(int32_t w, int32_t h, bool alpha = false)
{
    std::vector<uint32_t> pixels(size_t(w) * size_t(h));
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0x00400000u + uint32_t(i) * 0x0103u + (alpha ? uint32_t(i % 7) << 29 : 0);
    auto plane = MakePlane(w, h, pixels);
    if (alpha) plane->GetImpl()->GetAlphaFlag() = 1;
    return plane;
}

std::unique_ptr<CPlane> Destination(int32_t w, int32_t h)
{
    return MakePlane(w, h, std::vector<uint32_t>(size_t(w) * size_t(h), Background));
}

// The pixels of `dst` that the effect changed, as a mask.
std::vector<bool> Drawn(const CPlane& dst)
{
    std::vector<bool> mask;
    for (uint32_t p : PixelsOf(dst)) mask.push_back(p != Background);
    return mask;
}

std::vector<uint32_t> Render(int32_t effect, const CPlane& src, int32_t dw, int32_t dh, int32_t x,
                             int32_t y, int32_t phase, int32_t mode = 0)
{
    auto dst = Destination(dw, dh);
    TransitionTable[effect](dst.get(), const_cast<CPlane*>(&src), x, y, phase, mode, 200, nullptr);
    return PixelsOf(*dst);
}

// A 40 by 30 drawing target that records which operations the effects call, as a widget would
// see them.
class CRecorder : public CStubTarget {
public:
    std::multiset<std::string> calls;
    std::set<int32_t> levels;
    std::set<const Rect*> clips;

    CRecorder() : CStubTarget(40, 30) {}

    int32_t Record(const char* name, Rect* clip, int32_t level = -1)
    {
        calls.insert(name);
        clips.insert(clip);
        if (level >= 0) levels.insert(level);
        return 0;
    }
    int32_t Blt(CPlane*, int32_t, int32_t, const Rect*, const Size*, Rect* c) override { return Record("Blt", c); }
    int32_t BltFast(CPlane*, int32_t, int32_t, const Rect*, const Size*, Rect* c) override { return Record("BltFast", c); }
    int32_t BlendBltFade(CPlane*, int32_t, int32_t, int32_t l, const Rect*, const Size*, Rect* c) override { return Record("BlendBltFade", c, l); }
    int32_t BlendBltFastFade(CPlane*, int32_t, int32_t, int32_t l, const Rect*, const Size*, Rect* c) override { return Record("BlendBltFastFade", c, l); }
    int32_t BlendBltAlphaFade(CPlane*, int32_t, int32_t, int32_t l, const Rect*, const Size*, Rect* c) override { return Record("BlendBltAlphaFade", c, l); }
    int32_t BlendBltNatural(CPlane*, int32_t, int32_t, int32_t l, const Rect*, const Size*, Rect* c) override { return Record("BlendBltNatural", c, l); }
    int32_t BltNatural(CPlane*, int32_t, int32_t, const Rect*, const Size*, Rect* c) override { return Record("BltNatural", c); }
    int32_t BlendBlt(CPlane*, int32_t, int32_t, uint32_t, uint32_t, const Rect*, const Size*, Rect* c) override { return Record("other", c); }
    int32_t BlendBltFast(CPlane*, int32_t, int32_t, uint32_t, uint32_t, const Rect*, const Size*, Rect* c) override { return Record("other", c); }
    int32_t BlendBltAlphaLevel(CPlane*, int32_t, int32_t, int32_t) override { return Record("other", nullptr); }
    int32_t Mosaic(int32_t, const Rect*) override { return Record("Mosaic", nullptr); }
    int32_t Negate(const Rect*) override { return Record("Negate", nullptr); }
};

}  // namespace

TEST_CASE("the transition generator is the C runtime's, and the byte table starts from seed 0")
{
    CRuntimeRandom one;
    CHECK(one.Next() == 41);
    CHECK(one.Next() == 18467);
    CHECK(one.Next() == 6334);
    CRuntimeRandom zero(0);
    CHECK(zero.Next() == 38);
    CHECK(zero.Next() == 7719);

    const uint8_t* table = RandomByteTable();
    CHECK(table[0] == 38);
    CHECK(table[1] == (7719 & 0xFF));
    CRuntimeRandom again(0);
    for (int i = 0; i < 256; ++i) REQUIRE(table[i] == (again.Next() & 0xFF));

    SeedTransitionRand(1234);
    CRuntimeRandom same(1234);
    for (int i = 0; i < 10; ++i) CHECK(TransitionRand() == same.Next());
}

TEST_CASE("every effect draws nothing at phase 0 and the whole source in the mode's transfer at 256")
{
    auto src = Source(24, 16, true);
    src->SetColorKey(0x40, 0x00, 0x00);  // the first pixel is transparent to the keyed modes
    for (int32_t mode = 0; mode <= 4; ++mode) {
        // What the mode's transfer draws on its own.
        auto expected = Destination(40, 30);
        Rect clip{2, 3, 35, 28};
        Rect refClip = clip;
        switch (mode) {
        case 0: expected->BltFast(src.get(), 5, 7, nullptr, nullptr, &refClip); break;
        case 1: expected->Blt(src.get(), 5, 7, nullptr, nullptr, &refClip); break;
        case 2: expected->BlendBltAlphaFade(src.get(), 5, 7, 200, nullptr, nullptr, &refClip); break;
        case 3: expected->BltNatural(src.get(), 5, 7, nullptr, nullptr, &refClip); break;
        default: break;
        }
        for (int32_t effect = 0; effect < TransitionCount; ++effect) {
            CAPTURE(effect);
            CAPTURE(mode);
            for (int32_t phase : {0, -5}) {
                auto dst = Destination(40, 30);
                Rect c = clip;
                CHECK(TransitionTable[effect](dst.get(), src.get(), 5, 7, phase, mode, 200, &c) == 0);
                CHECK(PixelsOf(*dst) == PixelsOf(*Destination(40, 30)));
            }
            for (int32_t phase : {256, 300}) {
                auto dst = Destination(40, 30);
                Rect c = clip;
                CHECK(TransitionTable[effect](dst.get(), src.get(), 5, 7, phase, mode, 200, &c) == 0);
                CHECK(PixelsOf(*dst) == PixelsOf(*expected));
            }
        }
    }
}

TEST_CASE("effects 0 and 1 are one function; 0 and 2 draw mirrored copies")
{
    CHECK((TransitionTable[0] == TransitionTable[1]));
    auto src = Source(7, 5);
    const std::vector<uint32_t> s = PixelsOf(*src);
    const std::vector<uint32_t> columns = Render(0, *src, 7, 5, 0, 0, 100);
    const std::vector<uint32_t> rows = Render(2, *src, 7, 5, 0, 0, 100);
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 7; ++x) {
            CHECK(columns[y * 7 + x] == s[y * 7 + (6 - x)]);
            CHECK(rows[y * 7 + x] == s[(4 - y) * 7 + x]);
        }
}

TEST_CASE("effect 12 at phase 128 on 100 by 50 draws exactly the centred square (25, 0)-(75, 50)")
{
    auto src = Source(100, 50);
    const std::vector<uint32_t> s = PixelsOf(*src);
    const std::vector<uint32_t> out = Render(12, *src, 100, 50, 0, 0, 128);
    for (int32_t y = 0; y < 50; ++y)
        for (int32_t x = 0; x < 100; ++x) {
            const bool inside = x >= 25 && x < 75;
            REQUIRE(out[y * 100 + x] == (inside ? s[y * 100 + x] : Background));
        }
}

TEST_CASE("effect 46 at phase 16 draws exactly the pixels whose spiral value is 0 or 1")
{
    auto src = Source(13, 9);
    const std::vector<uint32_t> s = PixelsOf(*src);
    const std::vector<uint32_t> out = Render(46, *src, 13, 9, 0, 0, 16);
    // The outside-in spiral starts along the top row of every 4 by 4 block.
    for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 13; ++x) {
            const bool first = y % 4 == 0 && x % 4 < 2;
            REQUIRE(out[y * 13 + x] == (first ? s[y * 13 + x] : Background));
        }
}

TEST_CASE("the tile animations draw the same picture every run; dissolves repeat with their seed")
{
    auto src = Source(33, 21);
    for (int32_t effect = 55; effect <= 68; ++effect) {
        CAPTURE(effect);
        CHECK(Render(effect, *src, 50, 40, 8, 9, 90) == Render(effect, *src, 50, 40, 8, 9, 90));
    }
    for (int32_t effect : {5, 6, 7, 8, 9, 10, 11, 21}) {
        CAPTURE(effect);
        SeedTransitionRand(99);
        const std::vector<uint32_t> first = Render(effect, *src, 50, 40, 8, 9, 140);
        SeedTransitionRand(99);
        CHECK(Render(effect, *src, 50, 40, 8, 9, 140) == first);
        SeedTransitionRand(100);
        CHECK(Render(effect, *src, 50, 40, 8, 9, 140) != first);
    }
}

TEST_CASE("nothing is drawn outside the clip rectangle, for every effect, mode and phase")
{
    auto src = Source(29, 19, true);
    struct Placement {
        int32_t x, y;
        Rect clip;
    };
    // The source straddles the clip; then it hangs off the destination's top-left corner.
    const Placement placements[] = {{6, 5, {9, 4, 31, 20}}, {-7, -4, {0, 2, 17, 11}}};
    for (const Placement& at : placements)
        for (int32_t effect = 0; effect < TransitionCount; ++effect)
            for (int32_t mode = 0; mode <= 3; ++mode)
                for (int32_t phase : AllPhases) {
                    auto dst = Destination(44, 32);
                    Rect clip = at.clip;
                    CHECK(TransitionTable[effect](dst.get(), src.get(), at.x, at.y, phase, mode, 130, &clip) == 0);
                    const std::vector<bool> drawn = Drawn(*dst);
                    for (int32_t y = 0; y < 32; ++y)
                        for (int32_t x = 0; x < 44; ++x) {
                            const bool inClip = x >= at.clip.left && x < at.clip.right &&
                                                y >= at.clip.top && y < at.clip.bottom;
                            if (!inClip && drawn[size_t(y) * 44 + x]) {
                                CAPTURE(effect);
                                CAPTURE(mode);
                                CAPTURE(phase);
                                CAPTURE(x);
                                CAPTURE(y);
                                FAIL("drawn outside the clip");
                            }
                        }
                }
}

TEST_CASE("the mosaic and the negative treat only the area the source covers")
{
    auto src = Source(16, 12);
    const std::vector<uint32_t> s = PixelsOf(*src);
    for (int32_t effect : {69, 70}) {
        CAPTURE(effect);
        const std::vector<uint32_t> out = Render(effect, *src, 40, 30, 5, 7, 100);
        size_t changed = 0;
        for (int32_t y = 0; y < 30; ++y)
            for (int32_t x = 0; x < 40; ++x) {
                const bool covered = x >= 5 && x < 21 && y >= 7 && y < 19;
                if (!covered) REQUIRE(out[size_t(y) * 40 + x] == Background);
                else changed += out[size_t(y) * 40 + x] != s[size_t(y - 7) * 16 + (x - 5)];
            }
        CHECK(changed > 0);  // and did treat it
    }
}

TEST_CASE("no effect fails on a 1 by 1 source, an empty source, an empty destination or a far position")
{
    auto tiny = Source(1, 1);
    CPlane empty;
    auto dst = Destination(16, 12);
    CPlane emptyDst;
    for (int32_t effect = 0; effect < TransitionCount; ++effect) {
        CAPTURE(effect);
        for (int32_t mode = 0; mode <= 3; ++mode)
            for (int32_t phase : AllPhases) {
                CHECK(TransitionTable[effect](dst.get(), tiny.get(), 3, 2, phase, mode, 80, nullptr) == 0);
                CHECK(TransitionTable[effect](dst.get(), &empty, 3, 2, phase, mode, 80, nullptr) == 0);
                CHECK(TransitionTable[effect](&emptyDst, tiny.get(), 0, 0, phase, mode, 80, nullptr) == 0);
                CHECK(TransitionTable[effect](dst.get(), tiny.get(), INT32_MAX, INT32_MIN, phase, mode, 80, nullptr) == 0);
                CHECK(TransitionTable[effect](dst.get(), tiny.get(), INT32_MIN, INT32_MAX, phase, mode, 80, nullptr) == 0);
            }
        CHECK(TransitionTable[effect](dst.get(), &empty, 0, 0, 256, 0, 0, nullptr) == 0);
        CHECK(TransitionTable[effect](nullptr, tiny.get(), 0, 0, 100, 0, 0, nullptr) == 0);
        CHECK(TransitionTable[effect](dst.get(), nullptr, 0, 0, 100, 0, 0, nullptr) == 0);
    }
    // A 1 by 1 source at a far position reaches nothing; the destination is untouched.
    auto far = Destination(16, 12);
    TransitionTable[12](far.get(), tiny.get(), INT32_MAX, INT32_MAX, 200, 0, 0, nullptr);
    CHECK(PixelsOf(*far) == PixelsOf(*Destination(16, 12)));
}

TEST_CASE("the wipes, squares, discs, blinds and dithers only ever add to what they have shown")
{
    auto src = Source(37, 23);
    std::vector<int32_t> reveals;
    for (int32_t e = 12; e <= 20; ++e) reveals.push_back(e);
    for (int32_t e = 28; e <= 53; ++e) reveals.push_back(e);
    for (int32_t e = 71; e <= 78; ++e) reveals.push_back(e);
    const std::vector<uint32_t> s = PixelsOf(*src);
    for (int32_t effect : reveals) {
        CAPTURE(effect);
        std::vector<uint32_t> before = Render(effect, *src, 37, 23, 0, 0, 1);
        for (int32_t phase = 9; phase < 256; phase += 8) {
            CAPTURE(phase);
            const std::vector<uint32_t> after = Render(effect, *src, 37, 23, 0, 0, phase);
            // A revealed pixel is the source's own pixel and stays revealed.
            size_t wrong = 0;
            size_t hidden = 0;
            for (size_t i = 0; i < after.size(); ++i) {
                if (after[i] != Background && after[i] != s[i]) ++wrong;
                if (before[i] != Background && after[i] != before[i]) ++hidden;
            }
            CHECK(wrong == 0);
            CHECK(hidden == 0);
            before = after;
        }
    }
}

TEST_CASE("the staircase wipes leave their last column or row to the final whole transfer")
{
    auto src = Source(40, 24);
    for (int32_t effect = 71; effect <= 78; ++effect) {
        CAPTURE(effect);
        const bool rows = effect >= 75;
        const std::vector<uint32_t> out = Render(effect, *src, 40, 24, 0, 0, 255);
        for (int32_t i = 0; i < (rows ? 40 : 24); ++i) {
            const size_t last = rows ? size_t(23) * 40 + i : size_t(i) * 40 + 39;
            const size_t inner = rows ? size_t(22) * 40 + i : size_t(i) * 40 + 38;
            CHECK(out[last] == Background);
            CHECK(out[inner] == PixelsOf(*src)[inner]);
        }
    }
}

TEST_CASE("the smear wipes stretch the edge line of the revealed part over the rest")
{
    auto src = Source(20, 6);
    const std::vector<uint32_t> s = PixelsOf(*src);
    // Phase 128: ten columns are revealed; the source stands at x 10 of a 40-wide destination.
    const std::vector<uint32_t> fromRight = Render(79, *src, 40, 6, 10, 0, 128);
    const std::vector<uint32_t> fromLeft = Render(80, *src, 40, 6, 10, 0, 128);
    for (int32_t y = 0; y < 6; ++y) {
        CAPTURE(y);
        for (int32_t x = 0; x < 40; ++x) {
            CAPTURE(x);
            // 79: columns 10-19 in place at 20-29, column 9 from the destination's left edge.
            const uint32_t right = x < 20 ? s[y * 20 + 9] : x < 30 ? s[y * 20 + x - 10] : Background;
            // 80: columns 0-9 in place at 10-19, column 10 from there to the right edge.
            const uint32_t left = x < 10 ? Background : x < 20 ? s[y * 20 + x - 10] : s[y * 20 + 10];
            CHECK(fromRight[y * 40 + x] == right);
            CHECK(fromLeft[y * 40 + x] == left);
        }
    }
}

TEST_CASE("the effects draw on any target through the mode's operation and pass the clip on")
{
    auto src = Source(16, 12);
    const char* perMode[] = {"BltFast", "Blt", "BlendBltAlphaFade", "BltNatural"};
    const char* fadePerMode[] = {"BlendBltFastFade", "BlendBltFade", "BlendBltAlphaFade", "BlendBltNatural"};
    for (int32_t effect = 0; effect < TransitionCount; ++effect)
        for (int32_t mode = 0; mode <= 3; ++mode) {
            CAPTURE(effect);
            CAPTURE(mode);
            CRecorder target;
            Rect clip{1, 1, 39, 29};
            TransitionTable[effect](&target, src.get(), 4, 3, 150, mode, 77, &clip);
            std::set<std::string> expected = {effect == 54 ? fadePerMode[mode] : perMode[mode]};
            if (effect == 69) expected.insert("Mosaic");
            if (effect == 70) expected.insert("Negate");
            // The noisy circle may leave every block to chance on so small a source.
            if (effect != 21) CHECK(!target.calls.empty());
            for (const std::string& call : target.calls) CHECK(expected.count(call) == 1);
            // The fade level goes to the alpha mode; the cross-fade uses the phase instead.
            if (effect == 54) CHECK(target.levels == std::set<int32_t>{150});
            else if (mode == 2) CHECK(target.levels == std::set<int32_t>{77});
            target.clips.erase(nullptr);  // Mosaic and Negate take the drawn area instead
            for (const Rect* passed : target.clips) CHECK(passed == &clip);
        }
}
