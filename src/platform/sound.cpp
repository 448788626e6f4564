// The sound service over libopenmpt: the default device renders for the
// live output device (sound_device.h), the no-sound device renders and
// discards up to the real time on each query, the offline device renders up
// to the virtual clock into a sink.
#include "platform/sound.h"

#include <cstdio>

#include "platform/clock.h"
#include "platform/sound_device.h"

namespace {

constexpr uint32_t music_handle_value = 1;  // the one module's handle
constexpr size_t chunk_frames = 1024;       // frames per render call of the timed devices

SoundDevice open_device = SOUND_DEVICE_CLOSED;
// The player. On the default device the device's renderer renders with it;
// the program thread changes its control fields under the device lock.
SoundPlayer& player = sound_live_player;
bool default_is_offline = false;       // the default device renders offline (sound_use_offline)
SoundSampleSink sample_sink = nullptr; // receives the offline device's output

// No-sound and offline devices.
uint64_t frames_done = 0;              // frames rendered since sound_init
uint32_t start_ms = 0;                 // clock reading at sound_init (no-sound device)
bool rendering = false;                // guards against a sink that calls back in
int16_t chunk[chunk_frames * 2];       // render buffer

// Frames the timed devices should have rendered by now: the virtual time
// (rounded to the nearest frame) or the real time since sound_init.
uint64_t target_frames()
{
    uint64_t rate = player.output_rate;
    if (open_device == SOUND_DEVICE_OFFLINE) {
        uint64_t ns = clock_virtual_ns();
        return ns / 1000000000u * rate + (ns % 1000000000u * rate + 500000000u) / 1000000000u;
    }
    uint32_t elapsed_ms = clock_milliseconds() - start_ms;
    return uint64_t(elapsed_ms) * rate / 1000u;
}

// Renders the no-sound or offline device up to now, handing offline output to the sink.
void catch_up()
{
    if (open_device != SOUND_DEVICE_OFFLINE && open_device != SOUND_DEVICE_NONE)
        return;
    if (rendering)
        return;
    rendering = true;
    uint64_t target = target_frames();
    while (frames_done < target) {
        size_t count = target - frames_done < chunk_frames ? size_t(target - frames_done) : chunk_frames;
        sound_player_render(player, chunk, count);
        frames_done += count;
        if (open_device == SOUND_DEVICE_OFFLINE && sample_sink)
            sample_sink(chunk, count);
    }
    rendering = false;
}

void offline_listener(uint64_t) { catch_up(); }

// Runs fn on the player with the device's renderer held off (default
// device) or after rendering up to now (timed devices).
template <typename Fn>
auto with_player(Fn fn)
{
    if (open_device == SOUND_DEVICE_DEFAULT) {
        bool locked = sound_device_lock(clock_real_ns());
        auto result = fn();
        if (locked)
            sound_device_unlock();
        return result;
    }
    catch_up();
    return fn();
}

}  // namespace

const char* sound_version_problem(uint32_t have, uint32_t need)
{
    static char problem[200];
    if ((have >> 16) >= (need >> 16))
        return nullptr;
    std::snprintf(problem, sizeof problem,
                  "the module player library libopenmpt is version %u.%u.%u, but this build of vivur "
                  "needs version %u.%u or newer: update the libopenmpt package",
                  have >> 24, (have >> 16) & 0xFF, have & 0xFFFF, need >> 24, (need >> 16) & 0xFF);
    return problem;
}

const char* sound_library_problem()
{
    return sound_version_problem(openmpt_get_library_version(),
                                 OPENMPT_API_VERSION_MAKE(OPENMPT_API_VERSION_MAJOR, OPENMPT_API_VERSION_MINOR, 0));
}

void sound_use_offline(bool offline) { default_is_offline = offline; }

