#include "engine3d/pipeline.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/frame.h"
#include "engine3d/create.h"
#include "engine3d/particles.h"
#include "engine3d/raster.h"
#include "engine3d/render_kind.h"
#include "engine3d/tables.h"

namespace {

std::vector<int32_t> normal_counters;  // faces per vertex, reused by object_compute_normals

// The depth key of a point-like item: -3 * trunc(z), kept inside int32.
uint32_t point_depth(int32_t truncated_z)
{
    int64_t key = -3 * static_cast<int64_t>(truncated_z);
    if (key < INT32_MIN)
        key = INT32_MIN;
    return static_cast<uint32_t>(static_cast<int32_t>(key));
}

// True when the object's arrays hold its counts, so no step reads past them.
bool object_arrays_fit(const Object3D* o)
{
    size_t vertices = static_cast<size_t>(o->vertex_count);
    size_t faces = static_cast<size_t>(o->face_count);
    return o->vertex_count >= 0 && o->face_count >= 0 && o->vertices.size() >= vertices &&
           o->view_vertices.size() >= vertices && o->screen.size() >= vertices &&
           o->mapping.size() >= vertices && o->vertex_normals.size() >= vertices &&
           o->view_normals.size() >= vertices && o->faces.size() >= faces &&
           o->face_normals.size() >= faces;
}

bool face_indices_valid(const Face& f, int32_t vertex_count)
{
    uint32_t n = static_cast<uint32_t>(vertex_count);
    return static_cast<uint32_t>(f.a) < n && static_cast<uint32_t>(f.b) < n &&
           static_cast<uint32_t>(f.c) < n;
}

bool screen_in_range(const Point2& p)
{
    return p.x > -PROJECTION_FAR / 2 && p.x < PROJECTION_FAR / 2 && p.y > -PROJECTION_FAR / 2 &&
           p.y < PROJECTION_FAR / 2;
}

// Draws the face of a draw-list item of kind 1..9 with the rasterizer and
// coordinates its render kind asks for.
void draw_face(const DrawItem& item, uint32_t* frame)
{
    const Object3D* o = static_cast<const Object3D*>(item.item);
    const Face& f = o->faces[item.index];
    const Point2 a = o->screen[f.a], b = o->screen[f.b], c = o->screen[f.c];
    const Point2* m = o->mapping.data();
    switch (render_kind_rule(item.kind).coordinates) {
    case KindCoordinates::face:
        draw_textured_triangle(a.x, a.y, b.x, b.y, c.x, c.y, f.ua, f.va, f.ub, f.vb, f.uc, f.vc,
                               o->texture, frame);
        break;
    case KindCoordinates::environment:
        draw_textured_triangle(a.x, a.y, b.x, b.y, c.x, c.y, m[f.a].x, m[f.a].y, m[f.b].x,
                               m[f.b].y, m[f.c].x, m[f.c].y, o->texture, frame);
        break;
    case KindCoordinates::highlight:
        draw_highlight_triangle(a.x, a.y, b.x, b.y, c.x, c.y, f.ua, f.va, f.ub, f.vb, f.uc, f.vc,
                                m[f.a].x, m[f.a].y, m[f.b].x, m[f.b].y, m[f.c].x, m[f.c].y,
                                o->texture, frame);
        break;
    case KindCoordinates::none:
        break;
    }
}

}  // namespace

// ---- per-frame steps ----

void object_update(Object3D* object, const Camera* camera)
{
    matrix_copy(&object->view_matrix, &camera->view_matrix);
    matrix_multiply(&object->view_matrix, &object->rotation);
    matrix_multiply(&object->view_matrix, &object->local_axes);
    object_view_origin(object, camera);
    object_project(object);
    if (render_kind_rule(object->render_kind).environment) {
        if (object->normals_dirty || !object->normals_ready) {
            object_compute_normals(object);
            object->normals_ready = 1;
        }
        object_rotate_normals(object);
        object_env_mapping(object);
    }
}

void object_view_origin(Object3D* object, const Camera* camera)
{
    object->view_origin = camera_transform(camera, object->origin);
}

void object_project(Object3D* object)
{
    const float* m = object->view_matrix.m;
    const Vector3 o = object->view_origin;
    int32_t centre_x = static_cast<int32_t>(frame_width * 0.5);
    int32_t centre_y = static_cast<int32_t>(frame_height * 0.5);
    for (int32_t i = 0; i < object->vertex_count; ++i) {
        const Vector3& v = object->vertices[i];
        Vector3& c = object->view_vertices[i];
        c.x = m[0] * v.x + m[1] * v.y + m[2] * v.z + o.x;
        c.y = m[3] * v.x + m[4] * v.y + m[5] * v.z + o.y;
        c.z = m[6] * v.x + m[7] * v.y + m[8] * v.z + o.z;
        if (c.z > 0) {
            object->screen[i].x = projection_truncate(c.x * projection_scale_x / c.z) + centre_x;
            object->screen[i].y = centre_y - projection_truncate(projection_scale_y * c.y / c.z);
        }
    }
}

