// The pictures of the default content. Every one is painted from shapes and
// gradients in the shared palette: deep violet and night blue, with gold, magenta
// and cyan light.
#include "pictures.h"

#include <cmath>
#include <cstring>

#include "glyphs.h"

namespace {

constexpr float pi = 3.14159265358979323846f;

// Fill of our capitals: gold at the top to magenta at the bottom, with a bright rim.
Colour letter_paint(float depth, float v)
{
    Colour base = mix(palette::gold, palette::magenta, smoothstep(0.05f, 0.95f, v));
    Colour inner = scale(base, 0.9f);
    float rim = smoothstep(1.7f, 0.3f, depth);
    return mix(inner, mix(base, palette::white, 0.6f), rim);
}

// A four-pointed sparkle: a bright core with thin rays along the axes and, shorter,
// the diagonals. Adds light.
void draw_sparkle(Canvas& c, float cx, float cy, float size, Colour colour, float strength)
{
    int r = (int)size + 2;
    for (int y = (int)cy - r; y <= (int)cy + r; ++y)
        for (int x = (int)cx - r; x <= (int)cx + r; ++x) {
            float dx = std::fabs(x + 0.5f - cx), dy = std::fabs(y + 0.5f - cy);
            float d = std::hypot(dx, dy);
            float axis = std::exp(-std::min(dx, dy) * 1.6f) * clamp01(1.0f - std::max(dx, dy) / size);
            float ex = (dx + dy) * 0.7071f, ey = std::fabs(dx - dy) * 0.7071f;
            float diag = std::exp(-ey * 1.8f) * clamp01(1.0f - ex / (size * 0.45f)) * 0.6f;
            float core = 1.0f / (1.0f + (d / (size * 0.08f + 0.6f)) * (d / (size * 0.08f + 0.6f)));
            canvas_add(c, x, y, colour, strength * (axis + diag + core));
        }
}

// A point on the sagging string between (x0, y0) and (x1, y1) at fraction t.
void string_point(float x0, float y0, float x1, float y1, float sag, float t, float& x, float& y)
{
    x = x0 + (x1 - x0) * t;
    y = y0 + (y1 - y0) * t + sag * 4.0f * t * (1.0f - t);
}

// Distance from (px, py) to a shape turned by angle a about (cx, cy): a rounded box.
float sd_turned_box(float px, float py, float cx, float cy, float hw, float hh, float a)
{
    float ca = std::cos(a), sa = std::sin(a);
    float lx = (px - cx) * ca + (py - cy) * sa, ly = -(px - cx) * sa + (py - cy) * ca;
    return sd_round_box(lx, ly, 0, 0, hw, hh, std::min(hw, hh) * 0.5f);
}

// The outline of a flame: a drop whose point is at the top, base centre (cx, cy),
// height h and half-width w, as a polygon of 48 points.
void flame_polygon(float cx, float cy, float h, float w, float lean, float* pts)
{
    for (int i = 0; i < 24; ++i) {
        float t = (i + 0.5f) / 24.0f;  // 0 at the tip, 1 at the base
        float half = w * std::pow(std::sin(pi * (0.5f * t + 0.5f * t * t)), 0.9f) * std::sqrt(t);
        float y = cy - h * (1.0f - t);
        float shift = lean * (1.0f - t) * (1.0f - t);
        pts[2 * i] = cx + shift + half;
        pts[2 * i + 1] = y;
        pts[2 * (47 - i)] = cx + shift - half;
        pts[2 * (47 - i) + 1] = y;
    }
}

}  // namespace

Canvas picture_font()
{
    Canvas c = canvas_make(32, 832, palette::black);
    const TextStyle s{21.0f, 3.3f, 0.0f};
    for (int k = 0; k < 26; ++k) {
        char text[2] = {(char)('A' + k), 0};
        const GlyphShape* g = glyph_shape(text[0]);
        float ink = g->width * s.cap + 2 * s.radius;
        float x = (32.0f - ink) * 0.5f;
        float y = 32.0f * k + (32.0f - (s.cap + 2 * s.radius)) * 0.5f + s.radius;
        text_draw(c, text, x, y, s, [](float depth, float v, float, float) { return letter_paint(depth, v); });
    }
    return c;
}

