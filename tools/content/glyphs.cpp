// The centre lines of our capitals, built once on first use.
#include "glyphs.h"

#include <cmath>

namespace {

using Line = std::vector<std::array<float, 2>>;

// Collects the strokes of one letter.
struct Builder {
    GlyphShape shape;
    // A polyline through the given points.
    Builder& line(std::initializer_list<std::array<float, 2>> pts)
    {
        shape.strokes.emplace_back(pts);
        return *this;
    }
    // An elliptic arc from angle a0 to a1 (degrees; y down, so 90 is the bottom),
    // optionally continuing the previous polyline when it ends where the arc starts.
    Builder& arc(float cx, float cy, float rx, float ry, float a0, float a1)
    {
        Line l;
        int steps = std::max(6, (int)(std::fabs(a1 - a0) / 10.0f));
        for (int i = 0; i <= steps; ++i) {
            double a = (a0 + (a1 - a0) * i / steps) * 3.14159265358979323846 / 180.0;
            l.push_back({cx + rx * (float)std::cos(a), cy + ry * (float)std::sin(a)});
        }
        shape.strokes.push_back(l);
        return *this;
    }
};

std::array<GlyphShape, 128> build_glyphs(std::array<bool, 128>& present)
{
    std::array<GlyphShape, 128> g{};
    auto def = [&](char c, float w, auto fill) {
        Builder b;
        b.shape.width = w;
        fill(b);
        g[(int)c] = b.shape;
        present[(int)c] = true;
    };
    def('A', 0.9f, [](Builder& b) { b.line({{0, 1}, {0.45f, 0}, {0.9f, 1}}).line({{0.2f, 0.64f}, {0.7f, 0.64f}}); });
    def('B', 0.74f, [](Builder& b) {
        b.line({{0, 0}, {0, 1}}).line({{0, 0}, {0.38f, 0}}).arc(0.38f, 0.235f, 0.3f, 0.235f, -90, 90);
        b.line({{0.38f, 0.47f}, {0, 0.47f}}).line({{0, 0.47f}, {0.42f, 0.47f}});
        b.arc(0.42f, 0.735f, 0.32f, 0.265f, -90, 90).line({{0.42f, 1}, {0, 1}});
    });
    def('C', 0.82f, [](Builder& b) { b.arc(0.46f, 0.5f, 0.46f, 0.5f, -40, -320); });
    def('D', 0.8f, [](Builder& b) {
        b.line({{0.3f, 0}, {0, 0}, {0, 1}, {0.3f, 1}}).arc(0.3f, 0.5f, 0.5f, 0.5f, -90, 90);
    });
    def('E', 0.66f, [](Builder& b) { b.line({{0.66f, 0}, {0, 0}, {0, 1}, {0.66f, 1}}).line({{0, 0.5f}, {0.52f, 0.5f}}); });
    def('F', 0.64f, [](Builder& b) { b.line({{0.64f, 0}, {0, 0}, {0, 1}}).line({{0, 0.5f}, {0.5f, 0.5f}}); });
    def('G', 0.92f, [](Builder& b) { b.arc(0.46f, 0.5f, 0.46f, 0.5f, -40, -360).line({{0.92f, 0.52f}, {0.55f, 0.52f}}); });
    def('H', 0.78f, [](Builder& b) { b.line({{0, 0}, {0, 1}}).line({{0.78f, 0}, {0.78f, 1}}).line({{0, 0.5f}, {0.78f, 0.5f}}); });
    def('I', 0.0f, [](Builder& b) { b.line({{0, 0}, {0, 1}}); });
    def('J', 0.6f, [](Builder& b) { b.line({{0.6f, 0}, {0.6f, 0.68f}}).arc(0.3f, 0.68f, 0.3f, 0.32f, 0, 165); });
    def('K', 0.74f, [](Builder& b) { b.line({{0, 0}, {0, 1}}).line({{0.74f, 0}, {0.02f, 0.6f}}).line({{0.27f, 0.4f}, {0.76f, 1}}); });
    def('L', 0.62f, [](Builder& b) { b.line({{0, 0}, {0, 1}, {0.62f, 1}}); });
    def('M', 0.96f, [](Builder& b) { b.line({{0, 1}, {0, 0}, {0.48f, 0.62f}, {0.96f, 0}, {0.96f, 1}}); });
    def('N', 0.78f, [](Builder& b) { b.line({{0, 1}, {0, 0}, {0.78f, 1}, {0.78f, 0}}); });
    def('O', 0.92f, [](Builder& b) { b.arc(0.46f, 0.5f, 0.46f, 0.5f, 0, 360); });
    def('P', 0.72f, [](Builder& b) {
        b.line({{0, 1}, {0, 0}, {0.38f, 0}}).arc(0.38f, 0.26f, 0.34f, 0.26f, -90, 90).line({{0.38f, 0.52f}, {0, 0.52f}});
    });
    def('Q', 0.92f, [](Builder& b) { b.arc(0.46f, 0.5f, 0.46f, 0.5f, 0, 360).line({{0.56f, 0.72f}, {0.94f, 1.04f}}); });
    def('R', 0.74f, [](Builder& b) {
        b.line({{0, 1}, {0, 0}, {0.38f, 0}}).arc(0.38f, 0.26f, 0.34f, 0.26f, -90, 90).line({{0.38f, 0.52f}, {0, 0.52f}});
        b.line({{0.34f, 0.52f}, {0.76f, 1}});
    });
    def('S', 0.74f, [](Builder& b) { b.arc(0.37f, 0.25f, 0.35f, 0.25f, -15, -270).arc(0.37f, 0.75f, 0.37f, 0.25f, -90, 165); });
    def('T', 0.8f, [](Builder& b) { b.line({{0, 0}, {0.8f, 0}}).line({{0.4f, 0}, {0.4f, 1}}); });
    def('U', 0.78f, [](Builder& b) {
        b.line({{0, 0}, {0, 0.6f}}).arc(0.39f, 0.6f, 0.39f, 0.4f, 180, 0).line({{0.78f, 0.6f}, {0.78f, 0}});
    });
    def('V', 0.86f, [](Builder& b) { b.line({{0, 0}, {0.43f, 1}, {0.86f, 0}}); });
    def('W', 1.1f, [](Builder& b) { b.line({{0, 0}, {0.26f, 1}, {0.55f, 0.34f}, {0.84f, 1}, {1.1f, 0}}); });
    def('X', 0.8f, [](Builder& b) { b.line({{0, 0}, {0.8f, 1}}).line({{0.8f, 0}, {0, 1}}); });
    def('Y', 0.82f, [](Builder& b) { b.line({{0, 0}, {0.41f, 0.52f}, {0.82f, 0}}).line({{0.41f, 0.52f}, {0.41f, 1}}); });
    def('Z', 0.74f, [](Builder& b) { b.line({{0, 0}, {0.74f, 0}, {0, 1}, {0.74f, 1}}); });
    def('.', 0.0f, [](Builder& b) { b.line({{0, 1}, {0, 1}}); });
    def('!', 0.0f, [](Builder& b) { b.line({{0, 0}, {0, 0.6f}}).line({{0, 1}, {0, 1}}); });
    def(',', 0.06f, [](Builder& b) { b.line({{0.06f, 0.98f}, {0, 1.14f}}); });
    def('-', 0.4f, [](Builder& b) { b.line({{0, 0.55f}, {0.4f, 0.55f}}); });
    def('\'', 0.0f, [](Builder& b) { b.line({{0, 0}, {0, 0.24f}}); });
    return g;
}

}  // namespace

