// 3DS chunk writer: see threeds_writer.h.
#include "threeds_writer.h"

#include <cstdio>
#include <cstring>

namespace {

void write_vector(ThreedsWriter& writer, ThreedsVector v)
{
    threeds_float(writer, v.x);
    threeds_float(writer, v.y);
    threeds_float(writer, v.z);
}

void write_colour(ThreedsWriter& writer, uint16_t id, const uint8_t rgb[3])
{
    threeds_begin(writer, id);
    threeds_begin(writer, THREEDS_COLOUR_24);
    for (int i = 0; i < 3; ++i)
        threeds_byte(writer, rgb[i]);
    threeds_end(writer);
    threeds_end(writer);
}

// Number of values a key carries in a track of the given id.
int track_value_count(uint16_t id)
{
    switch (id) {
    case THREEDS_ROTATION_TRACK: return 4;
    case THREEDS_POSITION_TRACK:
    case THREEDS_SCALE_TRACK: return 3;
    default: return 1;
    }
}

}  // namespace

void threeds_begin(ThreedsWriter& writer, uint16_t id)
{
    writer.open_chunks.push_back(writer.bytes.size());
    threeds_word(writer, id);
    threeds_dword(writer, 0);
}

void threeds_end(ThreedsWriter& writer)
{
    if (writer.open_chunks.empty())
        return;
    size_t start = writer.open_chunks.back();
    writer.open_chunks.pop_back();
    uint32_t length = static_cast<uint32_t>(writer.bytes.size() - start);
    for (int i = 0; i < 4; ++i)
        writer.bytes[start + 2 + i] = static_cast<uint8_t>(length >> (8 * i));
}

void threeds_header(ThreedsWriter& writer, uint16_t id, uint32_t length)
{
    threeds_word(writer, id);
    threeds_dword(writer, length);
}

void threeds_byte(ThreedsWriter& writer, uint8_t value) { writer.bytes.push_back(value); }

void threeds_word(ThreedsWriter& writer, uint16_t value)
{
    threeds_byte(writer, static_cast<uint8_t>(value));
    threeds_byte(writer, static_cast<uint8_t>(value >> 8));
}

void threeds_dword(ThreedsWriter& writer, uint32_t value)
{
    threeds_word(writer, static_cast<uint16_t>(value));
    threeds_word(writer, static_cast<uint16_t>(value >> 16));
}

void threeds_float(ThreedsWriter& writer, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    threeds_dword(writer, bits);
}

void threeds_name(ThreedsWriter& writer, const std::string& text)
{
    writer.bytes.insert(writer.bytes.end(), text.begin(), text.end());
    threeds_byte(writer, 0);
}

void threeds_write_vertices(ThreedsWriter& writer, const std::vector<ThreedsVector>& vertices)
{
    threeds_begin(writer, THREEDS_VERTICES);
    threeds_word(writer, static_cast<uint16_t>(vertices.size()));
    for (const ThreedsVector& v : vertices)
        write_vector(writer, v);
    threeds_end(writer);
}

void threeds_write_faces(ThreedsWriter& writer, const ThreedsMesh& mesh)
{
    threeds_begin(writer, THREEDS_FACES);
    threeds_word(writer, static_cast<uint16_t>(mesh.faces.size()));
    for (const ThreedsFace& f : mesh.faces) {
        threeds_word(writer, f.a);
        threeds_word(writer, f.b);
        threeds_word(writer, f.c);
        threeds_word(writer, f.flags);
    }
    for (const ThreedsFaceGroup& group : mesh.face_groups) {
        threeds_begin(writer, THREEDS_FACE_MATERIAL);
        threeds_name(writer, group.material);
        threeds_word(writer, static_cast<uint16_t>(group.faces.size()));
        for (uint16_t face : group.faces)
            threeds_word(writer, face);
        threeds_end(writer);
    }
    if (!mesh.smoothing.empty()) {
        threeds_begin(writer, THREEDS_SMOOTHING);
        for (uint32_t mask : mesh.smoothing)
            threeds_dword(writer, mask);
        threeds_end(writer);
    }
    threeds_end(writer);
}