Canvas picture_intro()
{
    Canvas c = canvas_make(320, 200, palette::black);
    const float cx = 160.0f, cy = 100.0f;
    // Background: violet light at the centre fading to night blue and black, with
    // 24 soft rays alternating gold and magenta.
    canvas_shade(c, [&](float x, float y) {
        float dx = x - cx, dy = (y - cy) * 1.3f;
        float r = std::hypot(dx, dy);
        float a = std::atan2(dy, dx);
        Colour bg = mix(palette::violet, palette::night, smoothstep(20.0f, 150.0f, r));
        bg = scale(bg, 1.0f - 0.75f * smoothstep(120.0f, 230.0f, r));
        float ray = smoothstep(0.55f, 1.0f, 0.5f + 0.5f * std::cos(24.0f * a));
        float fall = smoothstep(6.0f, 40.0f, r) * std::exp(-r / 110.0f) * (y > 150.0f ? 0.3f : 1.0f);
        Colour rc = mix(palette::gold, palette::magenta, 0.5f + 0.5f * std::cos(12.0f * a));
        return add(bg, scale(rc, 0.45f * ray * fall));
    });
    // A neon floor below the horizon: lines running to the vanishing point and rows
    // closing in on the horizon, fading into it.
    const float horizon = 150.0f;
    for (int y = (int)horizon; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            float t = y + 0.5f - horizon;
            float u = (x + 0.5f - cx) / t * 3.0f;
            float du = std::fabs(u - std::round(u)) * t / 3.0f;
            float light = smoothstep(5.0f, 14.0f, t / 3.0f) / (1.0f + (du / 0.8f) * (du / 0.8f));
            for (int k = 1; k < 8; ++k) {
                float dy = std::fabs(y + 0.5f - (horizon + 4.0f * std::pow(1.45f, (float)k))) / 0.8f;
                light += 1.0f / (1.0f + dy * dy);
            }
            canvas_add(c, x, y, palette::magenta, 0.55f * std::min(light, 1.4f) * smoothstep(0.0f, 30.0f, t));
            canvas_add(c, x, y, palette::violet, 0.5f * std::exp(-t / 6.0f));
        }
    // The title in our capitals, with a magenta glow behind it.
    const TextStyle title{40.0f, 6.0f, 5.0f};
    const char* word = "VIVUR";
    float tx = cx - text_width(word, title) * 0.5f, ty = 18.0f;
    text_glow(c, word, tx, ty, title, palette::magenta, 5.0f, 0.35f, 22.0f);
    text_draw(c, word, tx, ty, title, [](float depth, float v, float, float) {
        Colour col = letter_paint(depth * 0.6f, v);
        return depth > 2.2f ? mix(col, palette::white, 0.25f * smoothstep(2.2f, 5.0f, depth)) : col;
    });
    // The emblem at the centre, where the zoom goes: rings, dots and a sparkle.
    for (int ring = 0; ring < 4; ++ring) {
        float rr = 5.0f + ring * 5.5f;
        Colour col = ring % 2 ? palette::cyan : palette::gold;
        canvas_glow(c, cx - 30, cy - 30, cx + 30, cy + 30,
                    [&](float px, float py) { return std::fabs(sd_circle(px, py, cx, cy, rr)) - 0.35f; }, col,
                    0.7f, 0.55f - ring * 0.08f);
    }
    for (int i = 0; i < 12; ++i) {
        float a = i * pi / 6.0f + pi / 12.0f;
        float dx = cx + std::cos(a) * 19.0f, dy = cy + std::sin(a) * 19.0f;
        canvas_fill(c, dx - 3, dy - 3, dx + 3, dy + 3, [&](float px, float py) { return sd_circle(px, py, dx, dy, 1.1f); },
                    [&](float, float, float) { return i % 2 ? palette::magenta : palette::white; });
    }
    draw_sparkle(c, cx, cy, 30.0f, palette::white, 0.9f);
    // Small sparkles in the sky.
    const float stars[][3] = {{40, 30, 7}, {282, 24, 8}, {64, 118, 5}, {262, 112, 6}, {24, 80, 4}, {300, 78, 4}, {118, 128, 3}, {206, 132, 3}};
    for (const auto& s : stars)
        draw_sparkle(c, s[0], s[1], s[2], palette::gold, 0.7f);
    return c;
}

