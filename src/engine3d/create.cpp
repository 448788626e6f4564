#include "engine3d/create.h"

#include <algorithm>
#include <cmath>

#include "engine3d/particles.h"
#include "engine3d/tables.h"
#include "core/fatal.h"
#include "engine3d/transform.h"

namespace {

constexpr int32_t TRACK_ROOM = 1000;  // keys a fresh track has room for

void track_make_room(KeyTrack* track)
{
    track->key_count = 0;
    track->keys.assign(TRACK_ROOM, Key{});
}

// Frees everything the scene owns and empties its lists.
void scene_release(Scene* scene)
{
    for (Object3D* o : scene->objects)
        delete o;
    for (Light* light : scene->lights)
        delete light;
    for (ParticleSystem* system : scene->particle_systems)
        delete system;
    delete scene->camera;
    scene->objects.clear();
    scene->lights.clear();
    scene->particle_systems.clear();
    scene->camera = nullptr;
}

}  // namespace

Scene::~Scene() { scene_release(this); }

void scene_create(Scene* scene)
{
    scene_release(scene);
    scene->camera = new Camera{};
    scene->object_count = 0;
    scene->light_count = 0;
    scene->particle_system_count = 0;
    scene->total_faces = 0;
    scene->total_vertices = 0;
    scene->draw_count = 0;
    camera_set_position(scene->camera, 0, 0, 512);
    camera_set_target(scene->camera, 0, 0, 0);
    camera_set_roll(scene->camera, 0);
    track_make_room(&scene->camera->position_track);
    track_make_room(&scene->camera->target_track);
    track_make_room(&scene->camera->roll_track);
    if (!engine_tables_ready)
        engine_tables_init();
}

void mesh_create(Scene* scene, int32_t face_count, int32_t vertex_count, int32_t render_kind,
                 uint32_t* texture)
{
    if (face_count < 0 || vertex_count < 0)
        report_error("mesh_create: negative size (%d faces, %d vertices)", face_count, vertex_count);
    int64_t faces = static_cast<int64_t>(scene->total_faces) + face_count;
    int64_t vertices = static_cast<int64_t>(scene->total_vertices) + vertex_count;
    if (faces > INT32_MAX || vertices > INT32_MAX)
        report_error("mesh_create: scene too large (%lld faces, %lld vertices)",
                     static_cast<long long>(faces), static_cast<long long>(vertices));
    Object3D* o = new Object3D{};
    size_t nv = static_cast<size_t>(vertex_count), nf = static_cast<size_t>(face_count);
    o->mapping.resize(nv);
    o->screen.resize(nv);
    o->vertices.resize(nv);
    o->view_vertices.resize(nv);
    o->vertex_normals.resize(nv);
    o->view_normals.resize(nv);
    o->face_normals.resize(nf);
    o->faces.resize(nf);
    o->texture = texture;
    o->render_kind = static_cast<uint8_t>(render_kind);
    o->face_count = face_count;
    o->vertex_count = vertex_count;
    object_set_origin(o, 0, 0, 0);
    object_set_angles(o, 0, 0, 0);
    matrix_identity(&o->local_axes);
    track_make_room(&o->position_track);
    track_make_room(&o->rotation_track);
    o->normals_dirty = 0;
    o->normals_ready = 0;
    scene->objects.resize(static_cast<size_t>(scene->object_count));
    scene->objects.push_back(o);
    scene->total_faces = static_cast<int32_t>(faces);
    scene->total_vertices = static_cast<int32_t>(vertices);
    scene->object_count += 1;
    scene_fit_draw_lists(scene);
}

void object_set_origin(Object3D* object, float x, float y, float z) { object->origin = {x, y, z}; }

void object_set_angles(Object3D* object, float ax, float ay, float az)
{
    object->angles = {ax, ay, az};
    object_build_rotation(object);
}

