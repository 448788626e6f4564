// The keyframer block: segment, node lookup, the three track kinds with their
// key layout and value conversions, and the two keyframer failures.
#include "fixture.h"

namespace {

ThreedsKey key_at(uint32_t frame, float a, float b, float c, float d = 0)
{
    ThreedsKey key;
    key.frame = frame;
    key.values[0] = a;
    key.values[1] = b;
    key.values[2] = c;
    key.values[3] = d;
    return key;
}

// A file with one mesh "Box", the camera "Cam01" and the given nodes.
ThreedsScene animated(std::vector<ThreedsNode> nodes)
{
    ThreedsScene file;
    file.materials = fixture_materials({"Gold"});
    file.meshes = {fixture_quad("Box")};
    file.cameras = {{"Cam01", {0, -100, 0}, {0, 0, 0}, 0, 35}};
    file.has_keyframer = true;
    file.first_frame = 0;
    file.last_frame = 100;
    file.nodes = std::move(nodes);
    return file;
}

TEST_F(LoaderTest, ObjectTracksStoreEngineOrderAndSplineParameters)
{
    ThreedsKey splined = key_at(0, 1, 2, 3);
    splined.flags = 0x0007;
    splined.spline[0] = 0.25f;
    splined.spline[1] = -0.5f;
    splined.spline[2] = 0.75f;
    ThreedsKey eased = key_at(70000, 4, 5, 6);  // the frame's upper half is ignored
    eased.flags = 0x0018;
    eased.spline[3] = 9;
    eased.spline[4] = 9;
    ThreedsTrack position{THREEDS_POSITION_TRACK, 0, {splined, eased}};
    ThreedsTrack rotation{THREEDS_ROTATION_TRACK, 0,
                          {key_at(0, 0, 1, 0, 0), key_at(10, 3.14159265f, 0, 0, 1), key_at(20, 3.14159265f, 1, 0, 0)}};
    ThreedsScene file = animated({fixture_node(THREEDS_OBJECT_NODE, "BOX", {position, rotation})});
    LoadResult result = load(file);
    ASSERT_FALSE(result.stopped) << result.err;
    EXPECT_EQ(scene.first_frame, 0);
    EXPECT_EQ(scene.last_frame, 100);
    EXPECT_EQ(scene.frame_count, 100);

    const KeyTrack& p = scene.objects[0]->position_track;  // found although named in capitals
    ASSERT_EQ(p.key_count, 2);
    EXPECT_EQ(p.keys[0].frame, 0);
    expect_vector(p.keys[0].value, 1, 3, 2);
    EXPECT_FLOAT_EQ(p.keys[0].tension, 0.25f);
    EXPECT_FLOAT_EQ(p.keys[0].continuity, -0.5f);
    EXPECT_FLOAT_EQ(p.keys[0].bias, 0.75f);
    EXPECT_EQ(p.keys[1].frame, 70000 & 0xFFFF);
    expect_vector(p.keys[1].value, 4, 6, 5);  // the two eases were read and dropped
    EXPECT_EQ(p.keys[1].tension, 0);
    EXPECT_EQ(p.keys[1].continuity, 0);
    EXPECT_EQ(p.keys[1].bias, 0);

    // Axis times sin(angle / 2) times 57.295776, in engine order (x, z, y).
    const KeyTrack& r = scene.objects[0]->rotation_track;
    ASSERT_EQ(r.key_count, 3);
    expect_vector(r.keys[0].value, 0, 0, 0);
    EXPECT_EQ(r.keys[1].value.x, 0);
    EXPECT_EQ(r.keys[1].value.y, 57.295776f);
    EXPECT_EQ(r.keys[1].value.z, 0);
    EXPECT_EQ(r.keys[2].value.x, 57.295776f);
}

TEST_F(LoaderTest, CameraTargetAndRollTracksGoToTheCamera)
{
    ThreedsTrack position{THREEDS_POSITION_TRACK, 0, {key_at(5, 10, 20, 30)}};
    ThreedsTrack fov{THREEDS_FOV_TRACK, 0, {key_at(0, 45, 0, 0)}};
    ThreedsTrack roll{THREEDS_ROLL_TRACK, 0, {key_at(0, 12.5f, 0, 0), key_at(50, -3, 0, 0)}};
    ThreedsTrack target{THREEDS_POSITION_TRACK, 0, {key_at(0, 0, 0, 5)}};
    ThreedsTrack empty{THREEDS_POSITION_TRACK, 0, {}};
    ThreedsScene file = animated({fixture_node(THREEDS_CAMERA_NODE, "cam01", {position, fov, roll}),
                                  fixture_node(THREEDS_TARGET_NODE, "Cam01", {target}),
                                  fixture_node(THREEDS_OBJECT_NODE, "Box", {empty})});
    ASSERT_FALSE(load(file).stopped);
    Camera* camera = scene.camera;
    ASSERT_EQ(camera->position_track.key_count, 1);
    EXPECT_EQ(camera->position_track.keys.size(), 1u);  // replaces the room made by scene_create
    EXPECT_EQ(camera->position_track.keys[0].frame, 5);
    expect_vector(camera->position_track.keys[0].value, 10, 30, 20);
    ASSERT_EQ(camera->roll_track.key_count, 2);
    expect_vector(camera->roll_track.keys[0].value, 12.5f, 12.5f, 12.5f);
    expect_vector(camera->roll_track.keys[1].value, -3, -3, -3);
    ASSERT_EQ(camera->target_track.key_count, 1);
    expect_vector(camera->target_track.keys[0].value, 0, 5, 0);
    EXPECT_EQ(scene.objects[0]->position_track.key_count, 0);
    EXPECT_TRUE(scene.objects[0]->position_track.keys.empty());
}

TEST_F(LoaderTest, NodesWithoutARecordStop)
{
    const char* missing = "invalid 3ds file : keyframer data for non existing object found!";
    // No part of the system creates lights, so every light node stops.
    ThreedsScene lit = animated({fixture_node(THREEDS_LIGHT_NODE, "Omni01", {})});
    lit.lights = {{"Omni01", {0, 0, 50}}};
    LoadResult light = load(lit, "light.3ds");
    EXPECT_TRUE(light.stopped);
    EXPECT_NE(light.err.find(missing), std::string::npos);

    ThreedsNode dummy = fixture_node(THREEDS_OBJECT_NODE, "$$$DUMMY", {});
    dummy.instance = "Box";
    EXPECT_NE(load(animated({dummy}), "dummy.3ds").err.find(missing), std::string::npos);
    EXPECT_NE(load(animated({fixture_node(THREEDS_CAMERA_NODE, "Box", {})}), "cam.3ds").err.find(missing),
              std::string::npos);
}

TEST_F(LoaderTest, TracksWhereTheyCannotStandStop)
{
    const char* misplaced = "error in keyframer data!";
    ThreedsKey key = key_at(0, 1, 0, 0, 1);
    auto stops = [&](std::vector<ThreedsNode> nodes, const char* name) {
        LoadResult result = load(animated(std::move(nodes)), name);
        return result.stopped && result.err.find(misplaced) != std::string::npos;
    };
    EXPECT_TRUE(stops({fixture_node(THREEDS_CAMERA_NODE, "Cam01", {{THREEDS_ROTATION_TRACK, 0, {key}}})}, "a.3ds"));
    EXPECT_TRUE(stops({fixture_node(THREEDS_OBJECT_NODE, "Box", {{THREEDS_ROLL_TRACK, 0, {key}}})}, "b.3ds"));
    EXPECT_TRUE(stops({fixture_node(THREEDS_TARGET_NODE, "Cam01", {{THREEDS_ROLL_TRACK, 0, {key}}})}, "c.3ds"));

    // A track outside any node, and a track before its node's header.
    ThreedsWriter w;
    threeds_begin(w, 0x4D4D);
    threeds_begin(w, 0xB000);
    threeds_write_track(w, {THREEDS_POSITION_TRACK, 0, {key}});
    threeds_end(w);
    threeds_end(w);
    EXPECT_NE(load(w.bytes, "d.3ds").err.find(misplaced), std::string::npos);

    ThreedsWriter early;
    threeds_begin(early, 0x4D4D);
    threeds_begin(early, 0x3D3D);
    threeds_write_mesh(early, fixture_quad("Box"));
    threeds_end(early);
    threeds_begin(early, 0xB000);
    threeds_begin(early, THREEDS_OBJECT_NODE);
    threeds_write_track(early, {THREEDS_POSITION_TRACK, 0, {key}});
    threeds_end(early);
    threeds_end(early);
    threeds_end(early);
    EXPECT_NE(load(early.bytes, "e.3ds").err.find(misplaced), std::string::npos);
}

TEST_F(LoaderTest, KeyCountsBeyondTheChunkStopInsteadOfAllocating)
{
    // A track chunk whose count says 0xFFFF8000 keys (negative as 16 bits) but holds one.
    for (uint32_t count : {0xFFFF8000u, 0x00008000u, 2u}) {
        ThreedsWriter w;
        threeds_begin(w, 0x4D4D);
        threeds_begin(w, 0x3D3D);
        threeds_write_mesh(w, fixture_quad("Box"));
        threeds_end(w);
        threeds_begin(w, 0xB000);
        threeds_begin(w, THREEDS_OBJECT_NODE);
        threeds_begin(w, 0xB010);
        threeds_name(w, "Box");
        threeds_end(w);
        threeds_begin(w, THREEDS_POSITION_TRACK);
        threeds_word(w, 0);
        threeds_dword(w, 0);
        threeds_dword(w, 0);
        threeds_dword(w, count);
        threeds_dword(w, 0);
        threeds_word(w, 0);
        for (int i = 0; i < 3; ++i)
            threeds_float(w, 1);
        threeds_end(w);
        threeds_end(w);
        threeds_end(w);
        threeds_end(w);
        LoadResult result = load(w.bytes, "count.3ds");
        EXPECT_TRUE(result.stopped) << count;
        EXPECT_NE(result.err.find("count.3ds"), std::string::npos) << count;
        scene_create(&scene);
    }
}

}  // namespace
