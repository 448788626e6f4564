#include "display/display.h"

#include <cstring>

#include "core/fatal.h"
#include "core/frame.h"
#include "display/convert.h"
#include "display/window.h"
// The present step polls the music and paces the frame: the two calls up to
// the runtime that the production's own order of calls asks for.
#include "runtime/music.h"
#include "runtime/pacing.h"

uint32_t* shown_frame = nullptr;
bool fullscreen = true;

VideoDevice* dd = nullptr;
VideoSurface* primary_surface = nullptr;
VideoSurface* back_buffer = nullptr;
VideoSurface* offscreen_surface = nullptr;
VideoClipper* clipper = nullptr;

bool flip_mode = true;
bool blit_mode = false;
int32_t pixel_depth = 0;
int32_t pixel_layout = PIXEL_LAYOUT_UNKNOWN;
int32_t surface_pitch = 0;
PlatformRect window_rect{};
PlatformRect client_rect{};
PlatformRect screen_rect{};

namespace {

// Set while one set_mode call has saved window_rect: a try that set a mode
// and then failed leaves the window covering the screen, and a later try
// must not save that as the window's place.
bool window_rect_kept = false;

// Frees the surfaces and the clipper, each only if present.
void release_surfaces()
{
    video_release_surface(back_buffer);
    back_buffer = nullptr;
    video_release_surface(primary_surface);
    primary_surface = nullptr;
    video_release_surface(offscreen_surface);
    offscreen_surface = nullptr;
    video_release_clipper(clipper);
    clipper = nullptr;
}

// True when a locked surface holds lines of bytes_per_line over lines lines.
bool lock_fits(const VideoLock& lock, int32_t pixels_per_line, int32_t bytes_per_line, int32_t lines)
{
    return lock.width >= pixels_per_line && lock.pitch >= bytes_per_line && lock.height >= lines;
}

// The doubled modes: the picture, 2 x 2 screen pixels per frame pixel, sits
// in the middle lines of the surface; the lines above and below it (none
// when the surface is exactly twice the frame) are cleared to black.
void convert_doubled(const VideoLock& lock, const uint32_t* frame)
{
    if (!lock_fits(lock, 2 * frame_width, 4 * frame_width, 2 * frame_height))
        return;
    int32_t band_lines = (lock.height - 2 * frame_height) / 2;
    int32_t picture_lines = 2 * frame_height;
    std::memset(lock.pixels, 0, static_cast<size_t>(band_lines) * lock.pitch);
    std::memset(lock.pixels + static_cast<size_t>(band_lines + picture_lines) * lock.pitch, 0,
                static_cast<size_t>(lock.height - band_lines - picture_lines) * lock.pitch);
    if (pixel_layout != PIXEL_LAYOUT_555 && pixel_layout != PIXEL_LAYOUT_565)
        return;
    auto convert = pixel_layout == PIXEL_LAYOUT_555 ? convert_row_555_double : convert_row_565_double;
    uint8_t* line = lock.pixels + static_cast<size_t>(band_lines) * lock.pitch;
    for (int32_t y = 0; y < frame_height; ++y) {
        convert(line, frame + row_offset[y], frame_width * 4);
        line += 2 * lock.pitch;
    }
}

}  // namespace

bool display_open(int32_t width, int32_t height, bool windowed)
{
    release_display();
    release_register(RELEASE_DISPLAY, release_display);
    // Size globals, row_offset and the black frame_buffer in one step, first,
    // because the window's size follows the frame's.
    frame_allocate(width, height);
    if (!create_window())
        return false;
    if (!dd_create())
        return false;
    set_mode(width, height, windowed);
    present_frame(frame_buffer);
    return true;
}

const char* display_error() { return window_error(); }

