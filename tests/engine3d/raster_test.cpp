#include <algorithm>
#include <array>

#include "engine3d/raster.h"
#include "engine_test.h"

namespace {

struct Raster : EngineTest {
    // Draws corners (x, y) with coordinates (u, v) given as {x, y, u, v}.
    void draw(std::array<int32_t, 4> p0, std::array<int32_t, 4> p1, std::array<int32_t, 4> p2)
    {
        draw_textured_triangle(p0[0], p0[1], p1[0], p1[1], p2[0], p2[1], p0[2], p0[3], p1[2],
                               p1[3], p2[2], p2[3], texture.data(), frame_buffer);
    }
};

TEST_F(Raster, CoversLeftEdgeToRightEdgeMinusOneTopAndBottomRows)
{
    // Corners (0,0), (10,0), (0,10): row y covers 0 .. 9 - y; row 10 has no width.
    draw({0, 0, 0, 0}, {10, 0, 10, 0}, {0, 10, 0, 10});
    for (int32_t y = 0; y < 10; ++y)
        EXPECT_EQ(row_runs(y), "0.." + std::to_string(9 - y)) << y;
    EXPECT_EQ(row_runs(10), "");
    // u runs 0..10 across the top edge and v 0..10 down the left edge, so
    // each pixel shows the texel of its own position.
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 10 - y; ++x)
            ASSERT_EQ(at(x, y), texel_of(x, y)) << x << "," << y;
}

TEST_F(Raster, CornerOrderDoesNotMatter)
{
    std::array<std::array<int32_t, 4>, 3> corners = {{{3, 2, 0, 0}, {40, 9, 37, 7}, {12, 30, 9, 28}}};
    draw(corners[0], corners[1], corners[2]);
    std::vector<uint32_t> first(frame_buffer, frame_buffer + frame_pixel_count);
    std::sort(corners.begin(), corners.end());
    do {
        clear(UNTOUCHED);
        draw(corners[0], corners[1], corners[2]);
        ASSERT_TRUE(std::equal(first.begin(), first.end(), frame_buffer));
    } while (std::next_permutation(corners.begin(), corners.end()));
}

TEST_F(Raster, FlatTopAndFlatBottom)
{
    // Flat bottom (5,0), (0,10), (10,10): edges of slope 1/2 either way;
    // row y covers floor(5 - y/2) .. floor(5 + y/2) - 1.
    draw({5, 0, 0, 0}, {0, 10, 0, 0}, {10, 10, 0, 0});
    EXPECT_EQ(row_runs(0), "");
    EXPECT_EQ(row_runs(1), "4..4");
    EXPECT_EQ(row_runs(2), "4..5");
    EXPECT_EQ(row_runs(3), "3..5");
    EXPECT_EQ(row_runs(10), "0..9");
    EXPECT_EQ(row_runs(11), "");

    // Flat top (0,20), (10,20), (5,30): side B is the edge (10,20) -> (5,30) alone;
    // row 20 + k covers floor(k/2) .. floor(10 - k/2) - 1.
    draw({0, 20, 0, 0}, {10, 20, 0, 0}, {5, 30, 0, 0});
    EXPECT_EQ(row_runs(20), "0..9");
    EXPECT_EQ(row_runs(21), "0..8");
    EXPECT_EQ(row_runs(29), "4..4");
    EXPECT_EQ(row_runs(30), "");
}

TEST_F(Raster, ClipsLeftAndRightAndAdvancesCoordinates)
{
    // Left edge at x = -10 with u = 0 there and u = 30 at x = 20 (du = 1):
    // column 0 shows u = 10.
    draw({-10, 0, 0, 0}, {20, 0, 30, 0}, {-10, 10, 0, 0});
    EXPECT_EQ(at(0, 0), texel_of(10, 0));
    EXPECT_EQ(at(19, 0), texel_of(29, 0));
    EXPECT_EQ(row_runs(0), "0..19");

    // Right edge at x = 400: the row ends at column 319, nothing wraps into row 1.
    clear(UNTOUCHED);
    draw({300, 0, 0, 0}, {400, 0, 100, 0}, {300, 100, 0, 0});
    EXPECT_EQ(row_runs(0), "300..319");
    EXPECT_EQ(at(319, 0), texel_of(19, 0));
    EXPECT_EQ(row_runs(1), "300..319");
}

