// Helpers for the plane tests: planes of either transfer set built from pixel lists, their
// pixels read back, and a stub drawing target for test doubles of the drawing interface.
#pragma once

#include <pyro/graphics/Plane.h>
#include <pyro/graphics/PlaneBase.h>
#include "graphics/DIBPlane.h"
#include "graphics/DIBPlaneMMX.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

enum class PixelSet { Portable, MMX };

inline const char* SetName(PixelSet set) { return set == PixelSet::MMX ? "MMX" : "portable"; }

inline std::unique_ptr<CPlane> MakePlane(int32_t width, int32_t height,
                                         const std::vector<uint32_t>& pixels = {},
                                         PixelSet set = PixelSet::Portable)
{
    CPlaneImpl* impl = set == PixelSet::MMX ? static_cast<CPlaneImpl*>(new CDIBPlaneMMX)
                                            : static_cast<CPlaneImpl*>(new CDIBPlane);
    auto plane = std::make_unique<CPlane>(impl, true);
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

// The sixteen transfers and their mirrored twins, by slot, with what may differ between the
// portable and the MMX set.
enum class SetDifference { None, AddTopByte, SubtractTopByte, AlphaWeight };

struct TransferOp {
    const char* name;
    int32_t (CPlaneImpl::*six)(CPlane*, int32_t, int32_t, const Rect*, const Size*, Rect*);
    int32_t (CPlaneImpl::*eight)(CPlane*, int32_t, int32_t, uint32_t, uint32_t, const Rect*,
                                 const Size*, Rect*);
    SetDifference difference;
    bool mirrored;

    int32_t Run(CPlaneImpl& dst, CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                uint32_t srcRate, const Rect* srcRect, const Size* size, Rect* clip) const
    {
        return six ? (dst.*six)(src, x, y, srcRect, size, clip)
                   : (dst.*eight)(src, x, y, dstRate, srcRate, srcRect, size, clip);
    }
};

#define PYRO_OP6(name, diff, m) {#name, &CPlaneImpl::name, nullptr, SetDifference::diff, m}
#define PYRO_OP8(name, diff, m) {#name, nullptr, &CPlaneImpl::name, SetDifference::diff, m}
inline const std::vector<TransferOp>& AllTransfers()
{
    static const std::vector<TransferOp> ops = {
        PYRO_OP6(TransferCopyKeyed, None, false),
        PYRO_OP6(TransferCopy, None, false),
        PYRO_OP6(TransferAverageKeyed, None, false),
        PYRO_OP6(TransferAverage, None, false),
        PYRO_OP8(TransferMixKeyed, None, false),
        PYRO_OP8(TransferMix, None, false),
        PYRO_OP6(TransferAddKeyed, AddTopByte, false),
        PYRO_OP6(TransferAdd, AddTopByte, false),
        PYRO_OP6(TransferSubtractKeyed, SubtractTopByte, false),
        PYRO_OP6(TransferSubtract, SubtractTopByte, false),
        PYRO_OP6(TransferOpaqueKeyed, None, false),
        PYRO_OP6(TransferOpaque, None, false),
        PYRO_OP8(TransferAlphaMix, None, false),
        PYRO_OP6(TransferAlpha, AlphaWeight, false),
        PYRO_OP6(TransferColourOnlyKeyed, None, false),
        PYRO_OP6(TransferColourOnly, None, false),
        PYRO_OP6(TransferCopyKeyedMirrored, None, true),
        PYRO_OP6(TransferCopyMirrored, None, true),
        PYRO_OP6(TransferAverageKeyedMirrored, None, true),
        PYRO_OP6(TransferAverageMirrored, None, true),
        PYRO_OP8(TransferMixKeyedMirrored, None, true),
        PYRO_OP8(TransferMixMirrored, None, true),
        PYRO_OP6(TransferAddKeyedMirrored, AddTopByte, true),
        PYRO_OP6(TransferAddMirrored, AddTopByte, true),
        PYRO_OP6(TransferSubtractKeyedMirrored, SubtractTopByte, true),
        PYRO_OP6(TransferSubtractMirrored, SubtractTopByte, true),
        PYRO_OP6(TransferOpaqueKeyedMirrored, None, true),
        PYRO_OP6(TransferOpaqueMirrored, None, true),
        PYRO_OP8(TransferAlphaMixMirrored, None, true),
        PYRO_OP6(TransferAlphaMirrored, AlphaWeight, true),
        PYRO_OP6(TransferColourOnlyKeyedMirrored, None, true),
        PYRO_OP6(TransferColourOnlyMirrored, None, true),
    };
    return ops;
}
#undef PYRO_OP6
#undef PYRO_OP8

inline const TransferOp& FindTransfer(const std::string& name)
{
    for (const TransferOp& op : AllTransfers())
        if (name == op.name) return op;
    throw std::invalid_argument(name);
}
