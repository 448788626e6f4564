// Distance functions and conversions of the picture kit.
#include "paint.h"

float sd_segment(float px, float py, float ax, float ay, float bx, float by)
{
    float dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0.0f ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0f;
    t = clamp01(t);
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

float sd_round_box(float px, float py, float cx, float cy, float hw, float hh, float radius)
{
    float qx = std::fabs(px - cx) - hw + radius, qy = std::fabs(py - cy) - hh + radius;
    float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float sd_ellipse(float px, float py, float cx, float cy, float rx, float ry)
{
    // Scale to the unit circle and correct by the gradient length: exact enough
    // within a few pixels of the edge, which is all coverage and glows need.
    float x = (px - cx) / rx, y = (py - cy) / ry;
    float k = std::sqrt(x * x + y * y);
    if (k == 0.0f)
        return -std::min(rx, ry);
    float gx = x / (rx * k), gy = y / (ry * k);
    return (k - 1.0f) / std::sqrt(gx * gx + gy * gy);
}

float sd_polygon(float px, float py, const float* p, int n)
{
    float d = 1e30f;
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        float xi = p[2 * i], yi = p[2 * i + 1], xj = p[2 * j], yj = p[2 * j + 1];
        d = std::min(d, sd_segment(px, py, xi, yi, xj, yj));
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside ? -d : d;
}

Canvas canvas_make(int width, int height, Colour fill)
{
    return Canvas{width, height, std::vector<Colour>((size_t)width * height, fill)};
}

float scatter_next(Scatter& s)
{
    s.state = s.state * 1664525u + 1013904223u;
    return (s.state >> 8) * (1.0f / 16777216.0f);
}

std::vector<uint8_t> canvas_to_rgb(const Canvas& c)
{
    std::vector<uint8_t> out(c.pixels.size() * 3);
    for (size_t i = 0; i < c.pixels.size(); ++i) {
        const Colour& p = c.pixels[i];
        out[3 * i] = (uint8_t)(clamp01(p.r) * 255.0f + 0.5f);
        out[3 * i + 1] = (uint8_t)(clamp01(p.g) * 255.0f + 0.5f);
        out[3 * i + 2] = (uint8_t)(clamp01(p.b) * 255.0f + 0.5f);
    }
    return out;
}
