// fuzz_seeds DIR [ARCHIVE]: writes the small generated seed inputs of the fuzz
// targets, DIR/archive/*.pak, DIR/jpeg/*.jpg, DIR/threeds/*.3ds and
// DIR/music/*.s3m; with ARCHIVE (the default content) also each of its
// entries by kind, and an archive of its smaller entries.
// Each one exercises a different path: colour, greyscale, CMYK, progressive,
// restart markers, subsampling; archives that are empty, upper-case, with
// repeated names or zero-filled tails; scenes with and without keyframer
// nodes of every kind; modules with loops, jumps and effects.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "jpeg_writer.h"
#include "pak_writer.h"
#include "resources/file.h"
#include "resources/pak.h"
#include "s3m_writer.h"
#include "threeds_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

// How one seed picture is encoded.
struct SeedPicture {
    const char* name;     // file name in DIR/jpeg
    int width, height;    // pixels
    int components;       // 3 RGB, 1 greyscale or 4 CMYK
    bool progressive;     // progressive scans instead of baseline
    int restart_rows;     // restart marker every this many MCU rows (0: none)
    bool subsampled;      // 2x2 chroma subsampling instead of none
    bool arithmetic;      // arithmetic coding instead of Huffman
};

// A smooth diagonal gradient with a bright square, so every block holds detail.
uint8_t seed_sample(int x, int y, int component)
{
    const bool square = x >= 4 && x < 12 && y >= 4 && y < 12;
    return uint8_t(square ? 240 - 40 * component : (x * 7 + y * 3 + component * 60) & 0xFF);
}

Bytes seed_encode(const SeedPicture& picture)
{
    JpegSettings settings;
    settings.width = picture.width;
    settings.height = picture.height;
    settings.components = picture.components;
    settings.subsampled = picture.subsampled;
    settings.progressive = picture.progressive;
    settings.restart_rows = picture.restart_rows;
    settings.arithmetic = picture.arithmetic;
    Bytes samples;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            for (int c = 0; c < picture.components; ++c)
                samples.push_back(seed_sample(x, y, c));
    std::string error;
    Bytes bytes = jpeg_write(settings, samples.data(), error);
    if (bytes.empty()) {
        std::fprintf(stderr, "fuzz_seeds: cannot encode %s: %s\n", picture.name, error.c_str());
        std::exit(1);
    }
    return bytes;
}

void seed_write(const std::filesystem::path& path, const Bytes& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
        std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

void seed_put32(Bytes& bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(uint8_t(value >> (8 * i)));
}

// An archive laid out by hand: one block of content, then a directory entry
// that may claim a larger content size (the reader zero-fills the rest).
Bytes seed_hand_archive(const std::string& content, uint32_t content_size, const char* signature)
{
    Bytes archive;
    seed_put32(archive, uint32_t(content.size()));
    archive.insert(archive.end(), content.begin(), content.end());
    const uint32_t stored = uint32_t(archive.size());
    char name[13] = "Tail.BIN";
    archive.insert(archive.end(), name, name + 13);
    seed_put32(archive, stored);
    seed_put32(archive, stored);
    seed_put32(archive, content_size);
    archive.push_back(1);
    archive.push_back(0);
    archive.insert(archive.end(), signature, signature + 6);
    return archive;
}

Bytes seed_archive(const std::vector<PakFile>& files)
{
    Bytes archive;
    std::string error;
    if (!pak_build(files, archive, error)) {
        std::fprintf(stderr, "fuzz_seeds: %s\n", error.c_str());
        std::exit(1);
    }
    return archive;
}

// A mesh of n x n vertices on a bumpy grid, with mapping, faces in two
// material groups and its local axes.
ThreedsMesh seed_mesh(const std::string& name, int n, float size)
{
    ThreedsMesh mesh;
    mesh.name = name;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            mesh.vertices.push_back({size * float(x - n / 2), size * float(y - n / 2), float((x * y) % 5) * size / 4});
            mesh.mapping.push_back({float(x) / float(n - 1), float(y) / float(n - 1)});
        }
    ThreedsFaceGroup first{"gold", {}}, second{"violet", {}};
    for (int y = 0; y + 1 < n; ++y)
        for (int x = 0; x + 1 < n; ++x) {
            const uint16_t corner = uint16_t(y * n + x);
            const uint16_t faces = uint16_t(mesh.faces.size());
            mesh.faces.push_back({corner, uint16_t(corner + 1), uint16_t(corner + n + 1)});
            mesh.faces.push_back({corner, uint16_t(corner + n + 1), uint16_t(corner + n)});
            (x % 2 ? first : second).faces.push_back(faces);
            (x % 2 ? first : second).faces.push_back(uint16_t(faces + 1));
        }
    mesh.face_groups = {first, second};
    mesh.smoothing.assign(mesh.faces.size(), 1);
    mesh.origin = {size, 0, -size};
    return mesh;
}