bool sound_init(SoundDevice device, uint32_t rate)
{
    if (open_device != SOUND_DEVICE_CLOSED)
        sound_free();
    if (rate == 0)
        return false;
    if (device == SOUND_DEVICE_DEFAULT && default_is_offline)
        device = SOUND_DEVICE_OFFLINE;
    switch (device) {
    case SOUND_DEVICE_DEFAULT:
        if (!sound_device_open(rate))
            return false;
        break;
    case SOUND_DEVICE_NONE:
    case SOUND_DEVICE_OFFLINE:
        sound_player_reset(player, rate);
        frames_done = 0;
        start_ms = clock_milliseconds();
        break;
    default:
        return false;
    }
    open_device = device;
    // The offline device starts at virtual time 0, so that its output lines up
    // with frame 0 (silence until the module plays).
    if (device == SOUND_DEVICE_OFFLINE)
        clock_set_virtual_listener(offline_listener);
    return true;
}

uint32_t sound_music_load(const uint8_t* data, size_t size)
{
    if (open_device == SOUND_DEVICE_CLOSED)
        return 0;
    openmpt_module* module = sound_player_create(data, size);
    if (!module)
        return 0;
    openmpt_module* previous = with_player([&] {
        openmpt_module* old = player.module;
        player.module = module;
        player.playing = false;
        player.exhausted = false;
        player.position = 0;
        player.song_seconds = openmpt_module_get_duration_seconds(module);
        player.passes = 0;
        return old;
    });
    if (previous)
        openmpt_module_destroy(previous);
    return music_handle_value;
}

void sound_start()
{
    if (open_device == SOUND_DEVICE_DEFAULT)
        sound_device_start();
}

void sound_music_play(uint32_t handle)
{
    if (open_device == SOUND_DEVICE_CLOSED || handle != music_handle_value)
        return;
    with_player([] {
        player.playing = player.module != nullptr;
        player.restart = true;
        player.passes = 0;
        return 0;
    });
}

uint32_t sound_channel_position(uint32_t handle)
{
    if (open_device == SOUND_DEVICE_CLOSED || handle != music_handle_value)
        return 0;
    if (open_device != SOUND_DEVICE_DEFAULT)
        return with_player([] { return player.position; });
    return with_player([] {
        return sound_track_find(sound_live_state.track, sound_device_heard_frame(clock_real_ns()));
    });
}

uint32_t sound_music_passes(uint32_t handle)
{
    if (open_device == SOUND_DEVICE_CLOSED || handle != music_handle_value)
        return 0;
    return with_player([] { return player.passes; });
}

void sound_set_rate(uint32_t handle, uint32_t rate)
{
    if (open_device == SOUND_DEVICE_CLOSED || handle != music_handle_value)
        return;
    if (rate < 1000)
        rate = 1000;
    with_player([rate] {
        player.playback_rate = rate;
        return 0;
    });
}

void sound_slide_volume_down()
{
    if (open_device == SOUND_DEVICE_CLOSED)
        return;
    with_player([] {
        sound_player_slide(player);
        return 0;
    });
}

bool sound_is_sliding()
{
    if (open_device == SOUND_DEVICE_CLOSED)
        return false;
    return with_player([] { return player.slide_left > 0; });
}

bool sound_has_stalled() { return open_device == SOUND_DEVICE_DEFAULT && sound_live_state.stalls > 0; }

void sound_free()
{
    switch (open_device) {
    case SOUND_DEVICE_DEFAULT:
        sound_device_close();
        break;
    case SOUND_DEVICE_OFFLINE:
        clock_set_virtual_listener(nullptr);
        break;
    default:
        break;
    }
    sound_player_release(player);
    open_device = SOUND_DEVICE_CLOSED;
}

void sound_set_latency_offset(int milliseconds) { sound_latency_offset_ms = milliseconds; }

void sound_set_sample_sink(SoundSampleSink sink) { sample_sink = sink; }

SoundDevice sound_device() { return open_device; }

SoundPlayer sound_live_player;
SoundLive sound_live_state;
int sound_latency_offset_ms = 0;

uint32_t sound_output_rate() { return open_device == SOUND_DEVICE_CLOSED ? 0 : player.output_rate; }

uint32_t sound_playback_rate() { return player.playback_rate; }