Canvas picture_feli()
{
    Canvas c = canvas_make(320, 200, palette::black);
    canvas_shade(c, [](float, float y) {
        Colour top = mix(palette::night, palette::violet, smoothstep(0.0f, 120.0f, y));
        return scale(top, 1.0f - 0.85f * smoothstep(120.0f, 160.0f, y));
    });
    // Fireworks: bursts of streaks ending in bright sparks.
    struct Burst { float x, y, r; int rays; Colour col; };
    const Burst bursts[] = {{62, 52, 42, 20, palette::gold}, {258, 46, 40, 18, palette::cyan},
                            {160, 30, 28, 16, palette::magenta}, {110, 96, 20, 12, palette::cyan},
                            {214, 96, 22, 12, palette::gold}};
    for (const Burst& b : bursts) {
        canvas_glow(c, b.x - 60, b.y - 60, b.x + 60, b.y + 60, [&](float px, float py) { return sd_circle(px, py, b.x, b.y, 2.0f); },
                    b.col, b.r * 0.35f, 0.12f);
        for (int i = 0; i < b.rays; ++i) {
            float a = (i + 0.25f * (i % 2)) * 2.0f * pi / b.rays;
            float len = b.r * (i % 2 ? 0.8f : 1.0f);
            float ex = b.x + std::cos(a) * len, ey = b.y + std::sin(a) * len;
            float sx = b.x + std::cos(a) * len * 0.3f, sy = b.y + std::sin(a) * len * 0.3f;
            canvas_glow(c, std::min(sx, ex) - 4, std::min(sy, ey) - 4, std::max(sx, ex) + 4, std::max(sy, ey) + 4,
                        [&](float px, float py) {
                            float d = sd_segment(px, py, sx, sy, ex, ey);
                            float t = clamp01(((px - sx) * (ex - sx) + (py - sy) * (ey - sy)) / (len * len * 0.49f));
                            return d - 0.2f - 0.5f * t;
                        },
                        b.col, 0.6f, 0.5f);
            draw_sparkle(c, ex, ey, 4.0f, mix(b.col, palette::white, 0.5f), 0.6f);
        }
    }
    // A cake with three candles in the middle, above the band of the closing words.
    const float kx = 160.0f;
    canvas_glow(c, kx - 90, 80, kx + 90, 170, [&](float px, float py) { return sd_round_box(px, py, kx, 136, 46, 16, 6); },
                palette::magenta, 8.0f, 0.25f);
    canvas_fill(c, kx - 50, 116, kx + 50, 156, [&](float px, float py) { return sd_round_box(px, py, kx, 137, 46, 16, 6); },
                [&](float px, float py, float) {
                    float stripe = 0.5f + 0.5f * std::cos((py - 121.0f) * pi / 5.5f);
                    Colour body = mix(mix(palette::magenta, palette::violet, 0.3f), palette::gold, 0.85f * smoothstep(0.6f, 0.9f, stripe));
                    float side = std::fabs(px - kx) / 46.0f;
                    return scale(body, 1.0f - 0.45f * side * side);
                });
    canvas_fill(c, kx - 50, 116, kx + 50, 128, [&](float px, float py) {
                    float dist = sd_round_box(px, py, kx, 121.5f, 46, 4.5f, 4.5f);
                    float drip = sd_circle(px, py, kx - 40 + std::round((px - kx + 40) / 10.0f) * 10.0f, 125.5f, 2.6f);
                    return std::min(dist, drip);
                },
                [](float, float py, float) { return mix(palette::white, mix(palette::white, palette::magenta, 0.3f), smoothstep(118, 128, py)); });
    for (int i = -1; i <= 1; ++i) {
        float x = kx + i * 24.0f;
        canvas_fill(c, x - 4, 98, x + 4, 118, [&](float px, float py) { return sd_round_box(px, py, x, 108, 2.4f, 9.5f, 1.2f); },
                    [&](float, float py, float) { return std::fmod(py + 100.0f, 6.0f) < 3.0f ? palette::cyan : palette::white; });
        float fl[96];
        flame_polygon(x, 97.5f, 11.0f, 3.2f, 0.6f * i, fl);
        canvas_glow(c, x - 20, 72, x + 20, 104, [&](float px, float py) { return sd_polygon(px, py, fl, 48); }, palette::orange, 3.5f, 0.35f);
        canvas_fill(c, x - 5, 84, x + 5, 99, [&](float px, float py) { return sd_polygon(px, py, fl, 48); },
                    [&](float, float py, float) { return mix(palette::white, palette::gold, smoothstep(96, 88, py)); });
    }
    // Confetti: small turned pieces in the palette, kept off the cake and the band.
    Scatter sc{20240607u};
    const Colour confetti[] = {palette::gold, palette::magenta, palette::cyan, palette::white};
    for (int i = 0; i < 70; ++i) {
        float x = 6.0f + scatter_next(sc) * 308.0f, y = 6.0f + scatter_next(sc) * 148.0f;
        float a = scatter_next(sc) * pi;
        Colour col = confetti[i % 4];
        if (std::fabs(x - kx) < 62 && y > 84)
            continue;
        canvas_fill(c, x - 5, y - 5, x + 5, y + 5, [&](float px, float py) { return sd_turned_box(px, py, x, y, 2.6f, 1.2f, a); },
                    [&](float, float, float) { return scale(col, 0.85f); });
    }
    // Keep the band of the closing words (rows 164..195) dark.
    for (int y = 150; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            Colour& p = c.pixels[y * 320 + x];
            p = scale(p, 1.0f - 0.8f * smoothstep(150.0f, 163.0f, y + 0.5f));
        }
    return c;
}

