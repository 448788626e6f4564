// Fuzzes load_3ds with its keyframer block: the input is a whole 3DS file,
// loaded into a fresh scene. A scene that loads is then drawn the way the 3D
// scenes draw theirs (every render kind, a texture, a few camera angles), so
// whatever the loader let through meets the pipeline and the rasterizers.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/frame.h"
#include "engine3d/create.h"
#include "engine3d/loader.h"
#include "engine3d/pipeline.h"
#include "fuzz_support.h"

namespace {

constexpr int32_t fuzz_max_drawn_faces = 20000;  // larger scenes are loaded but not drawn

std::vector<uint32_t> fuzz_texture(256 * 256);  // a checkerboard the faces sample

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz_setup();
    frame_allocate(320, 200);
    for (uint32_t i = 0; i < fuzz_texture.size(); ++i)
        fuzz_texture[i] = ((i >> 3) ^ (i >> 11)) & 1 ? 0x00FFC040u : 0x00302080u;
    // The loader's warning about scenes without materials goes to standard output.
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz_write_file("scene.3ds", data, size);
    material_table = MaterialTable{};  // it only grows within one run of the production
    Scene scene;
    bool loaded = false;
    fuzz_run([&] {
        scene_create(&scene);
        load_3ds(path.c_str(), &scene);
        loaded = true;
    });
    if (!loaded)
        return 0;

    int32_t faces = 0;
    for (int32_t i = 0; i < scene.object_count; ++i)
        faces += scene.objects[size_t(i)]->face_count;
    if (faces > fuzz_max_drawn_faces)
        return 0;
    for (int32_t i = 0; i < scene.object_count; ++i) {
        Object3D* object = scene.objects[size_t(i)];
        object->texture = fuzz_texture.data();
        object->render_kind = uint8_t(1 + i % 9);
    }
    // The first fatal error of the run releases the frame with everything else.
    if (!frame_buffer)
        frame_allocate(320, 200);
    fuzz_run([&] {
        for (int view = 0; view < 3; ++view) {
            if (view > 0)
                camera_set_roll(scene.camera, float(view * 40));
            for (int32_t i = 0; i < scene.object_count; ++i)
                object_set_angles(scene.objects[size_t(i)], float(view * 30), float(view * 50), 0);
            render_scene(&scene, frame_buffer);
        }
    });
    return 0;
}
