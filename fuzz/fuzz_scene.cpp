#include "fuzz_scene.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/frame.h"
#include "engine3d/create.h"
#include "engine3d/loader.h"
#include "engine3d/pipeline.h"
#include "engine3d/scene.h"
#include "engine3d/transform.h"
#include "fuzz_support.h"

namespace {

std::vector<uint32_t> fuzz_texture(256 * 256);  // a checkerboard the faces sample

void fuzz_check_track(const KeyTrack& track)
{
    if (track.key_count < 0 || size_t(track.key_count) > track.keys.size())
        std::abort();  // a track counts keys it has no room for
}

}  // namespace

void fuzz_scene_setup()
{
    for (uint32_t i = 0; i < fuzz_texture.size(); ++i)
        fuzz_texture[i] = ((i >> 3) ^ (i >> 11)) & 1 ? 0x00FFC040u : 0x00302080u;
    // The loader's warning about scenes without materials goes to standard output.
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
}

bool fuzz_scene_load(const uint8_t* data, size_t size, Scene& scene)
{
    const std::string path = fuzz_write_file("scene.3ds", data, size);
    material_table = MaterialTable{};  // it only grows within one run of the production
    bool loaded = false;
    fuzz_run([&] {
        scene_create(&scene);
        load_3ds(path.c_str(), &scene);
        loaded = true;
    });
    if (!loaded)
        return false;

    if (scene.object_count < 0 || size_t(scene.object_count) > scene.objects.size() || !scene.camera)
        std::abort();
    for (int32_t i = 0; i < scene.object_count; ++i) {
        const Object3D* object = scene.objects[size_t(i)];
        if (!object || object->vertex_count < 0 || object->face_count < 0 ||
            size_t(object->vertex_count) > object->vertices.size() ||
            size_t(object->face_count) > object->faces.size() ||
            size_t(object->vertex_count) > object->mapping.size())
            std::abort();  // a count the arrays do not hold
        for (int32_t f = 0; f < object->face_count; ++f) {
            const Face& face = object->faces[size_t(f)];
            for (int32_t corner : {face.a, face.b, face.c})
                if (corner < 0 || corner >= object->vertex_count)
                    std::abort();  // a face the loader let through uses a vertex the object lacks
        }
        fuzz_check_track(object->position_track);
        fuzz_check_track(object->rotation_track);
    }
    fuzz_check_track(scene.camera->position_track);
    fuzz_check_track(scene.camera->target_track);
    fuzz_check_track(scene.camera->roll_track);
    return true;
}

void fuzz_scene_draw(Scene& scene, int32_t width, int32_t height, int views, int32_t max_faces)
{
    int64_t faces = 0;
    for (int32_t i = 0; i < scene.object_count; ++i)
        faces += scene.objects[size_t(i)]->face_count;
    if (faces > max_faces)
        return;
    for (int32_t i = 0; i < scene.object_count; ++i) {
        Object3D* object = scene.objects[size_t(i)];
        object->texture = fuzz_texture.data();
        object->render_kind = uint8_t(1 + i % 9);
    }
    // A fatal error releases the frame with everything else.
    if (!frame_buffer || frame_width != width || frame_height != height)
        frame_allocate(width, height);
    fuzz_run([&] {
        for (int view = 0; view < views; ++view) {
            if (view > 0)
                camera_set_roll(scene.camera, float(view * 40));
            for (int32_t i = 0; i < scene.object_count; ++i)
                object_set_angles(scene.objects[size_t(i)], float(view * 30), float(view * 50), 0);
            render_scene(&scene, frame_buffer);
        }
    });
}
