// The live output device in the browser: Web Audio. The page keeps a few
// chunks queued in its audio worklet (or a script processor where worklets
// are missing) and asks for the next one through vivur_web_audio_render,
// which runs between two frames or while the production sleeps; the page
// also records at which moment of the audio clock each chunk began to play.
// The heard frame is found from those records and the latency the browser
// reports (vivur-page.js), so the position follows what is heard.
#include <emscripten.h>

#include "platform/sound_device.h"

namespace {

constexpr int32_t max_chunk_frames = 8192;  // the most the page asks for at once
constexpr uint32_t chunk_frames = 1024;     // what it usually asks for
int16_t chunk[max_chunk_frames * 2];

// The audio clock's rate once the page's audio is ready; 0 when there is none.
EM_JS(int32_t, web_audio_open, (), { return Module.vivurAudioOpen ? Module.vivurAudioOpen() : 0; });

EM_JS(void, web_audio_start, (), {
    if (Module.vivurAudioStart)
        Module.vivurAudioStart();
});

EM_JS(double, web_audio_heard, (int32_t offset_ms), {
    return Module.vivurAudioHeard ? Module.vivurAudioHeard(offset_ms) : 0;
});

// How often the page carried on through a stalled audio clock.
EM_JS(int32_t, web_audio_stalls, (), { return Module.vivurAudioStalls ? Module.vivurAudioStalls() : 0; });

EM_JS(void, web_audio_close, (), {
    if (Module.vivurAudioClose)
        Module.vivurAudioClose();
});

}  // namespace

// Called by the page: renders frames (at most 8192) and returns where the
// interleaved 16-bit stereo samples lie.
extern "C" EMSCRIPTEN_KEEPALIVE int16_t* vivur_web_audio_render(int32_t frames)
{
    if (frames < 0)
        frames = 0;
    if (frames > max_chunk_frames)
        frames = max_chunk_frames;
    sound_live_render(sound_live_state, sound_live_player, chunk, static_cast<size_t>(frames));
    return chunk;
}

bool sound_device_open(uint32_t)
{
    int32_t rate = web_audio_open();
    if (rate <= 0)
        return false;
    sound_player_reset(sound_live_player, static_cast<uint32_t>(rate));
    sound_live_reset(sound_live_state, chunk_frames);
    return true;
}

void sound_device_start() { web_audio_start(); }

// Everything runs on the page's one thread: nothing to hold off.
bool sound_device_lock(uint64_t) { return false; }

void sound_device_unlock() {}

// The page follows its own clock while the audio clock stalls; the count of
// stalls lets music_poll say so once, as for a hung device natively.
int64_t sound_device_heard_frame(uint64_t)
{
    int64_t frame = static_cast<int64_t>(web_audio_heard(sound_latency_offset_ms));
    sound_live_state.stalls = static_cast<uint32_t>(web_audio_stalls());
    return frame;
}

void sound_device_close() { web_audio_close(); }
