#include "engine_test.h"

namespace {

uint32_t glow(int32_t entry, int32_t r, int32_t c) { return flare_images[entry].pixels[r * 256 + c]; }

TEST(EngineTables, RadialSpot)
{
    engine_tables_init();
    EXPECT_EQ(RadialTable[128 * 256 + 128], 255);
    EXPECT_EQ(RadialTable[128 * 256 + 0], 0);    // distance 128: 255 - 256 -> 0
    EXPECT_EQ(RadialTable[0], 0);
    EXPECT_EQ(RadialTable[128 * 256 + 138], 235);  // distance 10
    EXPECT_EQ(RadialTable[131 * 256 + 132], 245);  // distance 5 (3, 4)
    EXPECT_EQ(RadialTable[128 * 256 + 1], 1);      // distance 127: 255 - 254
    for (int32_t r = 0; r < 256; r += 7)
        for (int32_t c = 0; c < 256; c += 5)
            EXPECT_EQ(RadialTable[r * 256 + c], RadialTable[c * 256 + r]);
}

TEST(EngineTables, HighlightRows)
{
    engine_tables_init();
    for (int32_t i = 0; i < 256; ++i)
        EXPECT_EQ(HighlightTable[i], i);  // intensity 0 is the identity
    // Row j adds trunc(255 - 255 cos(j pi / 512)^0.85).
    EXPECT_EQ(HighlightTable[64 * 256 + 0], 16);
    EXPECT_EQ(HighlightTable[128 * 256 + 10], 75);
    EXPECT_EQ(HighlightTable[192 * 256 + 100], 242);
    EXPECT_EQ(HighlightTable[192 * 256 + 200], 255);
    EXPECT_EQ(HighlightTable[255 * 256 + 0], 251);
    for (int32_t i = 4; i < 256; ++i)
        EXPECT_EQ(HighlightTable[255 * 256 + i], 255);
}

TEST(EngineTables, GlowsAndKernels)
{
    engine_tables_init();
    EXPECT_FLOAT_EQ(flare_size, 20000.0f);
    for (int32_t k = 0; k < 6; ++k) {
        EXPECT_EQ(flare_images[k].width, 256);
        EXPECT_EQ(flare_images[k].height, 256);
    }
    EXPECT_EQ(glow(0, 128, 128), 0xFFFFFFu);
    EXPECT_EQ(glow(0, 0, 0), 0u);
    EXPECT_EQ(glow(0, 255, 255), 0u);
    // (127, 191): distance sqrt(0.5^2 + 63.5^2) = 63.502, 350 - 350 sin(0.77929) = 104.03.
    EXPECT_EQ(glow(0, 127, 191), 0x686868u);
    EXPECT_EQ(glow(3, 128, 128), 0x0000FFu);  // blue only
    EXPECT_EQ(glow(1, 128, 128), 0xFF0000u);  // red only
    EXPECT_EQ(glow(4, 128, 128), 0xFFFF00u);  // yellow: green and red

    for (int32_t k = 6; k < 13; ++k) {
        EXPECT_EQ(flare_images[k].width, 3);
        EXPECT_EQ(flare_images[k].height, 3);
    }
    const uint32_t* white = flare_images[6].pixels;
    EXPECT_EQ(white[4], 0xFFFFFFu);                    // centre 255
    EXPECT_EQ(white[1], 0x666666u);                    // edge: 350 - 350 sin(pi/4) = 102.5
    EXPECT_EQ(white[0], 0x242424u);                    // corner: 350 - 350 sin(1.1107) = 36.4
    EXPECT_EQ(flare_images[12].pixels[4], 0xFF7F00u);  // orange: red 255, green 127
    EXPECT_EQ(flare_images[11].pixels[3], 0x660066u);  // magenta edge: blue and red 102
}

}  // namespace
