#include <cmath>
#include <limits>

#include "engine3d/create.h"
#include "engine3d/pipeline.h"
#include "engine_test.h"

namespace {

struct Pipeline : EngineTest {
    void SetUp() override
    {
        EngineTest::SetUp();
        scene_create(&scene);
    }
    // Appends a one-face object whose corners are already "projected" to
    // the given pixels at camera depth z, for build_draw_list alone.
    Object3D* face_at(int32_t kind, Point2 a, Point2 b, Point2 c, float z)
    {
        mesh_create(&scene, 1, 3, kind, texture.data());
        Object3D* o = scene.objects[scene.object_count - 1];
        o->faces[0] = {0, 1, 2, 0, 0, 0, 0, 0, 0};
        o->screen = {a, b, c};
        for (Vector3& v : o->view_vertices)
            v = {0, 0, z};
        return o;
    }
    Scene scene;
};

void expect_matrix(const Matrix3& m, std::initializer_list<float> expected, float tolerance = 1e-6f)
{
    int i = 0;
    for (float e : expected) {
        EXPECT_NEAR(m.m[i], e, tolerance) << "element " << i;
        ++i;
    }
}

TEST_F(Pipeline, RotationIsRxRyRz)
{
    Object3D* o = (mesh_create(&scene, 0, 0, 1, nullptr), scene.objects[0]);
    object_set_angles(o, 0, 0, 0);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(o->rotation.m[i], i % 4 == 0 ? 1.0f : 0.0f);  // exactly the identity
    // Rx(90) = [1 0 0; 0 0 -1; 0 1 0], Ry(90) = [0 0 1; 0 1 0; -1 0 0]:
    // Rx * Ry = [0 0 1; 1 0 0; 0 1 0] (Ry * Rx would be [0 1 0; 0 0 -1; -1 0 0]).
    object_set_angles(o, 90, 90, 0);
    expect_matrix(o->rotation, {0, 0, 1, 1, 0, 0, 0, 1, 0});
    // Rz(90) = [0 -1 0; 1 0 0; 0 0 1] appended on the right.
    object_set_angles(o, 90, 90, 90);
    expect_matrix(o->rotation, {0, 0, 1, 0, -1, 0, 1, 0, 0});

    // The product goes through a temporary, so squaring in place works.
    Matrix3 m;
    matrix_rotation_z(&m, 90);
    matrix_multiply(&m, &m);
    expect_matrix(m, {-1, 0, 0, 0, -1, 0, 0, 0, 1});
}

TEST_F(Pipeline, CameraBehindOriginIsIdentityAndProjects)
{
    camera_set_position(scene.camera, 0, 0, -512);
    expect_matrix(scene.camera->view_matrix, {1, 0, 0, 0, 1, 0, 0, 0, 1}, 0);
    mesh_create(&scene, 0, 1, 1, texture.data());
    Object3D* o = scene.objects[0];
    o->vertices[0] = {100, 50, 0};
    render_scene(&scene, frame_buffer);
    EXPECT_FLOAT_EQ(projection_scale_x, 256.0f);
    EXPECT_FLOAT_EQ(projection_scale_y, 213.33334f);
    EXPECT_FLOAT_EQ(sprite_scale_x, 1.0f);
    EXPECT_FLOAT_EQ(sprite_scale_y, 0.83333337f);
    EXPECT_FLOAT_EQ(o->view_vertices[0].z, 512.0f);
    // (160 + trunc(100 * 256 / 512), 100 - trunc(213.33334 * 50 / 512)) = (210, 80).
    EXPECT_EQ(o->screen[0].x, 210);
    EXPECT_EQ(o->screen[0].y, 80);

    // The origin moves the object in camera space.
    object_set_origin(o, -100, 0, 512);
    render_scene(&scene, frame_buffer);
    EXPECT_FLOAT_EQ(o->view_origin.z, 1024.0f);
    EXPECT_EQ(o->screen[0].x, 160);
}

TEST_F(Pipeline, DefaultCameraMirrorsX)
{
    // At (0, 0, 512) looking at the origin: diag(-1, 1, -1) up to rounding.
    expect_matrix(scene.camera->view_matrix, {-1, 0, 0, 0, 1, 0, 0, 0, -1});
}

TEST_F(Pipeline, NearlyLevelCameraHasNoPitch)
{
    camera_set_position(scene.camera, 0, 0, 0);
    camera_set_target(scene.camera, 0, 0.00005f, 1);  // dy / L = 0.00005: inside the dead zone
    EXPECT_EQ(scene.camera->view_matrix.m[7], 0.0f);
    EXPECT_EQ(scene.camera->view_matrix.m[8], 1.0f);
    camera_set_target(scene.camera, 0, -0.00005f, 1);
    EXPECT_EQ(scene.camera->view_matrix.m[7], 0.0f);
    camera_set_target(scene.camera, 0, 0.0002f, 1);  // outside: pitch asin(0.0002)
    EXPECT_NEAR(scene.camera->view_matrix.m[7], 0.0002f, 1e-9);
    // Roll 90 (r = -90 degrees, cr = 0, sr = -1): camera x is world -y, camera y world x.
    camera_set_target(scene.camera, 0, 0, 1);
    camera_set_roll(scene.camera, 90);
    expect_matrix(scene.camera->view_matrix, {0, -1, 0, 1, 0, 0, 0, 0, 1});
}

TEST_F(Pipeline, CameraOnItsTargetDrawsNothing)
{
    make_sphere(&scene, 6, 100, 7, texture.data());
    camera_set_position(scene.camera, 0, 0, 0);  // the target is the origin too
    render_scene(&scene, frame_buffer);
    EXPECT_EQ(scene.draw_count, 0);
    for (float e : scene.camera->view_matrix.m)
        EXPECT_EQ(e, 0.0f);
    EXPECT_EQ(row_runs(100), "");
}

TEST_F(Pipeline, CullingBySignedAreaPerKind)
{
    // (0,0), (10,0), (0,10) clockwise on screen: S = (0 - 10)(0 - 0) - (10 - 0)(0 - 10) = 100.
    const Point2 a = {0, 0}, b = {10, 0}, c = {0, 10};
    const bool keeps_positive[10] = {false, false, true, false, true, false, true, true, true, true};
    const bool keeps_negative[10] = {false, true, false, true, false, true, false, true, true, true};
    for (int32_t kind = 1; kind <= 9; ++kind) {
        scene_create(&scene);
        face_at(kind, a, b, c, 5);
        build_draw_list(&scene);
        EXPECT_EQ(scene.draw_count, keeps_positive[kind] ? 1 : 0) << "kind " << kind;
        scene_create(&scene);
        face_at(kind, a, c, b, 5);  // S = -100
        build_draw_list(&scene);
        EXPECT_EQ(scene.draw_count, keeps_negative[kind] ? 1 : 0) << "kind " << kind;
        scene_create(&scene);
        face_at(kind, a, b, {20, 0}, 5);  // zero area
        build_draw_list(&scene);
        EXPECT_EQ(scene.draw_count, kind >= 7 ? 1 : 0) << "kind " << kind;
    }
    // Kinds 0 and 10 list nothing, yet the object is still transformed.
    for (int32_t kind : {0, 10}) {
        scene_create(&scene);
        mesh_create(&scene, 1, 3, kind, texture.data());
        Object3D* o = scene.objects[0];
        o->faces[0] = {0, 1, 2, 0, 0, 0, 0, 0, 0};
        o->vertices = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
        render_scene(&scene, frame_buffer);
        EXPECT_EQ(scene.draw_count, 0);
        EXPECT_NEAR(o->view_vertices[1].x, -10.0f, 1e-3);  // default camera mirrors x
    }
}

TEST_F(Pipeline, FacesOffOneSideOrBehindAreDropped)
{
    face_at(7, {-5, 0}, {-1, 10}, {-3, 5}, 5);          // all left of column 0
    face_at(7, {0, 200}, {10, 250}, {5, 201}, 5);       // all below row 199
    face_at(7, {320, 0}, {400, 10}, {330, 5}, 5);       // all right of column 319
    face_at(7, {0, -1}, {10, -9}, {5, -3}, 5);          // all above row 0
    face_at(7, {-100, 50}, {400, 50}, {0, 60}, 5);      // across the frame: kept
    Object3D* behind = face_at(7, {0, 0}, {10, 0}, {0, 10}, 5);
    behind->view_vertices[2].z = 0;                     // one corner in the camera plane
    Object3D* far = face_at(7, {0, 0}, {10, 0}, {0, 10}, 5);
    far->screen[1].x = PROJECTION_FAR;                  // a corner that could not be projected
    build_draw_list(&scene);
    ASSERT_EQ(scene.draw_count, 1);
    EXPECT_EQ(scene.draw_list[0].item, scene.objects[4]);
}

TEST_F(Pipeline, SignedAreaDoesNotOverflow)
{
    // S = (0 - 16e6)(-16e6 - 0) - (16e6 - 0)(0 - 16e6) = 5.12e14 > 0: kind 2 keeps it.
    const Point2 a = {-16000000, 0}, b = {16000000, 0}, c = {0, 16000000};
    face_at(2, a, b, c, 5);
    face_at(1, a, b, c, 5);
    build_draw_list(&scene);
    ASSERT_EQ(scene.draw_count, 1);
    EXPECT_EQ(scene.draw_list[0].kind, 2);
}

TEST_F(Pipeline, DrawListRunsFarToNearAndKeepsInsertionOrder)
{
    const Point2 a = {0, 0}, b = {0, 10}, c = {10, 0};  // S = -100
    Object3D* near = face_at(1, a, b, c, 1);            // key -3
    Object3D* far1 = face_at(1, a, b, c, 1000);         // key -3000
    Object3D* tiny = face_at(1, a, b, c, 0.3f);         // -0.9 truncates to key 0
    Object3D* far2 = face_at(1, a, b, c, 1000);         // key -3000, after far1
    build_draw_list(&scene);
    ASSERT_EQ(scene.draw_count, 4);
    EXPECT_EQ(scene.draw_list[0].item, tiny);
    EXPECT_EQ(scene.draw_list[0].depth, 0u);
    EXPECT_EQ(scene.draw_list[1].item, far1);
    EXPECT_EQ(scene.draw_list[1].depth, static_cast<uint32_t>(-3000));
    EXPECT_EQ(scene.draw_list[2].item, far2);
    EXPECT_EQ(scene.draw_list[3].item, near);
}

TEST_F(Pipeline, RadixPassesSortByTheWholeKeyStably)
{
    // Keys differing in each byte, with ties; the value in index is the insertion order.
    const uint32_t keys[] = {0x01000000, 0x00000002, 0x00010000, 0x00000002, 0xFF000000,
                             0x00000100, 0x00000001, 0x00010000};
    std::vector<DrawItem> items, scratch(8);
    for (int32_t i = 0; i < 8; ++i)
        items.push_back({1, keys[i], i, nullptr});
    radix_pass(0, 8, items.data(), scratch.data());
    radix_pass(8, 8, scratch.data(), items.data());
    radix_pass(16, 8, items.data(), scratch.data());
    radix_pass(24, 8, scratch.data(), items.data());
    const int32_t order[] = {6, 1, 3, 5, 2, 7, 0, 4};
    for (int32_t i = 0; i < 8; ++i)
        EXPECT_EQ(items[i].index, order[i]) << i;
}

TEST_F(Pipeline, NormalsAverageFaceNormals)
{
    mesh_create(&scene, 2, 5, 3, texture.data());
    Object3D* o = scene.objects[0];
    o->vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {9, 9, 9}};
    // (B - A) x (C - A): (1,0,0) x (0,1,0) = (0,0,1); doubled: (0,0,2).
    // Second face (0, 3, 1): (0,0,1) x (1,0,0) = (0,1,0); doubled (0,2,0).
    o->vertices[1] = {2, 0, 0};
    o->vertices[3] = {0, 0, 2};
    o->faces[0] = {0, 1, 2, 0, 0, 0, 0, 0, 0};
    o->vertices[2] = {0, 1, 0};
    o->faces[1] = {0, 3, 1, 0, 0, 0, 0, 0, 0};
    object_compute_normals(o);
    EXPECT_FLOAT_EQ(o->face_normals[0].z, 2.0f);
    EXPECT_FLOAT_EQ(o->face_normals[1].y, 4.0f);
    // Vertex 0 is in both faces: ((0,0,2) + (0,4,0)) / 2 = (0, 2, 1).
    EXPECT_FLOAT_EQ(o->vertex_normals[0].y, 2.0f);
    EXPECT_FLOAT_EQ(o->vertex_normals[0].z, 1.0f);
    EXPECT_FLOAT_EQ(o->vertex_normals[2].z, 2.0f);
    EXPECT_FLOAT_EQ(o->vertex_normals[4].x, 0.0f);  // used by no face
    EXPECT_FLOAT_EQ(o->vertex_normals[4].z, 0.0f);
}