Canvas picture_norm(int state)
{
    Canvas c = canvas_make(320, 200, palette::black);
    canvas_shade(c, [](float, float y) {
        Colour sky = mix(scale(palette::night, 0.6f), palette::violet, smoothstep(10.0f, 150.0f, y));
        return add(sky, scale(palette::magenta, 0.18f * smoothstep(90.0f, 150.0f, y)));
    });
    Scatter sc{77u};
    for (int i = 0; i < 36; ++i) {
        float x = scatter_next(sc) * 320.0f, y = 4.0f + scatter_next(sc) * 90.0f;
        float b = 0.25f + 0.5f * scatter_next(sc);
        canvas_glow(c, x - 3, y - 3, x + 3, y + 3, [&](float px, float py) { return sd_circle(px, py, x, y, 0.3f); },
                    palette::white, 0.5f, b);
    }
    // The skyline: dark blocks with warm windows.
    const float blocks[][3] = {{0, 40, 138}, {40, 34, 124}, {74, 30, 146}, {104, 44, 116}, {148, 26, 134},
                               {174, 38, 122}, {212, 30, 142}, {242, 40, 128}, {282, 38, 136}};
    for (const auto& b : blocks) {
        float x0 = b[0], w = b[1], top = b[2];
        canvas_fill(c, x0, top - 1, x0 + w + 1, 200,
                    [&](float px, float py) { return sd_round_box(px, py, x0 + w * 0.5f, (top + 220) * 0.5f, w * 0.5f, (220 - top) * 0.5f, 1.5f); },
                    [&](float, float py, float) { return mix(scale(palette::night, 0.8f), scale(palette::night, 0.35f), smoothstep(top, 200, py)); });
        for (float wy = top + 7; wy < 186; wy += 11)
            for (float wx = x0 + 6; wx < x0 + w - 6; wx += 9) {
                uint32_t h = (uint32_t)(wx * 7 + wy * 13) * 2654435761u;
                if ((h >> 28) < 5) {
                    Colour col = (h >> 24) & 1 ? palette::gold : mix(palette::gold, palette::orange, 0.5f);
                    canvas_fill(c, wx - 3, wy - 3, wx + 3, wy + 4, [&](float px, float py) { return sd_round_box(px, py, wx, wy, 2.2f, 2.8f, 0.6f); },
                                [&](float, float, float) { return scale(col, 0.75f); });
                }
            }
    }
    // Two strings of bulbs across the sky; the scheme of the lights is the state.
    struct String { float x0, y0, x1, y1, sag; int bulbs; };
    const String strings[] = {{-20, 8, 340, 22, 46, 14}, {-20, 58, 340, 44, 40, 13}};
    int index = 0;
    for (const String& s : strings) {
        canvas_fill(c, 0, 0, 320, 110, [&](float px, float py) {
                        float d = 1e9f;
                        float ax, ay, bx, by;
                        string_point(s.x0, s.y0, s.x1, s.y1, s.sag, 0.0f, ax, ay);
                        for (int i = 1; i <= 32; ++i) {
                            string_point(s.x0, s.y0, s.x1, s.y1, s.sag, i / 32.0f, bx, by);
                            d = std::min(d, sd_segment(px, py, ax, ay, bx, by));
                            ax = bx, ay = by;
                        }
                        return d - 0.45f;
                    },
                    [](float, float, float) { return scale(palette::night, 0.5f); });
        for (int i = 0; i < s.bulbs; ++i, ++index) {
            float x, y;
            string_point(s.x0, s.y0, s.x1, s.y1, s.sag, (i + 1.0f) / (s.bulbs + 1.0f), x, y);
            y += 5.0f;
            bool lit = (index + state) % 2 == 0;
            Colour col = state == 0 ? (index % 4 == 0 ? palette::gold : palette::magenta)
                                    : (index % 4 == 1 ? palette::cyan : palette::gold);
            if (lit) {
                canvas_glow(c, x - 40, y - 40, x + 40, y + 40, [&](float px, float py) { return sd_ellipse(px, py, x, y, 3.4f, 4.4f); },
                            col, 5.0f, 0.5f);
            }
            canvas_fill(c, x - 5, y - 7, x + 5, y + 6, [&](float px, float py) { return sd_ellipse(px, py, x, y, 3.4f, 4.4f); },
                        [&](float px, float py, float d) {
                            if (!lit)
                                return mix(scale(palette::violet, 0.9f), scale(col, 0.3f), 0.5f);
                            float core = smoothstep(-1.0f, -3.5f, d) * (1.0f - 0.3f * clamp01((py - y) / 4.0f));
                            (void)px;
                            return mix(col, palette::white, 0.7f * core);
                        });
            canvas_fill(c, x - 3, y - 8, x + 3, y - 3, [&](float px, float py) { return sd_round_box(px, py, x, y - 5.2f, 1.6f, 1.4f, 0.4f); },
                        [](float, float, float) { return Colour{0.2f, 0.18f, 0.25f}; });
        }
    }
    // Balloons on the left, the same in both states.
    struct Balloon { float x, y; Colour col; };
    const Balloon balloons[] = {{34, 100, palette::magenta}, {58, 88, palette::gold}, {80, 106, palette::cyan}};
    for (const Balloon& b : balloons) {
        canvas_fill(c, b.x - 1, b.y + 10, b.x + 12, 170, [&](float px, float py) {
                        float t = (py - b.y - 12.0f) / 50.0f;
                        float sx = b.x + 3.0f * std::sin(t * 6.0f) + 4.0f * t;
                        return std::fabs(px - sx) - 0.35f;
                    },
                    [](float, float, float) { return Colour{0.6f, 0.55f, 0.7f}; });
        canvas_fill(c, b.x - 12, b.y - 16, b.x + 12, b.y + 16, [&](float px, float py) { return sd_ellipse(px, py, b.x, b.y, 10.0f, 12.5f); },
                    [&](float px, float py, float) {
                        float hl = std::hypot(px - (b.x - 3.5f), py - (b.y - 5.0f));
                        Colour body = scale(b.col, 0.55f + 0.45f * clamp01(1.0f - hl / 16.0f));
                        return mix(body, palette::white, 0.75f * smoothstep(3.0f, 0.8f, hl));
                    });
    }
    return c;
}

