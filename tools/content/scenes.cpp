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
// Mapped flat from the front, so the chequers run straight across it.
ThreedsMesh star_mesh()
{
    ThreedsMesh m;
    m.name = "star";
    const float extent = 92.0f;  // half the mapped square
    auto map_u = [&](float x) { return (x / extent + 1.0f) * 0.5f * map_max; };
    auto map_v = [&](float z) { return (1.0f - z / extent) * 0.5f * map_max; };
    uint16_t front = add_vertex(m, {0, -34, 0}, map_u(0), map_v(0));
    uint16_t back = add_vertex(m, {0, 34, 0}, map_u(0), map_v(0));
    uint16_t first = (uint16_t)m.vertices.size();
    for (int i = 0; i < 10; ++i) {
        float a = pi * 0.5f + i * pi / 5.0f;
        float r = i % 2 ? 36.0f : 84.0f;
        float x = r * std::cos(a), z = r * std::sin(a);
        add_vertex(m, {x, 0, z}, map_u(x), map_v(z));
    }
    for (int i = 0; i < 10; ++i) {
        uint16_t p = (uint16_t)(first + i), q = (uint16_t)(first + (i + 1) % 10);
        ThreedsVector mid = {(m.vertices[p].x + m.vertices[q].x) * 0.5f, 0, (m.vertices[p].z + m.vertices[q].z) * 0.5f};
        add_face(m, front, p, q, {mid.x, -40.0f, mid.z});
        add_face(m, back, q, p, {mid.x, 40.0f, mid.z});
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

// The surround: a gold ring (torus, radius 136, tube 11) around the star in its
// plane, and a dome (sphere of radius 900, seen from inside) filling the background.
// The ring's tube is mapped across the texture's gold line at row 16, the line's
// centre where the tube faces the camera (-y), so the ring shines like a lit tube.
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
    const int lon_steps = 24, lat_steps = 12;
    auto dome_point = [](int i, int j) {
        float lon = 2.0f * pi * i / lon_steps, lat = pi * (j / (float)lat_steps - 0.5f);
        return ThreedsVector{900.0f * std::cos(lat) * std::cos(lon), 900.0f * std::cos(lat) * std::sin(lon),
                             900.0f * std::sin(lat)};
    };
    for (int i = 0; i < lon_steps; ++i)
        for (int j = 0; j < lat_steps; ++j) {
            ThreedsVector p00 = dome_point(i, j), p10 = dome_point(i + 1, j);
            ThreedsVector p11 = dome_point(i + 1, j + 1), p01 = dome_point(i, j + 1);
            ThreedsVector mid = {(p00.x + p11.x) * 0.5f, (p00.y + p11.y) * 0.5f, (p00.z + p11.z) * 0.5f};
            // Each quad takes a quarter of the texture's width and the calm rows
            // 20..44 between two gold lines: quiet violet bands with a cyan sheen.
            float u0 = (i % 4) / 4.0f * map_max, u1 = (i % 4 + 1) / 4.0f * map_max;
            float v0 = 20.0f / 255.0f, v1 = 44.0f / 255.0f;
            ThreedsVector p[4] = {p00, p10, p11, p01};
            float uv[4][2] = {{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}};
            add_quad(m, p, uv, {-mid.x, -mid.y, -mid.z});
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

// The frame: a raised, bevelled border 18 units wide around the screen.
ThreedsMesh frame_mesh()
{
    ThreedsMesh m;
    m.name = "frame";
    const float w = feedback_plane_half_width, d = feedback_plane_half_depth, border = 18.0f;
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
