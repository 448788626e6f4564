// The music unit over the three devices: the stop sequence in virtual time,
// the refusal message, harmless calls before anything is initialised, the
// no-sound fallback and the default device in real time, and the headless
// trace repeating byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "modules.h"
#include "platform/clock.h"
#include "pak_writer.h"
#include "platform/sound.h"
#include "resources/pak.h"
#include "runtime/music.h"
#include "runtime/options.h"
#include "runtime/pacing.h"
#include "runtime/timeline_steps.h"
#include "core/timer.h"
#include "core/fatal.h"
#include "support/support.h"

namespace {

void fresh_run(bool headless)
{
    support_intercept_exit();
    run_options = RunOptions{};
    sound_use_offline(headless);
    if (headless)
        clock_use_virtual(0);
    else
        clock_use_live();
    timer_start();
    pacing_frame = 0;
    timeline_step = 0;
    music_order = music_row = 0;
}

void end_run()
{
    music_stop();
    sound_set_sample_sink(nullptr);
    clock_use_live();
    sound_use_offline(false);
    run_options = RunOptions{};
}

// What the offline device rendered at each clock advance: the virtual time,
// the playback rate then, the frames and the sum of their magnitudes.
struct Render {
    uint64_t ns;
    uint32_t rate;
    uint64_t frames;
    int64_t level;
};
std::vector<Render> renders;

void render_sink(const int16_t* frames, size_t count)
{
    int64_t level = 0;
    for (size_t i = 0; i < 2 * count; ++i)
        level += std::abs(int(frames[i]));
    uint64_t ns = clock_virtual_ns();
    if (!renders.empty() && renders.back().ns == ns) {
        renders.back().frames += count;
        renders.back().level += level;
    } else {
        renders.push_back({ns, sound_playback_rate(), count, level});
    }
}

TEST(MusicStop, SinksInPitchThenFadesInOneSecond)
{
    fresh_run(true);
    std::string dir = support_temp_dir();
    music_test_save(music_test_module({0}, 1), dir + "/wuntje.s3m");
    {
        ScopedChdir here(dir);
        music_load("wuntje.s3m");
    }
    music_start();
    clock_virtual_set_ns(100000000);  // 100 ms into the song
    music_poll();
    const uint32_t order = music_order, row = music_row;
    sound_set_sample_sink(render_sink);
    renders.clear();

    music_stop();

    // 53 steps of 10 ms, rates 44100, 43300, ... 2500, each rendering 441 frames.
    ASSERT_EQ(renders.size(), 53u + 20u);
    for (int i = 0; i < 53; ++i) {
        EXPECT_EQ(renders[i].ns, 100000000u + 10000000u * (i + 1)) << i;
        EXPECT_EQ(renders[i].rate, 44100u - 800u * i) << i;
        EXPECT_EQ(renders[i].frames, 441u) << i;
        EXPECT_GT(renders[i].level, 441 * 1000) << i;
    }
    // Then the slide from 630 ms on: twenty polls 50 ms apart (2205 frames
    // each), each louder than the next, down to silence at 1.63 s.
    for (int i = 0; i < 20; ++i) {
        const Render& r = renders[53 + i];
        EXPECT_EQ(r.ns, 630000000u + 50000000u * (i + 1)) << i;
        EXPECT_EQ(r.rate, 2500u) << i;
        EXPECT_EQ(r.frames, 2205u) << i;
        if (i > 0) {
            EXPECT_LT(r.level, renders[52 + i].level) << i;
        }
    }
    EXPECT_LT(renders.back().level, renders[53].level / 10);
    EXPECT_EQ(clock_virtual_ns(), 1630000000u);
    EXPECT_FALSE(sound_ready);
    EXPECT_EQ(sound_device(), SOUND_DEVICE_CLOSED);
    // The position keeps its last polled value; the clock no longer renders.
    EXPECT_EQ(music_order, order);
    EXPECT_EQ(music_row, row);
    clock_virtual_set_ns(2000000000);
    EXPECT_EQ(renders.size(), 73u);
    end_run();
}

TEST(MusicStop, HarmlessBeforeAnythingWasInitialised)
{
    fresh_run(true);
    music_poll();
    EXPECT_EQ(music_order, 0u);
    EXPECT_EQ(music_row, 0u);
    music_stop();
    EXPECT_EQ(clock_virtual_ns(), 0u);  // no sleeps without a device
    EXPECT_FALSE(sound_ready);
    // Initialised but without a module: the device is freed at once.
    music_init();
    EXPECT_TRUE(sound_ready);
    music_stop();
    EXPECT_EQ(clock_virtual_ns(), 0u);
    EXPECT_EQ(sound_device(), SOUND_DEVICE_CLOSED);
    end_run();
}

TEST(MusicLoad, RefusedModuleIsReportedAsFileNotFound)
{
    fresh_run(true);
    std::string dir = support_temp_dir();
    support_write_file(dir + "/wuntje.s3m", "this text is no module at all, just words");
    ScopedChdir here(dir);
    testing::internal::CaptureStderr();
    try {
        music_load("wuntje.s3m");
        ADD_FAILURE() << "music_load returned";
    } catch (const ProcessExited& exited) {
        EXPECT_EQ(exited.code, 1);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "error: file not found: wuntje.s3m\n");
    EXPECT_FALSE(sound_ready);  // report_error released the music
    end_run();
}

TEST(MusicLoad, ModuleComesFromTheArchive)
{
    fresh_run(true);
    std::string dir = support_temp_dir();
    std::vector<uint8_t> module;
    std::string error;
    ASSERT_TRUE(s3m_write(music_test_module({1, 0}, 2), module, error)) << error;
    ASSERT_TRUE(pak_write(dir + "/vivur.pak", {{"WUNTJE.S3M", module}}, error)) << error;
    ScopedChdir here(dir);
    pak_mount("vivur.pak");
    music_load("wuntje.s3m");
    music_start();
    clock_virtual_set_ns(1612500000);  // 64.5 rows of 25 ms
    music_poll();
    EXPECT_EQ(music_order, 1u);
    EXPECT_EQ(music_row, 0u);
    end_run();
    pak_directory = PakDirectory{};
}

TEST(MusicLoad, MissingModuleStopsInTheFileLayer)
{
    fresh_run(true);
    ScopedChdir here(support_temp_dir());
    testing::internal::CaptureStderr();
    EXPECT_THROW(music_load("nothing.s3m"), ProcessExited);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "error: file not found [nothing.s3m]\n");
    end_run();
}

