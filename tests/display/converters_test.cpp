// The row converters, bit for bit, against values worked out per channel.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/convert.h"
#include "display/display.h"

namespace {

// An asymmetric picture: every pixel differs, channels vary along different
// axes, and the fourth byte is set, so swapped channels, mirrored rows or a
// leaked fourth byte all show.
std::vector<uint32_t> asymmetric_row(int32_t width, int32_t y)
{
    std::vector<uint32_t> row(width);
    for (int32_t x = 0; x < width; ++x) {
        uint32_t r = (x * 23 + 7) & 0xFF, g = (y * 41 + x * 3 + 1) & 0xFF, b = (255 - x * 11) & 0xFF;
        row[x] = 0xA5000000u | (r << 16) | (g << 8) | b;
    }
    return row;
}

uint16_t expected_555(uint32_t p)
{
    uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return static_cast<uint16_t>((r / 8) * 1024 + (g / 8) * 32 + b / 8);
}

uint16_t expected_565(uint32_t p)
{
    uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return static_cast<uint16_t>((r / 8) * 2048 + (g / 4) * 32 + b / 8);
}

uint16_t read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

TEST(Converters, WorkedExamples)
{
    // Pure red; all channels 7; 0x123456 = red 0x12, green 0x34, blue 0x56:
    // 5-5-5: 2 << 10 | 6 << 5 | 10 = 0x08CA; 5-6-5: 2 << 11 | 13 << 5 | 10 = 0x11AA.
    // 5-6-5 keeps six bits of green, so green 7 leaves 7 >> 2 = 1, that is 0x20,
    // and only green below 4 vanishes with red and blue below 8.
    const uint32_t source[4] = {0x00FF0000, 0xFF070707, 0x00123456, 0x00070307};
    uint8_t out[8];
    convert_row_555(out, source, 16);
    EXPECT_EQ(read16(out), 0x7C00);
    EXPECT_EQ(read16(out + 2), 0x0000);
    EXPECT_EQ(read16(out + 4), 0x08CA);
    EXPECT_EQ(read16(out + 6), 0x0000);
    convert_row_565(out, source, 16);
    EXPECT_EQ(read16(out), 0xF800);
    EXPECT_EQ(read16(out + 2), 0x0020);
    EXPECT_EQ(read16(out + 4), 0x11AA);
    EXPECT_EQ(read16(out + 6), 0x0000);
}

TEST(Converters, RowsOfAnAsymmetricPictureAndNothingBeyond)
{
    // 19 pixels: two groups of 8 for the 24-bit converter and a remainder of 3.
    const int32_t width = 19;
    for (int32_t y = 0; y < 3; ++y) {
        std::vector<uint32_t> row = asymmetric_row(width, y);
        std::vector<uint8_t> out(width * 3 + 8, 0xEE);

        convert_row_24(out.data(), row.data(), width * 4);
        for (int32_t x = 0; x < width; ++x) {
            EXPECT_EQ(out[3 * x], row[x] & 0xFF) << "blue at x " << x;
            EXPECT_EQ(out[3 * x + 1], (row[x] >> 8) & 0xFF) << "green at x " << x;
            EXPECT_EQ(out[3 * x + 2], (row[x] >> 16) & 0xFF) << "red at x " << x;
        }
        EXPECT_EQ(out[width * 3], 0xEE);

        std::fill(out.begin(), out.end(), 0xEE);
        convert_row_555(out.data(), row.data(), width * 4);
        for (int32_t x = 0; x < width; ++x)
            EXPECT_EQ(read16(&out[2 * x]), expected_555(row[x])) << "x " << x;
        EXPECT_EQ(out[width * 2], 0xEE);

        std::fill(out.begin(), out.end(), 0xEE);
        convert_row_565(out.data(), row.data(), width * 4);
        for (int32_t x = 0; x < width; ++x)
            EXPECT_EQ(read16(&out[2 * x]), expected_565(row[x])) << "x " << x;
        EXPECT_EQ(out[width * 2], 0xEE);
    }
}

TEST(Converters, DoubledRowsWriteTwoLinesOfPairs)
{
    const int32_t width = 5;
    std::vector<uint32_t> row = asymmetric_row(width, 1);
    surface_pitch = 32;  // wider than the 20 bytes a doubled row of 5 needs
    for (int layout = 1; layout <= 2; ++layout) {
        std::vector<uint8_t> out(3 * surface_pitch, 0xEE);
        if (layout == 1)
            convert_row_555_double(out.data(), row.data(), width * 4);
        else
            convert_row_565_double(out.data(), row.data(), width * 4);
        for (int32_t line = 0; line < 2; ++line)
            for (int32_t x = 0; x < 2 * width; ++x) {
                uint16_t want = layout == 1 ? expected_555(row[x / 2]) : expected_565(row[x / 2]);
                EXPECT_EQ(read16(&out[line * surface_pitch + 2 * x]), want) << "line " << line << " x " << x;
            }
        // Beyond the row on each line, and the third line, stay untouched.
        EXPECT_EQ(out[4 * width], 0xEE);
        EXPECT_EQ(out[surface_pitch + 4 * width], 0xEE);
        EXPECT_EQ(out[2 * surface_pitch], 0xEE);
    }
}

TEST(FitRect, ShapesAndWholeMultiples)
{
    VideoPresentation p;
    // 4:3 of a 320-wide picture is 320 x 240; in 1280 x 1024 that is 1280 x 960, 32 lines of bars.
    PlatformRect r = video_fit_rect({0, 0, 1280, 1024}, 320, 200, p);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 32);
    EXPECT_EQ(r.right, 1280);
    EXPECT_EQ(r.bottom, 992);
    // A wide area gets bars left and right: 1920 x 1080 holds 1440 x 1080 from x 240.
    r = video_fit_rect({0, 0, 1920, 1080}, 320, 200, p);
    EXPECT_EQ(r.left, 240);
    EXPECT_EQ(r.right, 1680);
    // Whole multiples: 1000 x 800 holds 3 x (320 x 240) = 960 x 720 at (20, 40), offset by the area.
    p.integer_scale = true;
    r = video_fit_rect({100, 50, 1100, 850}, 320, 200, p);
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, 90);
    EXPECT_EQ(r.right, 1080);
    EXPECT_EQ(r.bottom, 810);
    // Square pixels: 320 x 200 in 1000 x 1000 is 1000 x 625 from line 187.
    p.integer_scale = false;
    p.aspect = VideoAspect::square;
    r = video_fit_rect({0, 0, 1000, 1000}, 320, 200, p);
    EXPECT_EQ(r.top, 187);
    EXPECT_EQ(r.bottom, 812);
    // Stretch fills the area.
    p.aspect = VideoAspect::stretch;
    r = video_fit_rect({5, 6, 77, 88}, 320, 200, p);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.bottom, 88);
}

}  // namespace
