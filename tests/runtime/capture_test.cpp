#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/subprocess.h"
#include "runtime/capture.h"
#include "support/support.h"

namespace {

std::vector<uint32_t> test_frame(uint32_t seed)
{
    std::vector<uint32_t> frame(64000);
    for (int i = 0; i < 64000; ++i)
        frame[i] = (i * 2654435761u + seed) & 0xFFFFFF;
    return frame;
}

TEST(Capture, FolderGetsNumberedFramesAndTheSound)
{
    std::string out = support_temp_dir() + "/new/sub";
    std::string error;
    ASSERT_TRUE(capture_open({out, 60, 1, 320, 200}, error)) << error;
    std::vector<int16_t> sound(735 * 2, 100);
    for (int k = 0; k < 3; ++k) {
        ASSERT_TRUE(capture_frame(test_frame(k).data(), error)) << error;
        ASSERT_TRUE(capture_audio(sound.data(), 735, error)) << error;
    }
    ASSERT_TRUE(capture_finish(error)) << error;
    EXPECT_FALSE(support_read_file(out + "/000000.png").empty());
    EXPECT_FALSE(support_read_file(out + "/000002.png").empty());
    EXPECT_TRUE(support_read_file(out + "/000003.png").empty());
    EXPECT_EQ(support_read_file(out + "/audio.wav").size(), 44u + 3 * 735 * 4);
}

TEST(Capture, UnusableFolderIsRefusedWithItsName)
{
    std::string file = support_temp_dir() + "/plain";
    support_write_file(file, "x");
    std::string error;
    EXPECT_FALSE(capture_open({file + "/frames", 60, 1, 320, 200}, error));
    EXPECT_NE(error.find(file), std::string::npos) << error;
}

TEST(Capture, ScaleFilterKeepsWholePixels)
{
    EXPECT_EQ(capture_scale_filter(320, 200), "");
    EXPECT_EQ(capture_scale_filter(1600, 1200), "scale=1600:1200:flags=neighbor,setsar=1");
}

TEST(Capture, VideoFileHoldsPictureAndSoundOfTheSameLength)
{
    if (!program_available("ffmpeg") || !program_available("ffprobe"))
        GTEST_SKIP() << "ffmpeg not installed";
    std::string dir = support_temp_dir();
    std::string out = dir + "/clip.mkv";
    std::string error;
    ASSERT_TRUE(capture_open({out, 30, 1, 640, 480}, error)) << error;
    std::vector<int16_t> sound(1470 * 2, 0);
    for (int k = 0; k < 6; ++k) {
        ASSERT_TRUE(capture_frame(test_frame(k).data(), error)) << error;
        ASSERT_TRUE(capture_audio(sound.data(), 1470, error)) << error;
    }
    // Sound going on after the last frame (the closing fade): 0.2 s more.
    std::vector<int16_t> tail(8820 * 2, 0);
    ASSERT_TRUE(capture_audio(tail.data(), 8820, error)) << error;
    ASSERT_TRUE(capture_finish(error)) << error;
    std::string probe = dir + "/probe.txt";
    std::string command = "ffprobe -v error -count_frames -show_entries stream=codec_type,nb_read_frames,width,height -of csv=p=0 '" + out + "' > '" + probe + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::string text = support_read_file(probe);
    // 0.4 s of sound at 30 frames a second: 12 frames, the last held.
    EXPECT_NE(text.find("video,640,480,12"), std::string::npos) << text;
    EXPECT_NE(text.find("audio"), std::string::npos) << text;
    EXPECT_TRUE(support_read_file(out + ".video.mkv").empty());
}

}  // namespace
