// The default content: the same bytes on every generation, every asset present
// with its size and kind as the production's own loaders see it, the overlay's
// transparent area decoding to exact zeros, and the scenes' objects and cameras.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "content.h"
#include "jpeg_encode.h"
#include "core/frame.h"
#include "engine3d/create.h"
#include "engine3d/loader.h"
#include "pak_writer.h"
#include "resources/jpeg.h"
#include "resources/pak.h"
#include "support/support.h"

namespace {

std::string built_pak() { return std::string(std::getenv("VIVUR_BINARY_DIR")) + "/vivur.pak"; }

// A picture decoded by the production's loader, copied so the loader's buffer can go.
std::vector<uint32_t> picture(const char* name, int width, int height, int32_t* rows = nullptr)
{
    uint32_t* pixels = load_jpeg(name, width, height, rows);
    std::vector<uint32_t> copy(pixels, pixels + width * height);
    std::free(pixels);
    return copy;
}

// Mounts the archive the build made, from an empty working directory so no
// loose file stands in for an archived one.
class BuiltContent : public ::testing::Test {
protected:
    void SetUp() override
    {
        support_intercept_exit();
        frame_allocate(320, 200);
        here = new ScopedChdir(support_temp_dir());
        pak_mount(built_pak().c_str());
    }
    void TearDown() override { delete here; }
    ScopedChdir* here = nullptr;
};

TEST(ContentGeneration, TwoGenerationsAndTheBuiltArchiveAreTheSameBytes)
{
    std::vector<ContentFile> first, second;
    std::string error;
    ASSERT_TRUE(content_generate(first, error)) << error;
    ASSERT_TRUE(content_generate(second, error)) << error;
    ASSERT_EQ(first.size(), 15u);
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].name, second[i].name);
        EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].name;
    }
    // The archive written by the build (another process) holds the same bytes.
    std::vector<PakFile> files;
    for (const ContentFile& f : first)
        files.push_back({f.name, f.bytes});
    std::vector<uint8_t> archive;
    ASSERT_TRUE(pak_build(files, archive, error)) << error;
    std::string built = support_read_file(built_pak());
    EXPECT_EQ(built.size(), archive.size());
    EXPECT_TRUE(built == std::string(archive.begin(), archive.end()));
}

TEST_F(BuiltContent, EveryPictureLoadsWithItsSize)
{
    struct Picture {
        const char* name;
        int width, height;
    };
    const Picture pictures[] = {{"intro.jpg", 320, 200}, {"feli.jpg", 320, 200},   {"font.jpg", 32, 832},
                                {"norm.jpg", 320, 200},  {"norm2.jpg", 320, 200},  {"heet.jpg", 320, 200},
                                {"zwart.jpg", 256, 256}, {"mooier.jpg", 256, 256}, {"atg7.jpg", 256, 256},
                                {"marb2.jpg", 256, 256}, {"mulmap.jpg", 320, 200}, {"scroll.jpg", 2000, 40}};
    for (const Picture& p : pictures) {
        int32_t rows = 0;
        std::vector<uint32_t> pixels;
        try {
            pixels = picture(p.name, p.width, p.height, &rows);
        } catch (const ProcessExited&) {
            ADD_FAILURE() << p.name << " does not load at " << p.width << "x" << p.height;
            continue;
        }
        EXPECT_EQ(rows, p.height) << p.name;
        // Not a blank picture: some pixel is bright.
        uint32_t brightest = 0;
        for (int i = 0; i < p.width * p.height; ++i)
            brightest = std::max(brightest, (pixels[i] >> 16 & 255) + (pixels[i] >> 8 & 255) + (pixels[i] & 255));
        EXPECT_GT(brightest, 300u) << p.name;
    }
}

TEST_F(BuiltContent, PicturesKeepTheBandsTheEffectsNeed)
{
    // The closing words glow over rows 164..195 of the closing card: keep it dark.
    std::vector<uint32_t> feli = picture("feli.jpg", 320, 200);
    double sum = 0;
    for (int y = 164; y < 196; ++y)
        for (int x = 0; x < 320; ++x)
            sum += (feli[y * 320 + x] >> 16 & 255) + (feli[y * 320 + x] >> 8 & 255) + (feli[y * 320 + x] & 255);
    EXPECT_LT(sum / (32 * 320 * 3), 20.0);

    // The scroller starts dark (its text comes in from the right) and its text ends
    // before the band would wrap back to the start (column 1680 + 320).
    std::vector<uint32_t> scroll = picture("scroll.jpg", 2000, 40);
    int first = -1, last = -1;
    for (int x = 0; x < 2000; ++x)
        for (int y = 0; y < 40; ++y)
            if ((scroll[y * 2000 + x] & 255) > 128) {
                if (first < 0)
                    first = x;
                last = x;
            }
    EXPECT_GE(first, 320);
    EXPECT_GT(last, 1200);
    EXPECT_LT(last, 1800);

    // Every glyph of the font lights its own cell, on black at the cell's corners.
    std::vector<uint32_t> font = picture("font.jpg", 32, 832);
    for (int k = 0; k < 26; ++k) {
        int bright = 0;
        for (int i = 0; i < 1024; ++i)
            bright += (font[k * 1024 + i] >> 16 & 255) > 150;
        EXPECT_GT(bright, 100) << char('A' + k);
        const int corners[4] = {0, 31, 31 * 32, 1023};
        for (int c : corners)
            EXPECT_LT(font[k * 1024 + c] >> 16 & 255, 12u) << char('A' + k);
    }
}

