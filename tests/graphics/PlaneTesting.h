// Helpers for the plane tests: planes of any transfer set built from pixel lists, their
// pixels read back, and a stub drawing target for test doubles of the drawing interface.
#pragma once

#include <pyro/graphics/Plane.h>
#include <pyro/graphics/PlaneBase.h>
#include "graphics/CPUKindProbe.h"
#include "graphics/DIBPlane.h"
#include "graphics/DIBPlaneAVX2.h"
#include "graphics/DIBPlaneMMX.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// The transfer sets by the processor kind that selects them.
enum class PixelSet { Portable = 1, MMX = 3, SSE2 = 5, AVX2 = 6 };

inline const char* SetName(PixelSet set)
{
    switch (set) {
    case PixelSet::AVX2: return "AVX2";
    case PixelSet::SSE2: return "SSE2";
    case PixelSet::MMX: return "MMX";
    default: return "portable";
    }
}

// Every set this processor can run (the sets exist only for x86, which always has MMX).
inline std::vector<PixelSet> AllSets()
{
    std::vector<PixelSet> sets;
    for (PixelSet set : {PixelSet::Portable, PixelSet::MMX, PixelSet::SSE2, PixelSet::AVX2})
        if (set <= PixelSet::MMX || int32_t(set) <= ProbeCPUKind()) sets.push_back(set);
    return sets;
}

inline CPlaneImpl* NewImpl(PixelSet set) { return CPlane::CreateImpl(int32_t(set)); }

inline std::unique_ptr<CPlane> MakePlane(int32_t width, int32_t height,
                                         const std::vector<uint32_t>& pixels = {},
                                         PixelSet set = PixelSet::Portable)
{
    auto plane = std::make_unique<CPlane>(NewImpl(set), true);
    plane->Create(width, height);
    if (!pixels.empty() && pixels.size() == size_t(width) * size_t(height))
        std::copy(pixels.begin(), pixels.end(), plane->GetImpl()->GetPixels());
    return plane;
}

inline std::vector<uint32_t> PixelsOf(const CPlane& plane)
{
    int32_t w = 0;
    int32_t h = 0;
    plane.GetSize(&w, &h);
    const uint32_t* p = plane.GetImpl()->GetPixels();
    return p ? std::vector<uint32_t>(p, p + size_t(w) * size_t(h)) : std::vector<uint32_t>{};
}

// A drawing target of a fixed size whose required slots draw nothing and return 0; the slots
// with a base behaviour keep it. Test doubles derive from it and override what they watch.
class CStubTarget : public CPlaneBase {
public:
    CStubTarget(int32_t width, int32_t height) : width_(width), height_(height) {}

    int32_t Blt(CPlane*, int32_t, int32_t, const Rect*, const Size*, Rect*) override { return 0; }
    int32_t BltFast(CPlane*, int32_t, int32_t, const Rect*, const Size*, Rect*) override { return 0; }
    int32_t BlendBlt(CPlane*, int32_t, int32_t, uint32_t, uint32_t, const Rect*, const Size*,
                     Rect*) override
    {
        return 0;
    }
    int32_t BlendBltFast(CPlane*, int32_t, int32_t, uint32_t, uint32_t, const Rect*, const Size*,
                         Rect*) override
    {
        return 0;
    }
    int32_t BlendBltAlphaLevel(CPlane*, int32_t, int32_t, int32_t) override { return 0; }
    int32_t Mosaic(int32_t, const Rect*) override { return 0; }
    int32_t Negate(const Rect*) override { return 0; }
    int32_t GetSize(int32_t* w, int32_t* h) const override
    {
        *w = width_;
        *h = height_;
        return 0;
    }
    bool IsLoaded() const override { return false; }
    int32_t Clear(const Rect*) override { return 0; }
    int32_t Load(const char*) override { return 0; }
    int32_t LoadEx(const char*, const char*) override { return 0; }
    int32_t Release() override { return 0; }
    int32_t SetColorKey(int32_t, int32_t, int32_t) override { return 0; }
    int32_t SetColorKeyFromPixel(int32_t, int32_t) override { return 0; }

private:
    int32_t width_;
    int32_t height_;
};

// The sixteen transfers and their mirrored twins, by slot, as the transfer list gives them.
struct TransferOp {
    const char* name;
    const char* rule;
    int32_t (CPlaneImpl::*six)(CPlane*, int32_t, int32_t, const Rect*, const Size*, Rect*);
    int32_t (CPlaneImpl::*eight)(CPlane*, int32_t, int32_t, uint32_t, uint32_t, const Rect*,
                                 const Size*, Rect*);
    bool mirrored;
    TransferKey key;

    int32_t Run(CPlaneImpl& dst, CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                uint32_t srcRate, const Rect* srcRect, const Size* size, Rect* clip) const
    {
        return six ? (dst.*six)(src, x, y, srcRect, size, clip)
                   : (dst.*eight)(src, x, y, dstRate, srcRate, srcRect, size, clip);
    }
};

#define PYRO_TEST_POINTERS_Plain(name) &CPlaneImpl::name, nullptr
#define PYRO_TEST_POINTERS_Rates(name) nullptr, &CPlaneImpl::name
#define PYRO_TEST_OP(name, rule, mirrored, key, args) \
    {#name, #rule, PYRO_TEST_POINTERS_##args(name), mirrored, TransferKey::key},
inline const std::vector<TransferOp>& AllTransfers()
{
    static const std::vector<TransferOp> ops = {PYRO_TRANSFERS(PYRO_TEST_OP)};
    return ops;
}
#undef PYRO_TEST_OP
#undef PYRO_TEST_POINTERS_Plain
#undef PYRO_TEST_POINTERS_Rates

inline const TransferOp& FindTransfer(const std::string& name)
{
    for (const TransferOp& op : AllTransfers())
        if (name == op.name) return op;
    throw std::invalid_argument(name);
}
