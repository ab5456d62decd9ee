// CShapes: points, lines, rectangles, circles, ellipses, triangles and polygons drawn onto a
// drawing target's pixels. Every target hands one out (CPlane::Shapes, CDIBDraw::Shapes,
// CScreenView::Shapes, CWidget::Shapes); it works in the target's own coordinates, so on the
// screen view a shape is drawn in logical pixels and each becomes a block of the view's
// magnification, exactly as a plane of the logical size drawn there and magnified would show.
//
// Pixel (x, y) is the unit square [x, x + 1) by [y, y + 1); its centre is (x + 0.5, y + 0.5).
// Colours are 0xAARRGGBB. Every operation takes a blend mode and an optional clip rectangle
// (null: the target's bounds; a given one is cut to them), and returns 0, also when nothing
// shows; 1 when the target has no pixels; -1 for an invalid argument (a null point list, too few
// points, a negative radius or width); -2 for coordinates beyond ±2^30 or radii or widths beyond
// kMaxShapeRadius. Far-away shapes cost only the rows of the clip rectangle they reach.
//
// Blend modes, per pixel (d the destination, c the colour, A its alpha byte, w = A, or 256 for
// A = 255), with the rules of the transfers of those names, so a translucent shape looks as a
// translucent sprite of its colour does:
//   Copy      d = c, all four bytes.
//   Alpha     d = c * w / 256 + d * (256 - w) / 256 per colour channel, top byte 0 (BltAlpha).
//   Add       d + c * w / 256 per channel, saturating; d's top byte stays (TransferAdd).
//   Subtract  d - c * w / 256 per channel, saturating at 0; d's top byte stays.
//   Multiply  d * m' / 256 with m = 255 - (255 - c) * w / 256 and m' = m + m / 128 (255 keeps d);
//             d's top byte stays.
// Antialiased shapes weight the alpha by each pixel's coverage (A * coverage / 255, rounded); in
// Copy mode a partly covered pixel is an Alpha blend by its coverage. Every processor set gives
// the same pixels.
#pragma once

#include <pyro/graphics/Rect.h>

#include <cstdint>

// How a shape's colour meets the pixels under it (see above).
enum class BlendMode : uint8_t { Copy, Alpha, Add, Subtract, Multiply };

// The ends of a thick line: a half disc of the line's width, or a half square.
enum class LineCap : uint8_t { Round, Square };

// Which pixels of a self-crossing or nested polygon are inside: an odd number of edge crossings
// to the left, or a non-zero sum of the edges' directions.
enum class FillRule : uint8_t { EvenOdd, NonZero };

// The largest radius, half-axis, thick-line width or corner radius.
constexpr int32_t kMaxShapeRadius = 32767;

// Where a CShapes draws: the pixels of a target and how its coordinates map onto them.
struct ShapeSurface {
    uint32_t* pixels;  // row 0, or null when the target has none
    int32_t pitch;     // bytes from one row to the next
    int32_t width;     // the pixel rows' width
    int32_t height;    // the number of rows
    Rect bounds;       // the target's area in its own coordinates, clipped to everything drawn
    int32_t scale;     // each target pixel becomes scale by scale pixels (1 for planes)
    int32_t originX;   // the pixel column of target x = 0
    int32_t originY;   // the pixel row of target y = 0
    int32_t cpuKind;   // the processor set whose span writers fill the pixels (GetCPUKind kinds)
};

// The shape operations on one surface; a target's Shapes() makes one.
class CShapes {
public:
    // Draws onto the surface; its pixels must stay while this object is used.
    explicit CShapes(const ShapeSurface& surface) : surface_(surface) {}

    // The surface drawn onto.
    const ShapeSurface& GetSurface() const { return surface_; }

    // ---- Points and lines ----