void object_compute_normals(Object3D* object)
{
    const std::vector<Vector3>& vertices = object->vertices;
    for (int32_t f = 0; f < object->face_count; ++f) {
        const Face& face = object->faces[f];
        if (!face_indices_valid(face, object->vertex_count)) {
            object->face_normals[f] = {0, 0, 0};
            continue;
        }
        const Vector3& a = vertices[face.a];
        const Vector3& b = vertices[face.b];
        const Vector3& c = vertices[face.c];
        Vector3 u = {b.x - a.x, b.y - a.y, b.z - a.z};
        Vector3 w = {c.x - a.x, c.y - a.y, c.z - a.z};
        object->face_normals[f] = {u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z,
                                   u.x * w.y - u.y * w.x};
    }
    normal_counters.assign(static_cast<size_t>(object->vertex_count), 0);
    for (int32_t i = 0; i < object->vertex_count; ++i)
        object->vertex_normals[i] = {0, 0, 0};
    for (int32_t f = 0; f < object->face_count; ++f) {
        const Face& face = object->faces[f];
        if (!face_indices_valid(face, object->vertex_count))
            continue;
        const Vector3& n = object->face_normals[f];
        for (int32_t corner : {face.a, face.b, face.c}) {
            Vector3& sum = object->vertex_normals[corner];
            sum.x += n.x;
            sum.y += n.y;
            sum.z += n.z;
            ++normal_counters[corner];
        }
    }
    for (int32_t i = 0; i < object->vertex_count; ++i) {
        int32_t count = normal_counters[i];
        if (count == 0)
            continue;
        Vector3& n = object->vertex_normals[i];
        n.x /= static_cast<float>(count);
        n.y /= static_cast<float>(count);
        n.z /= static_cast<float>(count);
    }
}

void object_rotate_normals(Object3D* object)
{
    const float* m = object->view_matrix.m;
    for (int32_t i = 0; i < object->vertex_count; ++i) {
        const Vector3& n = object->vertex_normals[i];
        object->view_normals[i] = {m[0] * n.x + m[1] * n.y + m[2] * n.z,
                                   m[3] * n.x + m[4] * n.y + m[5] * n.z,
                                   m[6] * n.x + m[7] * n.y + m[8] * n.z};
    }
}

void object_env_mapping(Object3D* object)
{
    for (int32_t i = 0; i < object->vertex_count; ++i) {
        const Vector3& n = object->view_normals[i];
        double length = std::sqrt(static_cast<double>(n.x * n.x + n.y * n.y + n.z * n.z));
        Point2& map = object->mapping[i];
        if (!(length > 0.0) || !std::isfinite(length)) {
            map = {128, 128};  // no direction: the centre of the tables
            continue;
        }
        double k = 126.0 / length;
        float k_single = static_cast<float>(k);
        int32_t x = 128 - static_cast<int32_t>(n.x * k);
        int32_t y = static_cast<int32_t>(n.y * k_single) + 128;
        // 2..254 in exact arithmetic; rounding of the length must not leave 0..255.
        map = {std::clamp(x, 0, 255), std::clamp(y, 0, 255)};
    }
}

void light_update(Light* light, const Camera* camera)
{
    light->view_position = camera_transform(camera, light->position);
    const Vector3& p = light->view_position;
    if (p.z > 0) {
        light->screen_x = frame_width / 2 + projection_truncate(projection_scale_x * p.x / p.z);
        light->screen_y = frame_height / 2 - projection_truncate(projection_scale_y * p.y / p.z);
    }
}

// ---- draw list ----

