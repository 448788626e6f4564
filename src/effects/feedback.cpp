// The texture-feedback scene with its scroller.
#include "effects/feedback.h"

#include <cmath>

#include "effects/blend.h"
#include "engine3d/create.h"
#include "engine3d/loader.h"
#include "engine3d/pipeline.h"
#include "engine3d/scene.h"
#include "resources/jpeg.h"
#include "core/timer.h"
#include "core/fatal.h"

Scene* feedback_scene = nullptr;
uint32_t* feedback_texture = nullptr;
uint32_t* scroll_image = nullptr;
uint32_t* scroll_band = nullptr;
int32_t scroll_start_time = 0;

namespace {
constexpr int32_t band_width = 320;
constexpr int32_t band_height = 40;
constexpr int32_t band_top = 150;         // the band covers frame rows 150..189
constexpr int32_t scroll_width = 2000;    // width of "scroll.jpg"
constexpr int32_t scroll_period = 1680;   // scroll_width - band_width: the band never runs off the image
uint32_t* wall_texture = nullptr;         // "atg7.jpg"
}  // namespace

void init_feedback_scene()
{
    feedback_scene = new Scene;
    scene_create(feedback_scene);
    load_3ds("vlak.3ds", feedback_scene);
    if (feedback_scene->object_count < 2)
        report_error("vlak.3ds: the feedback scene needs two objects, the file has %d", feedback_scene->object_count);
    wall_texture = load_jpeg("atg7.jpg", 256, 256);
    scroll_image = load_jpeg("scroll.jpg", scroll_width, band_height);
    for (int i = 0; i < 2; ++i) {
        feedback_scene->objects[i]->texture = wall_texture;
        feedback_scene->objects[i]->render_kind = 1;
    }
    feedback_texture = new uint32_t[256 * 256];
    scroll_band = new uint32_t[band_width * band_height];
}

void feedback_copy_frame(const uint32_t* frame)
{
    for (int32_t j = 0; j < 256; ++j) {
        const uint32_t* row = frame + (199 - ((j * 51200) >> 16)) * 320;  // 0.78125 rows per texel
        uint32_t* out = feedback_texture + j * 256;
        for (int32_t k = 0; k < 256; ++k)
            out[k] = row[(k * 81920) >> 16];  // 1.25 columns per texel
    }
}

void feedback_draw_scroller(uint32_t* frame, int32_t elapsed)
{
    // 0.027 pixels per timer unit (108 per second). The band starts at the
    // ceiling of e, wrapped into 0..1679, and blends toward the next column by
    // the fraction of e.
    double e = elapsed * 0.027;
    int32_t x0 = static_cast<int32_t>(std::ceil(e)) % scroll_period;
    if (x0 < 0)  // a timer behind the start must not index before the image
        x0 += scroll_period;
    int32_t g = static_cast<int32_t>(static_cast<float>(e) * 256) & 255;

    for (int32_t r = 0; r < band_height; ++r) {
        const uint32_t* in = scroll_image + r * scroll_width + x0;
        uint32_t* band = scroll_band + r * band_width;
        for (int32_t k = 0; k < band_width; ++k) {
            uint32_t l = ((in[k + 1] & 0xFF) * g + (in[k] & 0xFF) * (256 - g)) >> 8;
            band[k] = l << 16 | l << 8 | l;
        }
    }
    uint32_t* out = frame + band_top * band_width;
    for (int32_t i = 0; i < band_width * band_height; ++i)
        out[i] = blend_add_pixel(out[i], scroll_band[i]) & 0x00FFFFFFu;
}

void draw_feedback_scene(uint32_t* frame)
{
    fill_buffer(frame, 0);
    render_scene(feedback_scene, frame);

    // The frame, before the scroller, becomes object 0's texture for the next frame.
    feedback_copy_frame(frame);
    feedback_scene->objects[0]->texture = feedback_texture;

    // Every term reads the timer afresh.
    double roll = 30 * std::cos(0.000422 * timer_ticks());
    roll += 40 * std::sin(0.0003 * timer_ticks());
    camera_set_roll(feedback_scene->camera, static_cast<float>(roll));
    camera_set_position(feedback_scene->camera, 0, static_cast<float>(270 + 30 * std::sin(0.0013434 * timer_ticks())), 0);

    // Elapsed time in wrapping 32-bit arithmetic, like the timer itself.
    uint32_t now = static_cast<uint32_t>(timer_ticks());
    feedback_draw_scroller(frame, static_cast<int32_t>(now - static_cast<uint32_t>(scroll_start_time)));
}