// A track of three keys, the middle one with every spline parameter.
ThreedsTrack seed_track(uint16_t id, float scale)
{
    ThreedsTrack track;
    track.id = id;
    for (uint32_t k = 0; k < 3; ++k) {
        ThreedsKey key;
        key.frame = k * 40;
        if (k == 1) {
            key.flags = THREEDS_TENSION | THREEDS_CONTINUITY | THREEDS_BIAS | THREEDS_EASE_TO | THREEDS_EASE_FROM;
            for (int bit = 0; bit < 5; ++bit)
                key.spline[bit] = 0.25f * float(bit);
        }
        key.values[0] = scale * float(k);
        key.values[1] = id == THREEDS_ROTATION_TRACK ? 0 : scale;
        key.values[2] = id == THREEDS_ROTATION_TRACK ? 1 : -scale * float(k);
        key.values[3] = 0;
        track.keys.push_back(key);
    }
    return track;
}

ThreedsNode seed_node(uint16_t kind, uint16_t id, const std::string& name, std::vector<ThreedsTrack> tracks)
{
    ThreedsNode node;
    node.kind = kind;
    node.id = id;
    node.name = name;
    node.tracks = std::move(tracks);
    return node;
}

// A song of two patterns over four channels: a looped square and a short
// noise burst, speed and tempo changes, a pattern break and a jump back.
S3mModule seed_module(bool with_jump)
{
    S3mModule module;
    module.name = "seed";
    module.channel_count = 4;
    module.orders = {0, 1, S3M_ORDER_SKIP, 0, S3M_ORDER_END};
    S3mSample square;
    square.name = "square";
    for (int i = 0; i < 32; ++i)
        square.data.push_back(int8_t(i < 16 ? 90 : -90));
    square.loop = true;
    square.loop_end = 32;
    S3mSample noise;
    noise.name = "noise";
    uint32_t seed = 1;
    for (int i = 0; i < 200; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise.data.push_back(int8_t(seed >> 24));
    }
    module.samples = {square, noise};
    module.patterns.resize(2);
    for (int row = 0; row < S3M_ROWS; row += 4) {
        module.patterns[0].cells[row][0] = s3m_cell(s3m_note(4, row % 12), 1, 48);
        module.patterns[1].cells[row][1] = s3m_cell(s3m_note(3, 0), 2, 64, s3m_effect('D'), 0x0F);
    }
    module.patterns[0].cells[0][2] = s3m_cell(S3M_NO_NOTE, 0, S3M_NO_VOLUME, s3m_effect('T'), 150);
    module.patterns[0].cells[8][3] = s3m_cell(S3M_NO_NOTE, 0, S3M_NO_VOLUME, s3m_effect('A'), 3);
    module.patterns[1].cells[16][2] = s3m_cell(s3m_note(5, 7), 1, 32, s3m_effect('E'), 0x20);
    module.patterns[1].cells[32][3] = s3m_cell(S3M_NOTE_CUT, 0);
    if (with_jump)
        module.patterns[1].cells[48][2] = s3m_cell(S3M_NO_NOTE, 0, S3M_NO_VOLUME, s3m_effect('B'), 0);
    else
        module.patterns[1].cells[40][2] = s3m_cell(S3M_NO_NOTE, 0, S3M_NO_VOLUME, s3m_effect('C'), s3m_bcd(8));
    return module;
}

constexpr size_t seed_small_entry = 8192;  // entries up to this size go into content.pak

