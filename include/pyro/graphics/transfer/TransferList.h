// The one list of the plane-to-plane transfers, in their slot order (implementation slots 1-32).
// The implementation interface, every transfer set and the tests and benchmarks are generated
// from it, so a set is its pixel rules, never another copy of the 32 operations.
//
//   X(name, rule, mirrored, key, arguments)
//   rule       the pixel rule: a type of this name in every set (Copy: D = S; Average: the mean
//              of each channel; Mix: S and D weighted by two rates; Add, Subtract: saturating per
//              channel; Opaque: S with the top byte cleared; Alpha: blend by S's alpha byte;
//              AlphaMix: S's alpha scaled by two rates; ColourOnly: S's colour over D's top byte)
//   mirrored   false: the source is read left to right; true: right to left, so that its
//              rightmost column lands on the left, and a stretch samples pixel centres
//   key        None; Whole: skip source pixels equal to the source's colour key; Colour: the
//              same, comparing the colour bytes only
//   arguments  Plain (source, x, y, source rectangle, stretch size, clip) or Rates (the same
//              with the destination rate and the source rate after x and y)
#pragma once

#include <cstdint>

// Which source pixels a transfer skips: none, those equal to the colour key, or those whose
// colour bytes equal the key's.
enum class TransferKey { None, Whole, Colour };

// The list itself: X(name, rule, mirrored, key, arguments) once per transfer, in slot order.

#define PYRO_TRANSFERS(X)                                                    \
    X(TransferCopyKeyed,                Copy,        false,  Whole,   Plain) \
    X(TransferCopy,                     Copy,        false,  None,    Plain) \
    X(TransferAverageKeyed,             Average,     false,  Whole,   Plain) \
    X(TransferAverage,                  Average,     false,  None,    Plain) \
    X(TransferMixKeyed,                 Mix,         false,  Whole,   Rates) \
    X(TransferMix,                      Mix,         false,  None,    Rates) \
    X(TransferAddKeyed,                 Add,         false,  Whole,   Plain) \
    X(TransferAdd,                      Add,         false,  None,    Plain) \
    X(TransferSubtractKeyed,            Subtract,    false,  Whole,   Plain) \
    X(TransferSubtract,                 Subtract,    false,  None,    Plain) \
    X(TransferOpaqueKeyed,              Opaque,      false,  Colour,  Plain) \
    X(TransferOpaque,                   Opaque,      false,  None,    Plain) \
    X(TransferAlphaMix,                 AlphaMix,    false,  None,    Rates) \
    X(TransferAlpha,                    Alpha,       false,  None,    Plain) \
    X(TransferColourOnlyKeyed,          ColourOnly,  false,  Whole,   Plain) \
    X(TransferColourOnly,               ColourOnly,  false,  None,    Plain) \
    X(TransferCopyKeyedMirrored,        Copy,        true,   Whole,   Plain) \
    X(TransferCopyMirrored,             Copy,        true,   None,    Plain) \
    X(TransferAverageKeyedMirrored,     Average,     true,   Whole,   Plain) \
    X(TransferAverageMirrored,          Average,     true,   None,    Plain) \
    X(TransferMixKeyedMirrored,         Mix,         true,   Whole,   Rates) \
    X(TransferMixMirrored,              Mix,         true,   None,    Rates) \
    X(TransferAddKeyedMirrored,         Add,         true,   Whole,   Plain) \
    X(TransferAddMirrored,              Add,         true,   None,    Plain) \
    X(TransferSubtractKeyedMirrored,    Subtract,    true,   Whole,   Plain) \
    X(TransferSubtractMirrored,         Subtract,    true,   None,    Plain) \
    X(TransferOpaqueKeyedMirrored,      Opaque,      true,   Colour,  Plain) \
    X(TransferOpaqueMirrored,           Opaque,      true,   None,    Plain) \
    X(TransferAlphaMixMirrored,         AlphaMix,    true,   None,    Rates) \
    X(TransferAlphaMirrored,            Alpha,       true,   None,    Plain) \
    X(TransferColourOnlyKeyedMirrored,  ColourOnly,  true,   Whole,   Plain) \
    X(TransferColourOnlyMirrored,       ColourOnly,  true,   None,    Plain)

// The parameter list of the Plain form.
#define PYRO_TRANSFER_PARAMS_Plain \
    CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size, Rect* clip
// The parameter list of the Rates form.
#define PYRO_TRANSFER_PARAMS_Rates                                                           \
    CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate, const Rect* srcRect, \
        const Size* size, Rect* clip
// The Plain form for a source that is only read, with the trailing arguments optional: the
// form of the drawing targets that offer the family in their own coordinates (the screen view).
#define PYRO_TRANSFER_READ_PARAMS_Plain                                                      \
    const CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr,                  \
        const Size* size = nullptr, const Rect* clip = nullptr
// The Rates form for a source that is only read, with the trailing arguments optional.
#define PYRO_TRANSFER_READ_PARAMS_Rates                                                      \
    const CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,             \
        const Rect* srcRect = nullptr, const Size* size = nullptr, const Rect* clip = nullptr
// The same two lists as a definition spells them, without the defaults.
#define PYRO_TRANSFER_READ_DEFINITION_Plain \
    const CPlane* src, int32_t x, int32_t y, const Rect* srcRect, const Size* size, const Rect* clip
// The Rates form's definition list.
#define PYRO_TRANSFER_READ_DEFINITION_Rates                                                   \
    const CPlane* src, int32_t x, int32_t y, uint32_t dstRate, uint32_t srcRate,             \
        const Rect* srcRect, const Size* size, const Rect* clip
// The rates a Plain transfer passes on to its rule: none.
#define PYRO_TRANSFER_RATES_Plain 0u, 0u
// The rates a Rates transfer passes on to its rule: its own two.
#define PYRO_TRANSFER_RATES_Rates dstRate, srcRate

// Declares one transfer as an abstract slot (the implementation interface).
#define PYRO_TRANSFER_PURE(name, rule, mirrored, key, args) \
    virtual int32_t name(PYRO_TRANSFER_PARAMS_##args) = 0;
// Declares one transfer as an override (a transfer set's class body).
#define PYRO_TRANSFER_OVERRIDE(name, rule, mirrored, key, args) \
    int32_t name(PYRO_TRANSFER_PARAMS_##args) override;
// Declares one transfer of a drawing target with a read-only source (the screen view's class
// body).
#define PYRO_TRANSFER_READ(name, rule, mirrored, key, args) \
    int32_t name(PYRO_TRANSFER_READ_PARAMS_##args);
// Declares the two routing transfers with a read-only source, beside PYRO_TRANSFER_READ's
// family: TransferFade (level 0: nothing; 256 and above: TransferAuto; between: the source
// weighted by the level, the destination by 255 - level) and TransferAuto (alpha transfer for
// an alpha source, keyed copy otherwise).
#define PYRO_TRANSFER_READ_ROUTING                                                           \
    int32_t TransferFade(const CPlane* src, int32_t x, int32_t y, int32_t level,             \
                         const Rect* srcRect = nullptr, const Size* size = nullptr,          \
                         const Rect* clip = nullptr);                                        \
    int32_t TransferAuto(const CPlane* src, int32_t x, int32_t y, const Rect* srcRect = nullptr, \
                         const Size* size = nullptr, const Rect* clip = nullptr);
