#include <pyro/graphics/Plane.h>

#include <pyro/graphics/CPUKind.h>
#include "graphics/CPUKindProbe.h"
#include "graphics/PlaneTesting.h"

#include <doctest/doctest.h>

#include <cstdlib>
#include <string>

namespace {

// A drawing target that keeps the base behaviours and records which slot they end in, as the
// screen and the widgets do. It reports a size of 10 by 6.
class CRecordingTarget : public CStubTarget {
public:
    std::string last;
    int32_t x = 0;
    int32_t y = 0;
    uint32_t dstRate = 0;
    uint32_t srcRate = 0;

    CRecordingTarget() : CStubTarget(10, 6) {}

    int32_t Record(const char* slot, int32_t px, int32_t py, uint32_t d = 0, uint32_t s = 0)
    {
        last = slot;
        x = px;
        y = py;
        dstRate = d;
        srcRate = s;
        return 0;
    }
    int32_t Blt(CPlane*, int32_t px, int32_t py, const Rect*, const Size*, Rect*) override
    {
        return Record("Blt", px, py);
    }
    int32_t BltFast(CPlane*, int32_t px, int32_t py, const Rect*, const Size*, Rect*) override
    {
        return Record("BltFast", px, py);
    }
    int32_t BlendBlt(CPlane*, int32_t px, int32_t py, uint32_t d, uint32_t s, const Rect*,
                     const Size*, Rect*) override
    {
        return Record("BlendBlt", px, py, d, s);
    }
    int32_t BlendBltFast(CPlane*, int32_t px, int32_t py, uint32_t d, uint32_t s, const Rect*,
                         const Size*, Rect*) override
    {
        return Record("BlendBltFast", px, py, d, s);
    }
    int32_t BlendBltAlpha(CPlane*, int32_t px, int32_t py, uint32_t d, uint32_t s, const Rect*,
                          const Size*, Rect*) override
    {
        return Record("BlendBltAlpha", px, py, d, s);
    }
    int32_t BltAlpha(CPlane*, int32_t px, int32_t py, const Rect*, const Size*, Rect*) override
    {
        return Record("BltAlpha", px, py);
    }
};

}  // namespace

TEST_CASE("the processor kind picks the implementation")
{
    const int32_t kind = GetCPUKind();
    CHECK(kind == GetCPUKind());
    CHECK(kind == ChooseCPUKind(ProbeCPUKind(), std::getenv("PYRO_CPU_KIND")));
#if defined(__x86_64__)
    CHECK(ProbeCPUKind() >= 5);  // every 64-bit x86 processor has MMX, conditional moves and SSE2
#endif
    for (int32_t k = 1; k <= 6; ++k) {
        CAPTURE(k);
        CPlane plane(CPlane::CreateImpl(k), true);
        CPlaneImpl* impl = plane.GetImpl();
        CHECK((dynamic_cast<CDIBPlaneAVX2*>(impl) != nullptr) == (k == 6));
        CHECK((dynamic_cast<CDIBPlaneSSE2*>(impl) != nullptr) == (k >= 5));
        CHECK((dynamic_cast<CDIBPlaneMMXCMOV*>(impl) != nullptr) == (k >= 4));
        CHECK((dynamic_cast<CDIBPlaneMMX*>(impl) != nullptr) == (k >= 3));
        CHECK(dynamic_cast<CDIBPlane*>(impl) != nullptr);
    }
    CPlane plane;
    CHECK((dynamic_cast<CDIBPlaneMMX*>(plane.GetImpl()) != nullptr) == (kind >= 3));
    CHECK((dynamic_cast<CDIBPlaneSSE2*>(plane.GetImpl()) != nullptr) == (kind >= 5));
    CHECK((dynamic_cast<CDIBPlaneAVX2*>(plane.GetImpl()) != nullptr) == (kind == 6));
}

