// The default device after it has stopped for good (its sound server went
// away) or while it stalls (its server hangs), with a fake clock: the heard
// frame runs on from where it was at the output rate, the program thread
// renders what the device no longer asks for, and the volume slide still
// ends, so the stop sequence cannot wait forever. A stalled device that asks
// again plays on from the clock's position, never behind it.
// Test modules play rows of 25 ms (modules.h): 1102.5 frames at 44100 Hz.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modules.h"
#include "platform/sound_player.h"
#include "platform/sound_track.h"

namespace {

constexpr uint32_t rate = 44100;
constexpr uint32_t buffer_frames = 1024;
constexpr uint64_t start_ns = 7000000000u;  // steady time of the first buffer request
constexpr uint64_t second_ns = 1000000000u;

// A player of a ten-order test module, playing from order 0, row 0.
class StoppedDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<uint8_t> orders;
        for (uint8_t i = 0; i < 10; ++i)
            orders.push_back(i);
        std::vector<uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(s3m_write(music_test_module(orders, 10), bytes, error)) << error;
        sound_player_reset(player, rate);
        player.module = sound_player_create(bytes.data(), bytes.size());
        ASSERT_NE(player.module, nullptr);
        player.playing = true;
        player.restart = true;
        sound_live_reset(live, buffer_frames);
    }

    void TearDown() override { sound_player_release(player); }

    // The device asks for count buffers, one every buffer's duration from start_ns.
    void run_device(int count)
    {
        for (int i = 0; i < count; ++i) {
            live.callback_ns = start_ns + uint64_t(i) * buffer_frames * second_ns / rate;
            sound_live_render(live, player, buffer, buffer_frames);
        }
    }

    // The position the test module plays at frame: 40 rows a second, 64 rows an order.
    static uint32_t expected_position(int64_t frame)
    {
        uint32_t row = static_cast<uint32_t>(frame * 40 / rate);
        return row / 64 | (row % 64) << 16;
    }

    SoundPlayer player{};
    SoundLive live{};
    int16_t buffer[buffer_frames * 2];
    int16_t scratch[1024 * 2];
};


TEST_F(StoppedDevice, HeardFrameRunsOnAtTheOutputRateFromTheStop)
{
    run_device(40);
    // 10 ms after the last request: the frame heard just before the stop is
    // where the clock takes over, without a jump.
    uint64_t stop_ns = live.callback_ns + 10000000u;
    int64_t before = sound_live_heard(live, stop_ns, rate, 0);
    sound_live_stop(live, stop_ns, rate, 0);
    EXPECT_TRUE(live.stopped);
    EXPECT_EQ(sound_live_heard(live, stop_ns, rate, 0), before);
    // A second stop (noticed again) changes nothing.
    sound_live_stop(live, stop_ns + second_ns, rate, 0);
    EXPECT_EQ(live.stop_ns, stop_ns);
    // Real speed: 10 s later exactly 441000 frames on; an earlier clock reading holds still.
    EXPECT_EQ(sound_live_heard(live, stop_ns + 10 * second_ns, rate, 0), before + 441000);
    EXPECT_EQ(sound_live_heard(live, stop_ns - second_ns, rate, 0), before);
    // Five days on, still exact (no overflow in the frame count).
    EXPECT_EQ(sound_live_heard(live, stop_ns + 432000 * second_ns, rate, 0), before + int64_t(432000) * rate);
}

TEST_F(StoppedDevice, RenderingGoesOnAndThePositionFollowsTheClock)
{
    run_device(8);
    uint64_t stop_ns = live.callback_ns + 5000000u;
    sound_live_stop(live, stop_ns, rate, 0);
    // At the stop, rendering goes one buffer ahead of the heard frame, as the
    // device is just after its request.
    sound_live_follow(live, player, stop_ns, scratch, 1024);
    EXPECT_EQ(int64_t(live.rendered), sound_live_heard(live, stop_ns, rate, 0) + buffer_frames);
    // Every 100 ms of the clock for 12 s (longer than the checkpoint ring):
    // rendered stays exactly one buffer ahead of the heard frame, whose position
    // is the one the module plays there.
    for (uint64_t step = 1; step <= 120; ++step) {
        uint64_t now = stop_ns + step * second_ns / 10 + 1234567u;
        sound_live_follow(live, player, now, scratch, 1024);
        int64_t heard = sound_live_heard(live, now, rate, 0);
        ASSERT_EQ(int64_t(live.rendered), heard + buffer_frames) << "step " << step;
        // Rows change every 1102.5 frames and checkpoints come at most 64
        // frames apart: compare only frames well inside a row.
        int64_t into_row = heard * 40 % rate;
        if (into_row < 64 * 40 || into_row > rate - 64 * 40)
            continue;
        EXPECT_EQ(sound_track_find(live.track, heard), expected_position(heard)) << "step " << step;
    }
    EXPECT_EQ(player.position & 0xFFFF, 7u);  // 12.3 s: order 7 is playing
}