// Copies every entry of archive into the seed folder of its kind, and packs
// the small ones into an archive seed of moderate size.
void seed_content(const std::filesystem::path& root, const char* archive)
{
    pak_mount(archive);
    std::vector<PakFile> small;
    for (const PakEntry& entry : pak_directory.entries) {
        FileHandle file = file_open(entry.name);
        const Bytes content(file.data, file.data + file.size);
        file_close(file);
        const std::string name = entry.name;
        const std::string kind = name.substr(name.find_last_of('.') + 1);
        const char* folder = kind == "jpg" ? "jpeg" : kind == "3ds" ? "threeds" : kind == "s3m" ? "music" : nullptr;
        if (folder)
            seed_write(root / folder / ("content-" + name), content);
        if (content.size() <= seed_small_entry)
            small.push_back({name, content});
    }
    seed_write(root / "archive" / "content.pak", seed_archive(small));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds DIR [ARCHIVE]\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::filesystem::create_directories(root / "archive");
    std::filesystem::create_directories(root / "jpeg");
    std::filesystem::create_directories(root / "threeds");
    std::filesystem::create_directories(root / "music");

    const SeedPicture pictures[] = {
        {"colour.jpg", 16, 16, 3, false, 0, false, false},
        {"grey.jpg", 24, 8, 1, false, 0, false, false},
        {"cmyk.jpg", 8, 8, 4, false, 0, false, false},
        {"progressive.jpg", 32, 16, 3, true, 0, true, false},
        {"restart.jpg", 16, 32, 3, false, 1, true, false},
        {"arithmetic.jpg", 16, 16, 3, false, 0, false, true},
        {"wide.jpg", 320, 8, 3, false, 0, true, false},
    };
    Bytes colour;
    for (const SeedPicture& picture : pictures) {
        const Bytes bytes = seed_encode(picture);
        seed_write(root / "jpeg" / picture.name, bytes);
        if (!colour.size())
            colour = bytes;
    }

    seed_write(root / "archive" / "empty.pak", seed_archive({}));
    seed_write(root / "archive" / "two.pak",
               seed_archive({{"intro.jpg", colour}, {"wuntje.s3m", Bytes{'S', 'C', 'R', 'M', 0, 1}}}));
    seed_write(root / "archive" / "repeated.pak",
               seed_archive({{"a.bin", Bytes{1, 2, 3}}, {"b.bin", Bytes{}}, {"c.bin", Bytes(300, 7)}}));
    seed_write(root / "archive" / "tail.pak", seed_hand_archive("QOMRAX", 40, "QOMRAX"));
    seed_write(root / "archive" / "exact.pak", seed_hand_archive("seeds", 5, "qomrax"));

    ThreedsScene scene;
    scene.materials = {{"gold", {40, 30, 0}, {250, 200, 60}, {255, 255, 255}, ""},
                       {"violet", {20, 0, 40}, {120, 40, 200}, {255, 255, 255}, "atg7.jpg"}};
    scene.meshes = {seed_mesh("star", 4, 20), seed_mesh("ring", 3, 60)};
    scene.cameras = {{"cam", {0, 80, -300}, {0, 0, 0}, 5, 40}};
    seed_write(root / "threeds" / "meshes.3ds", threeds_write_scene(scene));
    scene.has_keyframer = true;
    scene.nodes = {
        seed_node(THREEDS_OBJECT_NODE, 0, "star",
                  {seed_track(THREEDS_POSITION_TRACK, 10), seed_track(THREEDS_ROTATION_TRACK, 0.5f),
                   seed_track(THREEDS_SCALE_TRACK, 1)}),
        seed_node(THREEDS_OBJECT_NODE, 1, "ring", {seed_track(THREEDS_POSITION_TRACK, 3)}),
        seed_node(THREEDS_CAMERA_NODE, 2, "cam",
                  {seed_track(THREEDS_POSITION_TRACK, 50), seed_track(THREEDS_FOV_TRACK, 30),
                   seed_track(THREEDS_ROLL_TRACK, 10)}),
        seed_node(THREEDS_TARGET_NODE, 3, "cam", {seed_track(THREEDS_POSITION_TRACK, 5)}),
    };
    scene.nodes[1].parent = 0;
    scene.nodes[1].has_pivot = true;
    scene.nodes[1].pivot = {1, 2, 3};
    seed_write(root / "threeds" / "keyframer.3ds", threeds_write_scene(scene));
    scene.materials.clear();
    scene.meshes.resize(1);
    scene.nodes.resize(1);
    seed_write(root / "threeds" / "plain.3ds", threeds_write_scene(scene));

    for (bool jump : {false, true}) {
        Bytes module;
        std::string error;
        if (!s3m_write(seed_module(jump), module, error)) {
            std::fprintf(stderr, "fuzz_seeds: %s\n", error.c_str());
            return 1;
        }
        seed_write(root / "music" / (jump ? "jump.s3m" : "break.s3m"), module);
    }
    if (argc == 3)
        seed_content(root, argv[2]);
    return 0;
}