TEST_CASE("the switch holds the kind down to the one it names, never above the processor's")
{
    CHECK(ChooseCPUKind(5, nullptr) == 5);
    CHECK(ChooseCPUKind(5, "1") == 1);
    CHECK(ChooseCPUKind(5, "3") == 3);
    CHECK(ChooseCPUKind(6, "5") == 5);
    CHECK(ChooseCPUKind(6, "6") == 6);
    CHECK(ChooseCPUKind(3, "5") == 3);
    CHECK(ChooseCPUKind(2, "4") == 2);
    for (const char* ignored : {"", "0", "7", "9", "35", "3 ", " 3", "sse2", "-1"}) {
        CAPTURE(ignored);
        CHECK(ChooseCPUKind(4, ignored) == 4);
    }
}

TEST_CASE("a plane lent an implementation leaves it to its owner")
{
    CDIBPlane impl;
    {
        CPlane plane(&impl, false);
        CHECK(plane.GetImpl() == &impl);
        CHECK(plane.Create(2, 2) == 0);
    }
    CHECK(impl.GetPixels() != nullptr);  // still alive, and not released by the plane
}

TEST_CASE("a new plane reports nothing, and its type is 2 where the base says 0")
{
    CPlane plane;
    int32_t w = -1;
    int32_t h = -1;
    plane.GetSize(&w, &h);
    CHECK(w == 0);
    CHECK(h == 0);
    CHECK_FALSE(plane.IsLoaded());
    CHECK_FALSE(plane.IsAlpha());
    CHECK(plane.GetImpl()->GetColorKey() == 0);
    CHECK(plane.GetType() == 2);
    CHECK(plane.LoadEx("a", "b") == 1);
    CRecordingTarget target;
    CHECK(target.GetType() == 0);
    CHECK(target.Create(1, 1) == 1);
    CHECK_FALSE(target.IsAlpha());
}

TEST_CASE("fade levels become rate pairs from their low byte")
{
    CRecordingTarget target;
    CPlane src;
    target.BlendBltFade(&src, 1, 2, 0x100 + 0x40, nullptr, nullptr, nullptr);
    CHECK(target.last == "BlendBlt");
    CHECK(target.dstRate == 0xBFBFBF);
    CHECK(target.srcRate == 0x404040);
    target.BlendBltFastFade(&src, 1, 2, 0, nullptr, nullptr, nullptr);
    CHECK(target.last == "BlendBltFast");
    CHECK(target.dstRate == 0xFFFFFF);
    CHECK(target.srcRate == 0);
    target.BlendBltAlphaFade(&src, 1, 2, 255, nullptr, nullptr, nullptr);
    CHECK(target.last == "BlendBltAlpha");
    CHECK(target.dstRate == 0);
    CHECK(target.srcRate == 0xFFFFFF);
}

TEST_CASE("the natural transfers follow the source's alpha flag")
{
    CRecordingTarget target;
    auto plain = MakePlane(2, 2);
    auto alpha = MakePlane(2, 2);
    alpha->GetImpl()->GetAlphaFlag() = 1;

    target.BltNatural(plain.get(), 0, 0, nullptr, nullptr, nullptr);
    CHECK(target.last == "Blt");
    target.BltNatural(alpha.get(), 0, 0, nullptr, nullptr, nullptr);
    CHECK(target.last == "BltAlpha");

    // Above 254 the base takes the unweighted transfer...
    target.BlendBltNatural(plain.get(), 0, 0, 255, nullptr, nullptr, nullptr);
    CHECK(target.last == "Blt");
    target.BlendBltNatural(alpha.get(), 0, 0, 300, nullptr, nullptr, nullptr);
    CHECK(target.last == "BltAlpha");
    // ...below it fades by the level.
    target.BlendBltNatural(plain.get(), 0, 0, 100, nullptr, nullptr, nullptr);
    CHECK(target.last == "BlendBlt");
    CHECK(target.srcRate == 100 * 0x010101u);
    target.BlendBltNatural(alpha.get(), 0, 0, 100, nullptr, nullptr, nullptr);
    CHECK(target.last == "BlendBltAlpha");
    CHECK(target.dstRate == 0xFFFFFFu - 100 * 0x010101u);

    // A plane blends at 255 instead: the source weighted 255/256.
    auto dst = MakePlane(1, 1, {0x000000});
    auto src = MakePlane(1, 1, {0x00C86432});
    dst->BlendBltNatural(src.get(), 0, 0, 255, nullptr, nullptr, nullptr);
    CHECK(PixelsOf(*dst)[0] == 0x00C76331);
    dst->BlendBltNatural(src.get(), 0, 0, 256, nullptr, nullptr, nullptr);
    CHECK(PixelsOf(*dst)[0] == 0x00C86432);
}

