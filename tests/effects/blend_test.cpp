#include <gtest/gtest.h>

#include <vector>

#include "core/frame.h"
#include "effects/blend.h"

namespace {

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }

struct Blend : testing::Test {
    void SetUp() override
    {
        init_blend_tables();
        frame_allocate(320, 200);
    }
    void TearDown() override { frame_free(); }
};

TEST_F(Blend, SaturateTable)
{
    EXPECT_EQ(SaturateTable[0], 0);
    EXPECT_EQ(SaturateTable[200], 200);
    EXPECT_EQ(SaturateTable[255], 255);
    EXPECT_EQ(SaturateTable[200 + 100], 255);
    EXPECT_EQ(SaturateTable[1023], 255);
}

TEST_F(Blend, ShadeTableRows)
{
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(ShadeTable[127 * 256 + c], c) << c;  // identity
        EXPECT_EQ(ShadeTable[128 * 256 + c], c) << c;  // identity
        EXPECT_EQ(ShadeTable[0 * 256 + c], 0);
        EXPECT_EQ(ShadeTable[255 * 256 + c], 255);
    }
    EXPECT_EQ(ShadeTable[64 * 256 + 255], 128);  // 64 * 255 / 127 = 128.5
    EXPECT_EQ(ShadeTable[1 * 256 + 254], 2);     // 254 / 127 = 2
    EXPECT_EQ(ShadeTable[1 * 256 + 253], 1);
    // Row 129: 255 - (1 - 1/127) * (255 - c) in double precision.
    EXPECT_EQ(ShadeTable[129 * 256 + 0], 2);     // 255 - 252.99 = 2.008
    EXPECT_EQ(ShadeTable[129 * 256 + 1], 3);     // 255 - 252.00
    // Row 192 (k = 64): 255 - (63/127) * 255 = 128.5 -> 128.
    EXPECT_EQ(ShadeTable[192 * 256 + 0], 128);
}

TEST_F(Blend, AddPixelSaturatesAndKeepsTheFourthByte)
{
    EXPECT_EQ(blend_add_pixel(0xAB000000u | rgb(200, 10, 255), rgb(100, 20, 1)), 0xAB000000u | rgb(255, 30, 255));
}

TEST_F(Blend, FillAndShadeBuffer)
{
    fill_buffer(frame_buffer, 0x7F00FF40u);
    EXPECT_EQ(frame_buffer[0], 0x7F00FF40u);
    EXPECT_EQ(frame_buffer[63999], 0x7F00FF40u);
    EXPECT_EQ(frame_buffer[64000], 0u);  // the spare half is untouched
    shade_buffer(frame_buffer, 64);
    // 0xFF -> 128, 0x40 = 64 -> 64 * 64 / 127 = 32, fourth byte kept.
    EXPECT_EQ(frame_buffer[1234], 0x7F008020u);
}

