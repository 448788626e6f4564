// The 3DS reader: meshes into engine space, mapping, the camera, material
// names and the warning, and the walker on unknown, damaged and cut files.
#include <cmath>

#include "fixture.h"

namespace {

const char* const warning = " - 3DS WARNING : No materials assigned to objects!\n";

std::vector<uint8_t> empty_main_chunk() { return {0x4D, 0x4D, 6, 0, 0, 0}; }

TEST_F(LoaderTest, EmptyMainChunkWarnsUntilAnyLoadSawAMaterial)
{
    LoadResult first = load(empty_main_chunk());
    EXPECT_FALSE(first.stopped);
    EXPECT_EQ(first.out, warning);
    EXPECT_EQ(scene.object_count, 0);
    EXPECT_TRUE(scene.draw_list.empty());
    EXPECT_TRUE(scene.draw_scratch.empty());

    ThreedsScene with_material;
    with_material.materials = fixture_materials({"Gold"});
    EXPECT_EQ(load(with_material, "m.3ds").out, "");
    EXPECT_EQ(load(empty_main_chunk()).out, "");  // the count outlives the load
}

TEST_F(LoaderTest, MaterialNamesAreCountedOnceAcrossLoadsAndLetterCase)
{
    ThreedsScene a, b;
    a.materials = fixture_materials({"Gold", "gold", "Red"});
    b.materials = fixture_materials({"RED", "Blue"});
    load(a, "a.3ds");
    load(b, "b.3ds");
    ASSERT_EQ(material_table.count, 3);
    EXPECT_STREQ(material_table.names[0].text, "Gold");
    EXPECT_STREQ(material_table.names[1].text, "Red");
    EXPECT_STREQ(material_table.names[2].text, "Blue");
}

TEST_F(LoaderTest, VerticesAxesAndOriginComeIntoEngineSpace)
{
    ThreedsScene file;
    ThreedsMesh shifted = fixture_quad("Shifted");
    shifted.vertices = {{1, 2, 3}, {2, 4, 7}, {1, 2, 4}};
    shifted.faces = {{0, 1, 2}};
    shifted.mapping.clear();
    shifted.origin = {1, 2, 3};
    // Turned a quarter about the file's z: X axis (0, 1, 0), Y axis (-1, 0, 0).
    ThreedsMesh turned = fixture_quad("Turned");
    turned.vertices = {{1, 2, 3}};
    turned.faces.clear();
    turned.mapping.clear();
    turned.axes[0] = {0, 1, 0};
    turned.axes[1] = {-1, 0, 0};
    file.meshes = {shifted, turned};
    EXPECT_FALSE(load(file).stopped);
    ASSERT_EQ(scene.object_count, 2);

    Object3D* a = scene.objects[0];
    EXPECT_STREQ(a->name, "Shifted");
    EXPECT_EQ(a->vertex_count, 3);
    EXPECT_EQ(a->face_count, 1);
    EXPECT_EQ(a->render_kind, 1);
    expect_vector(a->vertices[0], 0, 0, 0);  // D = (0, 0, 0)
    expect_vector(a->vertices[1], 1, 4, 2);  // D = (1, 2, 4), y and z exchanged
    expect_vector(a->vertices[2], 0, 1, 0);  // D = (0, 0, 1)
    expect_vector(a->origin, 1, 3, 2);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(a->local_axes.m[i], i % 4 == 0 ? 1.0f : 0.0f);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(a->rotation.m[i], i % 4 == 0 ? 1.0f : 0.0f);
    EXPECT_EQ(a->vertex_normals.size(), 3u);
    EXPECT_EQ(a->view_vertices.size(), 3u);
    EXPECT_EQ(a->screen.size(), 3u);
    EXPECT_EQ(a->face_normals.size(), 1u);
    EXPECT_EQ(a->texture, nullptr);

    // new x = X1 D1 + Y1 D2 + Z1 D3 = -2; new y = X3 D1 + Y3 D2 + Z3 D3 = 3;
    // new z = X2 D1 + Y2 D2 + Z2 D3 = 1. Rows become (X1 X3 X2), (Z1 Z3 Z2), (Y1 Y3 Y2).
    Object3D* b = scene.objects[1];
    expect_vector(b->vertices[0], -2, 3, 1);
    const float axes[9] = {0, 0, 1, 0, 1, 0, -1, 0, 0};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(b->local_axes.m[i], axes[i]) << i;
    EXPECT_EQ(scene.draw_list.size(), 1u);
    EXPECT_EQ(scene.draw_scratch.size(), 1u);
}

TEST_F(LoaderTest, MappingBecomesTexelsAndFacesCopyTheirCorners)
{
    ThreedsScene file;
    ThreedsMesh mesh = fixture_quad("Map");
    mesh.mapping = {{0.0f, 2.5f}, {0.5f, -0.25f}, {1.0f, 1.0f}, {2.5f, 0.5f}};
    file.meshes = {mesh};
    load(file);
    Object3D* o = scene.objects[0];
    const int32_t u[4] = {0, 127, 0, 127}, v[4] = {127, -63, 0, 127};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(o->mapping[i].x, u[i]) << i;
        EXPECT_EQ(o->mapping[i].y, v[i]) << i;
    }
    const Face& f = o->faces[1];  // corners 0, 2, 3
    EXPECT_EQ(f.ua, 0);
    EXPECT_EQ(f.va, 127);
    EXPECT_EQ(f.ub, 0);
    EXPECT_EQ(f.vb, 0);
    EXPECT_EQ(f.uc, 127);
    EXPECT_EQ(f.vc, 127);
    // Values no 32-bit truncation can hold give a coordinate instead of undefined behaviour.
    EXPECT_EQ(loader_mapping_coordinate(NAN), 0);
    EXPECT_EQ(loader_mapping_coordinate(INFINITY), 0);
    // 1e7 * 255 rounds in single precision to 2550000128 (steps of 256 there), 128 past 255 * 1e7.
    EXPECT_EQ(loader_mapping_coordinate(1e7f), 128);
    EXPECT_EQ(loader_mapping_coordinate(-1e7f), -128);
}