Canvas picture_heet()
{
    // A candle flame in the right-hand 120 columns on exact black: no panel and
    // no wide halo, because the flicker scene lifts every pixel that is not
    // exactly zero toward white (a value of 3 shows as about 56), so only the
    // flame, a tight glow and the candle may hold light. Every 8 x 8 block (the
    // JPEG's blocks, coded without chroma subsampling) without visible light is
    // made exactly black, so it decodes to the zeros the flicker scene skips.
    Canvas c = canvas_make(320, 200, palette::black);
    const float fx = 262, fy = 118;
    float fl[96], mid[96], core[96];
    flame_polygon(fx, fy, 84.0f, 18.0f, 5.0f, fl);
    flame_polygon(fx, fy - 2, 60.0f, 12.0f, 3.5f, mid);
    flame_polygon(fx, fy - 4, 32.0f, 6.5f, 1.5f, core);
    // The candle under the flame, with a lit rim and a drip.
    canvas_fill(c, fx - 13, fy + 2, fx + 13, 196, [&](float px, float py) {
                    float body = sd_round_box(px, py, fx, fy + 38, 10.0f, 34.0f, 3.0f);
                    return std::min(body, sd_round_box(px, py, fx - 6, fy + 14, 2.2f, 10.0f, 2.0f));
                },
                [&](float px, float py, float) {
                    float side = (px - fx) / 10.0f;
                    float light = 1.0f - 0.55f * side * side - 0.35f * smoothstep(fy + 10, fy + 72, py);
                    return scale(mix(palette::white, palette::magenta, 0.3f), std::max(0.2f, light));
                });
    canvas_fill(c, fx - 2, fy - 4, fx + 2, fy + 6, [&](float px, float py) { return sd_round_box(px, py, fx, fy + 1, 0.8f, 4.0f, 0.5f); },
                [](float, float, float) { return Colour{0.15f, 0.08f, 0.08f}; });
    // A tight glow that ends 6 pixels out: a tail that only fades would leave
    // faint light in every block near the flame, lifted to a grey square.
    for (int y = (int)fy - 100; y < (int)fy + 20; ++y)
        for (int x = (int)fx - 40; x < (int)fx + 40; ++x) {
            float d = std::max(0.0f, sd_polygon(x + 0.5f, y + 0.5f, fl, 48));
            float g = smoothstep(6.0f, 0.0f, d);
            canvas_add(c, x, y, palette::orange, 0.35f * g * g);
        }
    canvas_fill(c, fx - 30, fy - 90, fx + 30, fy + 4, [&](float px, float py) { return sd_polygon(px, py, fl, 48); },
                [&](float, float py, float) { return mix(palette::orange, Colour{0.95f, 0.18f, 0.1f}, smoothstep(fy - 20, fy - 84, py)); });
    canvas_fill(c, fx - 30, fy - 90, fx + 30, fy + 4, [&](float px, float py) { return sd_polygon(px, py, mid, 48); },
                [&](float, float, float) { return palette::gold; });
    canvas_fill(c, fx - 30, fy - 90, fx + 30, fy + 4, [&](float px, float py) { return sd_polygon(px, py, core, 48); },
                [&](float, float, float) { return palette::white; });
    // Blocks without light worth showing become exact black; so does everything
    // left of the overlay's columns.
    for (int by = 0; by < 200; by += 8)
        for (int bx = 0; bx < 320; bx += 8) {
            float brightest = 0;
            for (int y = by; y < by + 8; ++y)
                for (int x = bx; x < bx + 8; ++x) {
                    const Colour& p = c.pixels[y * 320 + x];
                    brightest = std::max(brightest, std::max(p.r, std::max(p.g, p.b)));
                }
            if (bx < 200 || brightest < 0.05f)
                for (int y = by; y < by + 8; ++y)
                    for (int x = bx; x < bx + 8; ++x)
                        c.pixels[y * 320 + x] = palette::black;
        }
    return c;
}

