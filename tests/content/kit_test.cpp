// The generator's own kit: shapes, letters, the JPEG codec round trip, the
// instruments' tuning and loops, and the scenes' winding as the engine sees it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "core/frame.h"
#include "engine3d/create.h"
#include "engine3d/loader.h"
#include "engine3d/pipeline.h"
#include "glyphs.h"
#include "jpeg_encode.h"
#include "paint.h"
#include "resources/jpeg.h"
#include "resources/pak.h"
#include "song.h"
#include "support/support.h"

namespace {

TEST(Paint, DistancesAndCoverage)
{
    // 3-4-5 triangle: the point (3, 4) is 5 from the origin, 3 outside a circle of radius 2.
    EXPECT_FLOAT_EQ(sd_circle(3, 4, 0, 0, 2), 3.0f);
    // Segment from (0, 0) to (10, 0): a point above its middle, and one past its end.
    EXPECT_FLOAT_EQ(sd_segment(5, 2, 0, 0, 10, 0), 2.0f);
    EXPECT_FLOAT_EQ(sd_segment(13, 4, 0, 0, 10, 0), 5.0f);
    // Box of half sizes 4 x 2 at the origin: 1 inside its right edge, and 5 from its corner.
    EXPECT_FLOAT_EQ(sd_round_box(3, 0, 0, 0, 4, 2, 0), -1.0f);
    EXPECT_FLOAT_EQ(sd_round_box(7, 6, 0, 0, 4, 2, 0), 5.0f);  // (3, 4) past the corner
    // Square polygon: inside is negative.
    const float square[8] = {0, 0, 10, 0, 10, 10, 0, 10};
    EXPECT_FLOAT_EQ(sd_polygon(5, 3, square, 4), -3.0f);
    EXPECT_FLOAT_EQ(sd_polygon(5, 13, square, 4), 3.0f);
    // A pixel centre on the edge is half covered.
    EXPECT_FLOAT_EQ(coverage(0.0f), 0.5f);
    EXPECT_FLOAT_EQ(coverage(-2.0f), 1.0f);
    EXPECT_FLOAT_EQ(coverage(2.0f), 0.0f);
}

TEST(Glyphs, EveryCapitalIsDrawnAndBlanksAdvance)
{
    for (char c = 'A'; c <= 'Z'; ++c) {
        const GlyphShape* g = glyph_shape(c);
        ASSERT_NE(g, nullptr) << c;
        EXPECT_FALSE(g->strokes.empty()) << c;
    }
    EXPECT_EQ(glyph_shape(' '), nullptr);
    EXPECT_EQ(glyph_shape('a'), nullptr);
    // 'I' is one stroke of zero width: its advance is the stroke (2 x radius) plus tracking.
    const TextStyle s{20.0f, 3.0f, 4.0f};
    EXPECT_FLOAT_EQ(text_advance('I', s), 10.0f);
    // "II" is two advances less the trailing tracking.
    EXPECT_FLOAT_EQ(text_width("II", s), 16.0f);
    // A point on the centre line of 'I' is at distance 0; one a cap width to the side at 1.
    EXPECT_FLOAT_EQ(glyph_distance(*glyph_shape('I'), 0.0f, 0.5f), 0.0f);
    EXPECT_FLOAT_EQ(glyph_distance(*glyph_shape('I'), 1.0f, 0.5f), 1.0f);
}

TEST(Jpeg, RoundTripKeepsChannelsAndOrientation)
{
    // Red top-left quarter on blue: a swapped channel or a flipped picture shows.
    Canvas c = canvas_make(64, 48, Colour{0, 0, 1});
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            c.pixels[y * 64 + x] = Colour{1, 0, 0};
    std::string error;
    std::vector<uint8_t> jpeg = jpeg_encode(c, 90, error);
    ASSERT_FALSE(jpeg.empty()) << error;
    std::vector<uint8_t> rgb;
    int w = 0, h = 0;
    ASSERT_TRUE(jpeg_decode_rgb(jpeg, rgb, w, h, error)) << error;
    ASSERT_EQ(w, 64);
    ASSERT_EQ(h, 48);
    auto at = [&](int x, int y, int ch) { return (int)rgb[(y * 64 + x) * 3 + ch]; };
    EXPECT_GT(at(4, 4, 0), 230);
    EXPECT_LT(at(4, 4, 2), 25);
    EXPECT_LT(at(60, 44, 0), 25);
    EXPECT_GT(at(60, 44, 2), 230);
    EXPECT_FALSE(jpeg_decode_rgb({1, 2, 3}, rgb, w, h, error));
}

TEST(Instruments, TunedToMiddleCAndLoopingCleanly)
{
    S3mModule m = song_compose();
    ASSERT_EQ(m.samples.size(), 11u);
    // The lead is one period of 64 points: C-4 must play it at 64 x 261.6256 Hz.
    const S3mSample& lead = m.samples[SONG_I_LEAD - 1];
    EXPECT_EQ(lead.data.size(), 64u);
    EXPECT_EQ(lead.c2_speed, 16744u);
    // The pad loops over its whole length: the point after the end continues the
    // wave, so the first point is close to where the last one was heading.
    const S3mSample& pad = m.samples[SONG_I_PAD - 1];
    ASSERT_TRUE(pad.loop);
    EXPECT_EQ(pad.loop_end, pad.data.size());
    int n = (int)pad.data.size();
    int predicted = 2 * pad.data[n - 1] - pad.data[n - 2];
    EXPECT_LE(std::abs(predicted - pad.data[0]), 12);
    // Drums and one-shots are not looped and fade out.
    for (int i : {SONG_I_KICK, SONG_I_SNARE, SONG_I_CRASH, SONG_I_PLUCK}) {
        const S3mSample& s = m.samples[i - 1];
        EXPECT_FALSE(s.loop) << s.name;
        EXPECT_LE(std::abs(s.data.back()), 3) << s.name;
    }
}

TEST(SceneWinding, TheStarFacesThePulseCamera)
{
    // Rendered from the file's camera with the engine, the star covers the frame's
    // centre and its front faces are drawn.
    support_intercept_exit();
    frame_allocate(320, 200);
    ScopedChdir here(support_temp_dir());
    pak_mount((std::string(std::getenv("VIVUR_BINARY_DIR")) + "/vivur.pak").c_str());
    Scene scene;
    scene_create(&scene);
    load_3ds("19.3ds", &scene);
    uint32_t* star = load_jpeg("zwart.jpg", 256, 256);
    uint32_t* surround = load_jpeg("mooier.jpg", 256, 256);
    scene.objects[0]->texture = star;
    scene.objects[1]->texture = surround;
    std::vector<uint32_t> frame(64000, 0);
    render_scene(&scene, frame.data());
    int star_faces = 0;
    for (int i = 0; i < scene.draw_count; ++i)
        star_faces += scene.draw_list[i].item == scene.objects[0];
    EXPECT_EQ(star_faces, 10);  // the ten front faces of the twenty
    EXPECT_NE(frame[100 * 320 + 160], 0u);
    // The platter fills the background: no corner of the frame stays black.
    for (int p : {0, 319, 199 * 320, 199 * 320 + 319})
        EXPECT_NE(frame[p], 0u) << p;
    std::free(star);
    std::free(surround);
}

}  // namespace
