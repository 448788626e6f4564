// Content that does not fit what a scene needs stops with a message naming the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "effects/blend.h"
#include "effects/feedback.h"
#include "effects/pulse.h"
#include "effects/words.h"
#include "support/support.h"
#include "support/support_jpeg.h"
#include "threeds_writer.h"

namespace {

// A flat grey JPEG of the given size.
std::string grey_jpeg(int width, int height)
{
    return support_jpeg(width, height, 1, 75, [](int, int) { return std::vector<uint8_t>{128}; });
}

// A 3DS scene of `meshes` one-triangle meshes and a camera.
std::string scene_file(int meshes)
{
    ThreedsScene scene;
    for (int i = 0; i < meshes; ++i) {
        ThreedsMesh mesh;
        mesh.name = std::string(1, static_cast<char>('a' + i));
        mesh.vertices = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
        mesh.faces = {{0, 1, 2}};
        scene.meshes.push_back(mesh);
    }
    scene.cameras.push_back({"cam", {0, -300, 0}, {0, 0, 0}, 0, 35});
    std::vector<uint8_t> bytes = threeds_write_scene(scene);
    return std::string(bytes.begin(), bytes.end());
}

// Frees what the preparations below leave in the scene globals (the
// production keeps them to the end; the tests prepare several times).
void release_scene_globals()
{
    delete pulse_scene;
    delete pulse_reference;
    delete feedback_scene;
    pulse_scene = pulse_reference = feedback_scene = nullptr;
    for (uint32_t*& texture : pulse_textures) {
        std::free(texture);
        texture = nullptr;
    }
    std::free(words_font);
    words_font = nullptr;
}

// Runs prepare in a folder holding files; returns the error text it stopped
// with ("" when it returned).
template <typename Prepare>
std::string stops_with(const std::vector<std::pair<std::string, std::string>>& files, Prepare prepare)
{
    support_intercept_exit();
    release_scene_globals();
    std::string dir = support_temp_dir();
    for (const auto& [name, bytes] : files)
        support_write_file(dir + "/" + name, bytes);
    ScopedChdir here(dir);
    testing::internal::CaptureStderr();
    try {
        prepare();
    } catch (const ProcessExited& exited) {
        EXPECT_EQ(exited.code, 1);
        return testing::internal::GetCapturedStderr();
    }
    testing::internal::GetCapturedStderr();
    return "";
}

TEST(SceneContent, SceneFilesNeedTwoObjects)
{
    init_blend_tables();
    std::string message = stops_with({{"vlak.3ds", scene_file(1)}}, [] { init_feedback_scene(); });
    EXPECT_NE(message.find("vlak.3ds"), std::string::npos) << message;
    EXPECT_NE(message.find("two objects"), std::string::npos) << message;

    std::string texture = grey_jpeg(256, 256);
    message = stops_with({{"19.3ds", scene_file(1)}, {"zwart.jpg", texture}, {"mooier.jpg", texture}},
                         [] { init_pulse_scene(); });
    EXPECT_NE(message.find("19.3ds"), std::string::npos) << message;

    message = stops_with({{"19.3ds", scene_file(2)}, {"zwart.jpg", texture}, {"mooier.jpg", texture}},
                         [] { init_pulse_scene(); });
    EXPECT_EQ(message, "");
    ASSERT_EQ(pulse_scene->object_count, 2);
    EXPECT_EQ(pulse_scene->objects[1]->texture, pulse_textures[1]);
    EXPECT_FLOAT_EQ(pulse_camera_origin.x, pulse_scene->camera->position.x);
    release_scene_globals();
}

TEST(SceneContent, FontNeedsAllTwentySixGlyphs)
{
    std::string message = stops_with({{"font.jpg", grey_jpeg(32, 32 * 25)}}, [] { init_words(); });
    EXPECT_NE(message.find("font.jpg"), std::string::npos) << message;
    EXPECT_EQ(stops_with({{"font.jpg", grey_jpeg(32, 32 * 26)}}, [] { init_words(); }), "");
    EXPECT_STREQ(main_words[8], "BOMMEL");
    release_scene_globals();
}

}  // namespace
