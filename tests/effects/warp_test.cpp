#include <gtest/gtest.h>

#include <vector>

#include "core/frame.h"
#include "effects/blend.h"
#include "effects/warp.h"
#include "platform/clock.h"
#include "core/timer.h"

namespace {

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }

// Texel (V, U) holds V in green and U in blue, so every pixel tells which
// texel it shows.
struct Warp : testing::Test {
    void SetUp() override
    {
        init_blend_tables();
        frame_allocate(320, 200);
        texture.resize(65536);
        for (uint32_t v = 0; v < 256; ++v)
            for (uint32_t u = 0; u < 256; ++u)
                texture[v * 256 + u] = rgb(0x80, v, u);
        warp_texture = texture.data();
        clock_use_virtual(5000);
        timer_start();  // timer_ticks() = 0 until the clock moves
    }
    void TearDown() override
    {
        warp_texture = nullptr;
        clock_use_live();
        frame_free();
    }
    void light_everywhere(int32_t value)
    {
        for (int32_t& h : warp_light)
            h = value;
    }
    std::vector<uint32_t> texture;
};

TEST_F(Warp, LightMapFallsOffFromTheCentre)
{
    std::vector<uint32_t> map(64000, rgb(255, 7, 9));
    map[50 * 320 + 100] = rgb(200, 255, 255);
    map[120 * 320 + 30] = 0xFF00FFFFu;  // red 0: only red counts
    warp_build_light(map.data());
    // Centre: d = 1.3 * sqrt(0.5) = 0.92; (255 - 0.92) * 255 / 255 = 254.08.
    EXPECT_EQ(warp_light[99 * 320 + 159], 254);
    EXPECT_EQ(warp_light[100 * 320 + 160], 254);
    // Corners: d = 1.3 * sqrt(159.5^2 + 99.5^2) = 244.39, leaving 10.61.
    EXPECT_EQ(warp_light[0], 10);
    EXPECT_EQ(warp_light[63999], 10);
    // (100, 50) with red 200: d = 1.3 * sqrt(5990.5) = 100.62; 154.38 * 200 / 255 = 121.08.
    EXPECT_EQ(warp_light[50 * 320 + 100], 121);
    EXPECT_EQ(warp_light[120 * 320 + 30], 0);
}

TEST_F(Warp, WithoutRipplesTheTextureIsTurnedAndLit)
{
    // t = 0: b = 0, so every wave entry is 84; a = 128, c = 254, so the gain
    // at light 128 is 128 + 128 * 126 / 256 = 191 and at 127 it is 190.
    // Both displace by (84 * g) >> 8 = 62.
    light_everywhere(128);
    for (int y = 100; y < 200; ++y)
        for (int x = 0; x < 320; ++x)
            warp_light[y * 320 + x] = 127;
    draw_warp_scene(frame_buffer);
    for (int32_t w : warp_wave)
        ASSERT_EQ(w, 84);
    EXPECT_EQ(warp_gain[0], 128);
    EXPECT_EQ(warp_gain[128], 191);
    EXPECT_EQ(warp_gain[255], 253);  // 128 + 255 * 126 / 256 = 253.5
    for (int y : {0, 37, 99, 100, 199})
        for (int x : {0, 1, 2, 160, 319}) {
            uint32_t v = (y - x + 62) & 255, u = (x + y + 62) & 255;
            EXPECT_EQ(frame_buffer[y * 320 + x], rgb(0x80, v, u)) << x << "," << y;
        }
    // One pixel to the right: one texel on along U, one back along V.
    uint32_t p = frame_buffer[40 * 320 + 70], q = frame_buffer[40 * 320 + 71];
    EXPECT_EQ(q & 0xFF, ((p & 0xFF) + 1) & 255);
    EXPECT_EQ((q >> 8) & 0xFF, (((p >> 8) & 0xFF) - 1) & 255);
}

TEST_F(Warp, LightDarkensAndBrightens)
{
    light_everywhere(0);
    fill_buffer(frame_buffer, 0x12345678u);
    draw_warp_scene(frame_buffer);
    for (int i = 0; i < 64000; ++i)
        ASSERT_EQ(frame_buffer[i], 0u) << i;

    // Light 200 (gain 128 + 200 * 126 / 256 = 226, displacement 74): the
    // texel's channels through ShadeTable row 200, lighter than the texel.
    light_everywhere(200);
    draw_warp_scene(frame_buffer);
    uint32_t v = (10 - 20 + 74) & 255, u = (20 + 10 + 74) & 255;
    const uint8_t* row = ShadeTable + 200 * 256;
    EXPECT_EQ(frame_buffer[10 * 320 + 20], rgb(row[0x80], row[v], row[u]));
    EXPECT_GT(row[0x80], 0x80);
}

TEST_F(Warp, WaveAndPhasesFollowTheTimer)
{
    // t = 4000: b = 83 sin(1.9196) = 78.0019; entry i = b sin((i + b) 2pi/256) + 84.
    clock_virtual_set_ns(1000 * 1000000ull);
    ASSERT_EQ(timer_ticks(), 4000);
    light_everywhere(0);
    draw_warp_scene(frame_buffer);
    EXPECT_EQ(warp_wave[0], 157);    // 157.44
    EXPECT_EQ(warp_wave[1], 156);    // 156.77
    EXPECT_EQ(warp_wave[100], 10);   // 10.56: truncated after adding 84
    EXPECT_EQ(warp_wave[255], 158);  // 158.06
    // a = 128 + 126 sin(2.52) = 201.37, c = 128 + 126 cos(2.52) = 25.57.
    EXPECT_EQ(warp_gain[0], 201);
    EXPECT_EQ(warp_gain[255], 26);   // 201.37 - 255 * 175.81 / 256 = 26.25
}

}  // namespace
