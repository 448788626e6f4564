// The child-process service with a small program of ours (child/child.h):
// the arguments arrive as given, every byte written reaches the child's
// input, its exit code comes back, and a child that goes away early turns
// the writes into failures instead of ending this program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/subprocess.h"
#include "support/support.h"

namespace {

// Without the ending: the service adds ".exe" on Windows, as for "ffmpeg".
std::string child_program() { return std::string(std::getenv("VIVUR_BINARY_DIR")) + "/tests/vivur-test-child"; }

TEST(ChildProcess, GetsItsArgumentsAndEveryByteOfItsInput)
{
    const std::string out = support_temp_dir() + "/input.bin";
    const std::vector<std::string> words = {
        "plain", "two words", "a \"quoted\" word", "back\\slash", "ends in a backslash\\", "", "Zoë's demos"};
    std::vector<std::string> argv = {child_program(), out, "7"};
    argv.insert(argv.end(), words.begin(), words.end());
    ChildProcess child;
    ASSERT_TRUE(child_start(child, argv));
    // Three and a half megabytes, more than any pipe holds: every byte
    // value, line ends and the Ctrl+Z that ends text input included.
    std::string bytes;
    for (size_t i = 0; i < 3'500'000; ++i)
        bytes += char((i * 7 + i / 256) & 0xff);
    bytes += "\r\n\x1a\n";
    for (size_t at = 0; at < bytes.size(); at += 1 << 20)
        ASSERT_TRUE(child_write(child, bytes.data() + at, std::min<size_t>(1 << 20, bytes.size() - at)));
    EXPECT_EQ(child_finish(child), 7);
    EXPECT_EQ(child.process, -1);
    std::string expected;
    for (const std::string& w : words)
        expected += w + "\n";
    const std::string got = support_read_file(out);
    EXPECT_EQ(got.substr(0, expected.size()), expected);
    EXPECT_TRUE(got.substr(expected.size()) == bytes) << got.size() - expected.size() << " bytes of " << bytes.size();
}

TEST(ChildProcess, ChildThatEndsEarlyFailsTheWritesAndGivesItsCode)
{
    ChildProcess child;
    ASSERT_TRUE(child_start(child, {child_program(), "unused", "early"}));
    const std::string block(1 << 16, 'x');
    bool written = true;
    for (int i = 0; i < 256 && written; ++i)  // 16 MiB at most
        written = child_write(child, block.data(), block.size());
    EXPECT_FALSE(written);
    EXPECT_EQ(child_finish(child), 3);
}

TEST(ChildProcess, MissingProgramIsRefused)
{
    EXPECT_FALSE(program_available("vivur-no-such-program"));
    ChildProcess child;
    EXPECT_FALSE(child_start(child, {"vivur-no-such-program", "-version"}));
    EXPECT_EQ(child.process, -1);
    EXPECT_FALSE(child_write(child, "x", 1));
    EXPECT_EQ(child_finish(child), -1);
}

}  // namespace
