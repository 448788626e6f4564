#include <gtest/gtest.h>

#include <vector>

#include "core/frame.h"
#include "effects/blend.h"
#include "effects/flicker.h"
#include "core/music_position.h"
#include "core/random.h"

namespace {

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }

// The generator's next draw from seed s, worked out from its formula.
int32_t draw_after(uint32_t s) { return ((s * 214013u + 2531011u) >> 16) & 0x7FFF; }

// A seed whose next draw gives the overlay shade row k.
uint32_t seed_for_shade(int32_t k)
{
    uint32_t s = 0;
    while (100 + draw_after(s) % 56 != k)
        ++s;
    return s;
}

struct Flicker : testing::Test {
    void SetUp() override
    {
        init_blend_tables();
        frame_allocate(320, 200);
        norm.assign(64000, rgb(10, 20, 30));
        norm2.assign(64000, rgb(40, 50, 60));
        overlay.assign(64000, rgb(100, 0, 250));
        overlay[5 * 320 + 250] = 0;            // transparent
        overlay[6 * 320 + 250] = 0xFF000000u;  // not transparent: only the fourth byte set
        work.assign(64000, 0);
        flicker_images[0] = norm.data();
        flicker_images[1] = norm2.data();
        flicker_overlay = overlay.data();
        flicker_work = work.data();
    }
    void TearDown() override { frame_free(); }
    std::vector<uint32_t> norm, norm2, overlay, work;
};

TEST_F(Flicker, BackgroundFollowsTheRow)
{
    for (uint32_t row : {0u, 3u, 10u, 64u, 116u}) {
        music_row = row;
        draw_flicker_scene();
        EXPECT_EQ(frame_buffer[0], rgb(10, 20, 30)) << row;
    }
    for (uint32_t row : {4u, 9u, 68u, 51u}) {
        music_row = row;
        draw_flicker_scene();
        EXPECT_EQ(frame_buffer[0], rgb(40, 50, 60)) << row;
    }
}

TEST_F(Flicker, OverlayAtNeutralShadeIsAddedUnchanged)
{
    music_row = 0;
    random_seed = seed_for_shade(127);
    uint32_t expected_seed = random_seed * 214013u + 2531011u;
    draw_flicker_scene();
    EXPECT_EQ(random_seed, expected_seed);  // exactly one draw per frame
    EXPECT_EQ(frame_buffer[0], rgb(10, 20, 30));              // column 0: overlay unused
    EXPECT_EQ(frame_buffer[199 * 320 + 199], rgb(10, 20, 30));
    EXPECT_EQ(frame_buffer[0 * 320 + 200], rgb(110, 20, 255));  // 30 + 250 saturates
    EXPECT_EQ(frame_buffer[199 * 320 + 319], rgb(110, 20, 255));
    EXPECT_EQ(frame_buffer[5 * 320 + 250], rgb(10, 20, 30));  // transparent overlay pixel
    EXPECT_EQ(frame_buffer[6 * 320 + 250], rgb(10, 20, 30));  // adds nothing, fourth byte 0
}

TEST_F(Flicker, OverlayIsShadedButZeroStaysTransparent)
{
    music_row = 4;
    random_seed = seed_for_shade(100);
    draw_flicker_scene();
    const uint8_t* row = ShadeTable + 100 * 256;
    EXPECT_EQ(frame_buffer[7 * 320 + 300], rgb(40 + row[100], 50 + row[0], SaturateTable[60 + row[250]]));
    EXPECT_LT(row[100], 100);
    // The shaded work copy of a transparent pixel is not what decides.
    EXPECT_EQ(frame_buffer[5 * 320 + 250], rgb(40, 50, 60));

    random_seed = seed_for_shade(155);  // brightened: black moves toward white
    draw_flicker_scene();
    EXPECT_EQ(frame_buffer[7 * 320 + 300] >> 8 & 0xFF, 50u + ShadeTable[155 * 256 + 0]);
    EXPECT_GT(ShadeTable[155 * 256 + 0], 0);
}

}  // namespace