TEST_F(BuiltContent, SphereMarbleIsBrightWithFineVeinsAndMeetsAtItsSides)
{
    // The blurred sphere shows half the picture's width across its face: to keep
    // a silhouette against the black it needs a bright ground, and to read as a
    // turning ball many darker veins across a row (not swirls as large as the face).
    std::vector<uint32_t> marble = picture("marb2.jpg", 256, 256);
    auto luma = [&](int x, int y) {
        uint32_t p = marble[y * 256 + x];
        return 0.299 * (p >> 16 & 255) + 0.587 * (p >> 8 & 255) + 0.114 * (p & 255);
    };
    int rows = 0, vein_runs = 0, bright = 0;
    double seam = 0, inside = 0;
    for (int y = 0; y < 240; y += 4, ++rows) {
        bool in_vein = false;
        for (int x = 0; x < 256; ++x) {
            double l = luma(x, y);
            bright += l > 150;
            // A vein starts below 120 and ends above 160 (hysteresis).
            if (!in_vein && l < 120)
                in_vein = true, ++vein_runs;
            else if (in_vein && l > 160)
                in_vein = false;
            if (x > 0)
                inside += std::fabs(l - luma(x - 1, y));
        }
        seam += std::fabs(luma(0, y) - luma(255, y));
    }
    // Eight or more veins a row: about four across the sphere's face.
    EXPECT_GE(vein_runs, 8 * rows);
    // A bright ground: most of the picture.
    EXPECT_GT(bright, rows * 256 / 2);
    // Seamless left to right: the step from the last column to the first is no
    // larger than a typical step between neighbouring columns.
    EXPECT_LT(seam / rows, 2.0 * inside / (rows * 255.0));
}

