#include "display_fixture.h"

#include <cstring>

#include "runtime/screenshot.h"

ShownCopy last_shown;

namespace {
void keep_shown(const VideoShown& shown)
{
    last_shown.shown = shown;
    last_shown.bytes.assign(shown.pixels, shown.pixels + static_cast<size_t>(shown.pitch) * shown.height);
    last_shown.shown.pixels = last_shown.bytes.data();
    ++last_shown.count;
}
}  // namespace

void HeadlessDisplay::SetUp()
{
    support_intercept_exit();
    dir = support_temp_dir();
    run_options = RunOptions{};
    window_use_headless(true);
    video_use_headless(true);
    video_headless = VideoHeadless{};
    video_headless.sink = keep_shown;
    video_offer_all_modes();
    last_shown = ShownCopy{};
    pacing_frame = 0;
    shot_counter = 0;
    display_set_fullscreen(true);
    pixel_depth = pixel_layout = 0;
    flip_mode = true;
    blit_mode = false;
}

void HeadlessDisplay::TearDown()
{
    release_display();
    window_release(main_window);
    main_window = nullptr;
    frame_free();
    video_headless = VideoHeadless{};
    video_offer_all_modes();
    run_options = RunOptions{};
}

bool HeadlessDisplay::open(bool windowed) { return display_open(320, 200, windowed); }

void HeadlessDisplay::press(int32_t key)
{
    window_post(WindowMessage{WindowMessageKind::key_down, key});
    present_frame(frame_buffer);
}

uint32_t picture_pixel(int32_t x, int32_t y)
{
    uint32_t r = static_cast<uint32_t>(x * 255 / 319), g = static_cast<uint32_t>(y * 255 / 199);
    uint32_t b = static_cast<uint32_t>((319 - x) * 97 % 256);
    return 0x5A000000u | (r << 16) | (g << 8) | b;
}

void HeadlessDisplay::draw_picture()
{
    for (int32_t y = 0; y < frame_height; ++y)
        for (int32_t x = 0; x < frame_width; ++x)
            frame_buffer[row_offset[y] + x] = picture_pixel(x, y);
}
