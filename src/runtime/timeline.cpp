#include "runtime/timeline.h"

#include <cstring>

#include "display/display.h"
#include "core/frame.h"
#include "effects/blend.h"
#include "effects/blur.h"
#include "effects/feedback.h"
#include "effects/flicker.h"
#include "effects/pulse.h"
#include "effects/warp.h"
#include "effects/words.h"
#include "resources/jpeg.h"
#include "resources/pak.h"
#include "runtime/music.h"
#include "core/timer.h"
#include "core/fatal.h"
#include "runtime/startup.h"
#include "runtime/timeline_steps.h"

uint32_t* intro_image = nullptr;
uint32_t* closing_image = nullptr;
int32_t zoom_start = 0;
float zoom_factor = 0;

namespace {

// Copies a whole 320 x 200 picture into the frame.
void copy_picture(const uint32_t* picture)
{
    std::memcpy(frame_buffer, picture, static_cast<size_t>(frame_pixel_count) * sizeof(uint32_t));
}

}  // namespace

// Mounts the archive and loads every picture, scene and the module in a
// fixed order (the order of the loads is the order of the error messages a
// broken archive gives), then starts the music.
void timeline_prepare()
{
    pak_mount("vivur.pak");
    intro_image = load_jpeg("intro.jpg", 320, 200);
    closing_image = load_jpeg("feli.jpg", 320, 200);
    music_load("wuntje.s3m");
    timeline_prepare_scenes();
    music_start();
}

void timeline_prepare_scenes()
{
    init_zoom();
    init_warp_scene();
    init_words();
    init_flicker_scene();
    init_pulse_scene();
    init_feedback_scene();
    init_blur_scene();
    init_closing_words();
}

namespace {

// Timer units from since to now, in wrapping 32-bit arithmetic.
int32_t timeline_elapsed(int32_t now, int32_t since)
{
    return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(since));
}

// Whether the polled music position meets the end mark of the running step.
bool timeline_reached()
{
    return timeline_mark_met(timeline_step_info(timeline_step), music_order, music_row);
}

// The intro zoom factor at timer value now, in double precision: (3999 - (e
// mod 4000)) * 0.00025 with e the timer units since zoom_start, so it falls
// from 0.99975 to 0 once a second and jumps back.
double timeline_zoom_factor(int32_t now)
{
    int32_t r = timeline_elapsed(now, zoom_start) % timeline_zoom_cycle;
    return (3999 - r) * 0.00025;
}

}  // namespace

// Every loop tests its end mark after presenting, so each presents at least
// one frame even when its mark has passed on entry.
void demo_main(char* line)
{
    startup(line);
    // Without a display the production cannot run: say so instead of
    // drawing into nothing.
    if (!display_open(320, 200, !fullscreen))
        report_error("cannot open a window (%s): run with --headless or --capture=OUT", display_error());
    timeline_prepare();
    copy_picture(intro_image);

    // 1. The intro picture, until the first poll at or past its order.
    // Waiting for exactly that row could miss it for a whole loop of the
    // module whenever one frame lasts longer than a row.
    timeline_step = 1;
    do {
        present_frame(frame_buffer);
    } while (!timeline_reached());
    zoom_start = timer_ticks();

    // 2. Zoom cycles into the centre, one a second.
    timeline_step = 2;
    do {
        zoom_image(frame_buffer, intro_image, static_cast<float>(timeline_zoom_factor(timer_ticks())));
        present_frame(frame_buffer);
    } while (!timeline_reached());

    // 3. The same, remembering each frame's factor, until its row.
    timeline_step = 3;
    int32_t zoom_time;  // timer value of the last zoom of step 3
    do {
        zoom_time = timer_ticks();
        zoom_factor = static_cast<float>(timeline_zoom_factor(zoom_time));
        zoom_image(frame_buffer, intro_image, zoom_factor);
        present_frame(frame_buffer);
    } while (!timeline_reached());

    // 4. The running cycle plays out; the frame on which the factor wraps
    // presents the previous picture once more. A frame a whole cycle or more
    // after step 3's last one ends the step too: at low frame rates (one frame
    // a second, say) every frame can land at the same point of the cycle, so
    // the factor never grows and the wrap would never be seen.
    timeline_step = 4;
    bool wrapped;
    bool cycle_passed;
    do {
        int32_t now = timer_ticks();
        double f = timeline_zoom_factor(now);
        wrapped = f > zoom_factor;
        cycle_passed = timeline_elapsed(now, zoom_time) >= timeline_zoom_cycle;
        if (!wrapped)
            zoom_image(frame_buffer, intro_image, static_cast<float>(f));
        present_frame(frame_buffer);
    } while (!wrapped && !cycle_passed);

    // 5. The whole intro picture again.
    timeline_step = 5;
    do {
        copy_picture(intro_image);
        present_frame(frame_buffer);
    } while (!timeline_reached());

    // 6, 7. The warp with the words.
    timeline_step = 6;
    do {
        draw_warp_scene(frame_buffer);
        draw_words_a(frame_buffer);
        present_frame(frame_buffer);
    } while (!timeline_reached());
    timeline_step = 7;
    do {
        draw_warp_scene(frame_buffer);
        draw_words_b(frame_buffer);
        present_frame(frame_buffer);
    } while (!timeline_reached());

    // 8. The flickering pictures.
    timeline_step = 8;
    do {
        draw_flicker_scene();
        present_frame(frame_buffer);
    } while (!timeline_reached());

    // 9, 10. The pulsing scene.
    timeline_step = 9;
    do {
        draw_pulse_scene_a(frame_buffer);
        present_frame(frame_buffer);
    } while (!timeline_reached());
    timeline_step = 10;
    do {
        draw_pulse_scene_b(frame_buffer);
        present_frame(frame_buffer);
    } while (!timeline_reached());

    // 11. The feedback scene; its scroller starts now.
    timeline_step = 11;
    scroll_start_time = timer_ticks();
    do {
        draw_feedback_scene(frame_buffer);
        present_frame(frame_buffer);
    } while (!timeline_reached());

    // 12, 13. The blurred sphere with the words.
    timeline_step = 12;
    do {
        draw_blur_scene_a(frame_buffer);
        draw_words_a(frame_buffer);
        present_frame(frame_buffer);
    } while (!timeline_reached());
    timeline_step = 13;
    do {
        draw_blur_scene_b(frame_buffer);
        draw_words_b(frame_buffer);
        present_frame(frame_buffer);
    } while (!timeline_reached());

    // 14. The closing picture with its words, until its row.
    timeline_step = 14;
    do {
        copy_picture(closing_image);
        draw_closing_words(frame_buffer);
        present_frame(frame_buffer);
    } while (!timeline_reached());

    timeline_step = 0;
    shutdown();
}
