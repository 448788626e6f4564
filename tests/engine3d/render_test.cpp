#include <cstdio>
#include <cstdlib>

#include "engine3d/create.h"
#include "engine3d/pipeline.h"
#include "engine_test.h"

namespace {

// FNV-1a over the picture's bytes.
uint64_t frame_hash(const uint32_t* frame, int32_t count)
{
    uint64_t hash = 14695981039346656037ull;
    for (int32_t i = 0; i < count; ++i)
        for (int shift = 0; shift < 32; shift += 8) {
            hash ^= (frame[i] >> shift) & 255;
            hash *= 1099511628211ull;
        }
    return hash;
}

// With VIVUR_ENGINE_PICTURE=FILE the frame is also written as a PPM picture,
// to look at it when the expected hash has to change.
void write_picture(const uint32_t* frame)
{
    const char* path = std::getenv("VIVUR_ENGINE_PICTURE");
    if (!path)
        return;
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return;
    std::fprintf(file, "P6\n320 200\n255\n");
    for (int32_t i = 0; i < 320 * 200; ++i) {
        unsigned char rgb[3] = {static_cast<unsigned char>(frame[i] >> 16),
                                static_cast<unsigned char>(frame[i] >> 8),
                                static_cast<unsigned char>(frame[i])};
        std::fwrite(rgb, 1, 3, file);
    }
    std::fclose(file);
}

using Render = EngineTest;

// A small scene looked at once by eye: a tilted textured sphere (kind 1,
// red grows along u, green along v, blue marks one quarter of the texture),
// a highlighted sphere (kind 3) on the left, an environment-mapped one
// (kind 9) on the right, a double-sided square behind (kind 7) and a light
// flare on top, seen by a raised, rolled camera. In the picture the spheres
// show their seam (u = 256 wraps to the texture's blue/green left edge) on the
// right, and the sphere's faces wind so that its normals point inward, which
// mirrors the environment-mapped one.
TEST_F(Render, SmallSceneMatchesItsPicture)
{
    for (int32_t v = 0; v < 256; ++v)
        for (int32_t u = 0; u < 256; ++u)
            texture[v * 256 + u] = static_cast<uint32_t>(u) << 16 | static_cast<uint32_t>(v) << 8 |
                                   (u < 128 && v < 128 ? 255u : 40u);
    clear(0);
    Scene scene;
    scene_create(&scene);
    camera_set_position(scene.camera, 120, 150, -450);
    camera_set_target(scene.camera, 0, 0, 0);
    camera_set_roll(scene.camera, 10);
    make_sphere(&scene, 12, 120, 1, texture.data());
    object_set_angles(scene.objects[0], 20, 35, 0);
    make_sphere(&scene, 8, 60, 3, texture.data());
    object_set_origin(scene.objects[1], -230, 0, 0);
    make_sphere(&scene, 8, 60, 9, texture.data());
    object_set_origin(scene.objects[2], 230, 0, 0);
    mesh_create(&scene, 2, 4, 7, texture.data());
    Object3D* square = scene.objects[3];
    square->vertices = {{-300, -200, 300}, {300, -200, 300}, {300, 200, 300}, {-300, 200, 300}};
    square->faces[0] = {0, 1, 2, 0, 255, 255, 255, 255, 0};
    square->faces[1] = {0, 2, 3, 0, 255, 255, 0, 0, 0};
    light_create(&scene, 0, 220, 0, 4);

    render_scene(&scene, frame_buffer);
    write_picture(frame_buffer);
    EXPECT_EQ(frame_hash(frame_buffer, frame_pixel_count), 0xc6695cacc311ef8full);
}

}  // namespace
