// Position checkpoints and the latency estimate of the default device: the
// audio thread records (frame count, position) as it renders, and the program
// thread looks up the position of the frame being heard now. When the device
// stops for good (its sound server went away), or stalls (asks for nothing
// for a quarter of a second, its server hanging), the program thread renders
// in its place and the heard frame runs on by the clock; a stalled device
// that asks again goes on from where the clock had got to.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/sound_player.h"

constexpr uint32_t SOUND_TRACK_SIZE = 8192;  // checkpoints kept (about 12 s at 64 frames each)
constexpr uint64_t SOUND_STALL_NS = 250000000u;  // a started device asking for nothing this long has stalled

// A ring of checkpoints in rising frame order.
struct SoundTrack {
    uint64_t frame[SOUND_TRACK_SIZE];     // frames rendered when the position was taken
    uint32_t position[SOUND_TRACK_SIZE];  // order | row << 16 at that frame
    uint32_t count;                       // checkpoints held, up to SOUND_TRACK_SIZE
    uint32_t next;                        // slot the next checkpoint goes to
};

// Called by the audio thread after each rendered slice; frames must not fall.
void sound_track_add(SoundTrack& track, uint64_t frame, uint32_t position);
// The position of the latest checkpoint at or before frame: 0 before the
// first checkpoint, the oldest one kept for a frame older than the ring holds.
uint32_t sound_track_find(const SoundTrack& track, int64_t frame);
// Empties the ring.
void sound_track_clear(SoundTrack& track);

// The frame being heard at now_ns, given that the device asked for its last
// buffer of buffer_frames frames at callback_ns, when rendered frames had been
// handed over in all: the device plays that buffer from then on, so the heard
// frame runs from rendered - buffer_frames up to rendered, and a device with
// offset_ms more latency is that much further behind.
int64_t sound_audible_frame(uint64_t rendered, uint64_t callback_ns, uint64_t now_ns,
                            uint32_t buffer_frames, uint32_t rate, int offset_ms);

// The default device's side of the player. While the device runs, the audio
// thread writes it under the device lock; once it has stopped, only the
// program thread touches it.
struct SoundLive {
    SoundTrack track;        // positions by frame count
    uint32_t buffer_frames;  // frames per device buffer
    uint64_t rendered;       // frames rendered so far
    uint64_t callback_ns;    // steady time of the latest buffer request
    bool stopped;            // the device has stopped: the heard frame follows the clock
    bool stalled;            // the device has stalled: the heard frame follows the clock until it asks again
    uint64_t stop_ns;        // steady time at which the stop or the stall was noticed
    int64_t stop_frame;      // the frame heard then
    int64_t stall_lead;      // frames rendered ahead of the heard frame, beyond one buffer, while stalled
    uint64_t started_ns;     // steady time at which the device was started; 0 before
    uint32_t stalls;         // stalls noticed since the reset
    int64_t heard_latest;    // the latest heard frame given out by sound_live_heard_forward
};

// Empties live for a device asking for buffer_frames frames at a time.
void sound_live_reset(SoundLive& live, uint32_t buffer_frames);
// Renders count frames of player into out in slices, with a checkpoint after each.
void sound_live_render(SoundLive& live, SoundPlayer& player, int16_t* out, size_t count);
// The frame heard at now_ns at rate frames per second: the device's estimate
// (sound_audible_frame), or after a stop or during a stall the frame heard
// then plus the time since.
int64_t sound_live_heard(const SoundLive& live, uint64_t now_ns, uint32_t rate, int offset_ms);
// The same, never before a frame it gave out earlier: the picture does not
// step back where the clock hands over to the device again.
int64_t sound_live_heard_forward(SoundLive& live, uint64_t now_ns, uint32_t rate, int offset_ms);
// The device was started at now_ns: from then on it is expected to ask for buffers.
void sound_live_start(SoundLive& live, uint64_t now_ns);
// Called by the program thread with the device held off: notices a started
// device that has asked for no buffer for SOUND_STALL_NS (the clock takes
// over from the frame heard now, as after a stop) and one that asks again
// after a stall (its estimate takes over again). True while stalled.
bool sound_live_check_stall(SoundLive& live, uint64_t now_ns, uint32_t rate, int offset_ms);
// Called while closing, from asked_ns (the moment closing began) on, with
// the device held off: SOUND_CLOSE_JOIN once the audio thread has asked for a
// buffer since then (it runs: closing may wait for it to end),
// SOUND_CLOSE_LEAVE once it has stalled (closing would wait for ever on a
// thread stuck in its server: leave it to the process's end), and
// SOUND_CLOSE_WAIT until one of the two is known, which takes at most
// SOUND_STALL_NS past its last request.
enum SoundCloseCheck { SOUND_CLOSE_WAIT, SOUND_CLOSE_JOIN, SOUND_CLOSE_LEAVE };
SoundCloseCheck sound_live_close_check(SoundLive& live, uint64_t asked_ns, uint64_t now_ns, uint32_t rate,
                                       int offset_ms);
// The device has stopped at now_ns: the frame heard now is where the clock
// takes over (or goes on, when it had stalled).
void sound_live_stop(SoundLive& live, uint64_t now_ns, uint32_t rate, int offset_ms);
// After a stop or during a stall: renders player into scratch (scratch_frames
// stereo frames, dropped) until one buffer past the frame heard at now_ns, as
// the device kept it (a stalled one also as far ahead as its latency offset),
// so the position, the rate steps and the volume slide go on in real time.
// What a stalled device would have played is skipped: when it asks again, it
// plays on from the clock's position.
void sound_live_follow(SoundLive& live, SoundPlayer& player, uint64_t now_ns, int16_t* scratch,
                       size_t scratch_frames);
