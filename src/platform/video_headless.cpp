// The headless display: surfaces stay in memory and every shown one goes to
// the sink (capture and tests), which sees exactly what a screen would get.
#include "platform/video_internal.h"

namespace {

bool headless_create(VideoDevice&) { return true; }

void headless_release(VideoDevice&) {}

void headless_show(VideoDevice& device, VideoSurface& surface, const PlatformRect& source,
                   const PlatformRect* destination, bool flipped)
{
    if (!video_headless.sink)
        return;
    PlatformRect screen{0, 0, device.mode.width, device.mode.height};
    video_headless.sink(VideoShown{surface.pixels, surface.pitch, surface.width, surface.height,
                                   surface.format, source, destination ? *destination : screen, flipped});
}

void headless_forget(VideoSurface&) {}

}  // namespace

const VideoBackend video_headless_backend = {headless_create, headless_release, headless_show,
                                             headless_forget};
