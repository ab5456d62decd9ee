// CPlane: chooses its implementation by processor kind and forwards to it.
#include <pyro/graphics/Plane.h>

#include <pyro/app/ErrorLog.h>
#include <pyro/graphics/CPUKind.h>
#include "graphics/DIBPlane.h"
#include "graphics/DIBPlaneAVX2.h"
#include "graphics/DIBPlaneMMX.h"

CPlane::CPlane() : impl_(CreateImpl(GetCPUKind()), true) {}

CPlane::CPlane(CPlaneImpl* impl, bool owned)
{
    if (impl) impl_.Reset(impl, owned);
    else impl_.Reset(CreateImpl(GetCPUKind()), true);
}

CPlane::~CPlane() = default;

CPlaneImpl* CPlane::CreateImpl(int32_t cpuKind)
{
    switch (cpuKind) {
    case 3: return new CDIBPlaneMMX;
    case 4: return new CDIBPlaneMMXCMOV;
    case 5: return new CDIBPlaneSSE2;
    case 6: return new CDIBPlaneAVX2;
    default: return new CDIBPlane;
    }
}

int32_t CPlane::GetType() const { return 2; }

int32_t CPlane::Blt(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                    Rect* clip)
{
    return impl_->TransferCopyKeyed(src, x, y, srcRect, size, clip);
}

int32_t CPlane::BltFast(CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                        Rect* clip)
{
    return impl_->TransferCopy(src, x, y, srcRect, size, clip);
}

int32_t CPlane::BlendBlt(CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,
                         const Rect* srcRect, const Size* size, Rect* clip)
{
    return impl_->TransferMixKeyed(src, x, y, dstRate, srcRate, srcRect, size, clip);
}

int32_t CPlane::BlendBltFast(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                             uint32_t srcRate, const Rect* srcRect, const Size* size, Rect* clip)
{
    return impl_->TransferMix(src, x, y, dstRate, srcRate, srcRect, size, clip);
}

int32_t CPlane::BlendBltAlpha(CPlane* src, int32_t x, int32_t y, uint32_t dstRate,
                              uint32_t srcRate, const Rect* srcRect, const Size* size, Rect* clip)
{
    return impl_->TransferAlphaMix(src, x, y, dstRate, srcRate, srcRect, size, clip);
}

int32_t CPlane::BltAlpha(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                         const Size* size, Rect* clip)
{
    return impl_->TransferAlpha(src, x, y, srcRect, size, clip);
}

// Rates hold weights up to 255, which would leave the source one step short of itself: level
// 256 is the plain alpha blend instead, as it is for BlendBltNatural. Levels beyond 0 to 256
// are held to that range; wrapped to their low byte they would draw almost nothing.
int32_t CPlane::BlendBltAlphaLevel(CPlane* src, int32_t x, int32_t y, int32_t level)
{
    if (level >= 256) return BltAlpha(src, x, y, nullptr, nullptr, nullptr);
    const int32_t weight = level < 0 ? 0 : level;
    return BlendBltAlpha(src, x, y, FadeDstRate(weight), FadeSrcRate(weight), nullptr, nullptr,
                         nullptr);
}

int32_t CPlane::Mosaic(int32_t blockSize, const Rect* rect)
{
    return impl_->Mosaic(blockSize, rect);
}

int32_t CPlane::Negate(const Rect* rect) { return impl_->Negate(rect); }

int32_t CPlane::GetSize(int32_t* width, int32_t* height) const
{
    return impl_->GetSize(width, height);
}

bool CPlane::IsLoaded() const { return impl_->IsLoaded(); }

bool CPlane::IsAlpha() const { return impl_->IsAlpha(); }

int32_t CPlane::Clear(const Rect* rect) { return impl_->Clear(0xFFFFFFFF, rect); }

int32_t CPlane::BlendBltNatural(CPlane* src, int32_t x, int32_t y, int32_t level,
                                const Rect* srcRect, const Size* size, Rect* clip)
{
    return impl_->TransferFade(src, x, y, level, srcRect, size, clip);
}

int32_t CPlane::BltNatural(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                           const Size* size, Rect* clip)
{
    return impl_->TransferAuto(src, x, y, srcRect, size, clip);
}

int32_t CPlane::Load(const char* fileName)
{
    const int32_t result = impl_->Load(fileName);
    // One line per failure, so that a game missing its data says which file it missed.
    if (result != 0) CErrorLog::WriteSystem("CPlane::Loadで\"%s\"の読み込みに失敗 (コード %d)", fileName ? fileName : "", result);
    return result;
}

int32_t CPlane::LoadEx(const char*, const char*) { return 1; }

int32_t CPlane::Release() { return impl_->Release(); }

int32_t CPlane::SetColorKey(int32_t r, int32_t g, int32_t b) { return impl_->SetColorKey(r, g, b); }

int32_t CPlane::SetColorKeyFromPixel(int32_t x, int32_t y)
{
    return impl_->SetColorKeyFromPixel(x, y);
}

int32_t CPlane::Create(int32_t width, int32_t height) { return impl_->Create(width, height); }

int32_t CPlane::GetAlphaAt(int32_t x, int32_t y) const { return impl_->GetAlphaAt(x, y); }

int32_t CPlane::SetAlphaFromPlane(CPlane* mask, int32_t low, int32_t high, int32_t lowAlpha,
                                  int32_t highAlpha, const Rect* rect)
{
    return impl_->SetAlphaFromPlane(mask, low, high, lowAlpha, highAlpha, rect);
}

int32_t CPlane::ScaleAlpha(int32_t rate, const Rect* rect) { return impl_->ScaleAlpha(rate, rect); }

int32_t CPlane::CopyScaleAlpha(CPlane* src, int32_t rate, const Rect* rect)
{
    return impl_->CopyScaleAlpha(src, rate, rect);
}

int32_t CPlane::ScaleColor(int32_t rate, const Rect* rect) { return impl_->ScaleColor(rate, rect); }

int32_t CPlane::NegateAlpha(const Rect* rect) { return impl_->NegateAlpha(rect); }