TEST_CASE("TransferFade draws nothing at level 0 and the natural transfer at 256")
{
    for (PixelSet set : AllSets()) {
        CAPTURE(SetName(set));
        auto dst = MakePlane(2, 1, {0x00101010, 0x00101010}, set);
        auto src = MakePlane(2, 1, {0x00FF00FF, 0x00808080});
        src->SetColorKey(255, 0, 255);
        CPlaneImpl* impl = dst->GetImpl();
        impl->TransferFade(src.get(), 0, 0, 0, nullptr, nullptr, nullptr);
        impl->TransferFade(src.get(), 0, 0, -5, nullptr, nullptr, nullptr);
        CHECK(PixelsOf(*dst) == std::vector<uint32_t>{0x00101010, 0x00101010});
        impl->TransferFade(src.get(), 0, 0, 256, nullptr, nullptr, nullptr);
        CHECK(PixelsOf(*dst) == std::vector<uint32_t>{0x00101010, 0x00808080});
        // Between the ends: keyed mix, source by the level, destination by 255 - level.
        impl->Clear(0x00101010, nullptr);
        impl->TransferFade(src.get(), 0, 0, 128, nullptr, nullptr, nullptr);
        CHECK(PixelsOf(*dst) == std::vector<uint32_t>{0x00101010, 0x00474747});
        // An alpha source takes the alpha paths.
        src->GetImpl()->GetAlphaFlag() = 1;
        src->GetImpl()->GetPixels()[0] = 0xFF204060;
        impl->TransferAuto(src.get(), 0, 0, nullptr, nullptr, nullptr);
        CHECK(PixelsOf(*dst)[0] == 0x00204060);
        impl->TransferFade(src.get(), 0, 0, 1000, nullptr, nullptr, nullptr);
        CHECK(PixelsOf(*dst)[0] == 0x00204060);
    }
}

TEST_CASE("BltAnchored places the source by its centre or a corner")
{
    CRecordingTarget target;
    auto src = MakePlane(5, 3);
    const struct {
        int32_t anchor, x, y;
    } cases[] = {{0, 98, 199}, {1, 100, 200}, {2, 95, 200}, {3, 100, 197}, {4, 95, 197}};
    for (const auto& c : cases) {
        CAPTURE(c.anchor);
        target.last.clear();
        CHECK(target.BltAnchored(src.get(), 100, 200, c.anchor, 256) == 0);
        CHECK(target.last == "Blt");
        CHECK(target.x == c.x);
        CHECK(target.y == c.y);
    }
    target.last.clear();
    CHECK(target.BltAnchored(src.get(), 0, 0, 5, 256) == -2);
    CHECK(target.BltAnchored(src.get(), 0, 0, -1, 256) == -2);
    CHECK(target.last.empty());
    CHECK(target.BltAnchored(nullptr, 0, 0, 1, 256) == -1);
    // Far-off coordinates stay in range instead of wrapping.
    CHECK(target.BltAnchored(src.get(), INT32_MIN, INT32_MIN, 4, 256) == 0);
    CHECK(target.x == INT32_MIN);
}

TEST_CASE("the base alpha probe answers by the reported size")
{
    CRecordingTarget target;
    CHECK(target.GetAlphaAt(0, 0) == 255);
    CHECK(target.GetAlphaAt(9, 5) == 255);
    CHECK(target.GetAlphaAt(10, 0) == 0);
    CHECK(target.GetAlphaAt(0, -1) == 0);
}

