// The music position on the offline device: what music_poll reports at known
// virtual times for modules with known speed, tempo, order lists and jumps.
// Rows last 25 ms (modules.h); every time asked for lies in the middle of a row.
#include <gtest/gtest.h>

#include <utility>

#include "modules.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "runtime/music.h"
#include "runtime/options.h"
#include "runtime/pacing.h"
#include "runtime/timeline_steps.h"
#include "support/support.h"

namespace {

class OfflineMusic : public ::testing::Test {
protected:
    void SetUp() override
    {
        support_intercept_exit();
        run_options = RunOptions{};
        sound_use_offline(true);
        clock_use_virtual(0);
        dir = support_temp_dir();
    }

    void TearDown() override
    {
        music_stop();
        sound_set_sample_sink(nullptr);
        clock_use_live();
        sound_use_offline(false);
        run_options = RunOptions{};
    }

    // Writes module as the loose "wuntje.s3m", loads and starts it at virtual time 0.
    void play(const S3mModule& module)
    {
        music_test_save(module, dir + "/wuntje.s3m");
        ScopedChdir here(dir);
        music_load("wuntje.s3m");
        music_start();
    }

    // The polled position at ms milliseconds of virtual time, as a frame
    // presented then reads it.
    std::pair<uint32_t, uint32_t> at(double ms)
    {
        clock_virtual_set_ns(static_cast<uint64_t>(ms * 1e6));
        music_poll();
        music_check_looping();
        return {music_order, music_row};
    }

    // The player's position at ms, read from the sound service itself (the
    // music unit stops an offline run once the song has looped twice).
    std::pair<uint32_t, uint32_t> heard(double ms)
    {
        clock_virtual_set_ns(static_cast<uint64_t>(ms * 1e6));
        uint32_t position = sound_channel_position(music_handle);
        return {position & 0xFFFF, position >> 16};
    }

    std::string dir;
};

using Position = std::pair<uint32_t, uint32_t>;

TEST_F(OfflineMusic, OrderIsTheIndexInTheOrderListNotThePattern)
{
    // Orders 2, 0, 1: 64 rows of 25 ms make 1.6 s per order.
    play(music_test_module({2, 0, 1}, 3));
    EXPECT_EQ(sound_device(), SOUND_DEVICE_OFFLINE);
    EXPECT_EQ(at(12.5), Position(0, 0));
    EXPECT_EQ(at(812.5), Position(0, 32));     // 32.5 rows
    EXPECT_EQ(at(1612.5), Position(1, 0));     // 64.5 rows
    EXPECT_EQ(at(4012.5), Position(2, 32));    // 160.5 rows
}

TEST_F(OfflineMusic, SkipMarkerKeepsItsIndexAndIsPassedOver)
{
    play(music_test_module({0, S3M_ORDER_SKIP, 1}, 2));
    EXPECT_EQ(at(1587.5), Position(0, 63));
    EXPECT_EQ(at(1612.5), Position(2, 0));
}

TEST_F(OfflineMusic, PatternBreakAndPositionJump)
{
    // Order 0 breaks after row 7 to row 10 of order 1; order 1 jumps after
    // row 13 to order 3. So: order 0 rows 0..7 in 0..200 ms, order 1 rows
    // 10..13 in 200..300 ms, order 3 from 300 ms.
    S3mModule module = music_test_module({0, 1, 2, 3}, 4);
    music_test_effect(module, 0, 7, 'C', s3m_bcd(10));
    music_test_effect(module, 1, 13, 'B', 3);
    play(module);
    EXPECT_EQ(at(187.5), Position(0, 7));
    EXPECT_EQ(at(212.5), Position(1, 10));
    EXPECT_EQ(at(287.5), Position(1, 13));
    EXPECT_EQ(at(312.5), Position(3, 0));
    EXPECT_EQ(at(362.5), Position(3, 2));
}

// Collects the offline device's output.
int64_t sink_peak = 0;
uint64_t sink_frames = 0;
void peak_sink(const int16_t* frames, size_t count)
{
    for (size_t i = 0; i < 2 * count; ++i)
        sink_peak = std::max<int64_t>(sink_peak, frames[i] < 0 ? -frames[i] : frames[i]);
    sink_frames += count;
}

TEST_F(OfflineMusic, SongEndStartsAgainWithoutFade)
{
    // Two orders of 4 rows each (break after row 3): the song lasts 200 ms.
    S3mModule module = music_test_module({0, 1}, 2);
    music_test_effect(module, 0, 3, 'C', 0);
    music_test_effect(module, 1, 3, 'C', 0);
    sound_set_sample_sink(peak_sink);
    play(module);
    EXPECT_EQ(heard(187.5), Position(1, 3));
    EXPECT_EQ(heard(212.5), Position(0, 0));
    EXPECT_EQ(heard(262.5), Position(0, 2));
    EXPECT_EQ(heard(312.5), Position(1, 0));
    // Ten times round (80.5 rows): still playing, still loud.
    heard(2000);
    sink_peak = 0;
    sink_frames = 0;
    EXPECT_EQ(heard(2012.5), Position(0, 0));
    EXPECT_EQ(heard(2112.5), Position(1, 0));  // 84.5 rows: 84 = 10 x 8 + 4
    EXPECT_EQ(sink_frames, 4961u);           // 112.5 ms at 44100 Hz = 4961.25 frames
    EXPECT_GT(sink_peak, 1000);
}

TEST_F(OfflineMusic, RunStopsOnceTheSongHasLoopedTwice)
{
    // A song of 200 ms: polls go on through its first end and up to its
    // second; the poll after that stops the run, naming module and position.
    S3mModule module = music_test_module({0, 1}, 2);
    music_test_effect(module, 0, 3, 'C', 0);
    music_test_effect(module, 1, 3, 'C', 0);
    play(module);
    timeline_step = 3;
    EXPECT_EQ(at(212.5), Position(0, 0));
    EXPECT_EQ(at(387.5), Position(1, 3));
    testing::internal::CaptureStderr();
    try {
        at(412.5);
        ADD_FAILURE() << "the run went on after the second loop";
    } catch (const ProcessExited& exited) {
        EXPECT_EQ(exited.code, 1);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "error: the music wuntje.s3m played to its end twice without reaching order 16, row 30: "
              "the production stopped in step 3 at order 0, row 0\n");
    timeline_step = 0;
}

TEST_F(OfflineMusic, HalfPlaybackRateHalvesSpeed)
{
    // At 22050 Hz the module's 44100 Hz data plays at half speed: 2 s of
    // virtual time are 1 s of the song.
    play(music_test_module({0, 1}, 2));
    sound_set_rate(music_handle, 22050);
    EXPECT_EQ(at(1625), Position(0, 32));   // 812.5 ms of song
    EXPECT_EQ(at(3225), Position(1, 0));    // 1612.5 ms of song
}

TEST_F(OfflineMusic, OutputFollowsTheVirtualClockFromTimeZero)
{
    // Silence until the module plays; the frame count is the virtual time at
    // 44100 Hz: 1/60 s is 735 frames, 1 s is 44100.
    sink_peak = 0;
    sink_frames = 0;
    sound_set_sample_sink(peak_sink);
    music_init();
    clock_virtual_set_ns(16666667);
    EXPECT_EQ(sink_frames, 735u);
    clock_virtual_set_ns(1000000000);
    EXPECT_EQ(sink_frames, 44100u);
    EXPECT_EQ(sink_peak, 0);
}

}  // namespace
