// The pulsing object scene.
#include "effects/pulse.h"

#include <cmath>

#include "effects/scene_tables.h"
#include "engine3d/create.h"
#include "engine3d/loader.h"
#include "engine3d/pipeline.h"
#include "resources/jpeg.h"
#include "core/music_position.h"
#include "core/timer.h"
#include "core/fatal.h"

Scene* pulse_scene = nullptr;
Scene* pulse_reference = nullptr;
uint32_t* pulse_textures[2] = {nullptr, nullptr};
Vector3 pulse_camera_origin = {0, 0, 0};
int32_t pulse_start = 0;

namespace {

// One frame of either variant; `restart_max` is the highest table value that
// restarts the pulse (2 for variant a, 1 for variant b).
void draw_pulse(uint32_t* frame, const int32_t* table, int32_t restart_max)
{
    int32_t t = timer_ticks();
    int32_t v = table[music_row & 63];
    if (v >= 1 && v <= restart_max)
        pulse_start = t;  // repeated on every frame of the row: full size all row long

    // Twice the size at a restart, back to normal 1000 units (a quarter second) later.
    int32_t elapsed = static_cast<int32_t>(static_cast<uint32_t>(t) - static_cast<uint32_t>(pulse_start));
    float s = 2 - 0.001 * elapsed;
    if (s < 1)
        s = 1;
    Object3D* object = pulse_scene->objects[0];
    const Object3D* reference = pulse_reference->objects[0];
    for (int32_t i = 0; i < object->vertex_count; ++i) {
        object->vertices[i].x = s * reference->vertices[i].x;
        object->vertices[i].y = s * reference->vertices[i].y;
        object->vertices[i].z = s * reference->vertices[i].z;
    }

    // The camera circles in its plane about where the file put it.
    const Vector3& o = pulse_camera_origin;
    camera_set_position(pulse_scene->camera, static_cast<float>(o.x + 100 * std::cos(0.0006 * t)),
                        static_cast<float>(o.y + 100 * std::sin(0.000889 * t)), o.z);
    render_scene(pulse_scene, frame);
}

}  // namespace

void init_pulse_scene()
{
    pulse_scene = new Scene;
    scene_create(pulse_scene);
    pulse_reference = new Scene;
    scene_create(pulse_reference);
    pulse_textures[0] = load_jpeg("zwart.jpg", 256, 256);
    pulse_textures[1] = load_jpeg("mooier.jpg", 256, 256);
    load_3ds("19.3ds", pulse_scene);
    load_3ds("19.3ds", pulse_reference);
    if (pulse_scene->object_count < 2)
        report_error("19.3ds: the pulse scene needs two objects, the file has %d", pulse_scene->object_count);
    for (int i = 0; i < 2; ++i) {
        pulse_scene->objects[i]->texture = pulse_textures[i];
        pulse_scene->objects[i]->render_kind = 1;
    }
    pulse_camera_origin = pulse_scene->camera->position;
}

void draw_pulse_scene_a(uint32_t* frame) { draw_pulse(frame, pulse_rows_a, 2); }

void draw_pulse_scene_b(uint32_t* frame) { draw_pulse(frame, pulse_rows_b, 1); }