TEST_CASE("BlendBltAlphaLevel weights the source by its level, fully at 256")
{
    for (PixelSet set : {PixelSet::Portable, PixelSet::MMX}) {
        CAPTURE(SetName(set));
        auto src = MakePlane(3, 1, {0xFF102030, 0x80102030, 0x00102030}, set);
        const auto drawn = [&](int32_t level) {
            auto dst = MakePlane(3, 1, std::vector<uint32_t>(3, 0x00404040), set);
            CHECK(dst->BlendBltAlphaLevel(src.get(), 0, 0, level) == 0);
            return PixelsOf(*dst);
        };
        const auto blended = [&](uint32_t dstRate, uint32_t srcRate) {
            auto dst = MakePlane(3, 1, std::vector<uint32_t>(3, 0x00404040), set);
            dst->BlendBltAlpha(src.get(), 0, 0, dstRate, srcRate, nullptr, nullptr, nullptr);
            return PixelsOf(*dst);
        };
        auto alpha = MakePlane(3, 1, std::vector<uint32_t>(3, 0x00404040), set);
        alpha->BltAlpha(src.get(), 0, 0, nullptr, nullptr, nullptr);

        // 255: an opaque pixel is one step short of the source; 256: exactly the source.
        CHECK(drawn(255)[0] == 0x000F1F2F);
        CHECK(drawn(255) == blended(0, 0xFFFFFF));
        CHECK(drawn(256)[0] == 0x00102030);
        CHECK(drawn(256)[2] == 0x00404040);
        CHECK(drawn(256) == PixelsOf(*alpha));
        CHECK(drawn(257) == PixelsOf(*alpha));
        CHECK(drawn(INT32_MAX) == PixelsOf(*alpha));
        CHECK(drawn(100) == blended(0xFFFFFF - 100 * 0x010101, 100 * 0x010101));
        CHECK(drawn(0) == blended(0xFFFFFF, 0));
        CHECK(drawn(-1) == drawn(0));
        CHECK(drawn(INT32_MIN) == drawn(0));
    }
}

TEST_CASE("the plane forwards its slots to the implementation's transfers")
{
    const uint32_t key = 0x00FF00FF;
    auto src = MakePlane(2, 1, {key, 0x80102030});
    src->SetColorKey(255, 0, 255);
    auto dst = MakePlane(2, 1, {0x00404040, 0x00404040});

    dst->Blt(src.get(), 0, 0, nullptr, nullptr, nullptr);  // keyed copy
    CHECK(PixelsOf(*dst) == std::vector<uint32_t>{0x00404040, 0x80102030});
    dst->BltFast(src.get(), 0, 0, nullptr, nullptr, nullptr);  // copy
    CHECK(PixelsOf(*dst) == std::vector<uint32_t>{key, 0x80102030});

    dst->Clear(nullptr);
    CHECK(PixelsOf(*dst) == std::vector<uint32_t>{0, 0});
    dst->GetImpl()->Clear(0x00404040, nullptr);
    dst->BlendBlt(src.get(), 0, 0, 0x808080, 0x808080, nullptr, nullptr, nullptr);  // keyed mix
    CHECK(PixelsOf(*dst) == std::vector<uint32_t>{0x00404040, 0x00283038});
    dst->BlendBltFast(src.get(), 0, 0, 0x808080, 0x808080, nullptr, nullptr, nullptr);  // mix
    CHECK(PixelsOf(*dst)[0] == 0x009F209F);

    dst->GetImpl()->Clear(0x00404040, nullptr);
    dst->BltAlpha(src.get(), 0, 0, nullptr, nullptr, nullptr);  // per-pixel alpha
    CHECK(PixelsOf(*dst) == std::vector<uint32_t>{0x00404040, 0x00272F37});
    dst->GetImpl()->Clear(0x00404040, nullptr);
    // Alpha mix at level 255: the source's alpha 0x80 gives factors 127 and 128.
    dst->BlendBltAlphaLevel(src.get(), 0, 0, 255);
    CHECK(PixelsOf(*dst)[1] == 0x00272F37);
    dst->GetImpl()->Clear(0x00404040, nullptr);
    dst->BlendBltAlpha(src.get(), 0, 0, 0xFFFFFF, 0, nullptr, nullptr, nullptr);
    CHECK(PixelsOf(*dst)[1] == 0x003F3F3F);

    CHECK(dst->SetColorKeyFromPixel(1, 0) == 0);
    CHECK(dst->GetImpl()->GetColorKey() == 0x003F3F3F);
    CHECK(dst->SetColorKey(1, 2, 3) == 0);
    CHECK(dst->GetImpl()->GetColorKey() == 0x00010203);
    CHECK(dst->GetAlphaAt(0, 0) == 255);
    CHECK(dst->Create(3, 1) == 0);
    int32_t w = 0;
    int32_t h = 0;
    dst->GetSize(&w, &h);
    CHECK((w == 3 && h == 1));
    CHECK(dst->Release() == 0);
    dst->GetSize(&w, &h);
    CHECK((w == 0 && h == 0));
}