TEST_F(StoppedDevice, VolumeSlideEndsWithoutTheDevice)
{
    run_device(4);
    uint64_t stop_ns = live.callback_ns;
    sound_live_stop(live, stop_ns, rate, 0);
    sound_player_slide(player);
    sound_live_follow(live, player, stop_ns + second_ns / 2, scratch, 1024);
    EXPECT_GT(player.slide_left, 0u);
    EXPECT_FALSE(player.muted);
    // The slide lasts one second of output: rendered past it, it has ended.
    sound_live_follow(live, player, stop_ns + second_ns + second_ns / 20, scratch, 1024);
    EXPECT_EQ(player.slide_left, 0u);
    EXPECT_TRUE(player.muted);
}

TEST_F(StoppedDevice, StopBeforeTheFirstBufferKeepsTheOffset)
{
    // The server went away before the device ever asked: with 100 ms of extra
    // latency the heard frame starts 4410 frames before the stream's start.
    sound_live_stop(live, start_ns, rate, 100);
    EXPECT_EQ(live.stop_frame, -4410);
    sound_live_follow(live, player, start_ns, scratch, 1024);
    EXPECT_EQ(live.rendered, 0u);  // nothing is due yet
    EXPECT_EQ(sound_track_find(live.track, sound_live_heard(live, start_ns, rate, 100)), 0u);
    // 310 ms later: 13671 - 4410 = 9261 frames heard (row 8.4), a buffer more rendered.
    sound_live_follow(live, player, start_ns + 31 * second_ns / 100, scratch, 1024);
    EXPECT_EQ(sound_live_heard(live, start_ns + 31 * second_ns / 100, rate, 100), 9261);
    EXPECT_EQ(live.rendered, 9261u + buffer_frames);
    EXPECT_EQ(sound_track_find(live.track, 9261), expected_position(9261));
    EXPECT_EQ(expected_position(9261), 8u << 16);
}

// The same record seen by the stall check: the device is started at
// start_ns and asks for buffers on time until it hangs.
class StalledDevice : public StoppedDevice {
protected:
    void SetUp() override
    {
        StoppedDevice::SetUp();
        sound_live_start(live, start_ns);
    }

    // One more buffer request at now (the device runs again).
    void ask_at(uint64_t now)
    {
        live.callback_ns = now;
        sound_live_render(live, player, buffer, buffer_frames);
    }
};

TEST_F(StalledDevice, StallIsNoticedAfterAQuarterSecondWithoutARequest)
{
    // Not started yet: a device that never asks is no stall.
    SoundLive idle{};
    sound_live_reset(idle, buffer_frames);
    EXPECT_FALSE(sound_live_check_stall(idle, start_ns + 10 * second_ns, rate, 0));
    // Started, but no request yet: the start counts as the last movement.
    EXPECT_FALSE(sound_live_check_stall(live, start_ns + SOUND_STALL_NS, rate, 0));
    run_device(20);
    const uint64_t last = live.callback_ns;
    EXPECT_FALSE(sound_live_check_stall(live, last + SOUND_STALL_NS, rate, 0));
    const int64_t frozen = sound_live_heard(live, last + SOUND_STALL_NS + 1, rate, 0);
    EXPECT_EQ(frozen, int64_t(live.rendered));  // the estimate stands at the end of the last buffer
    EXPECT_TRUE(sound_live_check_stall(live, last + SOUND_STALL_NS + 1, rate, 0));
    EXPECT_EQ(live.stalls, 1u);
    EXPECT_FALSE(live.stopped);
    // From there the clock runs: 2 s later exactly 88200 frames on; asking
    // again while it still hangs is the same stall.
    EXPECT_TRUE(sound_live_check_stall(live, last + 2 * second_ns, rate, 0));
    EXPECT_EQ(live.stalls, 1u);
    EXPECT_EQ(sound_live_heard(live, last + SOUND_STALL_NS + 1 + 2 * second_ns, rate, 0), frozen + 88200);
}