Canvas picture_zwart()
{
    // The star's skin: chequered tiles of gold and magenta with bevelled edges
    // and a highlight, on violet seams, in four quarters of 128 x 128 that hold
    // the same tiles under four strengths of light (full with a white sheen at
    // the top left, then three steps darker). Each facet of the star takes the
    // quarter its slope calls for, so the star reads as a solid with ridges.
    Canvas c = canvas_make(256, 256, palette::black);
    const float light[4] = {1.12f, 0.86f, 0.62f, 0.4f};
    canvas_shade(c, [&](float x, float y) {
        int quarter = (x >= 128.0f ? 1 : 0) + (y >= 128.0f ? 2 : 0);
        float qx = std::fmod(x, 128.0f), qy = std::fmod(y, 128.0f);
        int tx = (int)(qx / 32.0f), ty = (int)(qy / 32.0f);
        float lx = qx - tx * 32.0f - 16.0f, ly = qy - ty * 32.0f - 16.0f;
        float d = sd_round_box(lx, ly, 0, 0, 14.5f, 14.5f, 4.0f);
        Colour tile = (tx + ty) % 2 ? palette::magenta : palette::gold;
        float slope = 0.8f + 0.25f * clamp01((-lx - ly) / 28.0f);
        Colour face = scale(tile, slope);
        float bevel = smoothstep(-3.5f, -1.0f, d);
        face = mix(face, mix(tile, palette::white, 0.55f), bevel * clamp01(0.5f + (-lx - ly) / 30.0f));
        float hl = std::hypot(lx + 6.0f, ly + 6.0f);
        face = mix(face, palette::white, 0.5f * smoothstep(5.0f, 1.0f, hl));
        face = mix(face, palette::violet, coverage(-d));
        face = scale(face, light[quarter]);
        if (quarter == 0)
            face = mix(face, palette::white, 0.3f * smoothstep(90.0f, 0.0f, qx + qy));
        return face;
    });
    return c;
}

