// Frame pacing: where the virtual clock stands after each shown frame, for a
// fractional frame rate, and that the live clock is left alone.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "runtime/options.h"
#include "runtime/pacing.h"
#include "support/support.h"

namespace {

TEST(Pacing, VirtualClockStandsAtTheNextFrameTime)
{
    support_intercept_exit();
    run_options = RunOptions{};
    run_options.fps_num = 30000;
    run_options.fps_den = 1001;
    clock_use_virtual(0);
    pacing_frame = 0;
    // 1001 / 30000 s = 33366666.67 ns, rounded to the nearest nanosecond.
    pacing_frame_shown();
    EXPECT_EQ(clock_virtual_ns(), 33366667u);
    pacing_frame_polled();
    EXPECT_EQ(pacing_frame, 1);
    pacing_frame_shown();
    EXPECT_EQ(clock_virtual_ns(), 66733333u);  // 66733333.33
    // Frame 29999 is shown at 30000 frames: exactly 1001 s, no drift.
    pacing_frame = 29999;
    pacing_frame_shown();
    EXPECT_EQ(clock_virtual_ns(), 1001000000000u);
    // Ten days of frames at 1000000/999999 stay exact (no overflow).
    run_options.fps_num = 1000000;
    run_options.fps_den = 999999;
    pacing_frame = 863999999;  // 864000000 frames
    pacing_frame_shown();
    EXPECT_EQ(clock_virtual_ns(), 863999136000000000u);
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
    pacing_frame_shown();
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

}  // namespace