void build_draw_list(Scene* scene)
{
    scene_fit_draw_lists(scene);
    DrawItem* list = scene->draw_list.data();
    int32_t n = 0;
    int32_t right = frame_width - 1, bottom = frame_height - 1;
    int32_t objects = std::min<int32_t>(scene->object_count, static_cast<int32_t>(scene->objects.size()));
    for (int32_t i = 0; i < objects; ++i) {
        Object3D* o = scene->objects[i];
        int32_t kind = o ? o->render_kind : 0;
        KindSide side = render_kind_rule(kind).side;
        if (side == KindSide::none || !o->texture || !object_arrays_fit(o))
            continue;
        for (int32_t f = 0; f < o->face_count; ++f) {
            const Face& face = o->faces[f];
            if (!face_indices_valid(face, o->vertex_count))
                continue;
            float za = o->view_vertices[face.a].z;
            float zb = o->view_vertices[face.b].z;
            float zc = o->view_vertices[face.c].z;
            if (!(za > 0) || !(zb > 0) || !(zc > 0))
                continue;
            const Point2 a = o->screen[face.a], b = o->screen[face.b], c = o->screen[face.c];
            if ((a.x < 0 && b.x < 0 && c.x < 0) || (a.x > right && b.x > right && c.x > right) ||
                (a.y < 0 && b.y < 0 && c.y < 0) || (a.y > bottom && b.y > bottom && c.y > bottom))
                continue;
            if (!screen_in_range(a) || !screen_in_range(b) || !screen_in_range(c))
                continue;
            int64_t area = (static_cast<int64_t>(b.y) - c.y) * (static_cast<int64_t>(a.x) - c.x) -
                           (static_cast<int64_t>(b.x) - c.x) * (static_cast<int64_t>(a.y) - c.y);
            if (!render_side_shown(side, area))
                continue;
            uint32_t depth = static_cast<uint32_t>(float_truncate(-(zc + zb + za)));
            list[n++] = {kind, depth, f, o};
        }
    }
    int32_t lights = std::min<int32_t>(scene->light_count, static_cast<int32_t>(scene->lights.size()));
    for (int32_t i = 0; i < lights; ++i) {
        Light* light = scene->lights[i];
        if (light && light->view_position.z > 0)
            list[n++] = {DRAW_LIGHT, point_depth(float_truncate(light->view_position.z)), 0, light};
    }
    int32_t systems = std::min<int32_t>(scene->particle_system_count,
                                        static_cast<int32_t>(scene->particle_systems.size()));
    for (int32_t i = 0; i < systems; ++i) {
        ParticleSystem* system = scene->particle_systems[i];
        if (system && system->show_emitter && system->view_position.z > 0)
            list[n++] = {DRAW_EMITTER, point_depth(float_truncate(system->view_position.z)), 0, system};
    }
    for (int32_t i = 0; i < systems; ++i) {
        ParticleSystem* system = scene->particle_systems[i];
        if (!system || !particle_system_usable(system))
            continue;
        for (int32_t k = 0; k < system->particle_count; ++k) {
            int32_t t = float_truncate(system->view_positions[k].z);
            if (t > 0)
                list[n++] = {DRAW_PARTICLE, point_depth(t), k, system};
        }
    }
    scene->draw_count = n;
    sort_draw_list(scene);
}

void sort_draw_list(Scene* scene)
{
    DrawItem* list = scene->draw_list.data();
    DrawItem* scratch = scene->draw_scratch.data();
    int32_t count = scene->draw_count;
    radix_pass(0, count, list, scratch);
    radix_pass(8, count, scratch, list);
    radix_pass(16, count, list, scratch);
    radix_pass(24, count, scratch, list);
}

void radix_pass(int32_t shift, int32_t count, const DrawItem* source, DrawItem* destination)
{
    int32_t next[256] = {};
    for (int32_t i = 0; i < count; ++i)
        ++next[(source[i].depth >> shift) & 255];
    int32_t position = 0;
    for (int32_t& bucket : next) {
        int32_t items = bucket;
        bucket = position;
        position += items;
    }
    for (int32_t i = 0; i < count; ++i)
        destination[next[(source[i].depth >> shift) & 255]++] = source[i];
}

// ---- the frame ----

void render_scene(Scene* scene, uint32_t* frame)
{
    if (!engine_tables_ready)
        engine_tables_init();
    projection_scale_x = static_cast<float>(frame_width * 0.8);
    projection_scale_y = frame_height * 1.0666667f;  // nearest float to 16/15
    sprite_scale_x = static_cast<float>(frame_width * 0.003125);
    sprite_scale_y = static_cast<float>(frame_height * 0.004166667f);

    const Camera* camera = scene->camera;
    int32_t objects = std::min<int32_t>(scene->object_count, static_cast<int32_t>(scene->objects.size()));
    for (int32_t i = 0; i < objects; ++i) {
        Object3D* o = scene->objects[i];
        if (o && object_arrays_fit(o))
            object_update(o, camera);
    }
    int32_t lights = std::min<int32_t>(scene->light_count, static_cast<int32_t>(scene->lights.size()));
    for (int32_t i = 0; i < lights; ++i)
        if (scene->lights[i])
            light_update(scene->lights[i], camera);
    int32_t systems = std::min<int32_t>(scene->particle_system_count,
                                        static_cast<int32_t>(scene->particle_systems.size()));
    for (int32_t i = 0; i < systems; ++i) {
        ParticleSystem* system = scene->particle_systems[i];
        if (system && particle_system_usable(system)) {
            particle_system_update(system);
            particle_system_project(system, camera);
        }
    }
    build_draw_list(scene);

    for (int32_t i = 0; i < scene->draw_count; ++i) {
        const DrawItem& item = scene->draw_list[i];
        switch (item.kind) {
        case DRAW_LIGHT:
            draw_light_flare(static_cast<const Light*>(item.item), frame);
            break;
        case DRAW_PARTICLE:
            draw_particle(static_cast<const ParticleSystem*>(item.item), item.index, frame);
            break;
        case DRAW_EMITTER:
            draw_emitter_flare(static_cast<const ParticleSystem*>(item.item), frame);
            break;
        default:
            draw_face(item, frame);
        }
    }
}
