// The real executable with a module too short for the production (two
// orders of four rows, 200 ms a pass, given as a loose wuntje.s3m beside the
// default archive): headless and capture runs stop with a message once the
// song has looped twice, the capture's files complete; a live run plays on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "modules.h"
#include "support/support.h"

namespace {

class LoopingModule : public ScratchDirTest {
protected:
    void SetUp() override
    {
        S3mModule module = music_test_module({0, 1}, 2);
        music_test_effect(module, 0, 3, 'C', 0);
        music_test_effect(module, 1, 3, 'C', 0);
        music_test_save(module, dir + "/wuntje.s3m");
    }

    // Runs vivur with arguments in the scratch folder; its exit code (-1 for a signal).
    int vivur(const std::vector<std::string>& arguments)
    {
        std::string program = std::string(std::getenv("VIVUR_BINARY_DIR")) + "/vivur";
        return support_run(dir, program, arguments, "out.txt", "err.txt");
    }

    static uint32_t u32(const std::string& bytes, size_t at)
    {
        uint32_t value;
        std::memcpy(&value, bytes.data() + at, 4);
        return value;
    }

    // Lines of the trace after its header: the frames presented.
    static int trace_frames(const std::string& path)
    {
        std::string text = support_read_file(path);
        int lines = 0;
        for (char c : text)
            lines += c == '\n';
        return lines - 1;
    }
};

const char* stop_message = "error: the music wuntje.s3m played to its end twice without reaching order 16, row 30";

TEST_F(LoopingModule, HeadlessRunStopsAfterTwoLoops)
{
    EXPECT_EQ(vivur({"--headless", "--trace=trace.csv"}), 1);
    std::string err = support_read_file("err.txt");
    EXPECT_NE(err.find(stop_message), std::string::npos) << err;
    // 200 ms a pass at 60 frames a second: about 25 frames, the black one included.
    int frames = trace_frames("trace.csv");
    EXPECT_GE(frames, 24);
    EXPECT_LE(frames, 26);
}

TEST_F(LoopingModule, CaptureStopsWithItsFilesComplete)
{
    EXPECT_EQ(vivur({"--capture=out", "--fps=30", "--trace=trace.csv"}), 1);
    std::string err = support_read_file("err.txt");
    EXPECT_NE(err.find(stop_message), std::string::npos) << err;
    int frames = trace_frames("trace.csv");
    int pictures = 0;
    for (const auto& entry : std::filesystem::directory_iterator("out"))
        pictures += entry.path().extension() == ".png";
    EXPECT_EQ(pictures, frames);
    // The sound file's header counts exactly the bytes that follow it, and
    // holds the frames' time plus the closing slide and fade.
    std::string wav = support_read_file("out/audio.wav");
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(u32(wav, 4), wav.size() - 8);
    EXPECT_EQ(u32(wav, 40), wav.size() - 44);
    EXPECT_GT((wav.size() - 44) / 4, size_t(frames) * 44100 / 30 + 44100);
}

TEST_F(LoopingModule, LiveRunPlaysOn)
{
    support_setenv("SDL_VIDEODRIVER", "dummy");
    support_setenv("SDL_AUDIODRIVER", "dummy");
    // A second of frames is five passes of the song: the run ends at the
    // frame count, not with an error.
    EXPECT_EQ(vivur({"windowed", "--frames=60"}), 1);
    EXPECT_EQ(support_read_file("err.txt").find("error:"), std::string::npos) << support_read_file("err.txt");
}

}  // namespace
