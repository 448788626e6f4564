// The display device service's common part: the offered modes, memory
// surfaces, locks, flip chains and the fitting rule. Backends only show.
#include "platform/video.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/video_internal.h"
#include "platform/window_internal.h"

VideoHeadless video_headless;
VideoPresentation video_presentation;

namespace {

constexpr int32_t max_modes = 8;
constexpr int32_t max_surfaces = 16;

const VideoBackend* backend = &video_live_backend;  // chosen by video_use_headless
VideoDevice the_device;                            // the one device
bool device_open = false;                          // the_device is in use
VideoMode offered[max_modes];                      // modes the screen offers
int32_t offered_count = 0;
VideoFormat desktop_format = video_format_32;      // the screen's format outside full screen
VideoSurface* live_surfaces[max_surfaces];         // every surface not yet freed
VideoClipper* live_clipper = nullptr;              // the clipper, if one exists

bool offers_initialised = false;

void ensure_offers()
{
    if (!offers_initialised)
        video_offer_all_modes();
}

int32_t bytes_per_pixel(const VideoFormat& format) { return (format.bits + 7) / 8; }

void track(VideoSurface* surface)
{
    for (VideoSurface*& slot : live_surfaces)
        if (!slot) {
            slot = surface;
            return;
        }
}

void untrack(VideoSurface* surface)
{
    for (VideoSurface*& slot : live_surfaces)
        if (slot == surface)
            slot = nullptr;
}

// A surface with memory of width x height in format, lines padded as the
// headless switches ask; nullptr when memory cannot be had.
VideoSurface* new_surface(int32_t width, int32_t height, const VideoFormat& format)
{
    int32_t pitch = (width * bytes_per_pixel(format) + 3) / 4 * 4 + video_headless.pad_pitch;
    auto* pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(pitch) * height, 1));
    if (!pixels)
        return nullptr;
    auto* surface = new VideoSurface;
    surface->width = width;
    surface->height = height;
    surface->pitch = pitch;
    surface->format = format;
    surface->pixels = pixels;
    track(surface);
    return surface;
}

void free_surface(VideoSurface* surface)
{
    backend->forget(*surface);
    untrack(surface);
    std::free(surface->pixels);
    delete surface;
}

}  // namespace

void video_use_headless(bool headless)
{
    backend = headless ? &video_headless_backend : &video_live_backend;
}

void video_set_presentation(const VideoPresentation& presentation) { video_presentation = presentation; }

void video_offer_modes(const VideoMode* modes, int32_t count, const VideoFormat& desktop)
{
    offers_initialised = true;
    offered_count = count < max_modes ? count : max_modes;
    for (int32_t i = 0; i < offered_count; ++i)
        offered[i] = modes[i];
    desktop_format = desktop;
}

void video_offer_all_modes()
{
    const VideoMode all[] = {
        {0, 0, 32, video_format_32},
        {0, 0, 24, video_format_24},
        {0, 0, 16, video_format_565},
        {0, 0, 15, video_format_555},
    };
    video_offer_modes(all, 4, video_format_32);
}

VideoDevice* video_create()
{
    ensure_offers();
    if (device_open)
        video_release(&the_device);
    the_device = VideoDevice{};
    the_device.window = window_main();
    if (!the_device.window || !backend->create(the_device))
        return nullptr;
    device_open = true;
    return &the_device;
}

void video_release(VideoDevice* device)
{
    if (!device || !device_open)
        return;
    for (VideoSurface* surface : live_surfaces)
        if (surface && surface->primary)
            video_release_surface(surface);
    for (VideoSurface* surface : live_surfaces)
        if (surface)
            free_surface(surface);
    video_release_clipper(live_clipper);
    if (device->window) {
        device->window->exclusive = false;
        window_set_covering(device->window, false);
    }
    backend->release(*device);
    device_open = false;
}

