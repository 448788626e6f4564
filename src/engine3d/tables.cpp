#include "engine3d/tables.h"

#include <algorithm>
#include <cmath>

bool engine_tables_ready = false;
float flare_size = 0.0f;
uint8_t RadialTable[65536];
uint8_t HighlightTable[65536];
FlareImage flare_images[13];

namespace {

// Channel masks (blue, green, red) of the seven sprite colours in group order:
// white, red, green, blue, yellow, magenta, orange (green at half strength).
struct SpriteColour {
    bool blue, green, red;
    bool half_green;
};
constexpr SpriteColour sprite_colours[7] = {
    {true, true, true, false}, {false, false, true, false}, {false, true, false, false},
    {true, false, false, false}, {false, true, true, false}, {true, false, true, false},
    {false, true, true, true},
};

uint32_t sprite_pixel(int32_t e, const SpriteColour& colour)
{
    uint32_t blue = colour.blue ? e : 0;
    uint32_t green = colour.green ? (colour.half_green ? e >> 1 : e) : 0;
    uint32_t red = colour.red ? e : 0;
    return blue | green << 8 | red << 16;
}

// Fills image with the glow profile: 255 at the centre, falling off as a
// sine of the distance d, with factor the angle per pixel of distance.
void sprite_fill(FlareImage& image, int32_t size, double centre, float factor,
                 const SpriteColour& colour)
{
    image.width = size;
    image.height = size;
    image.pixels = new uint32_t[static_cast<size_t>(size) * size];
    for (int32_t r = 0; r < size; ++r)
        for (int32_t c = 0; c < size; ++c) {
            double d = std::min(128.0, std::sqrt((r - centre) * (r - centre) +
                                                 (c - centre) * (c - centre)));
            int32_t e = static_cast<int32_t>(350.0 - 350.0 * std::sin(d * factor));
            e = std::clamp(e, 0, 255);
            image.pixels[r * size + c] = sprite_pixel(e, colour);
        }
}

}  // namespace

void engine_tables_init()
{
    flare_size = 20000.0f;
    if (!engine_tables_ready) {
        engine_tables_ready = true;
        build_flare_images();
        build_particle_kernels();
    }
    build_radial_table();
    build_highlight_table(0.85);
}

void build_radial_table()
{
    for (int32_t r = 0; r < 256; ++r)
        for (int32_t c = 0; c < 256; ++c) {
            int32_t d = static_cast<int32_t>(
                2.0 * std::sqrt(static_cast<double>((r - 128) * (r - 128) + (c - 128) * (c - 128))));
            RadialTable[r * 256 + c] = static_cast<uint8_t>(std::max(0, 255 - d));
        }
}

void build_highlight_table(double exponent)
{
    for (int32_t j = 0; j < 256; ++j) {
        float angle = static_cast<float>(j) * 0.0061359233f;  // j * pi / 512
        int32_t add = static_cast<int32_t>(255.0 - 255.0 * std::pow(std::cos(static_cast<double>(angle)), exponent));
        for (int32_t i = 0; i < 256; ++i)
            HighlightTable[j * 256 + i] = static_cast<uint8_t>(std::min(255, i + add));
    }
}

void build_flare_images()
{
    for (int32_t k = 0; k < 6; ++k)
        sprite_fill(flare_images[k], 256, 127.5, 0.012271847f, sprite_colours[k]);
}

void build_particle_kernels()
{
    for (int32_t k = 0; k < 7; ++k)
        sprite_fill(flare_images[6 + k], 3, 1.0, 0.7853982f, sprite_colours[k]);
}
