#include <gtest/gtest.h>

#include <png.h>

#include <string>
#include <vector>

#include "runtime/media_files.h"
#include "support/support.h"

namespace {

TEST(PngFrame, WritesRgbInTheRightOrderTopRowFirst)
{
    // 3 x 2: top row red, green, blue; bottom row white, black, a mix.
    const uint32_t pixels[6] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF, 0xAB000000, 0x00123456};
    std::string path = support_temp_dir() + "/f.png";
    ASSERT_TRUE(png_write_frame(path.c_str(), pixels, 3, 2));

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    const std::vector<uint8_t> expected = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0x12, 0x34, 0x56};
    EXPECT_EQ(rgb, expected);
}

TEST(PngFrame, UnwritablePathFails)
{
    const uint32_t pixel = 0;
    EXPECT_FALSE(png_write_frame("/nonexistent-dir/x.png", &pixel, 1, 1));
}

TEST(WavFile, HeaderAndLittleEndianSamples)
{
    std::string path = support_temp_dir() + "/a.wav";
    WavFile wav;
    ASSERT_TRUE(wav_open(wav, path.c_str(), 44100, 2));
    const int16_t first[4] = {1, -1, 0x1234, -32768};
    const int16_t second[2] = {32767, 2};
    ASSERT_TRUE(wav_append(wav, first, 2));
    ASSERT_TRUE(wav_append(wav, second, 1));
    ASSERT_TRUE(wav_close(wav));
    std::string bytes = support_read_file(path);
    ASSERT_EQ(bytes.size(), 44u + 12u);
    auto u32 = [&](size_t at) {
        return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
               uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
    };
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(u32(4), 36u + 12u);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32(24), 44100u);
    EXPECT_EQ(u32(28), 44100u * 4);
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(u32(40), 12u);
    const std::string samples("\x01\x00\xff\xff\x34\x12\x00\x80\xff\x7f\x02\x00", 12);
    EXPECT_EQ(bytes.substr(44), samples);
}

}  // namespace