TEST_F(Blend, BlitDoublesEveryPixelIntoA2x2Block)
{
    const uint32_t source[4] = {rgb(1, 0, 0), rgb(2, 0, 0), rgb(3, 0, 0), rgb(4, 0, 0)};
    blit_add_scaled(10, 20, 4, 4, 2, 2, source, frame_buffer);
    const int expected[4][4] = {{1, 1, 2, 2}, {1, 1, 2, 2}, {3, 3, 4, 4}, {3, 3, 4, 4}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(frame_buffer[(20 + r) * 320 + 10 + c], rgb(expected[r][c], 0, 0)) << r << "," << c;
    EXPECT_EQ(frame_buffer[19 * 320 + 10], 0u);
    EXPECT_EQ(frame_buffer[20 * 320 + 14], 0u);
    EXPECT_EQ(frame_buffer[24 * 320 + 10], 0u);
}

TEST_F(Blend, BlitClipsAtEveryEdge)
{
    // A 20 x 1 source of values 1..20, drawn 1:1.
    uint32_t source[20];
    for (int i = 0; i < 20; ++i)
        source[i] = rgb(0, 0, i + 1);
    // Left edge: column 0 shows the pixel it would have had (index 10).
    blit_add_scaled(-10, 5, 20, 1, 20, 1, source, frame_buffer);
    EXPECT_EQ(frame_buffer[5 * 320 + 0], rgb(0, 0, 11));
    EXPECT_EQ(frame_buffer[5 * 320 + 9], rgb(0, 0, 20));
    EXPECT_EQ(frame_buffer[5 * 320 + 10], 0u);
    // Right edge: the row ends at column 319 and never wraps into the next row.
    blit_add_scaled(310, 6, 20, 1, 20, 1, source, frame_buffer);
    EXPECT_EQ(frame_buffer[6 * 320 + 319], rgb(0, 0, 10));
    EXPECT_EQ(frame_buffer[7 * 320 + 0], 0u);
    // x = frame_width passes the first test but draws nothing; frame_width + 1 returns.
    blit_add_scaled(320, 8, 20, 1, 20, 1, source, frame_buffer);
    blit_add_scaled(321, 8, 20, 1, 20, 1, source, frame_buffer);
    EXPECT_EQ(frame_buffer[9 * 320 + 0], 0u);
    EXPECT_EQ(frame_buffer[8 * 320 + 319], 0u);
}

TEST_F(Blend, BlitAboveAndBelowTheFrame)
{
    // A 1 x 4 column of values 1..4, drawn at y = -2: rows 0 and 1 get source rows 2 and 3.
    const uint32_t source[4] = {rgb(0, 1, 0), rgb(0, 2, 0), rgb(0, 3, 0), rgb(0, 4, 0)};
    blit_add_scaled(0, -2, 1, 4, 1, 4, source, frame_buffer);
    EXPECT_EQ(frame_buffer[0], rgb(0, 3, 0));
    EXPECT_EQ(frame_buffer[320], rgb(0, 4, 0));
    EXPECT_EQ(frame_buffer[640], 0u);
    // At the bottom the blit stops at the last frame row.
    blit_add_scaled(0, 198, 1, 4, 1, 4, source, frame_buffer);
    EXPECT_EQ(frame_buffer[198 * 320], rgb(0, 1, 0));
    EXPECT_EQ(frame_buffer[199 * 320], rgb(0, 2, 0));
    EXPECT_EQ(frame_buffer[64000], 0u);
}

// A picture whose pixels name their own row (blue) and column (green, red).
std::vector<uint32_t> coordinate_picture()
{
    std::vector<uint32_t> image(64000);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x)
            image[y * 320 + x] = rgb(x >> 8, x & 255, y);
    return image;
}

TEST_F(Blend, ZoomAtZeroShowsTheCentrePixelEverywhere)
{
    std::vector<uint32_t> image = coordinate_picture();
    zoom_image(frame_buffer, image.data(), 0.0f);
    for (int i = 0; i < 64000; ++i)
        ASSERT_EQ(frame_buffer[i], rgb(0, 160, 100)) << i;
}

TEST_F(Blend, ZoomSamplesBilinearlyAboutTheCentre)
{
    std::vector<uint32_t> image = coordinate_picture();
    zoom_image(frame_buffer, image.data(), 0.5f);
    // Row 0: (100 - 50 + 0) * 256 = 12800 -> source row 50, fy 0. Column 0: 80 * 256.
    EXPECT_EQ(frame_buffer[0], rgb(0, 80, 50));
    // Row 1: 50.5 * 256 = 12928 -> rows 50 and 51 weighted 128 each: blue (50 + 51) / 2 = 50.
    EXPECT_EQ(frame_buffer[320] & 0xFF, 50u);
    // Row 3: 51.5 -> (51 + 52) / 2 = 51; column 1: 80.5 -> green (80 + 81) / 2 = 80.
    EXPECT_EQ(frame_buffer[3 * 320 + 1], rgb(0, 80, 51));
    // Column 2: 81 exactly.
    EXPECT_EQ(frame_buffer[2], rgb(0, 81, 50));
    EXPECT_EQ(frame_buffer[0] >> 24, 0u);
}

TEST_F(Blend, ZoomNearOneNeverReadsPastThePicture)
{
    // Exactly 64000 pixels: the sanitizer build catches any read beyond.
    std::vector<uint32_t> image = coordinate_picture();
    zoom_image(frame_buffer, image.data(), 0.99975f);
    // Bottom-right: 100 - 99.975 + 199 * 0.99975 = 198.975 -> between rows 198 and 199.
    uint32_t last = frame_buffer[63999];
    EXPECT_GE(last & 0xFF, 198u);
    EXPECT_LE(last & 0xFF, 199u);
    zoom_image(frame_buffer, image.data(), 1.5f);  // out of range: clamped, still inside
}

}  // namespace
