// CPlane: the plane object the rest of the system holds, a surface of 32-bit pixels 0xAARRGGBB.
// It owns one implementation (portable, MMX, SSE2 or AVX2, chosen by the processor) and
// forwards nearly every operation to it; code that needs the implementation's own operations
// gets it from GetImpl.
#pragma once

#include <pyro/app/OwningPtr.h>
#include <pyro/graphics/PlaneBase.h>
#include <pyro/graphics/PlaneImpl.h>
#include <pyro/graphics/Shapes.h>

#include <cstdint>

class CPlane : public CPlaneBase {
public:
    // Creates the implementation GetCPUKind calls for.
    CPlane();
    // Uses the given implementation (null: the one GetCPUKind calls for); deletes it at the end
    // only when owned.
    CPlane(CPlaneImpl* impl, bool owned);
    ~CPlane() override;  // releases the pixels, and the implementation when owned
    CPlane(const CPlane&) = delete;
    CPlane& operator=(const CPlane&) = delete;

    // The implementation for a processor kind of GetCPUKind: 1 and 2 portable, 3 MMX, 4 MMX with
    // conditional moves, 5 SSE2, 6 AVX2.
    static CPlaneImpl* CreateImpl(int32_t cpuKind);

    // The implementation: the transfer family, rotation, mapping and effects.
    CPlaneImpl* GetImpl() const { return impl_.Get(); }

    // ---- The transfer family on the plane itself ----
    // The implementation's transfers of the list (add, subtract, average, mix, opaque, colour
    // only, alpha, and the keyed and mirrored twins), with a source that is only read and the
    // trailing arguments optional. A given clip is not written back, unlike the
    // implementation's, which clamps it in place.
    PYRO_TRANSFERS(PYRO_TRANSFER_READ)
    // TransferFade and TransferAuto, as the implementation's, with a read-only source.
    PYRO_TRANSFER_READ_ROUTING

    int32_t GetType() const override;
    int32_t Blt(CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,
                const Size* size = nullptr,
                Rect* clip = nullptr) override;
    int32_t BltFast(CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,
                    const Size* size = nullptr,
                    Rect* clip = nullptr) override;
    int32_t BlendBlt(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                     const Rect* srcRect = nullptr, const Size* size = nullptr,
                     Rect* clip = nullptr) override;
    int32_t BlendBltFast(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                         const Rect* srcRect = nullptr, const Size* size = nullptr,
                         Rect* clip = nullptr) override;
    int32_t BlendBltAlpha(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                          const Rect* srcRect = nullptr, const Size* size = nullptr,
                          Rect* clip = nullptr) override;
    int32_t BltAlpha(CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,
                     const Size* size = nullptr,
                     Rect* clip = nullptr) override;
    // The whole source, no clip: BlendBltAlpha with the rates of the level (0 to 255), or at
    // 256 and above BltAlpha, the source at full weight. Levels below 0 count as 0.
    int32_t BlendBltAlphaLevel(CPlane* src, int32_t x, int32_t y, int32_t level) override;
    int32_t Mosaic(int32_t blockSize, const Rect* rect = nullptr) override;
    int32_t Negate(const Rect* rect = nullptr) override;
    int32_t GetSize(int32_t* width, int32_t* height) const override;
    bool IsLoaded() const override;
    bool IsAlpha() const override;
    // Fills with the fill colour.
    int32_t Clear(const Rect* rect = nullptr) override;
    int32_t BlendBltNatural(CPlane* src, int32_t x, int32_t y, int32_t level,
                            const Rect* srcRect = nullptr, const Size* size = nullptr,
                            Rect* clip = nullptr) override;
    int32_t BltNatural(CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,
                       const Size* size = nullptr,
                       Rect* clip = nullptr) override;
    int32_t Load(const char* fileName) override;
    // Returns 1 and does nothing.
    int32_t LoadEx(const char* first, const char* second) override;
    int32_t Release() override;
    int32_t SetColorKey(int32_t r, int32_t g, int32_t b) override;
    int32_t SetColorKeyFromPixel(int32_t x, int32_t y) override;
    int32_t Create(int32_t width, int32_t height) override;
    int32_t GetAlphaAt(int32_t x, int32_t y) const override;

    // CPlaneImpl::SetAlphaFromPlane of the implementation.
    /* 28 */ virtual int32_t SetAlphaFromPlane(CPlane* mask, int32_t low, int32_t high,
                                               int32_t lowAlpha, int32_t highAlpha,
                                               const Rect* rect = nullptr);
    // CPlaneImpl::ScaleAlpha of the implementation.
    /* 29 */ virtual int32_t ScaleAlpha(int32_t rate, const Rect* rect = nullptr);
    // CPlaneImpl::CopyScaleAlpha of the implementation.
    /* 30 */ virtual int32_t CopyScaleAlpha(CPlane* src, int32_t rate, const Rect* rect = nullptr);
    // CPlaneImpl::ScaleColor of the implementation.
    /* 31 */ virtual int32_t ScaleColor(int32_t rate, const Rect* rect = nullptr);
    // CPlaneImpl::NegateAlpha of the implementation.
    /* 32 */ virtual int32_t NegateAlpha(const Rect* rect = nullptr);

    // Lines, rectangles, circles and polygons on the plane's pixels (empty when it has none).
    CShapes Shapes();

private:
    OwningPtr<CPlaneImpl> impl_;
};
