// The live display in the browser: every shown surface is turned into RGBA
// and put on the page's canvas, which the page fits into its window (4:3,
// sharp pixels).
#include <emscripten.h>

#include <cstring>

#include "platform/video_internal.h"

namespace {

constexpr int32_t max_pixels = 640 * 480;  // the largest picture a mode of this display shows
uint8_t rgba[max_pixels * 4];              // the shown picture, for the canvas

EM_JS(void, web_canvas_put, (const uint8_t* pixels, int32_t width, int32_t height), {
    if (Module.vivurShow)
        Module.vivurShow(HEAPU8.subarray(pixels, pixels + width * height * 4), width, height);
});

// The channel of a pixel p under mask, scaled to 0..255.
uint8_t channel(uint32_t p, uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = __builtin_ctz(mask);
    uint32_t top = mask >> shift;
    return static_cast<uint8_t>(((p & mask) >> shift) * 255u / top);
}

uint32_t read_pixel(const uint8_t* at, int32_t bytes)
{
    uint32_t p = 0;
    std::memcpy(&p, at, static_cast<size_t>(bytes));
    return p;
}

bool web_create(VideoDevice& device) { return device.window != nullptr; }

void web_release(VideoDevice&) {}

void web_show(VideoDevice&, VideoSurface& surface, const PlatformRect& source, const PlatformRect*, bool)
{
    int32_t width = source.right - source.left, height = source.bottom - source.top;
    if (!surface.pixels || width <= 0 || height <= 0 || width * height > max_pixels)
        return;
    const VideoFormat& f = surface.format;
    int32_t bytes = (f.bits + 7) / 8;
    uint8_t* out = rgba;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* line = surface.pixels + static_cast<size_t>(source.top + y) * surface.pitch + source.left * bytes;
        for (int32_t x = 0; x < width; ++x, out += 4) {
            uint32_t p = read_pixel(line + x * bytes, bytes);
            out[0] = channel(p, f.red_mask);
            out[1] = channel(p, f.green_mask);
            out[2] = channel(p, f.blue_mask);
            out[3] = 255;
        }
    }
    web_canvas_put(rgba, width, height);
}

void web_forget(VideoSurface&) {}

}  // namespace

const VideoBackend video_live_backend = {web_create, web_release, web_show, web_forget};