void display_offer_depth(int32_t code, int32_t width, int32_t height)
{
    VideoMode mode{width, height, 32, video_format_32};
    VideoFormat desktop = video_format_32;
    switch (code) {
    case 24: mode = {width, height, 24, video_format_24}; desktop = video_format_24; break;
    case 16: mode = {width, height, 16, video_format_565}; desktop = video_format_565; break;
    // A 16-bit mode whose masks say 5-5-5, as some cards reported.
    case 15: mode = {width, height, 16, video_format_555}; desktop = video_format_555; break;
    case PIXEL_DEPTH_DOUBLED_16: mode = {2 * width, 2 * height, 16, video_format_565}; desktop = video_format_565; break;
    case PIXEL_DEPTH_DOUBLED_15: mode = {2 * width, 2 * height, 15, video_format_555}; desktop = video_format_555; break;
    case 0: video_offer_all_modes(); return;
    default: break;
    }
    video_offer_modes(&mode, 1, desktop);
}

bool dd_create()
{
    dd = video_create();
    if (!dd)
        return false;
    return fullscreen ? video_set_cooperative(dd, main_window, true) : video_set_cooperative(dd, nullptr, false);
}

bool set_mode(int32_t width, int32_t height, bool windowed)
{
    if (windowed) {
        video_set_cooperative(dd, nullptr, false);
        fullscreen = false;
    } else {
        video_set_cooperative(dd, main_window, true);
        fullscreen = true;
    }
    window_rect_kept = false;
    pixel_depth = 32;
    if (create_surfaces(width, height, 32))
        return true;
    pixel_depth = 24;
    if (create_surfaces(width, height, 24))
        return true;
    pixel_depth = 16;
    if (create_surfaces(width, height, 16))
        return true;
    if (create_surfaces(2 * width, 2 * height, 16)) {
        pixel_depth = PIXEL_DEPTH_DOUBLED_16;
        return true;
    }
    if (create_surfaces(2 * width, 2 * height, 15)) {
        pixel_depth = PIXEL_DEPTH_DOUBLED_15;
        return true;
    }
    return false;
}

bool create_surfaces(int32_t width, int32_t height, int32_t depth)
{
    // An earlier try may have left surfaces behind; a new try starts clean.
    release_surfaces();
    if (fullscreen) {
        if (!window_rect_kept) {
            window_rect = window_get_rect(main_window);
            window_rect_kept = true;
        }
        window_set_rect(main_window, PlatformRect{0, 0, width, height});
        window_update(main_window);
        if (!video_set_mode(dd, width, height, depth))
            return false;
        flip_mode = true;
        blit_mode = false;
        primary_surface = video_create_primary(dd, 2);
        if (!primary_surface)
            primary_surface = video_create_primary(dd, 1);
        if (!primary_surface) {
            blit_mode = true;
            flip_mode = false;
            primary_surface = video_create_primary(dd, 0);
            if (!primary_surface)
                return false;
        }
        // A chain without back buffers has none to attach: this depth fails.
        back_buffer = video_get_back_buffer(primary_surface);
        if (!back_buffer)
            return false;
    } else {
        window_set_rect(main_window, window_rect);
        window_update(main_window);
        flip_mode = false;
        blit_mode = true;
        primary_surface = video_create_primary(dd, 0);
        if (!primary_surface)
            return false;
        clipper = video_create_clipper(dd);
        if (!clipper || !video_clipper_set_window(clipper, main_window) ||
            !video_set_clipper(primary_surface, clipper))
            return false;
    }

    VideoFormat format{};
    video_get_mode(dd, format);
    pixel_depth = format.bits;
    uint32_t mask_sum = format.red_mask + format.green_mask + format.blue_mask;
    if (mask_sum == 0xFFFF)
        pixel_depth = 16;
    if (mask_sum == 0x7FFF)
        pixel_depth = 15;
    if (format.red_mask == 0x7C00 && format.green_mask == 0x03E0 && format.blue_mask == 0x001F)
        pixel_layout = PIXEL_LAYOUT_555;
    else if (format.red_mask == 0xF800 && format.green_mask == 0x07E0 && format.blue_mask == 0x001F)
        pixel_layout = PIXEL_LAYOUT_565;
    screen_rect = PlatformRect{0, 0, width, height};
    offscreen_surface = video_create_offscreen(dd, width, height);
    return offscreen_surface != nullptr;
}

