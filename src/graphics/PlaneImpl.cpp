// CPlaneImpl: pixel storage, the colour key, pixel access, the transfer set-up and the routing
// operations every implementation shares.
#include <pyro/graphics/PlaneImpl.h>

#include <pyro/graphics/Plane.h>
#include "graphics/transfer/PrepareTransfer.h"

#if defined(_WIN32)
#include "graphics/DIBSection.h"
#endif

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {
// The largest pixel block a plane takes (1 GiB, a 16384 x 16384 plane): far beyond any screen,
// and small enough that the size arithmetic and the row offsets stay in range everywhere.
constexpr uint64_t kMaxPlaneBytes = uint64_t(1) << 30;
}

int32_t CPlaneImpl::Allocate(int32_t width, int32_t height)
{
    Release();
    if (width <= 0 || height <= 0) return 1;
    const uint64_t bytes = uint64_t(width) * 4 * uint64_t(height);
    if (bytes > kMaxPlaneBytes) return 1;
    try {
        rows_.resize(size_t(height));
    } catch (const std::bad_alloc&) {
        return 1;
    }
#if defined(_WIN32)
    if (useDIB_) {
        if (!CreatePlaneDIBSection(width, height, &pixels_, &bitmap_, &dc_)) {
            Release();
            return 1;
        }
    } else
#endif
    {
        rawBlock_ = static_cast<uint8_t*>(std::malloc(size_t(bytes) + 7));
        if (!rawBlock_) {
            Release();
            return 1;
        }
        pixels_ = reinterpret_cast<uint32_t*>((reinterpret_cast<uintptr_t>(rawBlock_) + 7) &
                                              ~uintptr_t(7));
    }
    bounds_ = Rect{0, 0, width, height};
    pitch_ = width * 4;
    for (int32_t i = 0; i < height; ++i) rows_[size_t(i)] = pixels_ + size_t(i) * size_t(width);
    return 0;
}

int32_t CPlaneImpl::Create(int32_t width, int32_t height)
{
    if (Allocate(width, height) != 0) return 1;
    Clear(0xFFFFFFFF, nullptr);
    return 0;
}

int32_t CPlaneImpl::Resize(int32_t width, int32_t height)
{
    if (width == bounds_.right && height == bounds_.bottom) return 0;
    return Create(width, height);
}

void CPlaneImpl::ClipToBounds(Rect* out, const Rect* rect) const
{
    if (!out) return;
    const Rect r = rect ? *rect : bounds_;
    out->left = std::max(r.left, bounds_.left);
    out->top = std::max(r.top, bounds_.top);
    out->right = std::min(r.right, bounds_.right);
    out->bottom = std::min(r.bottom, bounds_.bottom);
}

int32_t CPlaneImpl::Release()
{
#if defined(_WIN32)
    DeletePlaneDIBSection(bitmap_, dc_);
#endif
    bitmap_ = nullptr;
    dc_ = nullptr;
    std::free(rawBlock_);
    rawBlock_ = nullptr;
    pixels_ = nullptr;
    std::vector<uint32_t*>().swap(rows_);
    loaded_ = 0;
    hasAlpha_ = 0;
    bounds_ = Rect{0, 0, 0, 0};
    pitch_ = 0;
    return 0;
}

int32_t CPlaneImpl::Clear(uint32_t colour, const Rect* rect)
{
    if (!pixels_) return 1;
    if (colour == 0xFFFFFFFF) colour = fillColor_;
    Rect r;
    ClipToBounds(&r, rect);
    if (r.left >= r.right || r.top >= r.bottom) return 0;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        std::fill(rows_[size_t(y)] + r.left, rows_[size_t(y)] + r.right, colour);
    }
    return 0;
}

int32_t CPlaneImpl::SetColorKey(int32_t r, int32_t g, int32_t b)
{
    colorKey_ = ((uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b)) & 0xFFFFFF;
    return 0;
}

int32_t CPlaneImpl::SetColorKeyFromPixel(int32_t x, int32_t y)
{
    if (!pixels_ || x < 0 || y < 0 || x >= bounds_.right || y >= bounds_.bottom) return 1;
    colorKey_ = rows_[size_t(y)][x] & 0xFFFFFF;
    return 0;
}

