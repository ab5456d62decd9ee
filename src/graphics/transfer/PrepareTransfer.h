// The clip and stretch set-up shared by every plane-to-plane transfer. It clips the destination
// against the clip rectangle and the source against its plane, chooses between the one-to-one
// and the stretched loop, and leaves the result in a TransferState.
#pragma once

#include <pyro/graphics/Rect.h>
#include <pyro/graphics/transfer/TransferState.h>

#include <cstdint>

// Stretch sizes and source rectangles wider or taller than this draw nothing: no plane comes
// near it, and below it the 64-bit set-up arithmetic cannot overflow.
constexpr int64_t kMaxTransferExtent = int64_t(1) << 30;

// dstBounds: the destination plane's bounds; srcWidth, srcHeight: the source plane's size.
// A given clip rectangle is clamped to dstBounds in place. Returns 0 when there is something to
// draw and 1 when there is nothing (state then undefined).
int32_t PrepareTransfer(TransferState& state, const Rect& dstBounds, int32_t srcWidth,
                        int32_t srcHeight, int32_t x, int32_t y, const Rect* srcRect,
                        const Size* size, Rect* clip);

// The same for the left-right mirrored transfers: the source's rightmost column lands on the
// destination's left, and a stretch samples the source at pixel centres.
int32_t PrepareTransferMirrored(TransferState& state, const Rect& dstBounds, int32_t srcWidth,
                                int32_t srcHeight, int32_t x, int32_t y, const Rect* srcRect,
                                const Size* size, Rect* clip);
