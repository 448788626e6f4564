// Scenes: load_3ds into a fresh scene, then one line per object, the camera,
// the material names and the keyframer data.
#include <algorithm>
#include <cstdio>
#include <string>

#include "engine3d/create.h"
#include "engine3d/loader.h"
#include "inspect.h"

namespace {

// World position of a loaded vertex: origin + local_axes * v.
Vector3 world(const Object3D& o, const Vector3& v)
{
    const float* m = o.local_axes.m;
    return Vector3{o.origin.x + m[0] * v.x + m[1] * v.y + m[2] * v.z,
                   o.origin.y + m[3] * v.x + m[4] * v.y + m[5] * v.z,
                   o.origin.z + m[6] * v.x + m[7] * v.y + m[8] * v.z};
}

void print_object(const Object3D& o, size_t index)
{
    std::printf("object %s: %d vertices, %d faces", o.name, o.vertex_count, o.face_count);
    if (o.vertex_count > 0) {
        Vector3 low = world(o, o.vertices[0]), high = low;
        for (const Vector3& v : o.vertices) {
            Vector3 p = world(o, v);
            low = Vector3{std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
            high = Vector3{std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        }
        std::printf(", box (%g %g %g)..(%g %g %g)", low.x, low.y, low.z, high.x, high.y, high.z);
    }
    bool mapping = index < loader_report.has_mapping.size() && loader_report.has_mapping[index];
    bool axes = index < loader_report.has_axes.size() && loader_report.has_axes[index];
    std::printf(", %s, %s\n", mapping ? "mapping" : "no mapping", axes ? "local axes" : "no local axes");
}

void print_keyframer(const Scene& scene)
{
    std::printf("keyframer ");
    if (loader_report.has_segment)
        std::printf("frames %d..%d", scene.first_frame, scene.last_frame);
    else
        std::printf("no segment");
    std::printf(", %d nodes", loader_report.node_count);
    for (int32_t i = 0; i < scene.object_count; ++i) {
        const Object3D& o = *scene.objects[i];
        if (o.position_track.key_count || o.rotation_track.key_count)
            std::printf("; %s: %d position, %d rotation keys", o.name, o.position_track.key_count,
                        o.rotation_track.key_count);
    }
    const Camera& c = *scene.camera;
    if (c.position_track.key_count || c.target_track.key_count || c.roll_track.key_count)
        std::printf("; camera: %d position, %d target, %d roll keys", c.position_track.key_count,
                    c.target_track.key_count, c.roll_track.key_count);
    std::printf("\n");
}

}  // namespace

void inspect_scene(const std::string& path, const AssetRule* rule)
{
    material_table = MaterialTable{};  // this file's material names only
    Scene scene;
    std::string out, message;
    bool loaded = inspect_guard(
        [&] {
            scene_create(&scene);
            load_3ds(path.c_str(), &scene);
        },
        out, message);
    if (!loaded) {
        inspect_problem(path, message);
        return;
    }
    std::printf("scene %s: %d objects\n", path.c_str(), scene.object_count);
    for (int32_t i = 0; i < scene.object_count; ++i)
        print_object(*scene.objects[i], static_cast<size_t>(i));
    const Camera& c = *scene.camera;
    if (c.name[0])
        std::printf("camera %s: position (%g %g %g), target (%g %g %g), roll %g, lens %g\n", c.name,
                    c.position.x, c.position.y, c.position.z, c.target.x, c.target.y, c.target.z, c.roll,
                    c.lens);
    else
        std::printf("camera none: the scene keeps the default camera\n");
    std::printf("materials %d", material_table.count);
    for (int32_t i = 0; i < material_table.count; ++i)
        std::printf("%s%s", i ? ", " : ": ", material_table.names[i].text);
    std::printf(material_table.count ? "\n" : " (the loader warns: no materials assigned to objects)\n");
    print_keyframer(scene);
    if (rule && scene.object_count < rule->min_objects)
        inspect_problem(path, std::to_string(scene.object_count) + " objects, the production needs at least " +
                                  std::to_string(rule->min_objects));
}
