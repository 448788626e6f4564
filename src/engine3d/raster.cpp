#include "engine3d/raster.h"

#include <algorithm>
#include <utility>

#include "core/frame.h"
#include "engine3d/tables.h"

namespace {

constexpr int32_t EDGE_ROWS = 2000;  // frame rows the edge tables can hold

// One side of the edge tables: per frame row, the edge's pixel column and
// its interpolants (u, v, s, t) in 16.16. The interpolants are kept in 64
// bits so that set-up never overflows, whatever the corner values.
struct EdgeSide {
    int32_t x[EDGE_ROWS];
    int64_t c[4][EDGE_ROWS];
};
EdgeSide side_a;  // the long edge, top corner to bottom corner
EdgeSide side_b;  // the two short edges

struct Corner {
    int32_t x, y;
    int32_t c[4];  // u, v, s, t
};

// Steps the edge from upper corner p to lower corner q (p.y < q.y) and
// writes the rows that lie inside 0 .. rows - 1. Gradients are 16.16
// differences divided by the height, truncated toward zero.
template <int N>
void edge_walk(EdgeSide& side, const Corner& p, const Corner& q, int32_t rows)
{
    int64_t first = std::max(p.y, 0);
    int64_t last = std::min(q.y, rows - 1);
    if (first > last)
        return;
    int64_t n = static_cast<int64_t>(q.y) - p.y;
    int64_t skip = first - p.y;  // rows above the frame, at most n
    int64_t dx = (static_cast<int64_t>(q.x) - p.x) * 65536 / n;
    int64_t x = static_cast<int64_t>(p.x) * 65536 + dx * skip;
    int64_t d[N], c[N];
    for (int k = 0; k < N; ++k) {
        d[k] = (static_cast<int64_t>(q.c[k]) - p.c[k]) * 65536 / n;
        c[k] = static_cast<int64_t>(p.c[k]) * 65536 + d[k] * skip;
    }
    for (int64_t row = first; row <= last; ++row) {
        side.x[row] = static_cast<int32_t>(x >> 16);  // lies between the corners' columns
        x += dx;
        for (int k = 0; k < N; ++k) {
            side.c[k][row] = c[k];
            c[k] += d[k];
        }
    }
}

// The shared body of both rasterizers: sorts the corners by y, sets up the
// edges, takes the span gradients from the middle row and draws each row
// from its left edge up to (not including) its right edge.
template <bool HIGHLIGHT>
void draw_triangle(Corner c0, Corner c1, Corner c2, const uint32_t* texture, uint32_t* frame)
{
    constexpr int N = HIGHLIGHT ? 4 : 2;
    if (c2.y < c0.y)
        std::swap(c0, c2);
    if (c1.y < c0.y)
        std::swap(c0, c1);
    if (c2.y < c1.y)
        std::swap(c1, c2);
    int32_t rows = std::min(frame_height, EDGE_ROWS);
    // A triangle of zero height, or wholly above or below the frame, sets up
    // no row; drawing nothing keeps rows of an earlier triangle from showing.
    if (rows <= 0 || frame_width <= 0 || c0.y == c2.y || c2.y < 0 || c0.y >= rows)
        return;
    edge_walk<N>(side_a, c0, c2, rows);
    if (c1.y != c0.y)
        edge_walk<N>(side_b, c0, c1, rows);
    if (c2.y != c1.y)
        edge_walk<N>(side_b, c1, c2, rows);  // written last, so row y1 starts at x1
    int32_t y0 = std::clamp(c0.y, 0, rows - 1);
    int32_t y1 = std::clamp(c1.y, 0, rows - 1);
    int32_t y2 = std::clamp(c2.y, 0, rows - 1);

    // Span gradients from the middle row; the sign of w makes them point
    // toward increasing x whichever side is left. A zero-width middle row
    // gives zero gradients.
    uint32_t d[4] = {0, 0, 0, 0};
    int64_t w = static_cast<int64_t>(side_b.x[y1]) - side_a.x[y1];
    if (w != 0)
        for (int k = 0; k < N; ++k)
            d[k] = static_cast<uint32_t>((side_b.c[k][y1] - side_a.c[k][y1]) / w);

    for (int32_t y = y0; y <= y2; ++y) {
        const EdgeSide* left_side = &side_a;
        int32_t left = side_a.x[y];
        int32_t right = side_b.x[y];
        if (left > right) {
            left_side = &side_b;
            std::swap(left, right);
        }
        uint32_t c[4];
        for (int k = 0; k < N; ++k)
            c[k] = static_cast<uint32_t>(left_side->c[k][y]);
        if (left < 0) {
            for (int k = 0; k < N; ++k)
                c[k] -= static_cast<uint32_t>(left) * d[k];
            left = 0;
        }
        right = std::min(right, frame_width);
        if (right <= left)
            continue;
        if (!HIGHLIGHT) {
            draw_textured_span(row_offset[y] + left, right - left, c[0], c[1], d[0], d[1], texture,
                               frame);
            continue;
        }
        uint32_t* pixel = frame + row_offset[y] + left;
        uint32_t u = c[0], v = c[1], s = c[2], t = c[3];
        for (int32_t count = right - left; count > 0; --count) {
            uint32_t spot = RadialTable[((t >> 16) & 255) << 8 | ((s >> 16) & 255)];
            uint32_t texel = texture[((v >> 16) & 255) << 8 | ((u >> 16) & 255)];
            const uint8_t* bright = HighlightTable + (spot << 8);
            *pixel++ = bright[texel & 255] | bright[(texel >> 8) & 255] << 8 |
                       static_cast<uint32_t>(bright[(texel >> 16) & 255]) << 16;
            u += d[0];
            v += d[1];
            s += d[2];
            t += d[3];
        }
    }
}

}  // namespace

// Starts on a 64-byte line, so where its inner span loop falls depends on
// this file's code alone and not on what the linker places before it: a
// loop that straddled two lines made large triangles 10 to 20% slower.
[[gnu::aligned(64)]] void draw_textured_triangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                                 int32_t x2, int32_t y2, int32_t u0, int32_t v0,
                                                 int32_t u1, int32_t v1, int32_t u2, int32_t v2,
                                                 const uint32_t* texture, uint32_t* frame)
{
    draw_triangle<false>({x0, y0, {u0, v0, 0, 0}}, {x1, y1, {u1, v1, 0, 0}},
                         {x2, y2, {u2, v2, 0, 0}}, texture, frame);
}

void draw_textured_span(int32_t index, int32_t count, uint32_t u, uint32_t v, uint32_t du,
                        uint32_t dv, const uint32_t* texture, uint32_t* frame)
{
    uint32_t* pixel = frame + index;
    for (; count > 0; --count) {
        *pixel++ = texture[((v >> 16) & 255) << 8 | ((u >> 16) & 255)];
        u += du;
        v += dv;
    }
}

void draw_highlight_triangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                             int32_t u0, int32_t v0, int32_t u1, int32_t v1, int32_t u2, int32_t v2,
                             int32_t s0, int32_t t0, int32_t s1, int32_t t1, int32_t s2, int32_t t2,
                             const uint32_t* texture, uint32_t* frame)
{
    draw_triangle<true>({x0, y0, {u0, v0, s0, t0}}, {x1, y1, {u1, v1, s1, t1}},
                        {x2, y2, {u2, v2, s2, t2}}, texture, frame);
}