bool video_set_cooperative(VideoDevice* device, WindowHandle* window, bool exclusive)
{
    if (!device)
        return false;
    if (exclusive && !window)
        return false;
    device->exclusive = exclusive;
    if (device->window) {
        device->window->exclusive = exclusive;
        if (!exclusive) {
            device->mode_set = false;
            window_set_covering(device->window, false);
        }
    }
    return true;
}

bool video_set_mode(VideoDevice* device, int32_t width, int32_t height, int32_t bits)
{
    if (!device || !device->exclusive)
        return false;
    for (int32_t i = 0; i < offered_count; ++i) {
        const VideoMode& m = offered[i];
        if ((m.width == 0 || m.width == width) && (m.height == 0 || m.height == height) && m.bits == bits) {
            device->mode = VideoMode{width, height, bits, m.format};
            device->mode_set = true;
            window_set_covering(device->window, true);
            return true;
        }
    }
    return false;
}

bool video_get_mode(VideoDevice* device, VideoFormat& format)
{
    if (!device)
        return false;
    format = device->exclusive && device->mode_set ? device->mode.format : desktop_format;
    return true;
}

VideoSurface* video_create_primary(VideoDevice* device, int32_t back_buffers)
{
    if (!device)
        return nullptr;
    if (!device->exclusive) {
        // The desktop: shown into through blits, never locked.
        PlatformRect desk = window_desktop();
        auto* surface = new VideoSurface;
        surface->width = desk.right - desk.left;
        surface->height = desk.bottom - desk.top;
        surface->format = desktop_format;
        surface->primary = true;
        track(surface);
        return surface;
    }
    if (!device->mode_set || back_buffers < 0 || back_buffers > 2 ||
        back_buffers > video_headless.max_back_buffers)
        return nullptr;
    if (video_headless.primary_failures > 0) {
        --video_headless.primary_failures;
        return nullptr;
    }
    const VideoMode& m = device->mode;
    VideoSurface* chain[3] = {};
    for (int32_t i = 0; i <= back_buffers; ++i) {
        chain[i] = new_surface(m.width, m.height + video_headless.pad_lines, m.format);
        if (!chain[i]) {
            for (int32_t j = 0; j < i; ++j)
                free_surface(chain[j]);
            return nullptr;
        }
        chain[i]->attached = i > 0;
    }
    VideoSurface* primary = chain[0];
    primary->primary = true;
    primary->chain_length = back_buffers + 1;
    for (int32_t i = 0; i <= back_buffers; ++i)
        primary->chain[i] = chain[i];
    return primary;
}

VideoSurface* video_get_back_buffer(VideoSurface* primary)
{
    if (!primary || primary->chain_length < 2)
        return nullptr;
    return primary->chain[1];
}

VideoSurface* video_create_offscreen(VideoDevice* device, int32_t width, int32_t height)
{
    VideoFormat format;
    if (!video_get_mode(device, format) || width <= 0 || height <= 0)
        return nullptr;
    return new_surface(width, height, format);
}

void video_release_surface(VideoSurface* surface)
{
    if (!surface || surface->attached)
        return;
    for (int32_t i = surface->chain_length - 1; i > 0; --i)
        free_surface(surface->chain[i]);
    free_surface(surface);
}

VideoClipper* video_create_clipper(VideoDevice* device)
{
    if (!device)
        return nullptr;
    video_release_clipper(live_clipper);
    live_clipper = new VideoClipper;
    return live_clipper;
}

bool video_clipper_set_window(VideoClipper* clipper, WindowHandle* window)
{
    if (!clipper || !window)
        return false;
    clipper->window = window;
    return true;
}

bool video_set_clipper(VideoSurface* surface, VideoClipper* clipper)
{
    if (!surface || !clipper)
        return false;
    surface->clipper = clipper;
    return true;
}

void video_release_clipper(VideoClipper* clipper)
{
    if (!clipper)
        return;
    for (VideoSurface* surface : live_surfaces)
        if (surface && surface->clipper == clipper)
            surface->clipper = nullptr;
    if (clipper == live_clipper)
        live_clipper = nullptr;
    delete clipper;
}