void make_sphere(Scene* scene, int32_t n, float radius, int32_t render_kind, uint32_t* texture)
{
    if (n < 2 || n > 32768)
        report_error("make_sphere: %d rows, need 2 to 32768", n);
    int32_t last = n - 1;
    mesh_create(scene, 2 * last * last, n * n, render_kind, texture);
    Object3D* o = scene->objects[scene->object_count - 1];
    float a = 3.1415927f / static_cast<float>(last);  // latitude step
    float b = 6.2831855f / static_cast<float>(last);  // longitude step
    for (int32_t i = 0; i < n; ++i)
        for (int32_t j = 0; j < n; ++j) {
            double theta = static_cast<float>(i) * a;
            double phi = static_cast<float>(j) * b;
            o->vertices[i * n + j] = {static_cast<float>(radius * std::sin(theta) * std::cos(phi)),
                                      static_cast<float>(radius * std::cos(theta)),
                                      static_cast<float>(radius * std::sin(theta) * std::sin(phi))};
        }
    float su = 256.0f / static_cast<float>(last);  // slightly above 256 / 19 for n = 20
    double sv = 256.0 / n;
    auto u = [su](int32_t j) { return static_cast<int32_t>(static_cast<float>(j) * su); };
    auto v = [sv](int32_t i) { return static_cast<int32_t>(i * sv); };
    for (int32_t i = 0; i < last; ++i)
        for (int32_t j = 0; j < last; ++j) {
            int32_t j1 = (j + 1) % last;  // the last quad joins back to column 0
            int32_t A = i * n + j, B = (i + 1) * n + j, C = i * n + j1, D = (i + 1) * n + j1;
            Face* f = &o->faces[2 * (i * last + j)];
            f[0] = {A, B, C, u(j), v(i), u(j), v(i + 1), u(j + 1), v(i)};
            f[1] = {C, B, D, u(j + 1), v(i), u(j), v(i + 1), u(j + 1), v(i + 1)};
        }
}

Light* light_create(Scene* scene, float x, float y, float z, uint8_t flare)
{
    if (flare > 5)
        report_error("light_create: flare %d, need 0 to 5", flare);
    Light* light = new Light{};
    light->position = {x, y, z};
    light->flare = flare;
    scene->lights.resize(static_cast<size_t>(scene->light_count));
    scene->lights.push_back(light);
    scene->light_count += 1;
    scene_fit_draw_lists(scene);
    return light;
}

ParticleSystem* particle_system_create(Scene* scene, int32_t particle_count, Vector3 position,
                                       Vector3 gravity, Vector3 spread, float lifetime,
                                       uint8_t flare, bool show_emitter)
{
    if (particle_count < 0 || particle_count > (1 << 24))
        report_error("particle_system_create: %d particles, need 0 to 16777216", particle_count);
    if (!(lifetime > 0) || !std::isfinite(lifetime))
        report_error("particle_system_create: lifetime %g, need more than 0 seconds", lifetime);
    if (flare > 6)
        report_error("particle_system_create: flare %d, need 0 to 6", flare);
    ParticleSystem* system = new ParticleSystem{};
    size_t count = static_cast<size_t>(particle_count);
    system->birth_times.resize(count);
    system->start_positions.resize(count);
    system->velocities.resize(count);
    system->positions.assign(count, position);
    system->view_positions.resize(count);
    system->screen.resize(count);
    system->intensities.resize(count);
    system->position = position;
    system->gravity = gravity;
    system->spread = spread;
    system->lifetime = lifetime;
    system->flare = flare;
    system->show_emitter = show_emitter ? 1 : 0;
    system->started = 0;
    system->particle_count = particle_count;
    for (int32_t i = 0; i < particle_count; ++i) {
        particle_respawn(system, i);
        // Offsets spread over one lifetime: particle i starts at age
        // lifetime * (1 - i / count), so ages are even from the first frame.
        system->birth_times[i] =
            static_cast<float>(static_cast<double>(i) * lifetime * 4000.0 / particle_count);
    }
    scene->particle_systems.resize(static_cast<size_t>(scene->particle_system_count));
    scene->particle_systems.push_back(system);
    scene->particle_system_count += 1;
    scene_fit_draw_lists(scene);
    return system;
}

void scene_fit_draw_lists(Scene* scene)
{
    int64_t items = 0;
    int32_t objects = std::min<int32_t>(scene->object_count, static_cast<int32_t>(scene->objects.size()));
    for (int32_t i = 0; i < objects; ++i)
        if (scene->objects[i])
            items += std::max(scene->objects[i]->face_count, 0);
    items += std::max(scene->light_count, 0);
    int32_t systems = std::min<int32_t>(scene->particle_system_count,
                                        static_cast<int32_t>(scene->particle_systems.size()));
    for (int32_t i = 0; i < systems; ++i)
        if (scene->particle_systems[i])
            items += 1 + std::max(scene->particle_systems[i]->particle_count, 0);
    if (items > INT32_MAX)
        report_error("scene has too many faces and particles to draw (%lld)",
                     static_cast<long long>(items));
    size_t size = static_cast<size_t>(items);
    if (scene->draw_list.size() < size)
        scene->draw_list.resize(size);
    if (scene->draw_scratch.size() < size)
        scene->draw_scratch.resize(size);
}
