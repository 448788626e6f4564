#include "runtime/music.h"

#include <cstdio>

#include "core/fatal.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "resources/file.h"
#include "runtime/timeline_steps.h"

bool sound_ready = false;
uint32_t music_handle = 0;

namespace {
char music_name[256];        // the loaded module's name, for messages
bool stall_told = false;     // the stalled output has been reported
}

void music_init()
{
    if (const char* problem = sound_library_problem())
        report_error("%s", problem);
    release_register(RELEASE_MUSIC, music_stop);
    if (!sound_init(SOUND_DEVICE_DEFAULT, 44100) &&
        !sound_init(SOUND_DEVICE_NONE, 44100))
        report_error("cannot initialize sounddevice, also tried nosound");
    sound_ready = true;
}

void music_load(const char* name)
{
    if (!sound_ready)
        music_init();
    FileHandle file = file_open(name);
    music_handle = sound_music_load(file.data, file.size);
    // The player keeps what it needs: the bytes go before a refusal is
    // reported, so the fatal path leaves nothing behind.
    file_close(file);
    if (music_handle == 0)
        report_error("file not found: %s", name);
    std::snprintf(music_name, sizeof music_name, "%s", name);
}

void music_start()
{
    sound_start();
    sound_music_play(music_handle);
}

void music_poll()
{
    uint32_t position = sound_channel_position(music_handle);
    music_order = position & 0xFFFF;
    music_row = position >> 16;
    if (!stall_told && sound_has_stalled()) {
        std::fputs("sound output stalled: continuing without sound sync\n", stderr);
        std::fflush(stderr);
        stall_told = true;
    }
}

void music_check_looping()
{
    // Live, a module that never reaches the last mark plays on, as the
    // timeline has always done. Offline there is nobody to close the window,
    // and a capture would fill the disk: stop once the song has looped twice.
    if (sound_device() == SOUND_DEVICE_OFFLINE && sound_music_passes(music_handle) >= 2)
        report_error("the music %s played to its end twice without reaching order %u, row %u: "
                     "the production stopped in step %d at order %u, row %u",
                     music_name, timeline_first_order(timeline_step_count),
                     timeline_step_info(timeline_step_count).mark, timeline_step, music_order, music_row);
}

void music_stop()
{
    // Nothing to slide or fade without a device and a module; skipping the
    // sequence then spares an early fatal error its one and a half seconds.
    if (sound_ready && music_handle != 0) {
        // 53 steps from 44100 down to 2500: pitch and speed sink together.
        for (int rate = 44100; rate > 2000; rate -= 800) {
            sound_set_rate(music_handle, static_cast<uint32_t>(rate));
            clock_sleep(10);
        }
        sound_slide_volume_down();
        while (sound_is_sliding())
            clock_sleep(50);
    }
    if (sound_ready)
        sound_free();
    sound_ready = false;
    music_handle = 0;
}