void threeds_write_mapping(ThreedsWriter& writer, const std::vector<ThreedsMapping>& mapping)
{
    threeds_begin(writer, THREEDS_MAPPING);
    threeds_word(writer, static_cast<uint16_t>(mapping.size()));
    for (const ThreedsMapping& m : mapping) {
        threeds_float(writer, m.u);
        threeds_float(writer, m.v);
    }
    threeds_end(writer);
}

void threeds_write_axes(ThreedsWriter& writer, const ThreedsVector axes[3], ThreedsVector origin)
{
    threeds_begin(writer, THREEDS_LOCAL_AXES);
    for (int i = 0; i < 3; ++i)
        write_vector(writer, axes[i]);
    write_vector(writer, origin);
    threeds_end(writer);
}

void threeds_write_mesh(ThreedsWriter& writer, const ThreedsMesh& mesh)
{
    threeds_begin(writer, THREEDS_OBJECT);
    threeds_name(writer, mesh.name);
    threeds_begin(writer, THREEDS_TRIANGLES);
    if (!mesh.vertices.empty())
        threeds_write_vertices(writer, mesh.vertices);
    if (!mesh.mapping.empty())
        threeds_write_mapping(writer, mesh.mapping);
    if (mesh.has_axes)
        threeds_write_axes(writer, mesh.axes, mesh.origin);
    if (!mesh.faces.empty())
        threeds_write_faces(writer, mesh);
    threeds_end(writer);
    threeds_end(writer);
}

void threeds_write_camera(ThreedsWriter& writer, const ThreedsCamera& camera)
{
    threeds_begin(writer, THREEDS_OBJECT);
    threeds_name(writer, camera.name);
    threeds_begin(writer, THREEDS_CAMERA);
    write_vector(writer, camera.position);
    write_vector(writer, camera.target);
    threeds_float(writer, camera.roll);
    threeds_float(writer, camera.lens);
    threeds_end(writer);
    threeds_end(writer);
}

void threeds_write_light(ThreedsWriter& writer, const ThreedsLight& light)
{
    threeds_begin(writer, THREEDS_OBJECT);
    threeds_name(writer, light.name);
    threeds_begin(writer, THREEDS_LIGHT);
    write_vector(writer, light.position);
    threeds_begin(writer, THREEDS_COLOUR_24);
    for (int i = 0; i < 3; ++i)
        threeds_byte(writer, light.colour[i]);
    threeds_end(writer);
    threeds_end(writer);
    threeds_end(writer);
}

void threeds_write_material(ThreedsWriter& writer, const ThreedsMaterial& material)
{
    threeds_begin(writer, THREEDS_MATERIAL);
    threeds_begin(writer, THREEDS_MATERIAL_NAME);
    threeds_name(writer, material.name);
    threeds_end(writer);
    write_colour(writer, THREEDS_AMBIENT, material.ambient);
    write_colour(writer, THREEDS_DIFFUSE, material.diffuse);
    write_colour(writer, THREEDS_SPECULAR, material.specular);
    if (!material.texture.empty()) {
        threeds_begin(writer, THREEDS_TEXTURE_MAP);
        threeds_begin(writer, THREEDS_PERCENT);
        threeds_word(writer, 100);
        threeds_end(writer);
        threeds_begin(writer, THREEDS_MAP_FILE);
        threeds_name(writer, material.texture);
        threeds_end(writer);
        threeds_end(writer);
    }
    threeds_end(writer);
}

