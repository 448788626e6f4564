// Geometry of the two scenes, in the file's coordinates (z up). Every face is
// wound counter-clockwise seen from the side meant to be seen (its right-hand
// normal points at the viewer), which is the side the engine's render kind 1 keeps.
#include "scenes.h"

#include <cmath>
#include <string>

namespace {

constexpr float pi = 3.14159265358979323846f;
// Largest texture coordinate that still reads as the last texel (1.0 would wrap to 0).
constexpr float map_max = 254.5f / 255.0f;

ThreedsVector sub(ThreedsVector a, ThreedsVector b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
ThreedsVector cross(ThreedsVector a, ThreedsVector b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float dot(ThreedsVector a, ThreedsVector b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Appends face (a, b, c), turned if needed so that its normal points along `out`.
void add_face(ThreedsMesh& m, uint16_t a, uint16_t b, uint16_t c, ThreedsVector out)
{
    ThreedsVector n = cross(sub(m.vertices[b], m.vertices[a]), sub(m.vertices[c], m.vertices[a]));
    if (dot(n, out) < 0)
        std::swap(b, c);
    m.faces.push_back({a, b, c});
}

uint16_t add_vertex(ThreedsMesh& m, ThreedsVector p, float u, float v)
{
    m.vertices.push_back(p);
    m.mapping.push_back({u, v});
    return (uint16_t)(m.vertices.size() - 1);
}

// Gives every face of the mesh one material and one smoothing group.
void finish_mesh(ThreedsMesh& m, const char* material)
{
    ThreedsFaceGroup group{material, {}};
    for (size_t i = 0; i < m.faces.size(); ++i)
        group.faces.push_back((uint16_t)i);
    m.face_groups.push_back(group);
    m.smoothing.assign(m.faces.size(), 1);
}

ThreedsMaterial material(const char* name, const char* texture, uint8_t r, uint8_t g, uint8_t b)
{
    ThreedsMaterial mat;
    mat.name = name;
    mat.texture = texture;
    mat.diffuse[0] = r;
    mat.diffuse[1] = g;
    mat.diffuse[2] = b;
    return mat;
}

// A keyframer node with one position key (and, for objects, a rest rotation key).
ThreedsNode node(uint16_t kind, uint16_t id, const std::string& name, ThreedsVector position)
{
    ThreedsNode n;
    n.kind = kind;
    n.id = id;
    n.name = name;
    ThreedsTrack pos;
    pos.id = THREEDS_POSITION_TRACK;
    ThreedsKey key;
    key.values[0] = position.x;
    key.values[1] = position.y;
    key.values[2] = position.z;
    pos.keys.push_back(key);
    n.tracks.push_back(pos);
    if (kind == THREEDS_OBJECT_NODE) {
        ThreedsTrack rot;
        rot.id = THREEDS_ROTATION_TRACK;
        ThreedsKey rest;
        rest.values[3] = 1.0f;  // angle 0 about z
        rot.keys.push_back(rest);
        n.tracks.push_back(rot);
    }
    if (kind == THREEDS_CAMERA_NODE) {
        ThreedsTrack roll;
        roll.id = THREEDS_ROLL_TRACK;
        roll.keys.push_back(ThreedsKey{});
        n.tracks.push_back(roll);
    }
    return n;
}

// Star: ten outline points in the x-z plane (five points of radius 84 with notches
// of radius 36 between them), a front apex towards -y and a back apex towards +y.
// Every face has corners of its own, mapped flat from the front into one of the
// four quarters of its texture, which hold the same chequers in four strengths
// of light: each facet takes the quarter its slope to a light from the upper
// left calls for, so the ridges from the apex to the points read as bevels.
ThreedsMesh star_mesh()
{
    ThreedsMesh m;
    m.name = "star";
    const float extent = 92.0f;  // half the mapped square
    const ThreedsVector light = {-0.45f, -0.62f, 0.64f};
    const ThreedsVector front = {0, -34, 0}, back = {0, 34, 0};
    ThreedsVector outline[10];
    for (int i = 0; i < 10; ++i) {
        float a = pi * 0.5f + i * pi / 5.0f;
        float r = i % 2 ? 36.0f : 84.0f;
        outline[i] = {r * std::cos(a), 0, r * std::sin(a)};
    }
    auto facet = [&](ThreedsVector apex, ThreedsVector p, ThreedsVector q, ThreedsVector out) {
        ThreedsVector n = cross(sub(p, apex), sub(q, apex));
        if (dot(n, out) < 0)
            std::swap(p, q), n = cross(sub(p, apex), sub(q, apex));
        float len = std::sqrt(dot(n, n));
        float lit = dot(n, light) / len;  // -1 .. 1
        int quarter = lit > 0.55f ? 0 : lit > 0.25f ? 1 : lit > -0.05f ? 2 : 3;
        float u0 = (quarter % 2) * 128.0f / 255.0f, v0 = (quarter / 2) * 128.0f / 255.0f;
        auto corner = [&](ThreedsVector c) {
            return add_vertex(m, c, u0 + (c.x / extent + 1.0f) * 0.5f * (126.5f / 255.0f),
                              v0 + (1.0f - c.z / extent) * 0.5f * (126.5f / 255.0f));
        };
        uint16_t ia = corner(apex), ip = corner(p), iq = corner(q);
        m.faces.push_back({ia, ip, iq});
    };
    for (int i = 0; i < 10; ++i) {
        ThreedsVector p = outline[i], q = outline[(i + 1) % 10];
        ThreedsVector mid = {(p.x + q.x) * 0.5f, 0, (p.z + q.z) * 0.5f};
        facet(front, p, q, {mid.x, -40.0f, mid.z});
        facet(back, q, p, {mid.x, 40.0f, mid.z});
    }
    finish_mesh(m, "star gold");
    return m;
}

// A quad with its own four corners and texture coordinates.
void add_quad(ThreedsMesh& m, const ThreedsVector p[4], const float uv[4][2], ThreedsVector out)
{
    uint16_t i[4];
    for (int k = 0; k < 4; ++k)
        i[k] = add_vertex(m, p[k], uv[k][0], uv[k][1]);
    add_face(m, i[0], i[1], i[2], out);
    add_face(m, i[0], i[2], i[3], out);
}

// The surround carries the star: a gold ring (torus, radius 136, tube 11) around
// it in its plane, and behind it, 70 units back, a broad turntable platter
// (radii 6 to 880 about the same axis) that fills the background with calm
// violet bands; the star hides the platter's centre from every camera
// position. The ring's tube is mapped across the texture's gold line at row
// 16, the line's centre where the tube faces the camera (-y), so it shines
// like a lit tube. Every vertex lies between radii 6 and 880 of the star's
// front-to-back axis.
ThreedsMesh surround_mesh()
{
    ThreedsMesh m;
    m.name = "surround";
    const int ring_steps = 40, tube_steps = 8;
    const float ring_radius = 136.0f, tube = 11.0f;
    auto ring_point = [&](int i, int k) {
        float a = 2.0f * pi * i / ring_steps, b = 2.0f * pi * k / tube_steps;
        float r = ring_radius + tube * std::cos(b);
        return ThreedsVector{r * std::cos(a), tube * std::sin(b), r * std::sin(a)};
    };
    auto ring_v = [&](int k) { return (16.0f + 5.0f * std::sin(2.0f * pi * k / tube_steps - 1.5f * pi)) / 255.0f; };
    for (int i = 0; i < ring_steps; ++i)
        for (int k = 0; k < tube_steps; ++k) {
            ThreedsVector p[4] = {ring_point(i, k), ring_point(i + 1, k), ring_point(i + 1, k + 1), ring_point(i, k + 1)};
            float u0 = (i % 4) / 4.0f * map_max, u1 = (i % 4 + 1) / 4.0f * map_max;
            float uv[4][2] = {{u0, ring_v(k)}, {u1, ring_v(k)}, {u1, ring_v(k + 1)}, {u0, ring_v(k + 1)}};
            float a = 2.0f * pi * (i + 0.5f) / ring_steps;
            ThreedsVector centre = {ring_radius * std::cos(a), 0, ring_radius * std::sin(a)};
            ThreedsVector mid = {(p[0].x + p[2].x) * 0.5f, (p[0].y + p[2].y) * 0.5f, (p[0].z + p[2].z) * 0.5f};
            add_quad(m, p, uv, sub(mid, centre));
        }
    // The platter: rings of quads facing the camera, each quad a quarter of the
    // texture's width; the bands between the gold lines (rows 20..44) run
    // across every ring, so the platter shows concentric grooves.
    const int sectors = 40;
    const float radii[] = {6, 30, 70, 120, 180, 250, 330, 430, 560, 720, 880};
    const float depth = 70.0f;
    for (size_t j = 0; j + 1 < sizeof radii / sizeof radii[0]; ++j)
        for (int i = 0; i < sectors; ++i) {
            float a0 = 2.0f * pi * i / sectors, a1 = 2.0f * pi * (i + 1) / sectors;
            float r0 = radii[j], r1 = radii[j + 1];
            ThreedsVector p[4] = {{r0 * std::cos(a0), depth, r0 * std::sin(a0)}, {r1 * std::cos(a0), depth, r1 * std::sin(a0)},
                                  {r1 * std::cos(a1), depth, r1 * std::sin(a1)}, {r0 * std::cos(a1), depth, r0 * std::sin(a1)}};
            float u0 = (i % 4) / 4.0f * map_max, u1 = (i % 4 + 1) / 4.0f * map_max;
            float v0 = 20.0f / 255.0f, v1 = 44.0f / 255.0f;
            float uv[4][2] = {{u0, v0}, {u0, v1}, {u1, v1}, {u1, v0}};
            add_quad(m, p, uv, {0, -1, 0});
        }
    finish_mesh(m, "surround violet");
    return m;
}

// The screen: a flat grid facing up (+z), mapped over the whole texture with the
// texture's first row at -y, so the copied frame stands upright seen from above.
ThreedsMesh screen_mesh()
{
    ThreedsMesh m;
    m.name = "screen";
    const int nx = 8, ny = 6;
    const float w = feedback_plane_half_width, d = feedback_plane_half_depth;
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i)
            add_vertex(m, {-w + 2.0f * w * i / nx, -d + 2.0f * d * j / ny, 0}, (float)i / nx * map_max,
                       (float)j / ny * map_max);
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            uint16_t a = (uint16_t)(j * (nx + 1) + i), b = (uint16_t)(a + 1);
            uint16_t c = (uint16_t)(b + nx + 1), e = (uint16_t)(a + nx + 1);
            add_face(m, a, b, c, {0, 0, 1});
            add_face(m, a, c, e, {0, 0, 1});
        }
    finish_mesh(m, "screen");
    return m;
}

// The frame: a raised, bevelled border around the screen.
ThreedsMesh frame_mesh()
{
    ThreedsMesh m;
    m.name = "frame";
    const float w = feedback_plane_half_width, d = feedback_plane_half_depth, border = feedback_frame_border;
    // Three rings of corners: inner edge (low), the top of the bevel (raised), the outer edge (low).
    const float insets[3] = {0.0f, border * 0.4f, border};
    const float heights[3] = {0.0f, 8.0f, 2.0f};
    auto corner = [&](int ring, int k) {
        const float sx[4] = {-1, 1, 1, -1}, sy[4] = {-1, -1, 1, 1};
        return ThreedsVector{sx[k] * (w + insets[ring]), sy[k] * (d + insets[ring]), heights[ring]};
    };
    auto map = [&](ThreedsVector p, float& u, float& v) {
        u = (p.x / (w + border) + 1.0f) * 0.5f * map_max;
        v = (p.y / (d + border) + 1.0f) * 0.5f * map_max;
    };
    for (int ring = 0; ring < 2; ++ring)
        for (int k = 0; k < 4; ++k) {
            ThreedsVector p[4] = {corner(ring, k), corner(ring, (k + 1) % 4), corner(ring + 1, (k + 1) % 4),
                                  corner(ring + 1, k)};
            uint16_t idx[4];
            for (int q = 0; q < 4; ++q) {
                float u, v;
                map(p[q], u, v);
                idx[q] = add_vertex(m, p[q], u, v);
            }
            add_face(m, idx[0], idx[1], idx[2], {0, 0, 1});
            add_face(m, idx[0], idx[2], idx[3], {0, 0, 1});
        }
    finish_mesh(m, "frame diamonds");
    return m;
}

// A scene of two meshes with the camera at position looking at the origin,
// and a keyframer whose nodes match the meshes and the camera.
ThreedsScene two_object_scene(std::vector<ThreedsMaterial> materials, ThreedsMesh first, ThreedsMesh second,
                              const char* first_node, const char* second_node, ThreedsVector position)
{
    ThreedsScene s;
    s.materials = std::move(materials);
    s.meshes = {std::move(first), std::move(second)};
    ThreedsCamera cam;
    cam.name = "camera";
    cam.position = position;
    cam.target = {0, 0, 0};
    cam.lens = 35;
    s.cameras = {cam};
    s.has_keyframer = true;
    s.first_frame = 0;
    s.last_frame = 100;
    s.nodes = {node(THREEDS_OBJECT_NODE, 0, first_node, {0, 0, 0}), node(THREEDS_OBJECT_NODE, 1, second_node, {0, 0, 0}),
               node(THREEDS_CAMERA_NODE, 2, "camera", cam.position), node(THREEDS_TARGET_NODE, 3, "camera", cam.target)};
    return s;
}

}  // namespace

ThreedsScene scene_pulse()
{
    return two_object_scene({material("star gold", "zwart.jpg", 255, 200, 70), material("surround violet", "mooier.jpg", 60, 20, 90)},
                            star_mesh(), surround_mesh(), "star", "surround", {0, -340, 95});
}

ThreedsScene scene_feedback()
{
    return two_object_scene({material("screen", "", 255, 255, 255), material("frame diamonds", "atg7.jpg", 200, 60, 170)},
                            screen_mesh(), frame_mesh(), "screen", "frame", {0, 0, feedback_camera_height});
}
