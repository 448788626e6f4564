// The default device's position arithmetic with a fake device clock: which
// frame is heard at a given time, and which checkpoint holds its position.
#include <gtest/gtest.h>

#include "platform/sound_track.h"

namespace {

constexpr uint64_t callback_ns = 5000000000u;  // the device asked for a buffer at 5 s

TEST(SoundLatency, HeardFrameRunsThroughTheLastBuffer)
{
    // 10240 frames handed over, the last buffer of 1024 frames at 44100 Hz.
    EXPECT_EQ(sound_audible_frame(10240, callback_ns, callback_ns, 1024, 44100, 0), 9216);
    // 10 ms later 441 frames of that buffer were played.
    EXPECT_EQ(sound_audible_frame(10240, callback_ns, callback_ns + 10000000u, 1024, 44100, 0), 9657);
    // Never past what was handed over, however late the next request comes.
    EXPECT_EQ(sound_audible_frame(10240, callback_ns, callback_ns + 50000000u, 1024, 44100, 0), 10240);
    EXPECT_EQ(sound_audible_frame(10240, callback_ns, callback_ns + 3600000000000u, 1024, 44100, 0), 10240);
    // A clock reading from before the request counts as the request's time.
    EXPECT_EQ(sound_audible_frame(10240, callback_ns, callback_ns - 1000000u, 1024, 44100, 0), 9216);
}

TEST(SoundLatency, OffsetMovesTheHeardFrameBothWays)
{
    // 100 ms more latency: 4410 frames further behind; -20 ms: 882 ahead.
    EXPECT_EQ(sound_audible_frame(10240, callback_ns, callback_ns, 1024, 44100, 100), 4806);
    EXPECT_EQ(sound_audible_frame(10240, callback_ns, callback_ns, 1024, 44100, -20), 10098);
    // At 48000 Hz, 10 ms is 480 frames.
    EXPECT_EQ(sound_audible_frame(4096, callback_ns, callback_ns, 512, 48000, 10), 3104);
}

TEST(SoundTrack, FindsTheLatestCheckpointAtOrBeforeTheFrame)
{
    static SoundTrack track;
    sound_track_clear(track);
    EXPECT_EQ(sound_track_find(track, 1000), 0u);
    // Checkpoint i at frame 64 (i + 1) holds position i + 100.
    for (uint32_t i = 0; i < 32; ++i)
        sound_track_add(track, 64u * (i + 1), i + 100);
    EXPECT_EQ(sound_track_find(track, -5), 0u);    // before anything was rendered
    EXPECT_EQ(sound_track_find(track, 63), 0u);
    EXPECT_EQ(sound_track_find(track, 64), 100u);
    EXPECT_EQ(sound_track_find(track, 127), 100u);
    EXPECT_EQ(sound_track_find(track, 128), 101u);
    EXPECT_EQ(sound_track_find(track, 64 * 32), 131u);
    EXPECT_EQ(sound_track_find(track, 1 << 30), 131u);
}

TEST(SoundTrack, RingKeepsTheNewestCheckpoints)
{
    static SoundTrack track;
    sound_track_clear(track);
    for (uint32_t i = 0; i < SOUND_TRACK_SIZE + 10; ++i)
        sound_track_add(track, 64u * (i + 1), i);
    // Checkpoints 0..9 were overwritten: older frames get the oldest kept one.
    EXPECT_EQ(sound_track_find(track, 0), 10u);
    EXPECT_EQ(sound_track_find(track, 64 * 5), 10u);
    EXPECT_EQ(sound_track_find(track, 64 * 11), 10u);
    EXPECT_EQ(sound_track_find(track, 64 * 12 + 3), 11u);
    EXPECT_EQ(sound_track_find(track, 64 * 5000), 4999u);
    EXPECT_EQ(sound_track_find(track, 64 * (SOUND_TRACK_SIZE + 10)), SOUND_TRACK_SIZE + 9);
}

TEST(SoundLatency, HeardPositionFromFakeDeviceClock)
{
    // Two buffers of 1024 frames rendered in slices of 64; checkpoint i after
    // slice i holds position i. 5 ms (220 frames) after the second request the
    // heard frame is 2048 - 1024 + 220 = 1244: checkpoint 18 at frame 1216.
    static SoundTrack track;
    sound_track_clear(track);
    for (uint32_t i = 0; i < 32; ++i)
        sound_track_add(track, 64u * (i + 1), i);
    EXPECT_EQ(sound_track_find(track, sound_audible_frame(2048, callback_ns, callback_ns + 5000000u, 1024, 44100, 0)),
              18u);
    // 10 ms (441 frames) of extra latency: frame 803, checkpoint 11 at 768.
    EXPECT_EQ(sound_track_find(track, sound_audible_frame(2048, callback_ns, callback_ns + 5000000u, 1024, 44100, 10)),
              11u);
}

}  // namespace