Canvas picture_mooier()
{
    // Calm bands of violet and night blue with thin gold lines and a cyan sheen.
    Canvas c = canvas_make(256, 256, palette::black);
    canvas_shade(c, [](float x, float y) {
        float band = 0.5f + 0.5f * std::sin(y * 2.0f * pi / 64.0f);
        Colour base = mix(palette::night, palette::violet, band);
        float line = std::fabs(std::fmod(y, 32.0f) - 16.0f);
        base = mix(base, palette::gold, 0.85f * smoothstep(4.0f, 1.0f, line));
        base = mix(base, palette::white, 0.5f * smoothstep(1.5f, 0.0f, line));
        float sheen = std::pow(0.5f + 0.5f * std::sin((x + y * 0.5f) * 2.0f * pi / 128.0f), 6.0f);
        return add(base, scale(palette::cyan, 0.25f * sheen));
    });
    return c;
}

Canvas picture_atg7()
{
    // Interlocking diamonds, four across, coloured in a two by two cycle so the
    // picture repeats seamlessly; each diamond has nested outlines and a glow.
    Canvas c = canvas_make(256, 256, palette::black);
    const Colour cols[4] = {palette::magenta, palette::cyan, palette::gold, mix(palette::violet, palette::magenta, 0.35f)};
    canvas_shade(c, [&](float x, float y) {
        float a = (x + y) / 64.0f, b = (x - y) / 64.0f + 8.0f;
        int ia = (int)std::floor(a), ib = (int)std::floor(b);
        float fa = a - ia - 0.5f, fb = b - ib - 0.5f;
        float m = std::max(std::fabs(fa), std::fabs(fb));  // 0 centre .. 0.5 edge
        Colour col = cols[(ia & 1) + 2 * (ib & 1)];
        Colour face = mix(scale(col, 1.0f), scale(col, 0.35f), smoothstep(0.0f, 0.5f, m));
        float ring1 = std::fabs(m - 0.3f) * 64.0f, ring2 = std::fabs(m - 0.16f) * 64.0f;
        face = mix(face, mix(col, palette::white, 0.6f), smoothstep(1.4f, 0.4f, ring1));
        face = mix(face, mix(col, palette::white, 0.4f), 0.7f * smoothstep(1.2f, 0.3f, ring2));
        float edge = (0.5f - m) * 64.0f * 1.414f;
        return mix(face, scale(palette::violet, 0.5f), smoothstep(2.5f, 0.8f, edge));
    });
    return c;
}