TEST_F(LoaderTest, CameraSwapsYAndZAndTheLastCameraStays)
{
    ThreedsScene file;
    file.cameras = {{"First", {1, 1, 1}, {2, 2, 2}, 0, 20}, {"Cam01", {10, 20, 30}, {0, 0, 5}, 15, 50}};
    load(file);
    EXPECT_STREQ(scene.camera->name, "Cam01");
    expect_vector(scene.camera->position, 10, 30, 20);
    expect_vector(scene.camera->target, 0, 5, 0);
    EXPECT_FLOAT_EQ(scene.camera->roll, 15);
    EXPECT_FLOAT_EQ(scene.camera->lens, 50);
    EXPECT_EQ(scene.object_count, 0);
}

// One scene, written plainly or with chunks of unknown ids at every depth.
std::vector<uint8_t> scene_with_unknown_chunks(bool unknown)
{
    ThreedsWriter w;
    auto junk = [&](uint16_t id) {
        if (!unknown)
            return;
        threeds_begin(w, id);
        threeds_dword(w, 0x4D4D4110);  // bytes that look like ids must not matter
        threeds_end(w);
    };
    ThreedsMesh mesh = fixture_quad("Box");
    mesh.smoothing = {1, 1};
    mesh.face_groups = {{"Gold", {0, 1}}};
    threeds_begin(w, 0x4D4D);
    junk(0x0002);
    threeds_begin(w, 0x3D3D);
    junk(0x0100);
    threeds_begin(w, 0x4000);
    threeds_name(w, "Box");
    junk(0x4010);
    threeds_begin(w, 0x4100);
    junk(0x4111);
    threeds_write_vertices(w, mesh.vertices);
    junk(0x4165);
    threeds_write_mapping(w, mesh.mapping);
    threeds_write_axes(w, mesh.axes, {0, 0, 1});
    threeds_write_faces(w, mesh);
    threeds_end(w);
    threeds_end(w);
    threeds_end(w);
    threeds_begin(w, 0xB000);
    junk(0xB009);
    threeds_write_node(w, fixture_node(THREEDS_OBJECT_NODE, "Box", {{THREEDS_POSITION_TRACK, 0, {{}}}}));
    threeds_end(w);
    threeds_end(w);
    return w.bytes;
}

TEST_F(LoaderTest, UnknownChunksAtAnyDepthChangeNothing)
{
    load(scene_with_unknown_chunks(false), "plain.3ds");
    load(scene_with_unknown_chunks(true), "junk.3ds");
    ASSERT_EQ(scene.object_count, 2);
    const Object3D& a = *scene.objects[0];
    const Object3D& b = *scene.objects[1];
    ASSERT_EQ(b.vertex_count, a.vertex_count);
    ASSERT_EQ(b.face_count, a.face_count);
    for (int i = 0; i < a.vertex_count; ++i) {
        expect_vector(b.vertices[i], a.vertices[i].x, a.vertices[i].y, a.vertices[i].z);
        EXPECT_EQ(b.mapping[i].x, a.mapping[i].x);
    }
    expect_vector(b.origin, 0, 1, 0);
    EXPECT_EQ(b.faces[1].c, 3);
    EXPECT_EQ(b.position_track.key_count, 1);
}

