// The flicker image scene.
#include "effects/flicker.h"

#include <cstring>

#include "core/frame.h"
#include "effects/blend.h"
#include "effects/scene_tables.h"
#include "resources/jpeg.h"
#include "core/music_position.h"
#include "core/random.h"

uint32_t* flicker_images[2] = {nullptr, nullptr};
uint32_t* flicker_overlay = nullptr;
uint32_t* flicker_work = nullptr;

namespace {
constexpr int32_t flicker_width = 320;
constexpr int32_t flicker_height = 200;
constexpr int32_t flicker_pixels = flicker_width * flicker_height;
constexpr int32_t overlay_first_column = 200;  // only columns 200..319 of the overlay are used
}  // namespace

void init_flicker_scene()
{
    flicker_images[0] = load_jpeg("norm.jpg", flicker_width, flicker_height);
    flicker_images[1] = load_jpeg("norm2.jpg", flicker_width, flicker_height);
    flicker_overlay = load_jpeg("heet.jpg", flicker_width, flicker_height);
    flicker_work = new uint32_t[flicker_pixels];
}

void draw_flicker_scene()
{
    uint32_t* frame = frame_buffer;
    std::memcpy(frame, flicker_images[flicker_rows[music_row & 63]], flicker_pixels * sizeof(uint32_t));

    // The overlay's brightness: ShadeTable row 100..155, darkening below 127
    // and brightening above 128.
    std::memcpy(flicker_work, flicker_overlay, flicker_pixels * sizeof(uint32_t));
    shade_buffer(flicker_work, 100 + random_next() % 56);

    for (int32_t y = 0; y < flicker_height; ++y) {
        int32_t row = y * flicker_width;
        for (int32_t x = overlay_first_column; x < flicker_width; ++x) {
            if (flicker_overlay[row + x] != 0)
                frame[row + x] = blend_add_pixel(frame[row + x], flicker_work[row + x]) & 0x00FFFFFFu;
        }
    }
}
