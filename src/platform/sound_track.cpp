#include "platform/sound_track.h"

#include <cstdint>

namespace {

constexpr size_t slice_frames = 64;  // frames between two checkpoints

// Frames played at rate in elapsed_ns (split so that days of it cannot overflow).
uint64_t frames_in(uint64_t elapsed_ns, uint32_t rate)
{
    return elapsed_ns / 1000000000u * rate + elapsed_ns % 1000000000u * rate / 1000000000u;
}

}  // namespace

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

void sound_live_reset(SoundLive& live, uint32_t buffer_frames)
{
    sound_track_clear(live.track);
    live.buffer_frames = buffer_frames;
    live.rendered = 0;
    live.callback_ns = 0;
    live.stopped = false;
    live.stalled = false;
    live.stop_ns = 0;
    live.stop_frame = 0;
    live.stall_lead = 0;
    live.started_ns = 0;
    live.stalls = 0;
    live.heard_latest = INT64_MIN;
}

void sound_live_render(SoundLive& live, SoundPlayer& player, int16_t* out, size_t count)
{
    for (size_t done = 0; done < count; done += slice_frames) {
        size_t slice = count - done < slice_frames ? count - done : slice_frames;
        sound_player_render(player, out + 2 * done, slice);
        live.rendered += slice;
        sound_track_add(live.track, live.rendered, player.position);
    }
}

int64_t sound_live_heard(const SoundLive& live, uint64_t now_ns, uint32_t rate, int offset_ms)
{
    if (!live.stopped && !live.stalled)
        return sound_audible_frame(live.rendered, live.callback_ns, now_ns, live.buffer_frames, rate, offset_ms);
    uint64_t elapsed = now_ns > live.stop_ns ? now_ns - live.stop_ns : 0;
    return live.stop_frame + static_cast<int64_t>(frames_in(elapsed, rate));
}

int64_t sound_live_heard_forward(SoundLive& live, uint64_t now_ns, uint32_t rate, int offset_ms)
{
    int64_t frame = sound_live_heard(live, now_ns, rate, offset_ms);
    if (frame < live.heard_latest)
        return live.heard_latest;
    live.heard_latest = frame;
    return frame;
}

void sound_live_start(SoundLive& live, uint64_t now_ns) { live.started_ns = now_ns; }

bool sound_live_check_stall(SoundLive& live, uint64_t now_ns, uint32_t rate, int offset_ms)
{
    if (live.stopped || live.started_ns == 0)
        return false;
    if (live.stalled) {
        // A buffer asked for since the stall began: the device runs again,
        // from the frames rendered in its place.
        if (live.callback_ns > live.stop_ns)
            live.stalled = false;
        return live.stalled;
    }
    uint64_t moved_ns = live.callback_ns > live.started_ns ? live.callback_ns : live.started_ns;
    if (now_ns <= moved_ns + SOUND_STALL_NS)
        return false;
    live.stop_frame = sound_live_heard(live, now_ns, rate, offset_ms);
    live.stop_ns = now_ns;
    // While the device plays, rendering runs one buffer and the latency
    // offset ahead of the heard frame: keep that lead, so the device's
    // estimate continues where the clock leaves off when it asks again.
    live.stall_lead = int64_t(offset_ms) * int64_t(rate) / 1000;
    live.stalled = true;
    ++live.stalls;
    return true;
}

SoundCloseCheck sound_live_close_check(SoundLive& live, uint64_t asked_ns, uint64_t now_ns, uint32_t rate,
                                       int offset_ms)
{
    if (live.stopped)
        return SOUND_CLOSE_JOIN;  // SDL has ended its use of the server
    if (live.started_ns == 0 || live.callback_ns >= asked_ns)
        return SOUND_CLOSE_JOIN;
    if (sound_live_check_stall(live, now_ns, rate, offset_ms))
        return SOUND_CLOSE_LEAVE;
    return SOUND_CLOSE_WAIT;
}

void sound_live_stop(SoundLive& live, uint64_t now_ns, uint32_t rate, int offset_ms)
{
    if (live.stopped)
        return;
    live.stop_frame = sound_live_heard(live, now_ns, rate, offset_ms);
    live.stop_ns = now_ns;
    live.stopped = true;
    live.stalled = false;
    live.stall_lead = 0;
}

void sound_live_follow(SoundLive& live, SoundPlayer& player, uint64_t now_ns, int16_t* scratch,
                       size_t scratch_frames)
{
    if (!live.stopped && !live.stalled)
        return;
    int64_t target = sound_live_heard(live, now_ns, player.output_rate, 0) + live.buffer_frames + live.stall_lead;
    while (static_cast<int64_t>(live.rendered) < target) {
        uint64_t left = static_cast<uint64_t>(target - static_cast<int64_t>(live.rendered));
        sound_live_render(live, player, scratch, left < scratch_frames ? size_t(left) : scratch_frames);
    }
}
