// Our own arc sine against the C library of this (Linux) build. The whole
// range, every float in [-1, 1], was compared once (see the README); here a
// spread of a quarter million floats and the edges.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/maths.h"

namespace {

float float_of(uint32_t bits)
{
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

TEST(Maths, ArcSineEqualsTheCLibraryAfterRoundingToFloat)
{
    int differing = 0;
    for (uint32_t sign = 0; sign < 2; ++sign)
        for (uint32_t bits = 0; bits <= 0x3f800000u; bits += 8191) {
            const float s = float_of(bits | sign << 31);
            const float expected = static_cast<float>(std::asin(static_cast<double>(s)));
            const float ours = maths_arc_sine(s);
            differing += std::memcmp(&ours, &expected, sizeof ours) != 0;
        }
    EXPECT_EQ(differing, 0);
}

TEST(Maths, ArcSineEdges)
{
    EXPECT_EQ(maths_arc_sine(0.0f), 0.0f);
    EXPECT_TRUE(std::signbit(maths_arc_sine(-0.0f)));
    EXPECT_EQ(maths_arc_sine(1.0f), 1.57079637f);  // pi/2 rounded to float
    EXPECT_EQ(maths_arc_sine(-1.0f), -1.57079637f);
    EXPECT_EQ(maths_arc_sine(0.5f), 0.523598790f);  // pi/6
    EXPECT_EQ(maths_arc_sine(float_of(1)), float_of(1));  // the smallest subnormal
    EXPECT_EQ(maths_arc_sine(float_of(0x3f7fffff)), static_cast<float>(std::asin(double(float_of(0x3f7fffff)))));
}

}  // namespace
