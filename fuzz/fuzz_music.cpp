#include "fuzz_music.h"

#include <string>

#include "fuzz_support.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "runtime/music.h"

namespace {

constexpr uint64_t fuzz_frame_ns = 16666667;  // one frame at 60 frames a second

}  // namespace

void fuzz_music_setup() { sound_use_offline(true); }

void fuzz_music_play(const uint8_t* data, size_t size, int frames, bool closing)
{
    const std::string path = fuzz_write_file("song.s3m", data, size);
    clock_use_virtual(0);
    fuzz_run([&] {
        music_load(path.c_str());
        music_start();
        for (int frame = 1; frame <= frames; ++frame) {
            clock_virtual_set_ns(uint64_t(frame) * fuzz_frame_ns);
            music_poll();
        }
        if (!closing)
            music_handle = 0;  // music_stop then frees the device without the slide and fade
        music_stop();
    });
    // report_error releases the music only the first time it runs (later ones
    // end at once), so a refused module may leave the device open.
    music_handle = 0;
    music_stop();
}
