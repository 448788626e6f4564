// Helpers of the loader tests: write a fixture file into a scratch folder and
// load it into a fresh scene, catching the fatal path and its messages.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine3d/loader.h"
#include "engine3d/create.h"
#include "support/support.h"
#include "threeds_writer.h"

// What one load left behind.
struct LoadResult {
    bool stopped = false;  // report_error ended the load
    std::string out;       // standard output of the load
    std::string err;       // standard error of the load
};

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        support_intercept_exit();
        material_table = MaterialTable{};
        folder = support_temp_dir();
        scene_create(&scene);
    }

    // Writes bytes as NAME in the scratch folder and loads it into scene.
    LoadResult load(const std::vector<uint8_t>& bytes, const std::string& name = "t.3ds")
    {
        support_write_file(folder + "/" + name, std::string(bytes.begin(), bytes.end()));
        ScopedChdir here(folder);
        LoadResult result;
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        try {
            load_3ds(name.c_str(), &scene);
        } catch (const ProcessExited&) {
            result.stopped = true;
        }
        result.out = ::testing::internal::GetCapturedStdout();
        result.err = ::testing::internal::GetCapturedStderr();
        return result;
    }

    LoadResult load(const ThreedsScene& file, const std::string& name = "t.3ds")
    {
        return load(threeds_write_scene(file), name);
    }

    Scene scene;
    std::string folder;
};

// A mesh of four vertices and two faces named name, at the file's origin.
inline ThreedsMesh fixture_quad(const std::string& name)
{
    ThreedsMesh mesh;
    mesh.name = name;
    mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    mesh.faces = {{0, 1, 2}, {0, 2, 3}};
    mesh.mapping = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    return mesh;
}

// Materials of the given names.
inline std::vector<ThreedsMaterial> fixture_materials(std::initializer_list<std::string> names)
{
    std::vector<ThreedsMaterial> list;
    for (const std::string& name : names) {
        list.emplace_back();
        list.back().name = name;
    }
    return list;
}

// A keyframer node of the given kind, name and tracks.
inline ThreedsNode fixture_node(uint16_t kind, const std::string& name, std::vector<ThreedsTrack> tracks)
{
    ThreedsNode n;
    n.kind = kind;
    n.name = name;
    n.tracks = std::move(tracks);
    return n;
}

inline void expect_vector(Vector3 v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}
