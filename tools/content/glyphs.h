// Our own letter design: bold rounded capitals drawn as thick strokes along centre
// lines (segments and elliptic arcs), so any size renders anti-aliased from one
// description. Used by the font, the title, the scroller text and the closing card.
#pragma once
#include <array>
#include <vector>

#include "paint.h"

// One letter: its centre lines in cap units (x right, y down, cap height 1).
struct GlyphShape {
    float width;                                          // centre-line box width
    std::vector<std::vector<std::array<float, 2>>> strokes;  // polylines
};

// Size of lettering in pixels.
struct TextStyle {
    float cap;       // centre-line cap height
    float radius;    // half the stroke width
    float tracking;  // extra space between letters
};

// The shape of a character (A..Z and . ! , - '); nullptr for a blank or unknown one.
// Called by the lettering helpers below.
const GlyphShape* glyph_shape(char c);

// Distance in cap units from (x, y) to the letter's centre lines.
float glyph_distance(const GlyphShape& g, float x, float y);

// Horizontal advance of a character in pixels.
float text_advance(char c, const TextStyle& style);
// Width of a whole line in pixels (ink to ink).
float text_width(const char* text, const TextStyle& style);

// Draws a line of text whose ink starts at x and whose cap centre line starts at y.
// paint(depth, v, px, py) gives the colour at a pixel: depth is how far inside the
// stroke edge the pixel lies (pixels), v the height within the cap (0 top, 1 bottom).
template <class Paint>
void text_draw(Canvas& c, const char* text, float x, float y, const TextStyle& s, Paint paint)
{
    for (const char* p = text; *p; ++p) {
        const GlyphShape* g = glyph_shape(*p);
        if (g) {
            float ox = x + s.radius, oy = y;
            canvas_fill(c, x - 1, y - s.radius - 1, x + g->width * s.cap + 2 * s.radius + 1,
                        y + s.cap * 1.2f + s.radius + 1,
                        [&](float px, float py) {
                            return glyph_distance(*g, (px - ox) / s.cap, (py - oy) / s.cap) * s.cap -
                                   s.radius;
                        },
                        [&](float px, float py, float d) { return paint(-d, (py - oy) / s.cap, px, py); });
        }
        x += text_advance(*p, s);
    }
}

// Adds a glow of the given colour and radius around a line of text drawn as above.
void text_glow(Canvas& c, const char* text, float x, float y, const TextStyle& s, Colour colour,
               float radius, float strength, float reach);
