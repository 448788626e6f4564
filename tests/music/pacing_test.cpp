// Frame pacing: where the virtual clock stands after each shown frame, for a
// fractional frame rate, that the live clock is left alone, and the trace's
// clock column.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "runtime/options.h"
#include "runtime/pacing.h"
#include "runtime/timeline_steps.h"
#include "core/timer.h"
#include "support/support.h"

namespace {

TEST(Pacing, VirtualClockStandsAtTheNextFrameTime)
{
    support_intercept_exit();
    run_options = RunOptions{};
    pacing_set_rate(30000, 1001);
    clock_use_virtual(0);
    pacing_frame = 0;
    // 1001 / 30000 s = 33366666.67 ns, rounded to the nearest nanosecond.
    pacing_frame_shown(nullptr);
    EXPECT_EQ(clock_virtual_ns(), 33366667u);
    pacing_frame_polled();
    EXPECT_EQ(pacing_frame, 1);
    pacing_frame_shown(nullptr);
    EXPECT_EQ(clock_virtual_ns(), 66733333u);  // 66733333.33
    // Frame 29999 is shown at 30000 frames: exactly 1001 s, no drift.
    pacing_frame = 29999;
    pacing_frame_shown(nullptr);
    EXPECT_EQ(clock_virtual_ns(), 1001000000000u);
    // Ten days of frames at 1000000/999999 stay exact (no overflow).
    pacing_set_rate(1000000, 999999);
    pacing_frame = 863999999;  // 864000000 frames
    pacing_frame_shown(nullptr);
    EXPECT_EQ(clock_virtual_ns(), 863999136000000000u);
    pacing_set_rate(60, 1);
    clock_use_live();
    run_options = RunOptions{};
    pacing_frame = 0;
}

TEST(Pacing, LiveClockStaysAndFramesEndsTheRun)
{
    support_intercept_exit();
    run_options = RunOptions{};
    clock_use_live();
    pacing_frame = 0;
    pacing_frame_shown(nullptr);
    EXPECT_FALSE(clock_is_virtual());
    pacing_frame_polled();
    EXPECT_EQ(pacing_frame, 1);
    // --frames=2 ends after the second frame, through shutdown (exit code 1).
    run_options.frames = 2;
    EXPECT_THROW(
        {
            try {
                pacing_frame_polled();
            } catch (const ProcessExited& exited) {
                EXPECT_EQ(exited.code, 1);
                throw;
            }
        },
        ProcessExited);
    run_options = RunOptions{};
    pacing_frame = 0;
}

// The comma-separated fields of a trace line.
std::vector<std::string> fields_of(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');)
        fields.push_back(field);
    return fields;
}

// A live run of three frames in step 1 with --trace (and --trace-clock when
// clock is true); returns the trace's lines split into fields.
std::vector<std::vector<std::string>> live_trace(bool clock)
{
    support_intercept_exit();
    run_options = RunOptions{};
    clock_use_live();
    timer_start();
    pacing_frame = 0;
    timeline_step = 1;
    std::string dir = support_temp_dir();
    run_options.trace = dir + "/trace.csv";
    run_options.trace_clock = clock;
    run_options.frames = 3;
    try {
        for (int frame = 0; frame < 3; ++frame)
            pacing_frame_polled();
    } catch (const ProcessExited&) {
    }
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(support_read_file(dir + "/trace.csv"));
    for (std::string line; std::getline(in, line);)
        lines.push_back(fields_of(line));
    std::filesystem::remove_all(dir);
    run_options = RunOptions{};
    pacing_frame = 0;
    timeline_step = 0;
    return lines;
}

TEST(Pacing, TraceClockColumnOnlyWhenAsked)
{
    // Without --trace-clock the columns stay as every reader knows them.
    auto plain = live_trace(false);
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_EQ(plain[0], fields_of("frame,timer_ticks,order,row,step"));
    for (size_t i = 1; i < plain.size(); ++i) {
        ASSERT_EQ(plain[i].size(), 5u);
        EXPECT_EQ(plain[i][0], std::to_string(i - 1));
        EXPECT_EQ(plain[i][4], "1");
    }
    // With it, each line ends with the millisecond clock read as it was written.
    uint32_t before = clock_milliseconds();
    auto timed = live_trace(true);
    uint32_t after = clock_milliseconds();
    ASSERT_EQ(timed.size(), 4u);
    EXPECT_EQ(timed[0], fields_of("frame,timer_ticks,order,row,step,clock_ms"));
    for (size_t i = 1; i < timed.size(); ++i) {
        ASSERT_EQ(timed[i].size(), 6u);
        EXPECT_EQ(timed[i][4], "1");
        uint32_t ms = static_cast<uint32_t>(std::stoul(timed[i][5]));
        EXPECT_LE(ms - before, after - before) << timed[i][5];  // within [before, after], across a wrap too
    }
}

}  // namespace
