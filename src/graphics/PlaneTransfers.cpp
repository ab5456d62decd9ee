// CPlane: the transfer family of the list on the plane itself, generated from the list and
// forwarded to the implementation with the source read only and the caller's clip left as given.
#include <pyro/graphics/Plane.h>

namespace {

// The implementation clamps a clip rectangle in place; the caller's stays as it was.
Rect* Copied(const Rect* clip, Rect& copy)
{
    if (!clip) return nullptr;
    copy = *clip;
    return &copy;
}

}  // namespace

#define PYRO_PLANE_CALL_Plain(name) \
    impl_->name(const_cast<CPlane*>(src), x, y, srcRect, size, Copied(clip, c))
#define PYRO_PLANE_CALL_Rates(name) \
    impl_->name(const_cast<CPlane*>(src), x, y, dstRate, srcRate, srcRect, size, Copied(clip, c))
#define PYRO_PLANE_TRANSFER_DEFINE(name, rule, mirrored, key, args) \
    int32_t CPlane::name(PYRO_TRANSFER_READ_DEFINITION_##args)    \
    {                                                              \
        Rect c;                                                    \
        return PYRO_PLANE_CALL_##args(name);                       \
    }
PYRO_TRANSFERS(PYRO_PLANE_TRANSFER_DEFINE)
#undef PYRO_PLANE_TRANSFER_DEFINE
#undef PYRO_PLANE_CALL_Rates
#undef PYRO_PLANE_CALL_Plain

int32_t CPlane::TransferFade(const CPlane* src, int32_t x, int32_t y, int32_t level,
                             const Rect* srcRect, const Size* size, const Rect* clip)
{
    Rect c;
    return impl_->TransferFade(const_cast<CPlane*>(src), x, y, level, srcRect, size,
                               Copied(clip, c));
}

int32_t CPlane::TransferAuto(const CPlane* src, int32_t x, int32_t y, const Rect* srcRect,
                             const Size* size, const Rect* clip)
{
    Rect c;
    return impl_->TransferAuto(const_cast<CPlane*>(src), x, y, srcRect, size, Copied(clip, c));
}
