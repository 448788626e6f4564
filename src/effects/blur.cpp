// The radial-blur sphere scene and the radial blur.
#include "effects/blur.h"

#include <cmath>
#include <cstdlib>

#include "effects/blend.h"
#include "effects/scene_tables.h"
#include "engine3d/create.h"
#include "engine3d/pipeline.h"
#include "engine3d/scene.h"
#include "resources/jpeg.h"
#include "core/music_position.h"
#include "core/timer.h"

Scene* blur_scene = nullptr;
uint32_t* blur_texture = nullptr;
int32_t blur_columns[320];
int32_t blur_rows[200];
int32_t blur_start = 0;

namespace {

constexpr int32_t blur_width = 320;
constexpr int32_t blur_height = 200;

// 8.8 distance toward the centre for a pixel `distance` away, held below
// `distance` so the farther bilinear neighbour never passes the centre.
int32_t blur_offset(int32_t distance, float s)
{
    int32_t offset = static_cast<int32_t>(distance * s * 256);
    int32_t limit = distance > 0 ? distance * 256 - 1 : 0;
    if (offset < 0)
        offset = 0;
    if (offset > limit)
        offset = limit;
    return offset;
}

// Replaces pixel (x, y) by 15/16 of its bilinear sample toward the centre and
// 1/16 of itself; h and v are the steps toward the centre (+1 or -1).
inline void blur_pixel(uint32_t* frame, int32_t x, int32_t y, int32_t h, int32_t v)
{
    int32_t ox = blur_columns[x];
    int32_t oy = blur_rows[y];
    int32_t dx = ox >> 8, fx = ox & 255;
    int32_t dy = oy >> 8, fy = oy & 255;
    const uint32_t* p0 = frame + (y + v * dy) * blur_width + x + h * dx;
    const uint32_t* p2 = p0 + v * blur_width;
    uint32_t a = p0[0], b = p0[h], c = p2[0], d = p2[h];
    uint32_t w0 = (256 - fx) * (256 - fy), w1 = fx * (256 - fy);
    uint32_t w2 = (256 - fx) * fy, w3 = fx * fy;
    uint32_t own = frame[y * blur_width + x];
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        uint32_t sample = (w0 * ((a >> shift) & 255) + w1 * ((b >> shift) & 255) +
                           w2 * ((c >> shift) & 255) + w3 * ((d >> shift) & 255)) >> 16;
        result |= ((15 * sample + ((own >> shift) & 255)) >> 4) << shift;
    }
    frame[y * blur_width + x] = result;
}

// One frame of either variant: turn the sphere, draw it on black, restart the
// beat on marked rows and blur with streaks that halve within a quarter second.
// Every term reads the timer afresh.
void draw_blur(uint32_t* frame, const int32_t* table)
{
    double ax = 50 * std::sin(0.0001 * timer_ticks());
    ax += 0.01 * timer_ticks();
    double ay = 38 * std::cos(0.00007 * timer_ticks());
    ay += 0.00887 * timer_ticks();
    double az = 30 * std::sin(0.0000881 * timer_ticks());
    az += 0.00967 * timer_ticks();
    object_set_angles(blur_scene->objects[0], static_cast<float>(ax), static_cast<float>(ay),
                      static_cast<float>(az));

    fill_buffer(frame, 0);
    render_scene(blur_scene, frame);

    int32_t v = table[music_row & 63];
    if (v == 1 || v == 2)
        blur_start = timer_ticks();
    int32_t elapsed = static_cast<int32_t>(static_cast<uint32_t>(timer_ticks()) - static_cast<uint32_t>(blur_start));
    double m = 2 - 0.001 * elapsed;
    if (m < 1)
        m = 1;
    float s = m * 0.023873;
    radial_blur(frame, 160, 100, s, s);
}

}  // namespace

void init_blur_scene()
{
    blur_texture = load_jpeg("marb2.jpg", 256, 256);
    blur_scene = new Scene;
    scene_create(blur_scene);
    make_sphere(blur_scene, 20, 150, 1, blur_texture);
}

void draw_blur_scene_a(uint32_t* frame) { draw_blur(frame, blur_rows_a); }

void draw_blur_scene_b(uint32_t* frame) { draw_blur(frame, blur_rows_b); }

void radial_blur(uint32_t* frame, int32_t cx, int32_t cy, float sx, float sy)
{
    // The centre must lie inside the frame with a neighbour on every side.
    if (cx < 1)
        cx = 1;
    if (cx > blur_width - 1)
        cx = blur_width - 1;
    if (cy < 1)
        cy = 1;
    if (cy > blur_height - 1)
        cy = blur_height - 1;
    for (int32_t y = 0; y < blur_height; ++y)
        blur_rows[y] = blur_offset(std::abs(y - cy), sy);
    for (int32_t x = 0; x < blur_width; ++x)
        blur_columns[x] = blur_offset(std::abs(x - cx), sx);

    // Four passes, each running outward from the centre, so that the samples
    // nearer the centre have mostly been blurred already: the streaks.
    for (int32_t y = cy; y < blur_height; ++y)       // lower right
        for (int32_t x = cx; x < blur_width; ++x)
            blur_pixel(frame, x, y, -1, -1);
    for (int32_t y = cy - 1; y >= 0; --y)            // upper right
        for (int32_t x = cx; x < blur_width; ++x)
            blur_pixel(frame, x, y, -1, 1);
    for (int32_t y = cy; y >= 0; --y)                // upper left, centre row included
        for (int32_t x = cx - 1; x >= 0; --x)
            blur_pixel(frame, x, y, 1, y >= cy ? -1 : 1);
    for (int32_t y = cy + 1; y < blur_height; ++y)   // lower left
        for (int32_t x = cx - 1; x >= 0; --x)
            blur_pixel(frame, x, y, 1, -1);
}
