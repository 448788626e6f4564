// A float RGB canvas with anti-aliased shapes, gradients and glows, the drawing
// kit of the content generator's pictures. Shapes are given as signed distance
// functions (negative inside, in pixels); coverage follows from the distance.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// A colour with channels 0..1 (values above 1 are clipped when encoded).
struct Colour {
    float r, g, b;
};

// A picture being painted, row-major, top row first.
struct Canvas {
    int width;                   // pixels per row
    int height;                  // rows
    std::vector<Colour> pixels;  // width * height colours
};

// The palette shared by every picture.
namespace palette {
constexpr Colour black{0.0f, 0.0f, 0.0f};
constexpr Colour night{0.035f, 0.05f, 0.16f};     // night blue
constexpr Colour violet{0.17f, 0.045f, 0.26f};    // deep violet
constexpr Colour gold{1.0f, 0.76f, 0.26f};        // warm gold
constexpr Colour magenta{0.95f, 0.16f, 0.66f};    // magenta
constexpr Colour cyan{0.16f, 0.86f, 0.95f};       // cyan
constexpr Colour white{1.0f, 0.97f, 0.9f};        // warm white
constexpr Colour orange{1.0f, 0.45f, 0.12f};      // ember orange
}  // namespace palette

inline float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }
inline float smoothstep(float e0, float e1, float x)
{
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}
inline Colour mix(Colour a, Colour b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Colour scale(Colour a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline Colour add(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }

// Pixel coverage of a shape at a pixel whose centre lies d pixels outside its edge.
inline float coverage(float d) { return clamp01(0.5f - d); }

// Signed distances, in pixels, from point (px, py).
inline float sd_circle(float px, float py, float cx, float cy, float r)
{
    return std::hypot(px - cx, py - cy) - r;
}
// Distance to the segment a-b (not signed: subtract a radius for a capsule).
float sd_segment(float px, float py, float ax, float ay, float bx, float by);
// Rounded box centred at (cx, cy) with half sizes hw, hh and corner radius.
float sd_round_box(float px, float py, float cx, float cy, float hw, float hh, float radius);
// Ellipse centred at (cx, cy), radii rx, ry (a close approximation near the edge).
float sd_ellipse(float px, float py, float cx, float cy, float rx, float ry);
// Convex or concave polygon given as n points (x, y pairs).
float sd_polygon(float px, float py, const float* points, int n);

// Makes a canvas filled with one colour.
Canvas canvas_make(int width, int height, Colour fill);

// Blends colour c over pixel (x, y) with the given opacity; ignores pixels outside.
inline void canvas_blend(Canvas& c, int x, int y, Colour colour, float alpha)
{
    if (x < 0 || y < 0 || x >= c.width || y >= c.height || alpha <= 0.0f)
        return;
    Colour& p = c.pixels[y * c.width + x];
    p = mix(p, colour, alpha);
}
// Adds light to pixel (x, y); ignores pixels outside.
inline void canvas_add(Canvas& c, int x, int y, Colour colour, float amount)
{
    if (x < 0 || y < 0 || x >= c.width || y >= c.height || amount <= 0.0f)
        return;
    Colour& p = c.pixels[y * c.width + x];
    p = add(p, scale(colour, amount));
}

// Fills a shape: for each pixel of the box [x0, x1) x [y0, y1) (clipped to the canvas)
// dist(px, py) gives the signed distance at the pixel centre and paint(px, py, d) its
// colour; the colour is blended by the coverage.
template <class Dist, class Paint>
void canvas_fill(Canvas& c, float x0, float y0, float x1, float y1, Dist dist, Paint paint)
{
    int ix0 = std::max(0, (int)std::floor(x0)), iy0 = std::max(0, (int)std::floor(y0));
    int ix1 = std::min(c.width, (int)std::ceil(x1)), iy1 = std::min(c.height, (int)std::ceil(y1));
    for (int y = iy0; y < iy1; ++y)
        for (int x = ix0; x < ix1; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            float d = dist(px, py);
            float a = coverage(d);
            if (a > 0.0f)
                canvas_blend(c, x, y, paint(px, py, d), a);
        }
}

// Adds a glow around a shape: light falls off as 1 / (1 + (d / radius)^2) outside it
// and is full inside, scaled by strength; limited to the box.
template <class Dist>
void canvas_glow(Canvas& c, float x0, float y0, float x1, float y1, Dist dist, Colour colour,
                 float radius, float strength)
{
    int ix0 = std::max(0, (int)std::floor(x0)), iy0 = std::max(0, (int)std::floor(y0));
    int ix1 = std::min(c.width, (int)std::ceil(x1)), iy1 = std::min(c.height, (int)std::ceil(y1));
    for (int y = iy0; y < iy1; ++y)
        for (int x = ix0; x < ix1; ++x) {
            float d = std::max(0.0f, dist(x + 0.5f, y + 0.5f)) / radius;
            canvas_add(c, x, y, colour, strength / (1.0f + d * d));
        }
}

// Paints every pixel with shade(px, py) (a full-canvas gradient or pattern).
template <class Shade>
void canvas_shade(Canvas& c, Shade shade)
{
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            c.pixels[y * c.width + x] = shade(x + 0.5f, y + 0.5f);
}

// A small deterministic generator for placing shapes (confetti, stars); never used
// as a texture.
struct Scatter {
    uint32_t state;  // current seed
};
// Next value in 0..1 of the scatter sequence.
float scatter_next(Scatter& s);

// Converts to 8-bit RGB triples, rounding and clipping each channel.
std::vector<uint8_t> canvas_to_rgb(const Canvas& c);