Canvas picture_marb2()
{
    // Light marble for the blurred sphere: a bright ground of pale gold and
    // pale pink, so the ball keeps its silhouette against the black and the blur
    // streaks grow from a bright rim, crossed by two families of saturated veins
    // (magenta to violet, and cyan) about 16 to 18 pixels apart, swirled by a
    // slow warp. The sphere shows half the picture's width across its face, so
    // the structure is fine. Every horizontal frequency is a whole number over
    // the width, so the left and right edges meet.
    Canvas c = canvas_make(256, 256, palette::black);
    canvas_shade(c, [](float x, float y) {
        float u = x / 256.0f * 2.0f * pi, v = y / 256.0f * 2.0f * pi;
        float w = 0.9f * std::sin(3.0f * u + 2.0f * v) + 0.6f * std::sin(5.0f * u - 3.0f * v + 1.1f) +
                  0.35f * std::sin(2.0f * u + 6.0f * v + 0.4f);
        float a = std::sin(6.0f * u + 4.0f * v + 1.6f * w);
        float b = std::sin(4.0f * u - 7.0f * v + 1.2f * w + 0.7f);
        float cell = 0.5f + 0.5f * std::tanh(3.0f * a * b);
        Colour col = scale(mix(mix(palette::gold, palette::white, 0.3f), mix(palette::magenta, palette::white, 0.5f), cell), 0.9f);
        float vein_a = smoothstep(0.42f, 0.12f, std::fabs(a)), vein_b = smoothstep(0.3f, 0.08f, std::fabs(b));
        Colour deep = mix(palette::magenta, palette::violet, 0.5f + 0.5f * std::sin(2.0f * u + v + w));
        col = mix(col, deep, 0.85f * vein_a);
        return mix(col, mix(palette::cyan, palette::night, 0.3f), 0.75f * vein_b * (1.0f - 0.5f * vein_a));
    });
    return c;
}

Canvas picture_mulmap()
{
    // A ring of six spotlights and soft beams around a lit centre over a dimmed
    // ground, darker still along the bottom where the words stand; grey, so the
    // red channel carries the light.
    Canvas c = canvas_make(320, 200, palette::black);
    canvas_shade(c, [](float x, float y) {
        float dx = x - 160.0f, dy = y - 100.0f;
        float r = std::hypot(dx, dy), a = std::atan2(dy, dx);
        float v = 0.42f + 0.2f * std::exp(-r * r / (2.0f * 30.0f * 30.0f));
        v += 0.12f * std::pow(0.5f + 0.5f * std::cos(6.0f * a + pi / 6.0f), 4.0f) * smoothstep(10.0f, 40.0f, r);
        for (int i = 0; i < 6; ++i) {
            float sa = i * pi / 3.0f + pi / 6.0f;
            float sx = 160.0f + 68.0f * std::cos(sa), sy = 100.0f + 60.0f * std::sin(sa);
            float d = std::hypot(x - sx, y - sy);
            v += 0.55f * std::exp(-d * d / (2.0f * 15.0f * 15.0f));
        }
        // The words are drawn over rows 164..199: dim the tiles under them
        // so the letters keep their rims.
        v *= 1.0f - 0.72f * smoothstep(146.0f, 166.0f, y);
        v = std::min(v, 1.0f);
        return Colour{v, v, v};
    });
    return c;
}

const char* const scroll_message =
    "A PARTY IN CODE BY THE VIVUR CREW.  HAPPY BIRTHDAY TO YOU!";

Canvas picture_scroll()
{
    Canvas c = canvas_make(2000, 40, palette::black);
    const TextStyle s{22.0f, 3.2f, 4.0f};
    text_draw(c, scroll_message, (float)scroll_text_start, 40.0f - 6.8f - s.cap - s.radius, s,
              [](float depth, float v, float, float) {
                  float g = 0.86f - 0.12f * v + 0.1f * smoothstep(1.5f, 0.3f, depth);
                  return Colour{g, g, g};
              });
    return c;
}
