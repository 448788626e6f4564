#include <gtest/gtest.h>

#include <vector>

#include "core/frame.h"
#include "effects/blend.h"
#include "effects/feedback.h"

namespace {

uint32_t grey(uint32_t l) { return l << 16 | l << 8 | l; }

// Blue of the scroll picture at (row r, column x); red and green hold noise
// that must not show.
uint32_t scroll_blue(int r, int x) { return (x + 3 * r) & 0xFF; }

struct Feedback : testing::Test {
    void SetUp() override
    {
        init_blend_tables();
        frame_allocate(320, 200);
        texture.assign(65536, 0);
        band.assign(320 * 40, 0);
        image.resize(2000 * 40);
        for (int r = 0; r < 40; ++r)
            for (int x = 0; x < 2000; ++x)
                image[r * 2000 + x] = 0x00A55A00u | scroll_blue(r, x);
        feedback_texture = texture.data();
        scroll_band = band.data();
        scroll_image = image.data();
    }
    void TearDown() override { frame_free(); }

    // Expected band level at (r, k) for start column x0 and fraction g.
    static uint32_t level(int r, int k, int x0, int g)
    {
        return (scroll_blue(r, x0 + k + 1) * g + scroll_blue(r, x0 + k) * (256 - g)) >> 8;
    }
    std::vector<uint32_t> texture, band, image;
};

TEST_F(Feedback, CopyIsTheWholeFrameFlippedAndShrunk)
{
    for (uint32_t y = 0; y < 200; ++y)
        for (uint32_t x = 0; x < 320; ++x)
            frame_buffer[y * 320 + x] = y << 16 | x;
    feedback_copy_frame(frame_buffer);
    auto texel = [&](int j, int k) { return texture[j * 256 + k]; };
    EXPECT_EQ(texel(0, 0), 199u << 16 | 0);        // top of the texture: bottom row
    EXPECT_EQ(texel(255, 255), 0u << 16 | 318);    // 199 - floor(0.78125 * 255) = 0; floor(1.25 * 255)
    EXPECT_EQ(texel(32, 4), 174u << 16 | 5);       // 199 - 25; 5
    EXPECT_EQ(texel(1, 1), 199u << 16 | 1);        // 0.78 rounds down to row 0 again; 1.25 -> 1
    EXPECT_EQ(texel(2, 3), 198u << 16 | 3);        // 1.5625 -> 1; 3.75 -> 3
}

TEST_F(Feedback, ScrollerStartsAtColumnZero)
{
    feedback_draw_scroller(frame_buffer, 0);
    for (int r : {0, 17, 39})
        for (int k : {0, 1, 200, 319})
            EXPECT_EQ(frame_buffer[(150 + r) * 320 + k], grey(scroll_blue(r, k))) << r << "," << k;
    EXPECT_EQ(frame_buffer[149 * 320 + 5], 0u);
    EXPECT_EQ(frame_buffer[190 * 320 + 5], 0u);
}

TEST_F(Feedback, ScrollerPositionAndFraction)
{
    // 100 units: e = 2.7, x0 = ceil(e) = 3, g = floor(2.7 * 256) & 255 = 179.
    feedback_draw_scroller(frame_buffer, 100);
    EXPECT_EQ(frame_buffer[150 * 320 + 0], grey(level(0, 0, 3, 179)));
    EXPECT_EQ(frame_buffer[160 * 320 + 319], grey(level(10, 319, 3, 179)));

    // e = 1678.995: ceil 1679, the last start column; g = 254.
    fill_buffer(frame_buffer, 0);
    feedback_draw_scroller(frame_buffer, 62185);
    EXPECT_EQ(frame_buffer[150 * 320 + 0], grey(level(0, 0, 1679, 254)));
    EXPECT_EQ(frame_buffer[189 * 320 + 319], grey(level(39, 319, 1679, 254)));  // column 1999

    // e = 1679.994: the ceiling reaches 1680 and the band is back at column 0.
    fill_buffer(frame_buffer, 0);
    feedback_draw_scroller(frame_buffer, 62222);
    EXPECT_EQ(frame_buffer[150 * 320 + 0], grey(level(0, 0, 0, 254)));
    EXPECT_EQ(frame_buffer[170 * 320 + 100], grey(level(20, 100, 0, 254)));

    // A timer behind the start stays inside the picture.
    feedback_draw_scroller(frame_buffer, -123456);
}

TEST_F(Feedback, BandAddsWithSaturation)
{
    for (int r = 0; r < 40; ++r)
        for (int x = 0; x < 2000; ++x)
            image[r * 2000 + x] = (x < 10) ? 0 : 0xFF;  // black, then white
    fill_buffer(frame_buffer, 0x00123456u);
    feedback_draw_scroller(frame_buffer, 0);
    EXPECT_EQ(frame_buffer[160 * 320 + 5], 0x00123456u);
    EXPECT_EQ(frame_buffer[160 * 320 + 50], 0x00FFFFFFu);
}

}  // namespace