TEST_F(LoaderTest, InvalidFirstChunkStops)
{
    LoadResult result = load(std::vector<uint8_t>{0x3D, 0x3D, 6, 0, 0, 0});
    EXPECT_TRUE(result.stopped);
    EXPECT_NE(result.err.find("trying to load an invalid 3DS file!"), std::string::npos);
    EXPECT_TRUE(load(std::vector<uint8_t>{}).stopped);
}

// ---- damaged files ----

TEST_F(LoaderTest, LongNamesAreCutAndFullyConsumed)
{
    ThreedsScene file;
    std::string long_name(100, 'n');
    file.meshes = {fixture_quad(long_name)};
    file.materials = fixture_materials({std::string(90, 'm'), std::string(30, 'm') + "x"});
    load(file);
    ASSERT_EQ(scene.object_count, 1);
    EXPECT_EQ(std::string(scene.objects[0]->name), std::string(30, 'n'));
    EXPECT_EQ(scene.objects[0]->vertex_count, 4);  // the mesh after the name was found
    EXPECT_EQ(material_table.count, 1);            // names are kept and compared by 30 bytes
}

TEST_F(LoaderTest, MeshWithoutVerticesAxesOrMappingGetsEmptyDefaults)
{
    ThreedsScene file;
    ThreedsMesh bare = fixture_quad("Bare");
    bare.vertices.clear();
    bare.faces.clear();
    bare.mapping.clear();
    bare.has_axes = false;
    ThreedsMesh plain = fixture_quad("Plain");
    plain.mapping.clear();
    plain.has_axes = false;
    file.meshes = {bare, plain};
    EXPECT_FALSE(load(file).stopped);
    EXPECT_EQ(scene.objects[0]->vertex_count, 0);
    EXPECT_TRUE(scene.objects[0]->mapping.empty());
    Object3D* o = scene.objects[1];
    expect_vector(o->origin, 0, 0, 0);
    expect_vector(o->vertices[2], 1, 0, 1);
    for (const Face& f : o->faces)
        EXPECT_EQ(f.ua | f.va | f.ub | f.vb | f.uc | f.vc, 0);
}

