// The browser build's entry: the same production as the vivur executable.
// The page passes its options as arguments and reads the music position and
// the scene step through the exports below (its tests use them).
#include <emscripten.h>

#include "core/music_position.h"
#include "runtime/entry.h"
#include "runtime/pacing.h"

extern "C" {
EMSCRIPTEN_KEEPALIVE uint32_t vivur_music_order() { return music_order; }
EMSCRIPTEN_KEEPALIVE uint32_t vivur_music_row() { return music_row; }
EMSCRIPTEN_KEEPALIVE int32_t vivur_timeline_step() { return timeline_step; }
EMSCRIPTEN_KEEPALIVE double vivur_frame() { return static_cast<double>(pacing_frame); }
}

int main(int argc, char** argv) { return entry_main(argc, argv); }
