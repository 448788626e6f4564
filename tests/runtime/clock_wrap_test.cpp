// The hidden --clock-start option and the timer across the 32-bit wrap of
// the millisecond clock: timer_ticks is a difference in wrapping arithmetic,
// so a run that starts two seconds before the wrap counts exactly as one from 0.
#include <gtest/gtest.h>

#include <string>

#include "platform/clock.h"
#include "runtime/options.h"
#include "core/timer.h"

namespace {

TEST(ClockWrap, ClockStartIsParsedAndRangeChecked)
{
    run_options = RunOptions{};
    const char* good[] = {"vivur", "--headless", "--clock-start=4294965296"};
    std::string words, error;
    ASSERT_TRUE(options_parse(3, const_cast<char**>(good), words, error)) << error;
    EXPECT_EQ(run_options.clock_start_ms, 4294965296u);  // 2^32 - 2000
    EXPECT_EQ(words, "");

    for (const char* bad : {"--clock-start=4294967296", "--clock-start=-1", "--clock-start=soon"}) {
        run_options = RunOptions{};
        const char* args[] = {"vivur", bad};
        EXPECT_FALSE(options_parse(2, const_cast<char**>(args), words, error)) << bad;
    }
    run_options = RunOptions{};
}

TEST(ClockWrap, TimerTicksRunOnThroughTheWrap)
{
    // 4 ticks per millisecond, read every 250 ms for 4 s: at 0 and at 2^32 - 2000
    // (which wraps after 2 s) the readings must be the same.
    for (uint32_t start : {0u, 4294965296u}) {
        clock_use_virtual(start);
        timer_start();
        for (uint64_t ms = 0; ms <= 4000; ms += 250) {
            clock_virtual_set_ns(ms * 1000000u);
            EXPECT_EQ(timer_ticks(), int32_t(ms * 4)) << "start " << start << ", " << ms << " ms";
        }
        EXPECT_EQ(clock_milliseconds(), start + 4000u);  // wrapped to 2000 for the late start
    }
    clock_use_live();
}

}  // namespace
