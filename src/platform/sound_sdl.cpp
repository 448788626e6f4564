// The live output device over SDL2: SDL's audio thread asks for buffers,
// which are rendered in slices with a position checkpoint after each. When
// the device stops for good (SDL reports it stopped once its sound server has
// gone away), the program thread carries on rendering in its place, paced by
// the real clock from the frame last heard, so the production plays on
// silently at the right speed. When the device stalls instead (SDL reports
// nothing, but no buffer is asked for: a sound server that hangs), the
// program thread renders in its place the same way until it asks again.
#include <SDL.h>

#include "platform/clock.h"
#include "platform/sound_device.h"

namespace {

constexpr uint16_t device_buffer_frames = 1024;  // buffer asked of the device
constexpr size_t scratch_frames = 1024;          // render buffer once the device has stopped

SDL_AudioDeviceID live_device = 0;
int16_t scratch[scratch_frames * 2];

// SDL's audio thread asks for the next buffer.
void live_callback(void*, Uint8* stream, int length)
{
    sound_live_state.callback_ns = clock_real_ns();
    sound_live_render(sound_live_state, sound_live_player, reinterpret_cast<int16_t*>(stream),
                      size_t(length) / (2 * sizeof(int16_t)));
}

}  // namespace

bool sound_device_open(uint32_t rate)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(rate);
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = device_buffer_frames;
    want.callback = live_callback;
    SDL_AudioSpec have{};
    live_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                      SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (live_device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    // The device opens paused: the audio thread does not run yet.
    sound_player_reset(sound_live_player, static_cast<uint32_t>(have.freq));
    sound_live_reset(sound_live_state, have.samples);
    return true;
}

void sound_device_start()
{
    if (sound_live_state.stopped)
        return;
    SDL_LockAudioDevice(live_device);
    sound_live_start(sound_live_state, clock_real_ns());
    SDL_UnlockAudioDevice(live_device);
    SDL_PauseAudioDevice(live_device, 0);
}

// Once SDL reports the device stopped, its thread would go on asking for
// buffers only as fast as its own sleeps allow (several per cent slow,
// measured): pause it for good (so the callback no longer runs) and render
// here from now on, following the clock from the frame heard at the stop.
bool sound_device_lock(uint64_t now_ns)
{
    if (!sound_live_state.stopped && SDL_GetAudioDeviceStatus(live_device) == SDL_AUDIO_STOPPED) {
        SDL_PauseAudioDevice(live_device, 1);
        sound_live_stop(sound_live_state, now_ns, sound_live_player.output_rate, sound_latency_offset_ms);
    }
    if (sound_live_state.stopped) {
        sound_live_follow(sound_live_state, sound_live_player, now_ns, scratch, scratch_frames);
        return false;
    }
    // A stalled audio thread waits inside the sound server, not in our
    // callback, so the lock is free and the thread resumes under it.
    SDL_LockAudioDevice(live_device);
    if (sound_live_check_stall(sound_live_state, now_ns, sound_live_player.output_rate, sound_latency_offset_ms))
        sound_live_follow(sound_live_state, sound_live_player, now_ns, scratch, scratch_frames);
    return true;
}

void sound_device_unlock() { SDL_UnlockAudioDevice(live_device); }

// SDL reports no output latency: the device plays each buffer from the
// moment it asks for it, and the user adds what lies beyond (--audio-offset).
int64_t sound_device_heard_frame(uint64_t now_ns)
{
    return sound_live_heard_forward(sound_live_state, now_ns, sound_live_player.output_rate,
                                    sound_latency_offset_ms);
}

void sound_device_close()
{
    // Closing waits for the audio thread to end; a stalled one may never
    // return from the sound server, so closing first waits until the thread
    // asks for a buffer (it runs) or has stalled (it is left as it is, and
    // the process ends right after the music). A hang that began just before
    // the close is noticed here too, a quarter of a second on.
    const uint64_t asked_ns = clock_real_ns();
    SoundCloseCheck check = SOUND_CLOSE_WAIT;
    for (;;) {
        SDL_LockAudioDevice(live_device);
        check = sound_live_close_check(sound_live_state, asked_ns, clock_real_ns(), sound_live_player.output_rate,
                                       sound_latency_offset_ms);
        SDL_UnlockAudioDevice(live_device);
        if (check != SOUND_CLOSE_WAIT)
            break;
        clock_sleep(5);
    }
    if (check == SOUND_CLOSE_JOIN) {
        SDL_CloseAudioDevice(live_device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    live_device = 0;
}
