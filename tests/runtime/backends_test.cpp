// The backends chosen from the options: the run's frame rate is handed to
// the frame pacing, which steps the virtual clock by it.
#include <gtest/gtest.h>

#include <string>

#include "platform/clock.h"
#include "runtime/backends.h"
#include "runtime/pacing.h"

namespace {

TEST(Backends, TheRunsFrameRateStepsTheVirtualClock)
{
    RunOptions options;
    options.headless = true;
    options.fps_num = 24000;
    options.fps_den = 1001;
    std::string error;
    ASSERT_TRUE(backends_choose(RunMode::headless, options, error)) << error;
    ASSERT_TRUE(clock_is_virtual());
    pacing_frame = 0;
    pacing_frame_shown(nullptr);
    // 1001 / 24000 s = 41708333.33 ns, rounded to the nearest nanosecond.
    EXPECT_EQ(clock_virtual_ns(), 41708333u);
    pacing_set_rate(60, 1);
    clock_use_live();
}

}  // namespace
