// Transition effects that move tiles of the source into place: flying in, radial flights with
// and without a turn, whirls, dropping tiles and settling jitter. The offsets come from the
// random byte table and the cosine table, so every run draws the same pictures.
#include "graphics/transfer/CosTable.h"
#include "graphics/transfer/TransitionEffects.h"
#include "graphics/transfer/TransitionRandom.h"

#include <algorithm>
#include <cmath>

namespace {

int64_t R(int64_t i) { return RandomByteTable()[i & 255]; }

// How far the tiles still have to travel: the source's width plus height, down to 0.
int64_t Distance(const TransitionStep& t)
{
    const int64_t span = int64_t(t.w) + t.h;
    return span - t.phase * span / 256;
}

// The turn angle of the turning flights and whirls, in 512ths of a turn: one full turn over
// the phase.
int32_t TurnAngle(const TransitionStep& t) { return 2 * (256 - t.phase); }

// a * b / c rounded to the nearest, halves away from zero, as the Win32 MulDiv does; c > 0.
// 64-bit throughout, so large planes cannot overflow the product.
int64_t MulDiv(int64_t a, int64_t b, int64_t c)
{
    const int64_t product = a * b;
    return product >= 0 ? (product + c / 2) / c : (product - c / 2) / c;
}

// A tile's place relative to the source's centre.
struct Radial {
    int64_t dx, dy;
    int64_t length;  // trunc(sqrt(dx^2 + dy^2))

    Radial(const TransitionStep& t, int64_t c, int64_t r)
        : dx(c - t.w / 2), dy(r - t.h / 2),
          length(int64_t(std::sqrt(double(dx * dx + dy * dy))))
    {
    }
    // The direction scaled to length 256 (the place itself at the centre).
    int64_t UnitX() const { return length ? dx * 256 / length : dx; }
    int64_t UnitY() const { return length ? dy * 256 / length : dy; }
};

// The offset of the radial flight: outward along the tile's direction, each tile at its own
// random speed, down to nothing at the end.
struct Flight {
    int64_t ox, oy;
};

Flight RadialOffset(const TransitionStep& t, int64_t c, int64_t r)
{
    const Radial place(t, c, r);
    const int64_t d = Distance(t);
    return {(d * place.UnitX() * R(r * 13 + c)) >> 16, (d * place.UnitY() * R(c + r * 19 + 1)) >> 16};
}

// The radial flight with both offsets scaled by the cosine and the sine of the turn angle.
Flight TurningOffset(const TransitionStep& t, int64_t c, int64_t r)
{
    const Flight f = RadialOffset(t, c, r);
    const int32_t k = TurnAngle(t);
    return {(f.ox * Cos512(k)) >> 16, (f.oy * Sin512(k)) >> 16};
}

// Where the whirl puts a tile, relative to its own place: its centre offset turned by the
// turn angle, less the offset itself.
Flight WhirlOffset(const TransitionStep& t, int64_t c, int64_t r)
{
    const Radial place(t, c, r);
    const int32_t k = TurnAngle(t);
    const int64_t cs = Cos512(k);
    const int64_t sn = Sin512(k);
    const int64_t rx = ((place.dx * cs) >> 16) - ((place.dy * sn) >> 16);
    const int64_t ry = ((place.dx * sn) >> 16) + ((place.dy * cs) >> 16);
    return {rx - place.dx, ry - place.dy};
}

void RadialTiles(const TransitionStep& t, int32_t tileW, int32_t tileH)
{
    ForEachTile(t, tileW, tileH, [&](int32_t c, int32_t r) {
        const Flight f = RadialOffset(t, c, r);
        t.Draw(c, r, tileW, tileH, f.ox, f.oy);
    });
}

void Whirl(const TransitionStep& t, int32_t tile)
{
    ForEachTile(t, tile, tile, [&](int32_t c, int32_t r) {
        const Flight f = WhirlOffset(t, c, r);
        t.Draw(c, r, tile, tile, f.ox, f.oy);
    });
}

// Each tile falls into its cell from above, its top `v` rows showing at the cell's bottom; a
// random delay per tile staggers the start. `shift` scales the phase to the tile size.
void DroppingTiles(const TransitionStep& t, int32_t tile, int32_t shift)
{
    ForEachTile(t, tile, tile, [&](int32_t c, int32_t r) {
        const int64_t fall = (t.phase + R(c / 8 + int64_t(r) * 13) / 2) >> shift;
        if (fall <= tile) return;
        const int64_t v = std::min<int64_t>(fall - tile, tile);
        t.Draw(c, r, tile, v, 0, tile - v);
    });
}

// The random bytes of a 4 by 4 tile for its two axes.
int64_t JitterX(int64_t c, int64_t r) { return R(c / 4 + (r / 4) * 13); }
int64_t JitterY(int64_t c, int64_t r) { return R(c / 4 + (r / 4) * 19); }

}  // namespace

