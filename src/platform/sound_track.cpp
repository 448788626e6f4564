#include "platform/sound_track.h"

void sound_track_clear(SoundTrack& track)
{
    track.count = 0;
    track.next = 0;
}

void sound_track_add(SoundTrack& track, uint64_t frame, uint32_t position)
{
    track.frame[track.next] = frame;
    track.position[track.next] = position;
    track.next = (track.next + 1) % SOUND_TRACK_SIZE;
    if (track.count < SOUND_TRACK_SIZE)
        ++track.count;
}

uint32_t sound_track_find(const SoundTrack& track, int64_t frame)
{
    if (track.count == 0)
        return 0;
    // Slot of the i-th oldest checkpoint.
    uint32_t oldest = (track.next + SOUND_TRACK_SIZE - track.count) % SOUND_TRACK_SIZE;
    auto slot = [&](uint32_t i) { return (oldest + i) % SOUND_TRACK_SIZE; };
    if (frame < 0 || static_cast<uint64_t>(frame) < track.frame[slot(0)])
        return track.count < SOUND_TRACK_SIZE ? 0 : track.position[slot(0)];
    // Binary search for the last checkpoint at or before frame.
    uint32_t low = 0, high = track.count - 1;
    while (low < high) {
        uint32_t middle = (low + high + 1) / 2;
        if (track.frame[slot(middle)] <= static_cast<uint64_t>(frame))
            low = middle;
        else
            high = middle - 1;
    }
    return track.position[slot(low)];
}

int64_t sound_audible_frame(uint64_t rendered, uint64_t callback_ns, uint64_t now_ns,
                            uint32_t buffer_frames, uint32_t rate, int offset_ms)
{
    // Frames played since the device took its last buffer, at most that buffer.
    uint64_t played = 0;
    if (now_ns > callback_ns) {
        uint64_t elapsed = now_ns - callback_ns;
        if (elapsed > 60000000000u)  // a minute is longer than any buffer (and cannot overflow below)
            elapsed = 60000000000u;
        played = elapsed * rate / 1000000000u;
    }
    if (played > buffer_frames)
        played = buffer_frames;
    int64_t offset = int64_t(offset_ms) * int64_t(rate) / 1000;
    return int64_t(rendered) - int64_t(buffer_frames) + int64_t(played) - offset;
}