bool video_is_lost(VideoSurface* surface) { return surface && surface->lost; }

bool video_restore(VideoSurface* surface)
{
    if (!surface)
        return false;
    for (int32_t i = 0; i < surface->chain_length; ++i)
        surface->chain[i]->lost = false;
    surface->lost = false;
    ++video_headless.restores;
    return true;
}

void video_lose_all()
{
    for (VideoSurface* surface : live_surfaces)
        if (surface)
            surface->lost = true;
}

bool video_lock(VideoSurface* surface, VideoLock& lock)
{
    if (!surface || !surface->pixels || surface->locked || surface->lost)
        return false;
    if (video_headless.lock_failures > 0) {
        --video_headless.lock_failures;
        return false;
    }
    surface->locked = true;
    lock = VideoLock{surface->pixels, surface->pitch, surface->width, surface->height};
    ++video_headless.locks;
    return true;
}

bool video_unlock(VideoSurface* surface)
{
    if (!surface || !surface->locked)
        return false;
    surface->locked = false;
    ++video_headless.unlocks;
    return true;
}

bool video_blit(VideoSurface* destination, const PlatformRect& destination_rect,
                VideoSurface* source, const PlatformRect& source_rect)
{
    if (!device_open || !destination || !destination->primary || !source || !source->pixels ||
        source->locked || source->lost || destination->lost)
        return false;
    if (source_rect.left < 0 || source_rect.top < 0 || source_rect.right > source->width ||
        source_rect.bottom > source->height || source_rect.left >= source_rect.right ||
        source_rect.top >= source_rect.bottom)
        return false;
    backend->show(the_device, *source, source_rect, &destination_rect, false);
    ++video_headless.shows;
    return true;
}

bool video_flip(VideoSurface* primary)
{
    if (!device_open || !primary || primary->chain_length < 2 || primary->lost)
        return false;
    for (int32_t i = 0; i < primary->chain_length; ++i)
        if (primary->chain[i]->locked)
            return false;
    // The first back buffer becomes the front; the old front goes to the end.
    uint8_t* old_front = primary->chain[0]->pixels;
    for (int32_t i = 0; i + 1 < primary->chain_length; ++i)
        primary->chain[i]->pixels = primary->chain[i + 1]->pixels;
    primary->chain[primary->chain_length - 1]->pixels = old_front;
    PlatformRect whole{0, 0, primary->width, primary->height};
    backend->show(the_device, *primary, whole, nullptr, true);
    ++video_headless.shows;
    return true;
}

PlatformRect video_fit_rect(const PlatformRect& area, int32_t width, int32_t height,
                            const VideoPresentation& presentation)
{
    int64_t area_w = area.right - area.left, area_h = area.bottom - area.top;
    if (presentation.aspect == VideoAspect::stretch || width <= 0 || height <= 0 || area_w <= 0 ||
        area_h <= 0)
        return area;
    // The shape to keep: 4:3 (the screens the picture was made for) or square pixels.
    int64_t shape_w = width;
    int64_t shape_h = presentation.aspect == VideoAspect::four_three ? width * 3 / 4 : height;
    int64_t w, h;
    int64_t whole = std::min(area_w / shape_w, area_h / shape_h);
    if (presentation.integer_scale && whole >= 1) {
        w = whole * shape_w;
        h = whole * shape_h;
    } else if (area_w * shape_h > area_h * shape_w) {
        h = area_h;  // the area is wider than the shape: bars left and right
        w = area_h * shape_w / shape_h;
    } else {
        w = area_w;  // bars above and below
        h = area_w * shape_h / shape_w;
    }
    int32_t left = area.left + static_cast<int32_t>((area_w - w) / 2);
    int32_t top = area.top + static_cast<int32_t>((area_h - h) / 2);
    return PlatformRect{left, top, left + static_cast<int32_t>(w), top + static_cast<int32_t>(h)};
}
