// Scan-line triangle rasterizers of the 3D engine: corners in integer pixels,
// coordinates interpolated affinely in 16.16 fixed point, clipped to the
// frame, no depth test. render_scene calls them for every listed face.
#pragma once
#include <cstdint>

// Draws the triangle (x0, y0), (x1, y1), (x2, y2) with texel coordinates
// (u0, v0), (u1, v1), (u2, v2) of a 256 x 256 texture (wrapped mod 256) into
// frame. Called by render_scene for the render kinds drawn at face or at
// environment coordinates (render_kind.h). Any integer corners are safe.
void draw_textured_triangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                            int32_t u0, int32_t v0, int32_t u1, int32_t v1, int32_t u2, int32_t v2,
                            const uint32_t* texture, uint32_t* frame);

// Writes count pixels from frame[index] on, texel (u, v) then stepping by
// (du, dv) per pixel, all in 16.16. Positions wrap in 32 bits: only bits
// 16..23 choose a texel, so the wrap never changes a lookup. Called by
// draw_textured_triangle for each row, with the triangle's span gradients.
void draw_textured_span(int32_t index, int32_t count, uint32_t u, uint32_t v, uint32_t du,
                        uint32_t dv, const uint32_t* texture, uint32_t* frame);

// As draw_textured_triangle, and each texel is brightened through
// HighlightTable by the RadialTable intensity at the interpolated (s, t).
// Called by render_scene for the highlight render kinds.
void draw_highlight_triangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                             int32_t u0, int32_t v0, int32_t u1, int32_t v1, int32_t u2, int32_t v2,
                             int32_t s0, int32_t t0, int32_t s1, int32_t t1, int32_t s2, int32_t t2,
                             const uint32_t* texture, uint32_t* frame);
