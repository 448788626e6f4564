// The 3DS scene reader and its keyframer handlers: see loader.h.
//
// A 3DS file is a tree of chunks (u16 id, u32 length counting the 6-byte
// header, own data and children). parse_chunks walks one level and dispatches
// on the id alone, at any depth, and always leaves a chunk at its recorded
// end. Damaged files are handled without reading outside the file: a chunk
// too short for its header ends its level, a chunk running past its parent's
// end is cut there, and reads past the end of the file give zeros.
#include "engine3d/loader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine3d/create.h"
#include "engine3d/render_kind.h"
#include "engine3d/threeds_chunks.h"
#include "engine3d/transform.h"
#include "resources/file.h"
#include "core/fatal.h"

MaterialTable material_table;
LoaderReport loader_report;

namespace {

constexpr int NAME_BUFFER = 80;        // bytes of the name buffer, terminator included
constexpr int STORED_NAME = 30;        // bytes of a name kept in a record
constexpr double DEGREES = 57.295776f; // radians to degrees, the single-precision constant

// State of the one load in progress.
struct Loader {
    Scene* scene;
    FileHandle file;
    const char* file_name;
    uint32_t size;               // file size in bytes
    char name[NAME_BUFFER];      // the name read last (object, material or node)
    Object3D* mesh;              // object whose triangle mesh is being read, or null
    int32_t mesh_index;          // its index among this file's objects
    Object3D* object;            // current keyframer object, camera and light
    Camera* camera;
    Light* light;
    bool object_node, camera_node, target_node, light_node;  // inside a node of that kind
    int32_t first_object;        // index of this file's first object in the scene
};

Loader loader;

// ---- readers: little-endian values at the current position; zeros past the end ----

uint16_t read_word()
{
    uint8_t b[2] = {0, 0};
    file_read(loader.file, b, 2);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

int32_t read_dword()
{
    uint8_t b[4] = {0, 0, 0, 0};
    file_read(loader.file, b, 4);
    return static_cast<int32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24);
}

float read_float()
{
    int32_t bits = read_dword();
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

Vector3 read_vector()
{
    Vector3 v;
    v.x = read_float();
    v.y = read_float();
    v.z = read_float();
    return v;
}

// Reads a name up to a zero byte or 0xFF (also the end of the file) into the
// name buffer; the terminator is consumed, bytes past the buffer are dropped.
void read_name()
{
    std::memset(loader.name, 0, sizeof loader.name);
    int length = 0;
    for (;;) {
        uint8_t c = file_getc(loader.file);
        if (c == 0 || c == 0xFF)
            break;
        if (length < NAME_BUFFER - 1)
            loader.name[length++] = static_cast<char>(c);
    }
}

// Copies the first 30 bytes of the name buffer into a record's name.
void store_name(char* destination)
{
    std::memcpy(destination, loader.name, STORED_NAME);
    destination[STORED_NAME] = 0;
}

// True when the stored name equals the name buffer over the 30 bytes a
// record keeps, ignoring ASCII letter case.
bool name_matches(const char* stored)
{
    for (int i = 0; i < STORED_NAME; ++i) {
        char a = stored[i], b = loader.name[i];
        if (a >= 'a' && a <= 'z')
            a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z')
            b = static_cast<char>(b - 'a' + 'A');
        if (a != b)
            return false;
        if (a == 0)
            return true;
    }
    return true;
}

void parse_chunks(uint32_t end);

// ---- editor chunks ----

// 0x4110: the vertex list; sizes every per-vertex array of the mesh.
void read_vertices()
{
    Object3D* o = loader.mesh;
    int32_t count = read_word();
    o->vertex_count = count;
    o->vertices.assign(count, Vector3{0, 0, 0});
    o->vertex_normals.assign(count, Vector3{0, 0, 0});
    o->view_normals.assign(count, Vector3{0, 0, 0});
    o->view_vertices.assign(count, Vector3{0, 0, 0});
    o->screen.assign(count, Point2{0, 0});
    if (static_cast<int32_t>(o->mapping.size()) < count)
        o->mapping.resize(count, Point2{0, 0});  // keeps a mapping list read before the vertices
    for (int32_t i = 0; i < count; ++i)
        o->vertices[i] = read_vector();  // y and z are exchanged by read_mesh
}

// 0x4120: the face list; its children (material groups, smoothing) are walked.
void read_faces(uint32_t end)
{
    Object3D* o = loader.mesh;
    int32_t count = read_word();
    o->face_count = count;
    o->faces.assign(count, Face{});
    o->face_normals.assign(count, Vector3{0, 0, 0});
    for (Face& f : o->faces) {
        f.a = read_word();
        f.b = read_word();
        f.c = read_word();
        read_word();  // edge visibility flags
    }
    parse_chunks(end);
}

// 0x4140: texture coordinates, one pair per vertex. A list longer than the
// vertex list is cut to it at the end of the mesh.
void read_mapping()
{
    Object3D* o = loader.mesh;
    loader_report.has_mapping[loader.mesh_index] = 1;
    int32_t count = read_word();
    if (static_cast<int32_t>(o->mapping.size()) < count)
        o->mapping.resize(count, Point2{0, 0});
    for (int32_t i = 0; i < count; ++i) {
        float u = read_float();
        float v = read_float();
        o->mapping[i] = Point2{loader_mapping_coordinate(u), loader_mapping_coordinate(v)};
    }
}

// 0x4160: the local axes (X, Y, Z rows) and origin, as stored in the file.
void read_local_axes()
{
    Object3D* o = loader.mesh;
    loader_report.has_axes[loader.mesh_index] = 1;
    for (float& element : o->local_axes.m)
        element = read_float();
    o->origin = read_vector();
}

// Brings a finished mesh into engine space and its local frame.
void finish_mesh(Object3D* o)
{
    o->mapping.resize(o->vertex_count, Point2{0, 0});
    for (int32_t i = 0; i < o->face_count; ++i) {
        const Face& f = o->faces[i];
        int32_t worst = std::max(f.a, std::max(f.b, f.c));
        if (worst >= o->vertex_count)
            report_error("3DS file %s: face %d of object \"%s\" uses vertex %d, but the object has %d vertices\n",
                         loader.file_name, i, o->name, worst, o->vertex_count);
    }
    const float* m = o->local_axes.m;
    float x1 = m[0], x2 = m[1], x3 = m[2];
    float y1 = m[3], y2 = m[4], y3 = m[5];
    float z1 = m[6], z2 = m[7], z3 = m[8];
    Vector3 origin = o->origin;
    for (Vector3& p : o->vertices) {
        float d1 = p.x - origin.x, d2 = p.y - origin.y, d3 = p.z - origin.z;
        p.x = x1 * d1 + y1 * d2 + z1 * d3;
        p.y = x3 * d1 + y3 * d2 + z3 * d3;
        p.z = x2 * d1 + y2 * d2 + z2 * d3;
    }
    o->local_axes = Matrix3{{x1, x3, x2, z1, z3, z2, y1, y3, y2}};
    o->origin = Vector3{origin.x, origin.z, origin.y};
    o->render_kind = RENDER_FACE_FRONT;
    object_set_angles(o, 0, 0, 0);
    for (Face& f : o->faces) {
        f.ua = o->mapping[f.a].x;
        f.va = o->mapping[f.a].y;
        f.ub = o->mapping[f.b].x;
        f.vb = o->mapping[f.b].y;
        f.uc = o->mapping[f.c].x;
        f.vc = o->mapping[f.c].y;
    }
}

// 0x4100: a triangle mesh, named by the enclosing object chunk; appended to
// the scene's objects.
void read_mesh(uint32_t end)
{
    Scene* scene = loader.scene;
    Object3D* o = new Object3D();
    store_name(o->name);
    int32_t index = scene->object_count;
    if (static_cast<int32_t>(scene->objects.size()) <= index)
        scene->objects.resize(index + 1, nullptr);
    scene->objects[index] = o;
    scene->object_count = index + 1;
    loader_report.has_mapping.push_back(0);
    loader_report.has_axes.push_back(0);

    Object3D* outer = loader.mesh;  // a mesh nested in a mesh (damaged file) gets its own object
    int32_t outer_index = loader.mesh_index;
    loader.mesh = o;
    loader.mesh_index = index - loader.first_object;
    parse_chunks(end);
    loader.mesh = outer;
    loader.mesh_index = outer_index;
    finish_mesh(o);
}

// 0x4700: the scene's one camera, y and z exchanged; the last one read stays.
void read_camera()
{
    Camera* camera = loader.scene->camera;
    store_name(camera->name);
    Vector3 position = read_vector();
    camera_set_position(camera, position.x, position.z, position.y);
    Vector3 target = read_vector();
    camera_set_target(camera, target.x, target.z, target.y);
    camera_set_roll(camera, read_float());
    camera->lens = read_float();
}

// 0xA000: a material name, counted once across all loads whatever its case.
void read_material_name()
{
    read_name();
    for (int32_t i = 0; i < material_table.count; ++i)
        if (name_matches(material_table.names[i].text))
            return;
    MaterialName entry;
    store_name(entry.text);
    material_table.names.push_back(entry);
    material_table.count += 1;
}

// ---- keyframer chunks ----

enum class NodeKind { object, camera, target, light };

// 0xB002..0xB005: a node; its flag is set only while its children are walked.
// The node header chooses the current record; a node without one has none.
void read_node(NodeKind kind, uint32_t end)
{
    bool* flag = kind == NodeKind::object   ? &loader.object_node
                 : kind == NodeKind::camera ? &loader.camera_node
                 : kind == NodeKind::target ? &loader.target_node
                                            : &loader.light_node;
    loader.object = nullptr;
    loader.camera = nullptr;
    loader.light = nullptr;
    *flag = true;
    parse_chunks(end);
    *flag = false;
}

// 0xB008: the animation segment.
void read_segment()
{
    Scene* scene = loader.scene;
    scene->first_frame = read_dword();
    scene->last_frame = read_dword();
    loader_report.has_segment = true;
    scene->frame_count = static_cast<int32_t>(static_cast<uint32_t>(scene->last_frame) -
                                              static_cast<uint32_t>(scene->first_frame));
}

// 0xB010: the node header; finds the record the node animates by name.
void find_node()
{
    read_name();
    Scene* scene = loader.scene;
    if (loader.object_node) {
        // Only this file's objects: keyframer data refers to its own meshes.
        for (int32_t i = loader.first_object; i < scene->object_count; ++i)
            if (name_matches(scene->objects[i]->name)) {
                loader.object = scene->objects[i];
                loader_report.node_count += 1;
                return;
            }
    }
    if (loader.light_node) {
        for (int32_t i = 0; i < scene->light_count; ++i)
            if (name_matches(scene->lights[i]->name)) {
                loader.light = scene->lights[i];
                loader_report.node_count += 1;
                return;
            }
    }
    if ((loader.camera_node || loader.target_node) && name_matches(scene->camera->name)) {
        loader.camera = scene->camera;
        loader_report.node_count += 1;
        return;
    }
    report_error("invalid 3ds file : keyframer data for non existing object found!\n");
}

// Reads the spline parameters selected by flags: bits 0, 1, 2 give tension,
// continuity and bias; the floats of the other bits are read and dropped.
void read_key_flags(uint16_t flags, Key* key)
{
    key->tension = 0;
    key->continuity = 0;
    key->bias = 0;
    for (int bit = 0; bit < 16; ++bit) {
        if (!(flags & (1u << bit)))
            continue;
        float value = read_float();
        if (bit == 0)
            key->tension = value;
        else if (bit == 1)
            key->continuity = value;
        else if (bit == 2)
            key->bias = value;
    }
}

// The track that a track chunk of this id fills, chosen by the node flags;
// fatal where the track cannot stand.
KeyTrack* track_destination(uint16_t id)
{
    KeyTrack* track = nullptr;
    if (id == THREEDS_POSITION_TRACK) {
        if (loader.object_node)
            track = loader.object ? &loader.object->position_track : nullptr;
        else if (loader.camera_node)
            track = loader.camera ? &loader.camera->position_track : nullptr;
        else if (loader.target_node)
            track = loader.camera ? &loader.camera->target_track : nullptr;
        else if (loader.light_node)
            track = loader.light ? &loader.light->position_track : nullptr;
    } else if (id == THREEDS_ROTATION_TRACK) {
        if (loader.object_node && loader.object)
            track = &loader.object->rotation_track;
    } else if (loader.camera_node && loader.camera) {
        track = &loader.camera->roll_track;
    }
    if (!track)
        report_error("error in keyframer data!\n");
    return track;
}

// 0xB020, 0xB021, 0xB024: a position, rotation or roll track.
void read_track(uint16_t id, uint32_t end)
{
    KeyTrack* track = track_destination(id);
    for (int i = 0; i < 5; ++i)
        read_word();  // track flags and reserved bytes
    uint32_t count = read_word();
    count |= static_cast<uint32_t>(read_word()) << 16;
    // Every key takes at least its frame, flags and values; a count that
    // cannot fit in the chunk is damage, not a request for memory.
    uint32_t value_bytes = id == THREEDS_POSITION_TRACK ? 12 : id == THREEDS_ROTATION_TRACK ? 16 : 4;
    uint32_t position = file_tell(loader.file);
    uint32_t room = end > position ? end - position : 0;
    if (count > room / (6 + value_bytes))
        report_error("3DS file %s: a keyframer track claims %u keys, more than its chunk holds\n",
                     loader.file_name, count);
    track->key_count = static_cast<int32_t>(count);
    track->keys.assign(count, Key{});
    for (Key& key : track->keys) {
        key.frame = read_word();
        read_word();  // upper half of the frame number
        read_key_flags(read_word(), &key);
        if (id == THREEDS_POSITION_TRACK) {
            Vector3 p = read_vector();
            key.value = Vector3{p.x, p.z, p.y};
        } else if (id == THREEDS_ROTATION_TRACK) {
            float angle = read_float();
            Vector3 axis = read_vector();
            double s = std::sin(angle * 0.5);
            key.value = Vector3{static_cast<float>(axis.x * s * DEGREES),
                                static_cast<float>(axis.z * s * DEGREES),
                                static_cast<float>(axis.y * s * DEGREES)};
        } else {
            float roll = read_float();
            key.value = Vector3{roll, roll, roll};
        }
    }
}

// ---- the walker ----

// Walks sibling chunks from the current position up to end (never beyond
// the file), dispatching each on its id and leaving it at its recorded end.
void parse_chunks(uint32_t end)
{
    if (end > loader.size)
        end = loader.size;
    for (;;) {
        uint32_t start = file_tell(loader.file);
        if (start >= end || end - start < 6)
            return;  // done, or no room for another header
        uint16_t id = read_word();
        uint32_t length = static_cast<uint32_t>(read_dword());
        if (length < 6)
            return;  // a length that would not advance: the rest of this level is damage
        uint32_t next = length > end - start ? end : start + length;  // cut at the parent's end
        bool in_mesh = loader.mesh != nullptr;
        switch (id) {
        case THREEDS_EDITOR:
        case THREEDS_MATERIAL:
        case THREEDS_KEYFRAMER: parse_chunks(next); break;
        case THREEDS_OBJECT: read_name(); parse_chunks(next); break;
        case THREEDS_TRIANGLES: read_mesh(next); break;
        // Mesh data outside a triangle mesh has no object to go to: skipped.
        case THREEDS_VERTICES: if (in_mesh) read_vertices(); break;
        case THREEDS_FACES: if (in_mesh) read_faces(next); break;
        case THREEDS_MAPPING: if (in_mesh) read_mapping(); break;
        case THREEDS_LOCAL_AXES: if (in_mesh) read_local_axes(); break;
        case THREEDS_CAMERA: read_camera(); break;
        case THREEDS_MATERIAL_NAME: read_material_name(); break;
        case THREEDS_OBJECT_NODE: read_node(NodeKind::object, next); break;
        case THREEDS_CAMERA_NODE: read_node(NodeKind::camera, next); break;
        case THREEDS_TARGET_NODE: read_node(NodeKind::target, next); break;
        case THREEDS_LIGHT_NODE: read_node(NodeKind::light, next); break;
        case THREEDS_SEGMENT: read_segment(); break;
        case THREEDS_NODE_HEADER: find_node(); break;
        case THREEDS_POSITION_TRACK:
        case THREEDS_ROTATION_TRACK:
        case THREEDS_ROLL_TRACK: read_track(id, next); break;
        default: break;
        }
        file_seek(loader.file, static_cast<int32_t>(next), 0);
    }
}

}  // namespace

int32_t loader_mapping_coordinate(float u)
{
    float wrapped = std::fmod(std::trunc(u * 255), 255.0f);  // exact for whole numbers
    return std::isfinite(wrapped) ? static_cast<int32_t>(wrapped) : 0;
}

void load_3ds(const char* name, Scene* scene)
{
    if (loader.file.is_open)
        file_close(loader.file);  // left open by a load that stopped (inspection goes on after one)
    loader = Loader{};
    loader_report = LoaderReport{};
    loader.scene = scene;
    loader.file_name = name;
    loader.first_object = scene->object_count;
    loader.file = file_open(name);
    file_seek(loader.file, 0, 2);
    loader.size = file_tell(loader.file);
    file_seek(loader.file, 0, 0);
    if (read_word() != THREEDS_MAIN)
        report_error(" trying to load an invalid 3DS file!\n");
    read_dword();  // the main chunk's length is not used: its children run to the end of the file
    parse_chunks(loader.size);

    // Room for every item a frame can list: the faces of every object
    // (earlier loads and created meshes included), lights and particles.
    scene_fit_draw_lists(scene);
    file_close(loader.file);

    if (material_table.count == 0) {
        std::fputs(" - 3DS WARNING : No materials assigned to objects!\n", stdout);
        std::fflush(stdout);
    }
}
