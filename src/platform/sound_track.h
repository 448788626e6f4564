// Position checkpoints and the latency estimate of the default device: the
// audio thread records (frame count, position) as it renders, and the program
// thread looks up the position of the frame being heard now.
#pragma once
#include <cstdint>

constexpr uint32_t SOUND_TRACK_SIZE = 8192;  // checkpoints kept (about 12 s at 64 frames each)

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