TEST_F(Pipeline, EnvironmentCoordinates)
{
    mesh_create(&scene, 0, 5, 9, texture.data());
    Object3D* o = scene.objects[0];
    o->view_normals = {{0, 0, -5}, {0, 3, 0}, {4, 0, 0}, {0, 0, 0}, {3, -4, 0}};
    object_env_mapping(o);
    EXPECT_EQ(o->mapping[0].x, 128);  // facing the viewer: the centre
    EXPECT_EQ(o->mapping[0].y, 128);
    EXPECT_EQ(o->mapping[1].y, 254);  // up on screen: 128 + 126
    EXPECT_EQ(o->mapping[2].x, 2);    // 128 - 126
    EXPECT_EQ(o->mapping[3].x, 128);  // zero length: the centre, not NaN
    EXPECT_EQ(o->mapping[3].y, 128);
    // (3, -4, 0): k = 126 / 5 = 25.2; 128 - trunc(75.6) = 53; trunc(-100.8) + 128 = 28.
    EXPECT_EQ(o->mapping[4].x, 53);
    EXPECT_EQ(o->mapping[4].y, 28);
}

TEST_F(Pipeline, FacesNearTheCameraPlane)
{
    camera_set_position(scene.camera, 0, 0, -512);
    texture.assign(65536, 0x123456);
    mesh_create(&scene, 1, 3, 1, texture.data());
    Object3D* o = scene.objects[0];
    o->faces[0] = {0, 1, 2, 5, 5, 5, 5, 5, 5};
    // Camera depth 1: corners project to about +-25600, beyond 16.16 in 32 bits;
    // the frame lies inside the triangle and is filled, nothing else is written.
    o->vertices = {{-100, -100, -511}, {100, -100, -511}, {0, 100, -511}};
    render_scene(&scene, frame_buffer);
    EXPECT_EQ(o->screen[0].x, -25440);
    EXPECT_EQ(o->screen[0].y, 21433);
    ASSERT_EQ(scene.draw_count, 1);
    for (int32_t y = 0; y < 200; ++y)
        ASSERT_EQ(row_runs(y), "0..319") << y;
    EXPECT_TRUE(spare_untouched());

    // Depth 3e-5 (one step of z from the camera plane): the corners project
    // hundreds of millions of pixels out and cannot be held; the face is dropped.
    clear(UNTOUCHED);
    for (Vector3& v : o->vertices)
        v.z = std::nextafter(-512.0f, 0.0f);
    render_scene(&scene, frame_buffer);
    EXPECT_EQ(scene.draw_count, 0);
    EXPECT_EQ(row_runs(100), "");
}