TEST_F(LoaderTest, MappingListLongerThanOrBeforeTheVerticesIsKeptInBounds)
{
    ThreedsWriter w;
    threeds_begin(w, 0x4D4D);
    threeds_begin(w, 0x4000);
    threeds_name(w, "Early");
    threeds_begin(w, 0x4100);
    threeds_write_mapping(w, {{0.5f, 0.5f}, {1.0f, 0.5f}, {0.5f, 1.0f}, {0.5f, 0.5f}, {0.5f, 0.5f}});
    threeds_write_vertices(w, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    ThreedsMesh faces;
    faces.faces = {{0, 1, 2}};
    threeds_write_faces(w, faces);
    threeds_end(w);
    threeds_end(w);
    threeds_end(w);
    EXPECT_FALSE(load(w.bytes).stopped);
    Object3D* o = scene.objects[0];
    ASSERT_EQ(o->mapping.size(), 3u);
    EXPECT_EQ(o->faces[0].ub, 0);
    EXPECT_EQ(o->faces[0].vb, 127);
    EXPECT_EQ(o->faces[0].vc, 0);
}

TEST_F(LoaderTest, FaceIndexBeyondTheVerticesStopsNamingTheFile)
{
    ThreedsScene file;
    ThreedsMesh mesh = fixture_quad("Broken");
    mesh.faces = {{0, 1, 2}, {0, 4, 3}};
    file.meshes = {mesh};
    LoadResult result = load(file, "broken.3ds");
    EXPECT_TRUE(result.stopped);
    EXPECT_NE(result.err.find("broken.3ds"), std::string::npos);
    EXPECT_NE(result.err.find("uses vertex 4"), std::string::npos);
}

TEST_F(LoaderTest, ShortOrOverlongChunksEndTheirLevelWithoutLooping)
{
    ThreedsWriter w;
    threeds_begin(w, 0x4D4D);
    threeds_begin(w, 0x3D3D);
    threeds_write_mesh(w, fixture_quad("Kept"));
    threeds_header(w, 0x4000, 2);  // shorter than a header: the rest of the editor is damage
    threeds_write_mesh(w, fixture_quad("Lost"));
    threeds_end(w);
    threeds_begin(w, 0x3D3D);
    threeds_begin(w, 0x4000);
    threeds_name(w, "Long");
    threeds_begin(w, 0x4100);
    threeds_header(w, 0x4110, 1000);  // runs past its mesh: cut at the mesh's end
    threeds_word(w, 1);
    threeds_float(w, 5);
    threeds_float(w, 6);
    threeds_float(w, 7);
    threeds_end(w);
    threeds_end(w);
    threeds_end(w);
    threeds_begin(w, 0xB000);
    threeds_begin(w, 0xB008);
    threeds_dword(w, 3);
    threeds_dword(w, 9);
    threeds_end(w);
    threeds_end(w);
    threeds_header(w, 0x1234, 0);  // zero length at the top
    threeds_end(w);
    EXPECT_FALSE(load(w.bytes).stopped);
    ASSERT_EQ(scene.object_count, 2);
    EXPECT_STREQ(scene.objects[0]->name, "Kept");
    EXPECT_STREQ(scene.objects[1]->name, "Long");
    expect_vector(scene.objects[1]->vertices[0], 5, 7, 6);
    EXPECT_EQ(scene.frame_count, 6);
}

TEST_F(LoaderTest, EveryCutOfAFileLoadsOrStopsCleanly)
{
    ThreedsScene file;
    file.materials = fixture_materials({"Gold"});
    file.meshes = {fixture_quad("Box")};
    file.cameras = {{"Cam", {0, -10, 0}, {0, 0, 0}, 0, 35}};
    file.has_keyframer = true;
    ThreedsKey key;
    key.flags = 7;
    // What exported files carry beyond the loader's subset: lights, smoothing,
    // face materials, texture maps, pivots, hierarchy, scale and field-of-view tracks.
    file.lights = {{"Omni", {5, 5, 5}}};
    file.materials[0].texture = "gold.jpg";
    file.meshes[0].smoothing = {1, 2};
    file.meshes[0].face_groups = {{"Gold", {0, 1}}};
    ThreedsNode box = fixture_node(THREEDS_OBJECT_NODE, "Box",
                                   {{THREEDS_POSITION_TRACK, 0, {key, key}}, {THREEDS_ROTATION_TRACK, 0, {key}},
                                    {THREEDS_SCALE_TRACK, 0, {key}}});
    box.has_pivot = true;
    box.parent = 1;
    file.nodes = {box, fixture_node(THREEDS_CAMERA_NODE, "Cam",
                                    {{THREEDS_FOV_TRACK, 0, {key}}, {THREEDS_ROLL_TRACK, 0, {key}}})};
    std::vector<uint8_t> bytes = threeds_write_scene(file);
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        scene_create(&scene);
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + cut);
        LoadResult result = load(part);
        if (result.stopped) {
            EXPECT_NE(result.err.find("error: "), std::string::npos) << cut;
        }
        for (int32_t i = 0; i < scene.object_count; ++i)
            EXPECT_LE(scene.objects[i]->vertex_count, 4) << cut;
    }
    ASSERT_EQ(scene.object_count, 1);  // the whole file, last
    EXPECT_EQ(scene.objects[0]->position_track.key_count, 2);
    EXPECT_EQ(scene.objects[0]->rotation_track.key_count, 1);
    EXPECT_EQ(scene.camera->roll_track.key_count, 1);
}

TEST_F(LoaderTest, ASecondFileIsAppendedAndTheDrawListsHoldAllFaces)
{
    ThreedsScene first, second;
    first.meshes = {fixture_quad("A"), fixture_quad("B")};
    ThreedsMesh c = fixture_quad("C");
    c.faces = {{0, 1, 2}, {0, 2, 3}, {1, 2, 3}};
    second.meshes = {c};
    second.has_keyframer = true;
    ThreedsKey key;
    key.values[0] = 8;
    second.nodes = {fixture_node(THREEDS_OBJECT_NODE, "C", {{THREEDS_POSITION_TRACK, 0, {key}}})};
    load(first, "first.3ds");
    EXPECT_FALSE(load(second, "second.3ds").stopped);
    ASSERT_EQ(scene.object_count, 3);
    EXPECT_STREQ(scene.objects[0]->name, "A");
    EXPECT_STREQ(scene.objects[2]->name, "C");
    EXPECT_EQ(scene.objects[2]->position_track.key_count, 1);
    EXPECT_EQ(scene.draw_list.size(), 7u);
    EXPECT_EQ(scene.draw_scratch.size(), 7u);

    // Keyframer data names only its own file's meshes.
    ThreedsScene third;
    third.has_keyframer = true;
    third.nodes = {fixture_node(THREEDS_OBJECT_NODE, "A", {})};
    EXPECT_TRUE(load(third, "third.3ds").stopped);
}

}  // namespace
