// The browser build's entry: the same production as the vivur executable.
// The page passes its options as arguments and reads the music position and
// the scene step through the exports below (its tests use them). Headless
// runs in the page hand it every shown frame as the bytes of its screenshot,
// so a test can hash each one as the native golden frames are hashed.
#include <emscripten.h>

#include "core/music_position.h"
#include "platform/video.h"
#include "runtime/entry.h"
#include "runtime/pacing.h"
#include "runtime/timeline_steps.h"
#include "runtime/screenshot.h"

namespace {

uint8_t shown_tga[tga_size(320, 200)];  // the latest headless frame as a screenshot file

EM_JS(void, web_frame_shown, (const uint8_t* bytes, int32_t length), {
    if (Module.vivurFrameShown)
        Module.vivurFrameShown(HEAPU8.slice(bytes, bytes + length));
});

// The headless display's sink: a shown 320 x 200 frame of 32 bits.
void frame_shown(const VideoShown& shown)
{
    const int32_t width = shown.source.right - shown.source.left, height = shown.source.bottom - shown.source.top;
    if (shown.format.bits != 32 || width != 320 || height != 200)
        return;
    const uint8_t* first = shown.pixels + static_cast<size_t>(shown.source.top) * shown.pitch + shown.source.left * 4;
    tga_encode(reinterpret_cast<const uint32_t*>(first), width, height, shown.pitch / 4, shown_tga);
    web_frame_shown(shown_tga, static_cast<int32_t>(sizeof shown_tga));
}

}  // namespace

extern "C" {
EMSCRIPTEN_KEEPALIVE uint32_t vivur_music_order() { return music_order; }
EMSCRIPTEN_KEEPALIVE uint32_t vivur_music_row() { return music_row; }
EMSCRIPTEN_KEEPALIVE int32_t vivur_timeline_step() { return timeline_step; }
EMSCRIPTEN_KEEPALIVE double vivur_frame() { return static_cast<double>(pacing_frame); }
}

int main(int argc, char** argv)
{
    video_headless.sink = frame_shown;
    return entry_main(argc, argv);
}
