#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/clock.h"
#include "runtime/options.h"
#include "core/random.h"
#include "core/timer.h"
#include "core/fatal.h"
#include "runtime/startup.h"
#include "display/display.h"
#include "display/window.h"
#include "support/support.h"

namespace {

TEST(Random, FirstDrawsFromSeedOne)
{
    // seed 1 * 214013 + 2531011 = 2745024; 2745024 >> 16 = 41.
    random_seed = 1;
    EXPECT_EQ(random_next(), 41);
    // 2745024 * 214013 + 2531011 = 587473352323 = 136 * 2^32 + 3357800067;
    // 3357800067 >> 16 = 51235, & 0x7FFF = 18467.
    EXPECT_EQ(random_next(), 18467);
    EXPECT_EQ(random_next(), 6334);
}

TEST(Startup, DrawsTheFirst256NumbersAndUppercasesTheLine)
{
    random_seed = 1;
    char line[] = "-Windowed logfile x/y";
    startup(line);
    EXPECT_STREQ(command_line, "-WINDOWED LOGFILE X/Y");
    EXPECT_EQ(startup_random_table[0], 41);
    EXPECT_EQ(startup_random_table[1], 18467);
    EXPECT_FALSE(fullscreen);
    EXPECT_STREQ(window_title, "yrk/win v1.0 (alpha)");
    // The 257th draw continues the same sequence.
    uint32_t seed = 1;
    for (int i = 0; i < 256; ++i)
        seed = seed * 214013u + 2531011u;
    EXPECT_EQ(random_seed, seed);
}

TEST(Startup, HasOptionMatchesInsideLongerWordsInAnyCase)
{
    char line[] = "/WINDOWEDX CATALOG";
    command_line = line;
    EXPECT_TRUE(has_option("windowed"));
    EXPECT_TRUE(has_option("log"));   // inside CATALOG
    EXPECT_TRUE(has_option("LoG"));
    EXPECT_FALSE(has_option("bench"));
}

TEST(Timer, TicksAcrossThe32BitWrap)
{
    // Start two seconds before the millisecond counter wraps.
    clock_use_virtual(0xFFFFFFFFu - 1999u);
    timer_start();
    EXPECT_EQ(timer_ticks(), 0);
    clock_virtual_set_ns(1999000000ull);
    EXPECT_EQ(timer_ticks(), 1999 * 4);
    clock_virtual_set_ns(2500000000ull);  // past the wrap
    EXPECT_EQ(timer_ticks(), 2500 * 4);
    clock_use_live();
}

TEST(Timer, TicksGoNegativeAfterAbout6Days)
{
    clock_use_virtual(0);
    timer_start();
    clock_virtual_set_ns(uint64_t(536870912) * 1000000u);  // 2^31 / 4 ms
    EXPECT_EQ(timer_ticks(), INT32_MIN);
    clock_use_live();
}

TEST(LogBanner, WritesThreeLinesAndTruncatesOnASecondRun)
{
    std::string dir = support_temp_dir();
    ScopedChdir in(dir);
    const std::string plus(65, '+');
    // The log is the one text file: CR LF line ends on Windows.
    const std::string end = support_text_line_end;
    const std::string expected = plus + end + "+++ yrk/win v1.0 (alpha)" + end + plus + end;
    support_write_file("log.txt", std::string(500, 'x'));
    char line[] = "LOG";
    command_line = line;
    write_log_banner();
    EXPECT_EQ(support_read_file("log.txt"), expected);
    write_log_banner();
    EXPECT_EQ(support_read_file("log.txt"), expected);
}

TEST(LogBanner, NothingWithoutTheWord)
{
    std::string dir = support_temp_dir();
    ScopedChdir in(dir);
    char line[] = "WINDOWED";
    command_line = line;
    write_log_banner();
    EXPECT_EQ(support_read_file("log.txt"), "");
}

TEST(ReportError, PrintsTheMessageAndEndsWithCode1)
{
    support_intercept_exit();
    testing::internal::CaptureStderr();
    try {
        report_error("file not found [%s]", "vivur.pak");
        FAIL() << "report_error returned";
    } catch (const ProcessExited& e) {
        EXPECT_EQ(e.code, 1);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "error: file not found [vivur.pak]\n");
}

TEST(ReportError, LongMessagesAreCutSafely)
{
    support_intercept_exit();
    std::string exact(799, 'a');
    std::string longer(5000, 'b');
    testing::internal::CaptureStderr();
    try { report_error("%s", exact.c_str()); } catch (const ProcessExited&) {}
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "error: " + exact + "\n");
    testing::internal::CaptureStderr();
    try { report_error("%s", longer.c_str()); } catch (const ProcessExited&) {}
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "error: " + std::string(799, 'b') + "\n");
}

TEST(Options, OursAreTakenOutTheRestStaysWords)
{
    run_options = RunOptions{};
    const char* args[] = {"vivur", "windowed", "--trace", "catalog.csv", "--fps=60000/1001",
                          "--keys=10:F1,20:esc", "--unknown", "/LOG", "--depth=16x2"};
    std::string words, error;
    ASSERT_TRUE(options_parse(9, const_cast<char**>(args), words, error)) << error;
    EXPECT_EQ(words, "windowed --unknown /LOG");
    EXPECT_EQ(run_options.trace, "catalog.csv");
    EXPECT_EQ(run_options.fps_num, 60000);
    EXPECT_EQ(run_options.fps_den, 1001);
    ASSERT_EQ(run_options.keys.size(), 2u);
    EXPECT_EQ(run_options.keys[1].frame, 20);
    EXPECT_EQ(run_options.keys[1].key, WINDOW_KEY_ESCAPE);
    EXPECT_EQ(run_options.depth, 216);
    run_options = RunOptions{};
}

TEST(Options, BadValuesAreRefused)
{
    const char* cases[][2] = {{"vivur", "--fps=0"}, {"vivur", "--aspect=wide"}, {"vivur", "--keys=5:F3"},
                              {"vivur", "--frames=-3"}, {"vivur", "--depth=8"}, {"vivur", "--trace"}};
    for (auto& c : cases) {
        run_options = RunOptions{};
        std::string words, error;
        EXPECT_FALSE(options_parse(2, const_cast<char**>(c), words, error)) << c[1];
        EXPECT_FALSE(error.empty());
    }
    run_options = RunOptions{};
}

}  // namespace
