// The module player under the music: one module, played looped from memory,
// observed through its position (order index in the low 16 bits, row in the
// high 16 bits). Used only by the runtime's music unit (and its tests).
#pragma once
#include <cstddef>
#include <cstdint>

// Where the sound goes.
enum SoundDevice {
    SOUND_DEVICE_CLOSED,   // nothing initialised (only reported by sound_device)
    SOUND_DEVICE_DEFAULT,  // the system's default output, rendered on its audio thread (asking for
                           // it opens the offline device when sound_use_offline chose that)
    SOUND_DEVICE_NONE,     // no output; the position follows the real time
    SOUND_DEVICE_OFFLINE,  // rendered in lockstep with the virtual clock into the sample sink
};

// Receives the offline device's output: frames of interleaved 16-bit stereo.
typedef void (*SoundSampleSink)(const int16_t* frames, size_t count);

// Called by music_init: nullptr when the module player library found at run
// time is at least the release this program was built for; otherwise a
// sentence for the user saying which version was found and which is needed.
const char* sound_library_problem();
// The same test for version numbers given as major << 24 | minor << 16 |
// patch: a library older than need's major and minor release is a problem.
const char* sound_version_problem(uint32_t have, uint32_t need);
// Called by music_init: opens device at rate frames per second. Returns false
// when the device cannot be opened (only the default device can fail).
bool sound_init(SoundDevice device, uint32_t rate);
// Called by music_load: makes a player for the module in data (the caller may
// free the bytes right after). Returns its handle, or 0 when no device is open
// or the bytes are no module the player understands.
uint32_t sound_music_load(const uint8_t* data, size_t size);
// Called by music_start: starts the output (silence until sound_music_play).
void sound_start();
// Called by music_start: plays the module from order 0, row 0.
void sound_music_play(uint32_t handle);
// Called by music_poll: the position being heard, order | row << 16; 0 while
// nothing plays or for an unknown handle.
uint32_t sound_channel_position(uint32_t handle);
// Called by music_poll: how often the playing module has passed its end and
// started again (0 during the first pass, while nothing plays, or for an
// unknown handle).
uint32_t sound_music_passes(uint32_t handle);
// Called by music_stop: plays the 44100 Hz module as if at rate Hz, so pitch
// and speed fall together (rates below 1000 count as 1000).
void sound_set_rate(uint32_t handle, uint32_t rate);
// Called by music_stop: slides the output volume down to silence in one second.
void sound_slide_volume_down();
// Called by music_stop: true while the volume slide runs.
bool sound_is_sliding();
// Called by music_poll: true once the live output has stalled during this
// run (the position then follows the real time until the device plays again).
bool sound_has_stalled();
// Called by music_stop: stops the output and frees the device and the module.
void sound_free();

// Called once by the start-up step that picks the run's backends: whether
// the default device is the offline one (headless and capture runs, on the
// virtual clock) or the system's output.
void sound_use_offline(bool offline);
// Called by the same step: extra latency of the default device in
// milliseconds, subtracted from the position it reports (--audio-offset).
void sound_set_latency_offset(int milliseconds);
// Installs the offline device's sample sink (capture); nullptr: none.
void sound_set_sample_sink(SoundSampleSink sink);
// The open device (tests and the capture writer).
SoundDevice sound_device();
// The output rate of the open device, in frames per second.
uint32_t sound_output_rate();
// The playback rate last set (44100 unless the stop sequence changed it).
uint32_t sound_playback_rate();