TEST_F(StalledDevice, RequestAfterTheStallPlaysFromTheClockWithoutGoingBack)
{
    for (int offset_ms : {0, 100, -30}) {
        TearDown();  // a fresh player and record for each offset
        SetUp();
        run_device(20);
        uint64_t now = live.callback_ns + 300000000u;  // the program notices 300 ms after the last request
        ASSERT_TRUE(sound_live_check_stall(live, now, rate, offset_ms));
        int64_t latest = sound_live_heard_forward(live, now, rate, offset_ms);
        // Two seconds of hang, the program polling every 16 ms: the position
        // the player renders follows the clock, so what the stall held back is skipped.
        for (int i = 0; i < 125; ++i) {
            now += 16000000u;
            ASSERT_TRUE(sound_live_check_stall(live, now, rate, offset_ms));
            sound_live_follow(live, player, now, scratch, 1024);
            const int64_t heard = sound_live_heard_forward(live, now, rate, offset_ms);
            ASSERT_GT(heard, latest);
            latest = heard;
        }
        EXPECT_EQ(int64_t(live.rendered), latest + buffer_frames + int64_t(offset_ms) * rate / 1000);
        // The device asks again 5 ms after the last poll: it renders on from
        // there, and its estimate takes over at or ahead of the clock.
        ask_at(now + 5000000u);
        EXPECT_FALSE(sound_live_check_stall(live, now + 6000000u, rate, offset_ms));
        const int64_t resumed = sound_live_heard(live, now + 6000000u, rate, offset_ms);
        EXPECT_GE(resumed, latest) << "offset " << offset_ms;
        EXPECT_LE(resumed, latest + 2 * int64_t(buffer_frames)) << "offset " << offset_ms;
        // Requests on time again: the estimate runs on as before the stall.
        ask_at(now + 5000000u + buffer_frames * second_ns / rate);
        EXPECT_GT(sound_live_heard(live, now + 30000000u, rate, offset_ms), resumed);
    }
}

TEST_F(StalledDevice, HeardFrameNeverStepsBack)
{
    run_device(10);
    const int64_t ahead = sound_live_heard_forward(live, live.callback_ns + second_ns / 100, rate, 0);
    // An earlier reading gives the latest frame given out, not an earlier one.
    EXPECT_EQ(sound_live_heard_forward(live, live.callback_ns, rate, 0), ahead);
    EXPECT_LT(sound_live_heard(live, live.callback_ns, rate, 0), ahead);
}

TEST_F(StalledDevice, StopDuringAStallGoesOnByTheClockAndTheSlideEnds)
{
    run_device(10);
    const uint64_t stall = live.callback_ns + second_ns / 2;
    ASSERT_TRUE(sound_live_check_stall(live, stall, rate, 0));
    const int64_t at_stall = sound_live_heard(live, stall, rate, 0);
    // The server dies while hanging: the clock goes on without a jump.
    sound_live_stop(live, stall + second_ns, rate, 0);
    EXPECT_TRUE(live.stopped);
    EXPECT_FALSE(sound_live_check_stall(live, stall + second_ns, rate, 0));
    EXPECT_EQ(sound_live_heard(live, stall + second_ns, rate, 0), at_stall + int64_t(rate));
    // A slide begun while stalled ends in its one second without the device.
    SoundLive hung{};
    sound_live_reset(hung, buffer_frames);
    sound_live_start(hung, start_ns);
    ASSERT_TRUE(sound_live_check_stall(hung, start_ns + second_ns, rate, 0));
    sound_player_slide(player);
    sound_live_follow(hung, player, start_ns + 2 * second_ns + second_ns / 20, scratch, 1024);
    EXPECT_EQ(player.slide_left, 0u);
    EXPECT_TRUE(player.muted);
}

TEST_F(StalledDevice, ClosingJoinsARunningThreadAndLeavesAHungOne)
{
    run_device(10);
    const uint64_t last = live.callback_ns;
    // Closing 10 ms after the last request: not known yet; a request after
    // the close began shows the thread runs.
    const uint64_t close = last + 10000000u;
    EXPECT_EQ(sound_live_close_check(live, close, close, rate, 0), SOUND_CLOSE_WAIT);
    ask_at(close + 13000000u);
    EXPECT_EQ(sound_live_close_check(live, close, close + 14000000u, rate, 0), SOUND_CLOSE_JOIN);
    // The server hangs 10 ms before the close: waiting ends a quarter of a
    // second after the last request, as a stall, and the thread is left.
    const uint64_t hung = live.callback_ns;
    const uint64_t close2 = hung + 10000000u;
    EXPECT_EQ(sound_live_close_check(live, close2, hung + SOUND_STALL_NS, rate, 0), SOUND_CLOSE_WAIT);
    EXPECT_EQ(sound_live_close_check(live, close2, hung + SOUND_STALL_NS + 1, rate, 0), SOUND_CLOSE_LEAVE);
    EXPECT_EQ(live.stalls, 1u);
    // A device SDL reported stopped has let go of its server: joined.
    sound_live_stop(live, hung + second_ns, rate, 0);
    EXPECT_EQ(sound_live_close_check(live, close2, hung + second_ns, rate, 0), SOUND_CLOSE_JOIN);
}

}  // namespace
