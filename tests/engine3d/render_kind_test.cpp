#include <gtest/gtest.h>

#include <cstdint>

#include "engine3d/render_kind.h"

namespace {

using C = KindCoordinates;
using S = KindSide;

// Every kind as its meaning says: 1, 2, 7 draw the face's texture coordinates,
// 5, 6, 9 the environment coordinates, 3, 4, 8 the texture with a highlight;
// odd kinds up to 5 show the front, even ones up to 6 the back, 7..9 both;
// every kind from 3 on keeps normals and environment coordinates.
TEST(RenderKind, EveryKindDecodes)
{
    struct Expected {
        int32_t kind;
        C coordinates;
        S side;
        bool environment;
    };
    const Expected table[] = {
        {-1, C::none, S::none, false},
        {0, C::none, S::none, false},
        {1, C::face, S::front, false},
        {2, C::face, S::back, false},
        {3, C::highlight, S::front, true},
        {4, C::highlight, S::back, true},
        {5, C::environment, S::front, true},
        {6, C::environment, S::back, true},
        {7, C::face, S::both, true},
        {8, C::highlight, S::both, true},
        {9, C::environment, S::both, true},
        {10, C::none, S::none, false},
        {255, C::none, S::none, false},
        {INT32_MIN, C::none, S::none, false},
    };
    for (const Expected& e : table) {
        RenderKindRule rule = render_kind_rule(e.kind);
        EXPECT_EQ(rule.coordinates, e.coordinates) << "kind " << e.kind;
        EXPECT_EQ(rule.side, e.side) << "kind " << e.kind;
        EXPECT_EQ(rule.environment, e.environment) << "kind " << e.kind;
    }
}

// Signed areas of the face (0,0), (10,0), (0,10), clockwise on screen (+100),
// listed the other way round (-100), and of a degenerate face (0).
TEST(RenderKind, SideShownBySignedArea)
{
    EXPECT_TRUE(render_side_shown(S::front, -100));
    EXPECT_FALSE(render_side_shown(S::front, 100));
    EXPECT_FALSE(render_side_shown(S::front, 0));
    EXPECT_TRUE(render_side_shown(S::back, 100));
    EXPECT_FALSE(render_side_shown(S::back, -100));
    EXPECT_FALSE(render_side_shown(S::back, 0));
    EXPECT_TRUE(render_side_shown(S::both, 100));
    EXPECT_TRUE(render_side_shown(S::both, -100));
    EXPECT_TRUE(render_side_shown(S::both, 0));
    EXPECT_FALSE(render_side_shown(S::none, 100));
    EXPECT_FALSE(render_side_shown(S::none, -100));
    // Areas of corners near the projection limit need more than 32 bits.
    EXPECT_TRUE(render_side_shown(S::back, int64_t{512000000000000}));
    EXPECT_TRUE(render_side_shown(S::front, -int64_t{512000000000000}));
}

}  // namespace