TEST_F(Raster, StraddlesTheTopEdge)
{
    // Rows -10 .. 10; from row 0 on the shape is that of (0,0), (10,0), (0,10)
    // and v (0 at the top corner, 20 at the bottom) has advanced to 10.
    draw({0, -10, 0, 0}, {20, -10, 20, 0}, {0, 10, 0, 20});
    for (int32_t y = 0; y < 10; ++y)
        EXPECT_EQ(row_runs(y), "0.." + std::to_string(9 - y)) << y;
    EXPECT_EQ(at(0, 0), texel_of(0, 10));
    EXPECT_EQ(at(3, 0), texel_of(3, 10));
}

TEST_F(Raster, TextureCoordinatesWrap)
{
    // u = 256 samples column 0, v = -1 samples row 255.
    draw({0, 0, 256, -1}, {10, 0, 256, -1}, {0, 10, 256, -1});
    EXPECT_EQ(at(0, 0), texel_of(0, 255));
    EXPECT_EQ(at(5, 3), texel_of(0, 255));
    clear(UNTOUCHED);
    draw({0, 0, -1, 256}, {10, 0, -1, 256}, {0, 10, -1, 256});
    EXPECT_EQ(at(0, 0), texel_of(255, 0));
}

TEST_F(Raster, NothingOutsideTheRowsOrWithoutHeight)
{
    // A triangle reaching rows 0 and 199 fills the edge tables there first;
    // the ones after must not draw those rows again.
    draw({0, 0, 0, 0}, {100, 0, 0, 0}, {0, 199, 0, 0});
    clear(UNTOUCHED);
    draw({0, -30, 0, 0}, {50, -30, 0, 0}, {0, -1, 0, 0});   // wholly above
    draw({0, 200, 0, 0}, {50, 200, 0, 0}, {0, 260, 0, 0});  // wholly below
    draw({0, 199, 0, 0}, {50, 199, 0, 0}, {90, 199, 0, 0}); // zero height
    for (int32_t y = 0; y < 200; ++y)
        ASSERT_EQ(row_runs(y), "") << y;
    EXPECT_TRUE(spare_untouched());
}

TEST_F(Raster, CornersFarBeyondSixteenBitsFillTheFrame)
{
    // Corners around +-100000 overflow 32-bit 16.16 set-up; the frame lies
    // well inside the triangle, so every pixel is drawn and nothing else.
    draw({-100000, -100000, 0, 0}, {100000, -100000, 0, 0}, {0, 100000, 0, 0});
    for (int32_t y = 0; y < 200; ++y)
        ASSERT_EQ(row_runs(y), "0..319") << y;
    EXPECT_TRUE(spare_untouched());
    clear(UNTOUCHED);
    draw({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN}, {INT32_MAX, 0, 0, INT32_MAX},
         {0, INT32_MAX, INT32_MIN, 0});
    EXPECT_TRUE(spare_untouched());
}

TEST_F(Raster, SpanStepsByTheGradients)
{
    // Half a texel per pixel in u, one in v.
    draw_textured_span(320 + 5, 4, 3 << 16, 254 << 16, 0x8000, 0x10000, texture.data(),
                       frame_buffer);
    EXPECT_EQ(at(4, 1), UNTOUCHED);
    EXPECT_EQ(at(5, 1), texel_of(3, 254));
    EXPECT_EQ(at(6, 1), texel_of(3, 255));
    EXPECT_EQ(at(7, 1), texel_of(4, 0));  // v wrapped
    EXPECT_EQ(at(8, 1), texel_of(4, 1));
    EXPECT_EQ(at(9, 1), UNTOUCHED);
}

TEST_F(Raster, HighlightBrightensByTheSpot)
{
    texture.assign(65536, 0xAA010203u);  // red 1, green 2, blue 3, fourth byte set
    // (s, t) = (0, 0): intensity 0 passes the channels and clears the fourth byte.
    draw_highlight_triangle(0, 0, 10, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, texture.data(),
                            frame_buffer);
    EXPECT_EQ(at(0, 0), 0x010203u);
    // (128, 128): intensity 255 adds 251: blue 254, green 253, red 252.
    draw_highlight_triangle(0, 20, 10, 20, 0, 30, 0, 0, 0, 0, 0, 0, 128, 128, 128, 128, 128, 128,
                            texture.data(), frame_buffer);
    EXPECT_EQ(at(2, 21), 0xFCFDFEu);
    EXPECT_EQ(row_runs(21), "0..8");
}

}  // namespace