void threeds_write_track(ThreedsWriter& writer, const ThreedsTrack& track)
{
    threeds_begin(writer, track.id);
    threeds_word(writer, track.flags);
    threeds_dword(writer, 0);  // reserved
    threeds_dword(writer, 0);  // reserved
    threeds_dword(writer, static_cast<uint32_t>(track.keys.size()));
    int value_count = track_value_count(track.id);
    for (const ThreedsKey& key : track.keys) {
        threeds_dword(writer, key.frame);
        threeds_word(writer, key.flags);
        for (int bit = 0; bit < 16; ++bit)
            if (key.flags & (1u << bit))
                threeds_float(writer, key.spline[bit]);
        for (int i = 0; i < value_count; ++i)
            threeds_float(writer, key.values[i]);
    }
    threeds_end(writer);
}

void threeds_write_node(ThreedsWriter& writer, const ThreedsNode& node)
{
    threeds_begin(writer, node.kind);
    threeds_begin(writer, THREEDS_NODE_ID);
    threeds_word(writer, node.id);
    threeds_end(writer);
    threeds_begin(writer, THREEDS_NODE_HEADER);
    threeds_name(writer, node.name);
    threeds_word(writer, 0);  // flags 1
    threeds_word(writer, 0);  // flags 2
    threeds_word(writer, static_cast<uint16_t>(node.parent));
    threeds_end(writer);
    if (!node.instance.empty()) {
        threeds_begin(writer, THREEDS_INSTANCE_NAME);
        threeds_name(writer, node.instance);
        threeds_end(writer);
    }
    if (node.has_pivot) {
        threeds_begin(writer, THREEDS_PIVOT);
        write_vector(writer, node.pivot);
        threeds_end(writer);
    }
    for (const ThreedsTrack& track : node.tracks)
        threeds_write_track(writer, track);
    threeds_end(writer);
}

void threeds_write_keyframer(ThreedsWriter& writer, const ThreedsScene& scene)
{
    threeds_begin(writer, THREEDS_KEYFRAMER);
    threeds_begin(writer, THREEDS_KEYFRAMER_HEADER);
    threeds_word(writer, 5);  // revision
    threeds_name(writer, "SCENE");
    threeds_dword(writer, scene.last_frame);
    threeds_end(writer);
    threeds_begin(writer, THREEDS_SEGMENT);
    threeds_dword(writer, scene.first_frame);
    threeds_dword(writer, scene.last_frame);
    threeds_end(writer);
    threeds_begin(writer, THREEDS_CURRENT_TIME);
    threeds_dword(writer, scene.first_frame);
    threeds_end(writer);
    for (const ThreedsNode& node : scene.nodes)
        threeds_write_node(writer, node);
    threeds_end(writer);
}

std::vector<uint8_t> threeds_write_scene(const ThreedsScene& scene)
{
    ThreedsWriter writer;
    threeds_begin(writer, THREEDS_MAIN);
    threeds_begin(writer, THREEDS_VERSION);
    threeds_dword(writer, 3);
    threeds_end(writer);
    threeds_begin(writer, THREEDS_EDITOR);
    threeds_begin(writer, THREEDS_MESH_VERSION);
    threeds_dword(writer, 3);
    threeds_end(writer);
    for (const ThreedsMaterial& material : scene.materials)
        threeds_write_material(writer, material);
    threeds_begin(writer, THREEDS_MASTER_SCALE);
    threeds_float(writer, 1.0f);
    threeds_end(writer);
    for (const ThreedsMesh& mesh : scene.meshes)
        threeds_write_mesh(writer, mesh);
    for (const ThreedsCamera& camera : scene.cameras)
        threeds_write_camera(writer, camera);
    for (const ThreedsLight& light : scene.lights)
        threeds_write_light(writer, light);
    threeds_end(writer);
    if (scene.has_keyframer)
        threeds_write_keyframer(writer, scene);
    threeds_end(writer);
    return writer.bytes;
}

std::string threeds_scene_bytes(const ThreedsScene& scene)
{
    std::vector<uint8_t> bytes = threeds_write_scene(scene);
    return std::string(bytes.begin(), bytes.end());
}

bool threeds_save(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
