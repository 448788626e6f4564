#include "platform/sound_player.h"

#include <cstring>

void sound_player_reset(SoundPlayer& player, uint32_t output_rate)
{
    player = SoundPlayer{};
    player.output_rate = output_rate;
    player.playback_rate = 44100;
}

openmpt_module* sound_player_create(const uint8_t* data, size_t size)
{
    if (!data || size == 0)
        return nullptr;
    openmpt_module* module = openmpt_module_create_from_memory2(
        data, size, openmpt_log_func_silent, nullptr, openmpt_error_func_ignore, nullptr, nullptr, nullptr, nullptr);
    if (!module)
        return nullptr;
    // Loop forever: the song's end starts it again, and libopenmpt's end fade
    // (whose position already reads order 0) never happens.
    openmpt_module_set_repeat_count(module, -1);
    // Dither is seeded at random: off, so that offline output repeats exactly.
    openmpt_module_ctl_set_integer(module, "dither", 0);
    return module;
}

void sound_player_render(SoundPlayer& player, int16_t* out, size_t count)
{
    size_t done = 0;
    if (player.module && player.playing && !player.exhausted) {
        if (player.restart) {
            openmpt_module_set_position_order_row(player.module, 0, 0);
            player.restart = false;
        }
        // Playing 44100 Hz data at R Hz: ask for output_rate x 44100 / R
        // frames per second and hand them out at output_rate.
        int32_t request = static_cast<int32_t>(uint64_t(player.output_rate) * 44100u / player.playback_rate);
        while (done < count) {
            size_t got = openmpt_module_read_interleaved_stereo(player.module, request, count - done, out + 2 * done);
            if (got == 0) {
                player.exhausted = true;
                break;
            }
            done += got;
        }
        if (done > 0) {
            // The song time keeps counting across the loop, so whole songs
            // played tell how often the end has been passed.
            if (player.song_seconds > 0)
                player.passes = static_cast<uint32_t>(openmpt_module_get_position_seconds(player.module) /
                                                      player.song_seconds);
            uint32_t order = static_cast<uint32_t>(openmpt_module_get_current_order(player.module)) & 0xFFFFu;
            uint32_t row = static_cast<uint32_t>(openmpt_module_get_current_row(player.module)) & 0xFFFFu;
            player.position = order | row << 16;
        }
    }
    if (done < count)
        std::memset(out + 2 * done, 0, (count - done) * 2 * sizeof(int16_t));

    // The volume slide falls linearly over slide_frames; silence after it.
    if (player.muted) {
        std::memset(out, 0, count * 2 * sizeof(int16_t));
        return;
    }
    if (player.slide_left == 0)
        return;
    for (size_t i = 0; i < count; ++i) {
        if (player.slide_left == 0) {
            player.muted = true;
            std::memset(out + 2 * i, 0, (count - i) * 2 * sizeof(int16_t));
            return;
        }
        int64_t gain = player.slide_left--;
        out[2 * i] = static_cast<int16_t>(out[2 * i] * gain / player.slide_frames);
        out[2 * i + 1] = static_cast<int16_t>(out[2 * i + 1] * gain / player.slide_frames);
    }
    if (player.slide_left == 0)
        player.muted = true;
}

void sound_player_slide(SoundPlayer& player)
{
    if (player.muted)
        return;
    player.slide_frames = player.output_rate;  // one second
    player.slide_left = player.slide_frames;
}

void sound_player_release(SoundPlayer& player)
{
    if (player.module)
        openmpt_module_destroy(player.module);
    sound_player_reset(player, player.output_rate);
}