void present_frame(uint32_t* frame)
{
    int64_t frame_number = pacing_frame;  // the frame being presented
    shown_frame = frame;
    convert_frame(frame);
    pacing_frame_shown(frame);
    music_poll();
    pacing_frame_polled();
    window_script_post(frame_number);
    if (pump_messages())
        shutdown();
}

void convert_frame(const uint32_t* frame)
{
    VideoLock lock = lock_target();
    if (!lock.pixels)
        return;
    surface_pitch = lock.pitch;
    const int32_t row_bytes = frame_width * 4;
    uint8_t* line = lock.pixels;
    // Each path writes only when the locked surface holds the whole frame.
    switch (pixel_depth) {
    case 32:
        if (lock_fits(lock, frame_width, row_bytes, frame_height))
            convert_rows_32(line, lock.pitch, frame, frame_width, frame_height);
        break;
    case 24:
        if (lock_fits(lock, frame_width, 3 * frame_width, frame_height))
            for (int32_t y = 0; y < frame_height; ++y, line += lock.pitch)
                convert_row_24(line, frame + row_offset[y], row_bytes);
        break;
    case 16:
    case 15:
        if ((pixel_layout == PIXEL_LAYOUT_555 || pixel_layout == PIXEL_LAYOUT_565) &&
            lock_fits(lock, frame_width, 2 * frame_width, frame_height)) {
            auto convert = pixel_layout == PIXEL_LAYOUT_555 ? convert_row_555 : convert_row_565;
            for (int32_t y = 0; y < frame_height; ++y, line += lock.pitch)
                convert(line, frame + row_offset[y], row_bytes);
        }
        break;
    case PIXEL_DEPTH_DOUBLED_16:
    case PIXEL_DEPTH_DOUBLED_15:
        convert_doubled(lock, frame);
        break;
    default:
        break;  // a format without a converter (a palette desktop): nothing is written
    }
    unlock_target();
    show_surface();
}

VideoLock lock_target()
{
    if (video_is_lost(offscreen_surface))
        video_restore(offscreen_surface);
    if (video_is_lost(primary_surface))
        video_restore(primary_surface);  // brings its back buffers back too
    VideoSurface* target = blit_mode ? offscreen_surface : flip_mode ? back_buffer : primary_surface;
    VideoLock lock{};
    if (!video_lock(target, lock))
        return VideoLock{};
    return lock;
}

void unlock_target()
{
    video_unlock(blit_mode ? offscreen_surface : flip_mode ? back_buffer : primary_surface);
}

void show_surface()
{
    if (blit_mode) {
        PlatformRect destination = screen_rect;
        if (!fullscreen) {
            int32_t x = 0, y = 0;
            window_client_origin(main_window, x, y);
            destination = PlatformRect{client_rect.left + x, client_rect.top + y, client_rect.right + x,
                                       client_rect.bottom + y};
        }
        video_blit(primary_surface, destination, offscreen_surface,
                   PlatformRect{0, 0, frame_width, frame_height});
    }
    if (fullscreen && flip_mode)
        video_flip(primary_surface);
}

void display_set_fullscreen(bool full) { fullscreen = full; }

void display_switch(bool full)
{
    if (full == fullscreen)
        return;
    fullscreen = full;
    rebuild_display();
}

void rebuild_display()
{
    release_display();
    pixel_layout = PIXEL_LAYOUT_UNKNOWN;
    pixel_depth = 0;
    blit_mode = false;
    flip_mode = true;
    dd_create();
    video_set_cooperative(dd, fullscreen ? main_window : nullptr, fullscreen);
    set_mode(frame_width, frame_height, !fullscreen);
}

void release_display()
{
    release_surfaces();
    video_release(dd);
    dd = nullptr;
}
