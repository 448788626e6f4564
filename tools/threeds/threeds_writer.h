// Writes scene files in the 3DS chunk format: meshes (vertices, faces with
// material groups and smoothing, mapping, local axes), cameras, lights,
// materials and the keyframer block with its nodes and tracks.
// The content generator builds the production's scenes with it; the loader's
// tests build their fixtures with it, well-formed or deliberately broken.
//
// Two layers: the chunk layer (threeds_begin/threeds_end and the value
// writers) puts any bytes anywhere; the record layer (ThreedsScene and the
// threeds_write_* functions) writes complete, well-formed chunks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine3d/threeds_chunks.h"

// ---- chunk layer ----

// A file under construction.
struct ThreedsWriter {
    std::vector<uint8_t> bytes;        // the file so far
    std::vector<size_t> open_chunks;   // start offsets of the chunks not yet ended
};

// Starts a chunk: writes its id and a length that threeds_end fills in.
void threeds_begin(ThreedsWriter& writer, uint16_t id);
// Ends the innermost open chunk: its length becomes everything written since
// its threeds_begin, header included.
void threeds_end(ThreedsWriter& writer);
// Writes a chunk header with an explicit length (for broken fixtures); the
// caller writes the data, nothing is patched.
void threeds_header(ThreedsWriter& writer, uint16_t id, uint32_t length);

// Little-endian values.
void threeds_byte(ThreedsWriter& writer, uint8_t value);
void threeds_word(ThreedsWriter& writer, uint16_t value);
void threeds_dword(ThreedsWriter& writer, uint32_t value);
void threeds_float(ThreedsWriter& writer, float value);
// The text followed by one zero byte.
void threeds_name(ThreedsWriter& writer, const std::string& text);

// ---- record layer ----

struct ThreedsVector {
    float x, y, z;
};

struct ThreedsMapping {
    float u, v;
};

struct ThreedsFace {
    uint16_t a, b, c;
    uint16_t flags = 7;  // bits 0..2: edges CA, BC, AB visible
};

// The faces of a mesh that use one material.
struct ThreedsFaceGroup {
    std::string material;
    std::vector<uint16_t> faces;
};

// A triangle mesh, written as a named object chunk. Empty lists are left out
// of the file, and so are the local axes unless has_axes is set.
struct ThreedsMesh {
    std::string name;
    std::vector<ThreedsVector> vertices;
    std::vector<ThreedsFace> faces;
    std::vector<ThreedsMapping> mapping;           // one per vertex
    std::vector<ThreedsFaceGroup> face_groups;     // material per face
    std::vector<uint32_t> smoothing;               // one group mask per face
    bool has_axes = true;
    ThreedsVector axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};  // X, Y and Z axis rows
    ThreedsVector origin = {0, 0, 0};
};

struct ThreedsCamera {
    std::string name;
    ThreedsVector position = {0, 0, 0};
    ThreedsVector target = {0, 0, 0};
    float roll = 0;   // degrees
    float lens = 35;  // millimetres
};

// An omni light, written as a named object chunk.
struct ThreedsLight {
    std::string name;
    ThreedsVector position = {0, 0, 0};
    uint8_t colour[3] = {255, 255, 255};
};

struct ThreedsMaterial {
    std::string name;
    uint8_t ambient[3] = {0, 0, 0};
    uint8_t diffuse[3] = {200, 200, 200};
    uint8_t specular[3] = {255, 255, 255};
    std::string texture;  // texture map file name; empty for none
};

// Spline flag bits of a key; one float follows for each bit set.
enum ThreedsSplineFlag : uint16_t {
    THREEDS_TENSION = 1,
    THREEDS_CONTINUITY = 2,
    THREEDS_BIAS = 4,
    THREEDS_EASE_TO = 8,
    THREEDS_EASE_FROM = 16,
};

struct ThreedsKey {
    uint32_t frame = 0;
    uint16_t flags = 0;       // ThreedsSplineFlag bits
    float spline[16] = {};    // the float of each flag bit, by bit number
    float values[4] = {};     // position/scale x y z; rotation angle (radians), axis x y z; roll, fov one value
};

struct ThreedsTrack {
    uint16_t id = THREEDS_POSITION_TRACK;  // a *_TRACK chunk id
    uint16_t flags = 0;                    // track flags (looping and so on)
    std::vector<ThreedsKey> keys;
};

// A keyframer node: named as the mesh, camera or light it animates (a target
// node carries its camera's name; a dummy object node is named "$$$DUMMY"
// and carries its own name as the instance name).
struct ThreedsNode {
    uint16_t kind = THREEDS_OBJECT_NODE;  // a *_NODE chunk id
    uint16_t id = 0;                      // node id, unique in the file
    std::string name;
    int16_t parent = -1;                  // parent node id, -1 for none
    std::string instance;                 // dummy's instance name; empty for none
    bool has_pivot = false;
    ThreedsVector pivot = {0, 0, 0};
    std::vector<ThreedsTrack> tracks;
};

// A whole file. Cameras and lights follow the meshes in the object list.
struct ThreedsScene {
    std::vector<ThreedsMaterial> materials;
    std::vector<ThreedsMesh> meshes;
    std::vector<ThreedsCamera> cameras;
    std::vector<ThreedsLight> lights;
    bool has_keyframer = false;
    uint32_t first_frame = 0;
    uint32_t last_frame = 100;
    std::vector<ThreedsNode> nodes;
};

// Chunk writers of the record layer, each one complete chunk (the mesh
// ones without their enclosing object chunk), for fixtures composed by hand.
void threeds_write_vertices(ThreedsWriter& writer, const std::vector<ThreedsVector>& vertices);
void threeds_write_faces(ThreedsWriter& writer, const ThreedsMesh& mesh);
void threeds_write_mapping(ThreedsWriter& writer, const std::vector<ThreedsMapping>& mapping);
void threeds_write_axes(ThreedsWriter& writer, const ThreedsVector axes[3], ThreedsVector origin);
void threeds_write_mesh(ThreedsWriter& writer, const ThreedsMesh& mesh);
void threeds_write_camera(ThreedsWriter& writer, const ThreedsCamera& camera);
void threeds_write_light(ThreedsWriter& writer, const ThreedsLight& light);
void threeds_write_material(ThreedsWriter& writer, const ThreedsMaterial& material);
void threeds_write_track(ThreedsWriter& writer, const ThreedsTrack& track);
void threeds_write_node(ThreedsWriter& writer, const ThreedsNode& node);
void threeds_write_keyframer(ThreedsWriter& writer, const ThreedsScene& scene);

// The whole file: main chunk, version, editor block (materials, objects),
// then the keyframer block when has_keyframer is set.
std::vector<uint8_t> threeds_write_scene(const ThreedsScene& scene);
// The same as a string of bytes, for code that keeps files in strings.
std::string threeds_scene_bytes(const ThreedsScene& scene);
// Writes bytes to path; false when the file cannot be written.
bool threeds_save(const std::string& path, const std::vector<uint8_t>& bytes);