TEST_F(BuiltContent, PulseSceneHasAStarAtItsOriginAndACameraAboveIt)
{
    Scene scene;
    scene_create(&scene);
    int materials_before = material_table.count;
    load_3ds("19.3ds", &scene);
    ASSERT_EQ(scene.object_count, 2);
    EXPECT_STREQ(scene.objects[0]->name, "star");
    EXPECT_STREQ(scene.objects[1]->name, "surround");
    EXPECT_EQ(material_table.count - materials_before, 2);
    EXPECT_EQ(loader_report.node_count, 4);
    EXPECT_TRUE(loader_report.has_mapping[0] && loader_report.has_mapping[1]);
    // The star is centred on its origin: its box is symmetric to within a unit.
    const Object3D* star = scene.objects[0];
    Vector3 lo = {1e9f, 1e9f, 1e9f}, hi = {-1e9f, -1e9f, -1e9f};
    for (int i = 0; i < star->vertex_count; ++i) {
        const Vector3& v = star->vertices[i];
        lo = {std::min(lo.x, v.x), std::min(lo.y, v.y), std::min(lo.z, v.z)};
        hi = {std::max(hi.x, v.x), std::max(hi.y, v.y), std::max(hi.z, v.z)};
    }
    EXPECT_NEAR(lo.x + hi.x, 0.0f, 1.0f);
    EXPECT_NEAR(lo.y + hi.y, 0.0f, 20.0f);  // the five points leave the star a little bottom-heavy
    EXPECT_NEAR(lo.z + hi.z, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(star->origin.x, 0.0f);
    // Its facets take different quarters of the texture (its four strengths of
    // light), so the ridges read as bevels.
    bool quarter[4] = {};
    for (int i = 0; i < star->vertex_count; ++i)
        quarter[(star->mapping[i].x >= 128) + 2 * (star->mapping[i].y >= 128)] = true;
    EXPECT_GE(quarter[0] + quarter[1] + quarter[2] + quarter[3], 3);
    // The surround carries the star: a ring and a platter about the star's
    // front-to-back axis (the engine's z), every vertex between two radii of it
    // and close to the star's plane; no dome enclosing the camera.
    const Object3D* surround = scene.objects[1];
    float inner = 1e9f, outer = 0, depth = 0;
    for (int i = 0; i < surround->vertex_count; ++i) {
        const Vector3& v = surround->vertices[i];
        float r = std::hypot(v.x, v.y);
        inner = std::min(inner, r);
        outer = std::max(outer, r);
        depth = std::max(depth, std::fabs(v.z));
    }
    EXPECT_GT(inner, 4.0f);
    EXPECT_LT(outer, 900.0f);
    EXPECT_LT(depth, 80.0f);
    // File camera (0, -340, 95) looking at the origin: y and z exchanged in the engine.
    EXPECT_FLOAT_EQ(scene.camera->position.x, 0.0f);
    EXPECT_FLOAT_EQ(scene.camera->position.y, 95.0f);
    EXPECT_FLOAT_EQ(scene.camera->position.z, -340.0f);
    EXPECT_FLOAT_EQ(scene.camera->target.y, 0.0f);
    EXPECT_EQ(scene.camera->position_track.key_count, 1);
    EXPECT_EQ(scene.camera->target_track.key_count, 1);
}

TEST_F(BuiltContent, FeedbackSceneHasAScreenFacingItsCameraAndAFrame)
{
    Scene scene;
    scene_create(&scene);
    load_3ds("vlak.3ds", &scene);
    ASSERT_EQ(scene.object_count, 2);
    EXPECT_STREQ(scene.objects[0]->name, "screen");
    EXPECT_STREQ(scene.objects[1]->name, "frame");
    // The camera hangs 270 units above the screen and looks straight down at it.
    EXPECT_FLOAT_EQ(scene.camera->position.y, 270.0f);
    EXPECT_FLOAT_EQ(scene.camera->target.x, 0.0f);
    EXPECT_FLOAT_EQ(scene.camera->target.y, 0.0f);
    EXPECT_FLOAT_EQ(scene.camera->target.z, 0.0f);
    // The screen lies flat at height 0 and its mapping covers the whole texture
    // (texels 0..254 both ways: the loader maps 1.0 to 0, so the file stops short).
    const Object3D* screen = scene.objects[0];
    int umin = 999, umax = -999, vmin = 999, vmax = -999;
    for (int i = 0; i < screen->vertex_count; ++i) {
        EXPECT_FLOAT_EQ(screen->vertices[i].y, 0.0f);
        umin = std::min(umin, screen->mapping[i].x);
        umax = std::max(umax, screen->mapping[i].x);
        vmin = std::min(vmin, screen->mapping[i].y);
        vmax = std::max(vmax, screen->mapping[i].y);
    }
    EXPECT_EQ(umin, 0);
    EXPECT_EQ(umax, 254);
    EXPECT_EQ(vmin, 0);
    EXPECT_EQ(vmax, 254);
}

TEST(ContentGeneration, OverlayCheckRejectsStrayLightAndAFaintPanel)
{
    // The generated flame passes the check content_generate runs on it: exact
    // zeros left of the overlay's columns and over most of them.
    std::vector<ContentFile> files;
    std::string error;
    ASSERT_TRUE(content_generate(files, error)) << error;
    const ContentFile* heet = nullptr;
    for (const ContentFile& f : files)
        if (f.name == "heet.jpg")
            heet = &f;
    ASSERT_NE(heet, nullptr);
    EXPECT_TRUE(content_check_heet(heet->bytes, error)) << error;

    // One lit pixel left of the overlay's columns is named.
    Canvas stray = canvas_make(320, 200, Colour{0, 0, 0});
    stray.pixels[10 * 320 + 150] = Colour{1, 1, 1};
    std::vector<uint8_t> jpeg = jpeg_encode(stray, 90, error);
    EXPECT_FALSE(content_check_heet(jpeg, error));
    EXPECT_NE(error.find("left of the flame's columns"), std::string::npos) << error;

    // A nearly black panel (3 of 255) over the columns is the grey rectangle again.
    Canvas panel = canvas_make(320, 200, Colour{0, 0, 0});
    for (int y = 0; y < 200; ++y)
        for (int x = 200; x < 320; ++x)
            panel.pixels[y * 320 + x] = Colour{3 / 255.0f, 3 / 255.0f, 3 / 255.0f};
    jpeg = jpeg_encode(panel, 90, error);
    EXPECT_FALSE(content_check_heet(jpeg, error));
    EXPECT_NE(error.find("exactly black"), std::string::npos) << error;
}

}  // namespace
