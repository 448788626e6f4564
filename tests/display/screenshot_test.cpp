// Screenshots: the TGA layout byte for byte and the file names.
#include <filesystem>

#include "display_fixture.h"
#include "runtime/screenshot.h"

namespace {

class Screenshot : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = support_temp_dir();
        frame_allocate(320, 200);
        for (int32_t y = 0; y < 200; ++y)
            for (int32_t x = 0; x < 320; ++x)
                frame_buffer[row_offset[y] + x] = picture_pixel(x, y);
        shown_frame = frame_buffer;
        shot_counter = 0;
    }
    void TearDown() override
    {
        shown_frame = nullptr;
        frame_free();
    }
    std::string dir;
};

TEST_F(Screenshot, TgaHeaderRowsBottomUpAndBgrBytes)
{
    std::string path = dir + "/picture.tga";
    write_tga(path.c_str(), frame_buffer, 320, 200);
    std::string file = support_read_file(path);
    ASSERT_EQ(file.size(), 192018u);  // 18 + 320 * 200 * 3
    const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0x01, 0xC8, 0x00, 24, 0};
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(static_cast<unsigned char>(file[i]), header[i]) << "header byte " << i;
    auto byte = [&](size_t offset) { return static_cast<unsigned char>(file[offset]); };
    // First: the bottom-left pixel (0, 199): red 0, green 255, blue 319 * 97 mod 256 = 223.
    EXPECT_EQ(byte(18), 223);
    EXPECT_EQ(byte(19), 255);
    EXPECT_EQ(byte(20), 0);
    // Last: the top-right pixel (319, 0): red 255, green 0, blue 0.
    EXPECT_EQ(byte(192015), 0);
    EXPECT_EQ(byte(192016), 0);
    EXPECT_EQ(byte(192017), 255);
    // Pixel (100, 50) sits in file row 149: red 100 * 255 / 319 = 79,
    // green 50 * 255 / 199 = 64, blue 219 * 97 mod 256 = 251.
    size_t at = 18 + (149 * 320 + 100) * 3;
    EXPECT_EQ(byte(at), 251);
    EXPECT_EQ(byte(at + 1), 64);
    EXPECT_EQ(byte(at + 2), 79);
}

TEST_F(Screenshot, NamesAreNumberedInAFieldOfFour)
{
    ScopedChdir here(dir);
    save_screenshot();
    EXPECT_EQ(shot_counter, 1);
    EXPECT_EQ(support_read_file("shot   0.tga").size(), 192018u);
    shot_counter = 10;
    save_screenshot();
    EXPECT_EQ(support_read_file("shot  10.tga").size(), 192018u);
    shot_counter = 12345;
    save_screenshot();
    EXPECT_EQ(support_read_file("shot12345.tga").size(), 192018u);
    EXPECT_EQ(shot_counter, 12346);
}

TEST_F(Screenshot, AFileThatCannotBeCreatedIsSkippedAndCounted)
{
    ScopedChdir here(dir);
    ASSERT_TRUE(std::filesystem::create_directory("shot   0.tga"));  // a directory in the way
    save_screenshot();
    EXPECT_EQ(shot_counter, 1);
    save_screenshot();
    EXPECT_EQ(support_read_file("shot   1.tga").size(), 192018u);
}

}  // namespace