void TilesFlyIn(const TransitionStep& t)
{
    const int64_t d = Distance(t);
    ForEachTile(t, 4, 2, [&](int32_t c, int32_t r) {
        t.Draw(c, r, 4, 2, (R(c + r) * d) >> 8, (R(c + r + 1) * d) >> 8);
    });
}

void RadialFlight(const TransitionStep& t) { RadialTiles(t, 4, 2); }
void RadialFlightFine(const TransitionStep& t) { RadialTiles(t, 2, 2); }

void RadialFlightTurning(const TransitionStep& t)
{
    ForEachTile(t, 4, 2, [&](int32_t c, int32_t r) {
        const Flight f = TurningOffset(t, c, r);
        t.Draw(c, r, 4, 2, f.ox, f.oy);
    });
}

// The direction's two axes scaled by the sine and the cosine of the turn angle, without the
// random speeds: the picture swings out and back.
void RadialFlightSwinging(const TransitionStep& t)
{
    const int64_t d = Distance(t);
    const int32_t k = TurnAngle(t);
    ForEachTile(t, 4, 2, [&](int32_t c, int32_t r) {
        const Radial place(t, c, r);
        int64_t ux = place.dx;
        int64_t uy = place.dy;
        if (place.length) {
            ux = ((place.dx * 256 * Sin512(k)) >> 16) / place.length;
            uy = ((place.dy * 256 * Cos512(k)) >> 16) / place.length;
        }
        t.Draw(c, r, 4, 2, (d * ux) >> 8, (d * uy) >> 8);
    });
}

// The picture scaled about its centre by the remaining distance and the turn angle.
void RadialFlightScaled(const TransitionStep& t)
{
    const int64_t d = Distance(t);
    const int32_t k = TurnAngle(t);
    ForEachTile(t, 4, 2, [&](int32_t c, int32_t r) {
        const Radial place(t, c, r);
        t.Draw(c, r, 4, 2, MulDiv(d, place.dx * Cos512(k), int64_t(1) << 24),
               MulDiv(d, place.dy * Sin512(k), int64_t(1) << 24));
    });
}

void Whirl2(const TransitionStep& t) { Whirl(t, 2); }
void Whirl4(const TransitionStep& t) { Whirl(t, 4); }
void Whirl8(const TransitionStep& t) { Whirl(t, 8); }

// The whirl and the turning radial flight at once, on 4 by 4 tiles: a tile at (c, r) is drawn
// at its own place plus
//   (rx - dx + fx, ry - dy + fy)
// where (rx - dx, ry - dy) is the whirl's offset (its centre offset turned by
// k = 2 (256 - phase)) and (fx, fy) the turning flight's offset (the radial flight's
// (D ux R1 >> 16, D uy R2 >> 16) scaled by cos k and sin k). Both vanish at phase 256: the
// tiles spin in and fly home together.
void WhirlFlight(const TransitionStep& t)
{
    ForEachTile(t, 4, 4, [&](int32_t c, int32_t r) {
        const Flight whirl = WhirlOffset(t, c, r);
        const Flight flight = TurningOffset(t, c, r);
        t.Draw(c, r, 4, 4, whirl.ox + flight.ox, whirl.oy + flight.oy);
    });
}

void DroppingTiles8(const TransitionStep& t) { DroppingTiles(t, 8, 4); }
void DroppingTiles16(const TransitionStep& t) { DroppingTiles(t, 16, 3); }

// Tiles start up to 128 pixels off their place and settle in as the phase rises.
void SettlingJitter(const TransitionStep& t)
{
    const int64_t s = (t.phase >> 1) + 1;
    ForEachTile(t, 4, 4, [&](int32_t c, int32_t r) {
        t.Draw(c, r, 4, 4, (JitterX(c, r) - 128) / s, (JitterY(c, r) - 128) / s);
    });
}

// The same with offsets falling linearly to nothing; the tiles rise from below.
void SettlingDrift(const TransitionStep& t)
{
    const int64_t rest = 256 - t.phase;
    ForEachTile(t, 4, 4, [&](int32_t c, int32_t r) {
        t.Draw(c, r, 4, 4, ((JitterX(c, r) - 128) * rest) >> 11, (JitterY(c, r) * rest) >> 11);
    });
}
