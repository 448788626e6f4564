// The shaded warp scene.
#include "effects/warp.h"

#include <cmath>

#include "effects/blend.h"
#include "resources/jpeg.h"
#include "core/timer.h"

uint32_t* warp_texture = nullptr;
int32_t warp_light[64000];
int32_t warp_wave[256];
int32_t warp_gain[256];

namespace {
constexpr int32_t warp_width = 320;   // the warp covers the whole 320 x 200 frame
constexpr int32_t warp_height = 200;
}  // namespace

void init_warp_scene()
{
    warp_texture = load_jpeg("atg7.jpg", 256, 256);
    warp_build_light(load_jpeg("mulmap.jpg", warp_width, warp_height));
}

void warp_build_light(const uint32_t* map)
{
    for (int32_t y = 0; y < warp_height; ++y) {
        float dy = y - 99.5;  // single precision, as is its square
        float dy2 = dy * dy;
        for (int32_t x = 0; x < warp_width; ++x) {
            int32_t red = (map[y * warp_width + x] >> 16) & 0xFF;
            float dx = x - 159.5;
            float d = 1.3 * std::sqrt(static_cast<double>(dx * dx + dy2));
            if (d > 255)
                d = 255;
            // 0.003921569f is 1/255 in single precision.
            warp_light[y * warp_width + x] = static_cast<int32_t>((255 - d) * red * 0.003921569f);
        }
    }
}

void draw_warp_scene(uint32_t* frame)
{
    // Wave: the amplitude b swings between -83 and 83; 0.024543693f is 2 pi / 256.
    float b = 83 * std::sin(0.0004799 * timer_ticks());
    for (int32_t i = 0; i < 256; ++i)
        warp_wave[i] = static_cast<int32_t>(b * std::sin(static_cast<double>((i + b) * 0.024543693f)) + 84);

    // Gain: a ramp from a to c over the light values; a and c read the timer afresh.
    for (int32_t i = 0; i < 256; ++i) {
        float a = 128 + 126 * std::sin(0.00063 * timer_ticks());
        float c = 128 + 126 * std::cos(0.00063 * timer_ticks());
        warp_gain[i] = static_cast<int32_t>(a + i * (c - a) * 0.00390625);
    }

    // Phases of the two waves.
    int32_t ia = static_cast<int32_t>(0.06 * timer_ticks()) & 255;
    int32_t ib = static_cast<int32_t>(0.041 * timer_ticks()) & 255;
    int32_t ic = static_cast<int32_t>(0.0444 * timer_ticks()) & 255;

    const int32_t* light = warp_light;
    uint32_t* out = frame;
    for (int32_t y = 0; y < warp_height; ++y) {
        int32_t k2 = warp_wave[(y + ia - ic) & 255];
        for (int32_t x = 0; x < warp_width; ++x) {
            int32_t h = *light++;
            int32_t g = warp_gain[h];
            int32_t k1 = warp_wave[(x + ib - 128) & 255];
            int32_t v = (y - x + ((k1 * g) >> 8)) & 255;
            int32_t u = (x + y + ((k2 * g) >> 8)) & 255;
            uint32_t texel = warp_texture[v * 256 + u];
            const uint8_t* shade = ShadeTable + h * 256;
            *out++ = static_cast<uint32_t>(shade[(texel >> 16) & 0xFF]) << 16 |
                     static_cast<uint32_t>(shade[(texel >> 8) & 0xFF]) << 8 | shade[texel & 0xFF];
        }
    }
}
