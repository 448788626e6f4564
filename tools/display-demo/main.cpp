// vivur-display-demo: opens the display like the production (same words,
// options and keys) and animates a test picture whose corners, colours and
// orientation are easy to judge: colour bars, a grey ramp, a moving box and
// an "F" in the top-left corner. Ends like the production, with exit code 1.
#include <cstdio>
#include <string>

#include "core/fatal.h"
#include "core/frame.h"
#include "core/timer.h"
#include "display/display.h"
#include "runtime/backends.h"
#include "runtime/options.h"
#include "runtime/startup.h"

namespace {

// Fills frame_buffer with the test picture at time ticks (4000 per second).
void draw_test_picture(int32_t ticks)
{
    static const uint32_t bars[8] = {0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00,
                                     0xFF00FF, 0xFF0000, 0x0000FF, 0x000000};
    for (int32_t y = 0; y < frame_height; ++y) {
        uint32_t* row = frame_buffer + row_offset[y];
        for (int32_t x = 0; x < frame_width; ++x) {
            uint32_t p;
            if (y < frame_height * 2 / 3) {
                p = bars[x * 8 / frame_width];
            } else {
                uint32_t v = static_cast<uint32_t>(x * 255 / (frame_width - 1));
                p = v | (v << 8) | (v << 16);
            }
            row[x] = p;
        }
    }
    // An "F" of 5 x 7 cells of 4 pixels in the top-left corner, red on black.
    static const char* glyph[7] = {"#####", "#....", "#....", "####.", "#....", "#....", "#...."};
    for (int32_t gy = 0; gy < 7; ++gy)
        for (int32_t gx = 0; gx < 5; ++gx)
            for (int32_t py = 0; py < 4; ++py)
                for (int32_t px = 0; px < 4; ++px)
                    frame_buffer[row_offset[4 + gy * 4 + py] + 4 + gx * 4 + px] =
                        glyph[gy][gx] == '#' ? 0xFF0000 : 0x000000;
    // A box that crosses the picture once every four seconds.
    int32_t box = 24;
    int32_t span = frame_width - box;
    int32_t phase = (ticks / 4) % (2 * span);
    int32_t left = phase < span ? phase : 2 * span - phase;
    int32_t top = frame_height * 2 / 3 - box / 2;
    for (int32_t y = top; y < top + box; ++y)
        for (int32_t x = left; x < left + box; ++x)
            frame_buffer[row_offset[y] + x] = 0x808080;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string words, error;
    if (!options_parse(argc, argv, words, error)) {
        std::fprintf(stderr, "vivur-display-demo: %s\n", error.c_str());
        return 2;
    }
    if (run_options.help) {
        std::fputs("usage: vivur-display-demo [windowed] [options of vivur]\n"
                   "Animates a test picture; Escape quits, F1 screenshot, F2 full screen, F8 web site.\n",
                   stdout);
        return 0;
    }
    // The production's backends: headless runs follow the virtual clock, one
    // frame at a time; a capture records the frames.
    if (!backends_choose(run_mode(run_options), run_options, error)) {
        std::fprintf(stderr, "vivur-display-demo: %s\n", error.c_str());
        return 1;
    }
    startup(words.data());
    if (!display_open(320, 200, !fullscreen))
        report_error("cannot open a window (%s): run with --headless", display_error());
    for (;;) {
        draw_test_picture(timer_ticks());
        present_frame(frame_buffer);
    }
}