    // One pixel.
    int32_t DrawPixel(int32_t x, int32_t y, uint32_t colour, BlendMode mode = BlendMode::Copy,
                      const Rect* clip = nullptr);
    // One pixel wide, both end pixels included, each pixel once. Along the longer axis every
    // column (or row) gets one pixel, at the other coordinate rounded from the exact line; a
    // tie (exactly half-way) goes to the larger coordinate. The line is the same drawn either way.
    int32_t DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour,
                     BlendMode mode = BlendMode::Copy, const Rect* clip = nullptr);
    // Antialiased, in the manner of Wu: along the longer axis the two pixels nearest the exact
    // line share the coverage by their distance to it (both ends whole pixels).
    int32_t DrawLineAA(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour,
                       BlendMode mode = BlendMode::Alpha, const Rect* clip = nullptr);
    // A line of a width between the centres of the two end pixels: the pixels whose centre lies
    // in the band of that width (top-left rule, see FillPolygon), extended by half the width at
    // each end (Square) or ended by discs of that diameter, centres strictly inside (Round).
    // The band's corners are placed to 1/256 pixel.
    int32_t DrawThickLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t width,
                          LineCap cap, uint32_t colour, BlendMode mode = BlendMode::Copy,
                          const Rect* clip = nullptr);
    // DrawLine from each point to the next; a point shared by two lines is drawn once, the first
    // of a closed outline (last point equal to the first) too.
    int32_t DrawPolyline(const Point* points, int32_t count, uint32_t colour,
                         BlendMode mode = BlendMode::Copy, const Rect* clip = nullptr);

    // ---- Rectangles ----

    // The outline: the rectangle's outermost pixels, each once.
    int32_t DrawRect(const Rect& rect, uint32_t colour, BlendMode mode = BlendMode::Copy,
                     const Rect* clip = nullptr);
    // Every pixel of the rectangle.
    int32_t FillRect(const Rect& rect, uint32_t colour, BlendMode mode = BlendMode::Copy,
                     const Rect* clip = nullptr);
    // A translucent fill: Alpha mode with the colour's 0xRRGGBB and alpha 0 (nothing) to 255.
    int32_t FillRectAlpha(const Rect& rect, uint32_t colour, int32_t alpha,
                          const Rect* clip = nullptr);
    // The rectangle's pixels whose centre lies inside it with its corners rounded by quarter
    // circles of the radius (at most half the smaller side).
    int32_t FillRoundRect(const Rect& rect, int32_t radius, uint32_t colour,
                          BlendMode mode = BlendMode::Copy, const Rect* clip = nullptr);

    // ---- Circles and ellipses, centred on pixel (cx, cy) ----

    // The outline of FillCircle: its pixels of which a 4-neighbour lies outside.
    int32_t DrawCircle(int32_t cx, int32_t cy, int32_t radius, uint32_t colour,
                       BlendMode mode = BlendMode::Copy, const Rect* clip = nullptr);
    // FillEllipse with both half-axes equal to the radius.
    int32_t FillCircle(int32_t cx, int32_t cy, int32_t radius, uint32_t colour,
                       BlendMode mode = BlendMode::Copy, const Rect* clip = nullptr);
    // The outline of FillEllipse.
    int32_t DrawEllipse(int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour,
                        BlendMode mode = BlendMode::Copy, const Rect* clip = nullptr);
    // The midpoint rule: pixel (cx + dx, cy + dy) is inside when the mid-point half a pixel
    // towards the centre across or down lies in the ellipse:
    // ry²(2|dx| - 1)² + 4rx²dy² <= 4rx²ry² or 4ry²dx² + rx²(2|dy| - 1)² <= 4rx²ry².
    int32_t FillEllipse(int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour,
                        BlendMode mode = BlendMode::Copy, const Rect* clip = nullptr);
    // Antialiased circle outline one pixel wide: coverage 1 - |distance - radius|, by pixel
    // centres.
    int32_t DrawCircleAA(int32_t cx, int32_t cy, int32_t radius, uint32_t colour,
                         BlendMode mode = BlendMode::Alpha, const Rect* clip = nullptr);
    // Antialiased disc: coverage radius + 1/2 - distance, between 0 and 1.
    int32_t FillCircleAA(int32_t cx, int32_t cy, int32_t radius, uint32_t colour,
                         BlendMode mode = BlendMode::Alpha, const Rect* clip = nullptr);
    // DrawCircleAA for an ellipse, the distance estimated from the ellipse's gradient (and at
    // least the distance to its bounding box). Half-axes of 0 draw nothing.
    int32_t DrawEllipseAA(int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour,
                          BlendMode mode = BlendMode::Alpha, const Rect* clip = nullptr);
    // FillCircleAA for an ellipse, the distance estimated as for DrawEllipseAA.
    int32_t FillEllipseAA(int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour,
                          BlendMode mode = BlendMode::Alpha, const Rect* clip = nullptr);

    // ---- Triangles and polygons, vertices on pixel corners ----

    // FillPolygon of the three points.
    int32_t FillTriangle(const Point& a, const Point& b, const Point& c, uint32_t colour,
                         BlendMode mode = BlendMode::Copy, const Rect* clip = nullptr);
    // The pixels whose centre is inside, convex or not, by the fill rule. A centre on an edge
    // counts when the inside lies to its right (a left edge) and, on a horizontal edge, when the
    // inside lies below (a top edge): shapes that share an edge cover each pixel once.
    int32_t FillPolygon(const Point* points, int32_t count, FillRule rule, uint32_t colour,
                        BlendMode mode = BlendMode::Copy, const Rect* clip = nullptr);
    // FillTriangle with each channel, alpha included, interpolated between the vertices'
    // colours at each pixel centre (rounded to nearest).
    int32_t FillTriangleGradient(const Point& a, const Point& b, const Point& c, uint32_t colourA,
                                 uint32_t colourB, uint32_t colourC,
                                 BlendMode mode = BlendMode::Copy, const Rect* clip = nullptr);

private:
    ShapeSurface surface_;
};