const GlyphShape* glyph_shape(char c)
{
    static std::array<bool, 128> present{};
    static const std::array<GlyphShape, 128> glyphs = build_glyphs(present);
    int i = (unsigned char)c;
    return i < 128 && present[i] ? &glyphs[i] : nullptr;
}

float glyph_distance(const GlyphShape& g, float x, float y)
{
    float d = 1e30f;
    for (const auto& line : g.strokes) {
        if (line.size() == 1)
            d = std::min(d, std::hypot(x - line[0][0], y - line[0][1]));
        for (size_t i = 1; i < line.size(); ++i)
            d = std::min(d, sd_segment(x, y, line[i - 1][0], line[i - 1][1], line[i][0], line[i][1]));
    }
    return d;
}

float text_advance(char c, const TextStyle& s)
{
    const GlyphShape* g = glyph_shape(c);
    if (!g)
        return 0.42f * s.cap + s.tracking;
    return g->width * s.cap + 2 * s.radius + s.tracking;
}

float text_width(const char* text, const TextStyle& s)
{
    float w = 0;
    for (const char* p = text; *p; ++p)
        w += text_advance(*p, s);
    return *text ? w - s.tracking : 0.0f;
}

void text_glow(Canvas& c, const char* text, float x, float y, const TextStyle& s, Colour colour,
               float radius, float strength, float reach)
{
    for (const char* p = text; *p; ++p) {
        const GlyphShape* g = glyph_shape(*p);
        if (g) {
            float ox = x + s.radius, oy = y;
            canvas_glow(c, x - reach, y - s.radius - reach, x + g->width * s.cap + 2 * s.radius + reach,
                        y + s.cap * 1.2f + s.radius + reach,
                        [&](float px, float py) {
                            return glyph_distance(*g, (px - ox) / s.cap, (py - oy) / s.cap) * s.cap - s.radius;
                        },
                        colour, radius, strength);
        }
        x += text_advance(*p, s);
    }
}
