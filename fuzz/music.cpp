// Fuzzes the module load and a few seconds of playback: the input is a whole
// module, loaded by music_load on the offline sound device, played for three
// seconds of virtual time with the position polled every frame, then stopped
// with the closing pitch slide and fade, as a headless run does.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/clock.h"
#include "runtime/music.h"
#include "platform/sound.h"

namespace {

constexpr uint64_t fuzz_frame_ns = 16666667;  // one frame at 60 frames a second
constexpr int fuzz_frames = 180;              // three seconds of playback

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz_setup();
    sound_use_offline(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz_write_file("song.s3m", data, size);
    clock_use_virtual(0);
    fuzz_run([&] {
        music_load(path.c_str());
        music_start();
        for (int frame = 1; frame <= fuzz_frames; ++frame) {
            clock_virtual_set_ns(uint64_t(frame) * fuzz_frame_ns);
            music_poll();
        }
        music_stop();
    });
    // report_error releases the music only the first time it runs (later ones
    // end at once), so a refused module may leave the device open.
    music_stop();
    return 0;
}