uint32_t CPlaneImpl::GetPixel(int32_t x, int32_t y) const
{
    if (!pixels_ || x < 0 || y < 0 || x >= bounds_.right || y >= bounds_.bottom) return 0;
    return rows_[size_t(y)][x];
}

int32_t CPlaneImpl::GetSize(int32_t* width, int32_t* height) const
{
    if (width) *width = pixels_ ? bounds_.right : 0;
    if (height) *height = pixels_ ? bounds_.bottom : 0;
    return 0;
}

int32_t CPlaneImpl::ClearAlphaByte()
{
    const size_t count = size_t(bounds_.right) * size_t(bounds_.bottom);
    for (size_t i = 0; i < count; ++i) pixels_[i] &= 0x00FFFFFF;
    return 0;
}

namespace {
using PrepareFunction = int32_t (*)(TransferState&, const Rect&, int32_t, int32_t, int32_t,
                                    int32_t, const Rect*, const Size*, Rect*);

// An empty or missing source has no pixels to read: the set-up sees a plane of size 0.
int32_t Prepare(PrepareFunction prepare, TransferState& state, const CPlaneImpl& dst,
                CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size,
                Rect* clip)
{
    const CPlaneImpl* s = src ? src->GetImpl() : nullptr;
    const Rect from = s && s->GetPixels() ? s->GetRect() : Rect{0, 0, 0, 0};
    if (prepare(state, dst.GetRect(), from.right, from.bottom, x, y, srcRect, size, clip))
        return 1;
    return dst.GetPixels() && s && s->GetPixels() ? 0 : 1;
}
}  // namespace

int32_t CPlaneImpl::PrepareTransfer(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                    const Size* size, Rect* clip)
{
    return Prepare(::PrepareTransfer, transfer_, *this, src, x, y, srcRect, size, clip);
}

int32_t CPlaneImpl::PrepareTransferMirrored(CPlane* src, int32_t x, int32_t y,
                                            const Rect* srcRect, const Size* size, Rect* clip)
{
    return Prepare(::PrepareTransferMirrored, transfer_, *this, src, x, y, srcRect, size, clip);
}

PixelView CPlaneImpl::GetPixelView() const
{
    return PixelView{reinterpret_cast<uint8_t*>(pixels_), pitch_};
}

int32_t CPlaneImpl::TransferFade(CPlane* src, int32_t x, int32_t y, int32_t level,
                                 const Rect* srcRect, const Size* size, Rect* clip)
{
    // Levels beyond 0..256 are taken as the nearest end rather than as rates with stray bytes.
    if (level <= 0 || !src) return 0;
    if (level >= 256) return TransferAuto(src, x, y, srcRect, size, clip);
    const uint32_t rate = uint32_t(level) * 0x010101u;
    if (src->GetImpl()->IsAlpha())
        return TransferAlphaMix(src, x, y, 0xFFFFFFu - rate, rate, srcRect, size, clip);
    return TransferMixKeyed(src, x, y, 0xFFFFFFu - rate, rate, srcRect, size, clip);
}

int32_t CPlaneImpl::TransferAuto(CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                                 const Size* size, Rect* clip)
{
    if (src && src->GetImpl()->IsAlpha()) return TransferAlpha(src, x, y, srcRect, size, clip);
    return TransferCopyKeyed(src, x, y, srcRect, size, clip);
}

bool CPlaneImpl::IsAlpha() const { return hasAlpha_ != 0; }

uint8_t& CPlaneImpl::GetAlphaFlag() { return hasAlpha_; }

int32_t CPlaneImpl::GetAlphaAt(int32_t x, int32_t y) const
{
    if (hasAlpha_) return int32_t(GetPixel(x, y) >> 24);
    if (!pixels_ || x < 0 || y < 0 || x >= bounds_.right || y >= bounds_.bottom) return 0;
    return GetPixel(x, y) == colorKey_ ? 0 : 255;
}

CPlaneImpl::~CPlaneImpl() { Release(); }