// Plays the test module in real time for about 300 ms and checks that the
// position moved on as far as the time allows: rows last 25 ms, so about 12
// rows, and never more rows than the time measured around it holds.
void expect_real_time_progress()
{
    std::string dir = support_temp_dir();
    music_test_save(music_test_module({0, 1}, 2), dir + "/wuntje.s3m");
    {
        ScopedChdir here(dir);
        music_load("wuntje.s3m");
    }
    auto started = std::chrono::steady_clock::now();
    music_start();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    music_poll();
    auto elapsed = std::chrono::steady_clock::now() - started;
    uint32_t rows = music_order * 64 + music_row;
    EXPECT_GE(rows, 4u);
    EXPECT_LE(rows, uint32_t(elapsed / std::chrono::milliseconds(25)) + 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    music_poll();
    EXPECT_GT(music_order * 64 + music_row, rows);
}

TEST(MusicDevice, FallsBackToNoSoundWhenNoDeviceOpens)
{
    fresh_run(false);
    support_setenv("SDL_AUDIODRIVER", "no-such-driver");
    music_init();
    support_setenv("SDL_AUDIODRIVER", "dummy");
    EXPECT_TRUE(sound_ready);
    EXPECT_EQ(sound_device(), SOUND_DEVICE_NONE);
    expect_real_time_progress();
    end_run();
}

TEST(MusicDevice, LiveRunPlaysOnPastTheSongsEnd)
{
    // A song of 200 ms on the no-sound device: half a second later it has
    // looped twice and the run goes on.
    fresh_run(false);
    support_setenv("SDL_AUDIODRIVER", "no-such-driver");
    std::string dir = support_temp_dir();
    S3mModule module = music_test_module({0, 1}, 2);
    music_test_effect(module, 0, 3, 'C', 0);
    music_test_effect(module, 1, 3, 'C', 0);
    music_test_save(module, dir + "/wuntje.s3m");
    {
        ScopedChdir here(dir);
        music_load("wuntje.s3m");
    }
    support_setenv("SDL_AUDIODRIVER", "dummy");
    ASSERT_EQ(sound_device(), SOUND_DEVICE_NONE);
    music_start();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_NO_THROW(music_poll());
    EXPECT_GE(sound_music_passes(music_handle), 2u);
    end_run();
}

TEST(MusicDevice, DefaultDevicePlaysInRealTime)
{
    fresh_run(false);
    support_setenv("SDL_AUDIODRIVER", "dummy");
    music_init();
    EXPECT_EQ(sound_device(), SOUND_DEVICE_DEFAULT);
    expect_real_time_progress();
    end_run();
}

// One headless run of 40 frames at 60 per second: frame 0 is the black frame
// polled before the music exists, the module starts at 1/60 s, and timeline
// step 1 runs from frame 1. Returns the trace.
std::string headless_run(const std::string& dir)
{
    fresh_run(true);
    run_options.trace = dir + "/trace.csv";
    run_options.frames = 40;
    pacing_frame_shown(nullptr);
    music_poll();
    pacing_frame_polled();
    {
        ScopedChdir here(dir);
        music_load("wuntje.s3m");
    }
    music_start();
    timeline_step = 1;
    try {
        for (int frame = 1; frame < 100; ++frame) {
            pacing_frame_shown(nullptr);
            music_poll();
            pacing_frame_polled();
        }
        ADD_FAILURE() << "--frames did not end the run";
    } catch (const ProcessExited& exited) {
        EXPECT_EQ(exited.code, 1);
    }
    EXPECT_EQ(pacing_frame, 40);
    end_run();
    return support_read_file(run_options.trace.empty() ? dir + "/trace.csv" : run_options.trace);
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TEST(HeadlessTrace, RepeatsByteForByte)
{
    std::string dir = support_temp_dir();
    music_test_save(music_test_module({0, 1}, 2), dir + "/wuntje.s3m");
    std::string first = headless_run(dir);
    std::string second = headless_run(dir);
    EXPECT_EQ(first, second);

    std::vector<std::string> lines = lines_of(first);
    ASSERT_EQ(lines.size(), 41u);
    EXPECT_EQ(lines[0], "frame,timer_ticks,order,row,step");
    // Frame 0 polls at 1/60 s = 16.67 ms: 16 ms, 64 ticks, before any music.
    EXPECT_EQ(lines[1], "0,64,0,0,");
    // Frame 10 polls at 11/60 s = 183.3 ms (732 ticks), 10/60 s = 166.7 ms
    // into the song: row 6.
    EXPECT_EQ(lines[11], "10,732,0,6,1");
    // Frame 38 polls at 39/60 s = 650 ms (2600 ticks), 633.3 ms into the song: row 25.
    EXPECT_EQ(lines[39], "38,2600,0,25,1");
}

}  // namespace

namespace {

TEST(SoundLibrary, OlderReleaseThanTheBuildNeedsIsNamedInPlainWords)
{
    const uint32_t needed = 0 << 24 | 6 << 16;  // 0.6
    EXPECT_EQ(sound_version_problem(0 << 24 | 6 << 16 | 9, needed), nullptr);
    EXPECT_EQ(sound_version_problem(0 << 24 | 7 << 16 | 0, needed), nullptr);
    EXPECT_EQ(sound_version_problem(1u << 24, needed), nullptr);
    const char* problem = sound_version_problem(0 << 24 | 5 << 16 | 12, needed);
    ASSERT_NE(problem, nullptr);
    EXPECT_STREQ(problem, "the module player library libopenmpt is version 0.5.12, but this build of vivur "
                          "needs version 0.6 or newer: update the libopenmpt package");
    // The library this program runs with passes.
    EXPECT_EQ(sound_library_problem(), nullptr);
}

}  // namespace
