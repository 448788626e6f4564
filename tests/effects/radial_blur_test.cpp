#include <gtest/gtest.h>

#include <vector>

#include "core/frame.h"
#include "effects/blend.h"
#include "effects/blur.h"

namespace {

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }

struct RadialBlur : testing::Test {
    void SetUp() override
    {
        frame_allocate(320, 200);
        for (uint32_t i = 0; i < 64000; ++i)
            frame_buffer[i] = (i * 2654435761u >> 5) & 0x00FFFFFFu;
        before.assign(frame_buffer, frame_buffer + 64000);
    }
    void TearDown() override { frame_free(); }
    std::vector<uint32_t> before;
};

TEST_F(RadialBlur, ZeroFractionLeavesAnyFrameUnchanged)
{
    radial_blur(frame_buffer, 160, 100, 0.0f, 0.0f);
    for (int i = 0; i < 64000; ++i)
        ASSERT_EQ(frame_buffer[i], before[i]) << i;
}

TEST_F(RadialBlur, UniformFrameAndCentreStayUnchanged)
{
    uint32_t centre = frame_buffer[100 * 320 + 160];
    radial_blur(frame_buffer, 160, 100, 0.3f, 0.7f);
    EXPECT_EQ(frame_buffer[100 * 320 + 160], centre);

    fill_buffer(frame_buffer, rgb(77, 200, 3));
    radial_blur(frame_buffer, 160, 100, 0.047746f, 0.047746f);
    for (int i = 0; i < 64000; ++i)
        ASSERT_EQ(frame_buffer[i], rgb(77, 200, 3)) << i;
}

TEST_F(RadialBlur, PixelsMixTowardTheCentreInPassOrder)
{
    // Blue 200 everywhere, a black centre; s = 0.5.
    fill_buffer(frame_buffer, 200);
    frame_buffer[100 * 320 + 160] = 0;
    radial_blur(frame_buffer, 160, 100, 0.5f, 0.5f);
    auto at = [](int x, int y) { return frame_buffer[y * 320 + x]; };
    // Neighbours of the centre: offset 128 = half way, sample (200 + 0) / 2
    // = 100, then (15 * 100 + 200) >> 4 = 106. One in each pass.
    EXPECT_EQ(at(161, 100), 106u);
    EXPECT_EQ(at(160, 99), 106u);
    EXPECT_EQ(at(159, 100), 106u);
    EXPECT_EQ(at(160, 101), 106u);
    // Two to the right: offset 256, the sample is the already blurred
    // neighbour: (15 * 106 + 200) >> 4 = 111.
    EXPECT_EQ(at(162, 100), 111u);
    EXPECT_EQ(at(158, 100), 111u);
    // Diagonal: four samples of a quarter each, (200 + 106 + 106 + 0) / 4 =
    // 103, then (15 * 103 + 200) >> 4 = 109.
    EXPECT_EQ(at(161, 101), 109u);
    EXPECT_EQ(at(159, 99), 109u);
}

TEST_F(RadialBlur, OutOfRangeArgumentsStayInsideTheFrame)
{
    for (int i = 64000; i < 128000; ++i)
        frame_buffer[i] = 0x00ABCDEFu;
    radial_blur(frame_buffer, 0, 0, 3.0f, -2.0f);
    radial_blur(frame_buffer, 400, 250, 1.0f, 1.0f);
    radial_blur(frame_buffer, 319, 199, 0.99f, 0.99f);
    for (int i = 64000; i < 128000; ++i)
        ASSERT_EQ(frame_buffer[i], 0x00ABCDEFu) << i;
}

}  // namespace