namespace {

// The plane's own transfers by name, from the one list.
struct PlaneTransfer {
    const char* name;
    int32_t (CPlane::*plain)(const CPlane*, int32_t, int32_t, const Rect*, const Size*, const Rect*);
    int32_t (CPlane::*rates)(const CPlane*, int32_t, int32_t, uint32_t, uint32_t, const Rect*,
                             const Size*, const Rect*);
};
#define PYRO_PLANE_TEST_Plain(name) &CPlane::name, nullptr
#define PYRO_PLANE_TEST_Rates(name) nullptr, &CPlane::name
#define PYRO_PLANE_TEST_OP(name, rule, mirrored, key, args) {#name, PYRO_PLANE_TEST_##args(name)},
const PlaneTransfer kPlaneTransfers[] = {PYRO_TRANSFERS(PYRO_PLANE_TEST_OP)};
#undef PYRO_PLANE_TEST_OP
#undef PYRO_PLANE_TEST_Rates
#undef PYRO_PLANE_TEST_Plain

std::vector<uint32_t> Numbered(size_t count, uint32_t seed)
{
    std::vector<uint32_t> pixels(count);
    for (uint32_t& p : pixels) p = seed = seed * 1664525u + 1013904223u;
    return pixels;
}

}  // namespace

TEST_CASE("the plane's own transfers are its implementation's, leaving the caller's clip as it was")
{
    const auto src = MakePlane(5, 4, Numbered(20, 1));
    src->SetColorKey(0x12, 0x34, 0x56);
    const CPlane& readOnly = *src;
    const Rect part = {1, 0, 5, 3};
    const Size size = {9, 5};
    for (const PlaneTransfer& op : kPlaneTransfers) {
        CAPTURE(op.name);
        const TransferOp& implOp = FindTransfer(op.name);
        auto viaPlane = MakePlane(12, 8, Numbered(96, 2));
        auto viaImpl = MakePlane(12, 8, Numbered(96, 2));
        const Rect clip = {-3, 1, 40, 7};  // larger than the plane
        Rect implClip = clip;
        if (op.plain)
            CHECK(((*viaPlane).*op.plain)(&readOnly, -2, 1, &part, &size, &clip) == 0);
        else
            CHECK(((*viaPlane).*op.rates)(&readOnly, -2, 1, 0x102030, 0xF0E0D0, &part, &size, &clip) == 0);
        implOp.Run(*viaImpl->GetImpl(), src.get(), -2, 1, 0x102030, 0xF0E0D0, &part, &size, &implClip);
        CHECK(PixelsOf(*viaPlane) == PixelsOf(*viaImpl));
        CHECK((clip.left == -3 && clip.right == 40));  // the implementation's came back clamped
        CHECK((implClip.left == 0 && implClip.right == 12));
    }
    // The short forms, and the routing transfers.
    auto a = MakePlane(6, 6, Numbered(36, 3));
    auto b = MakePlane(6, 6, Numbered(36, 3));
    a->TransferAdd(&readOnly, 1, 1);
    b->GetImpl()->TransferAdd(src.get(), 1, 1, nullptr, nullptr, nullptr);
    CHECK(PixelsOf(*a) == PixelsOf(*b));
    a->TransferFade(&readOnly, 0, 2, 100);
    b->GetImpl()->TransferFade(src.get(), 0, 2, 100, nullptr, nullptr, nullptr);
    a->TransferAuto(&readOnly, 2, 0);
    b->GetImpl()->TransferAuto(src.get(), 2, 0, nullptr, nullptr, nullptr);
    CHECK(PixelsOf(*a) == PixelsOf(*b));
}