// Scenes of garbage: every kind, NaN, infinities, huge and tiny values,
// broken face indices, odd cameras. Nothing may be written outside the frame
// (the sanitizer build also watches every read).
TEST_F(Pipeline, AnyInputStaysInsideTheFrame)
{
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    const float specials[] = {0.0f, -0.0f, 1e-30f, -1e-30f, 1e30f, -1e30f, 1e-3f, 511.9999f,
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              std::numeric_limits<float>::quiet_NaN()};
    auto value = [&] {
        uint32_t r = next();
        if (r % 4 == 0)
            return specials[(r >> 4) % 11];
        return static_cast<float>(static_cast<int32_t>(r % 4001) - 2000);
    };
    for (int32_t round = 0; round < 300; ++round) {
        scene_create(&scene);
        camera_set_position(scene.camera, value(), value(), value());
        camera_set_target(scene.camera, value(), value(), value());
        camera_set_roll(scene.camera, value());
        for (int32_t k = 0; k < 3; ++k) {
            mesh_create(&scene, 12, 8, static_cast<int32_t>(next() % 12), texture.data());
            Object3D* o = scene.objects[k];
            o->normals_dirty = 1;
            for (Vector3& v : o->vertices)
                v = {value(), value(), value()};
            for (Face& f : o->faces) {
                int32_t bad = next() % 10 == 0 ? 100 : 0;
                f = {static_cast<int32_t>(next() % 8) + bad, static_cast<int32_t>(next() % 8),
                     static_cast<int32_t>(next() % 8) - bad, static_cast<int32_t>(next()),
                     static_cast<int32_t>(next()), static_cast<int32_t>(next()),
                     static_cast<int32_t>(next()), static_cast<int32_t>(next()),
                     static_cast<int32_t>(next())};
            }
            object_set_angles(o, value(), value(), value());
        }
        light_create(&scene, value(), value(), value(), static_cast<uint8_t>(next() % 6));
        ParticleSystem* system = particle_system_create(
            &scene, 10, {value(), value(), value()}, {value(), value(), value()},
            {value(), value(), value()}, 1.5f, static_cast<uint8_t>(next() % 7), true);
        (void)system;
        render_scene(&scene, frame_buffer);
        render_scene(&scene, frame_buffer);
        ASSERT_TRUE(spare_untouched()) << "round " << round;
    }
}

}  // namespace
