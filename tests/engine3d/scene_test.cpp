#include "engine3d/create.h"
#include "engine3d/pipeline.h"
#include "engine_test.h"
#include "support/support.h"

namespace {

using SceneCreation = EngineTest;

TEST_F(SceneCreation, EmptySceneWithDefaultCamera)
{
    Scene scene;
    scene_create(&scene);
    EXPECT_EQ(scene.object_count, 0);
    EXPECT_EQ(scene.light_count, 0);
    EXPECT_EQ(scene.particle_system_count, 0);
    const Camera* camera = scene.camera;
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->position.z, 512.0f);
    EXPECT_EQ(camera->target.z, 0.0f);
    EXPECT_EQ(camera->roll, 0.0f);
    for (const KeyTrack* track : {&camera->position_track, &camera->target_track, &camera->roll_track}) {
        EXPECT_EQ(track->key_count, 0);
        EXPECT_GE(track->keys.size(), 1000u);
    }
    render_scene(&scene, frame_buffer);
    EXPECT_EQ(scene.draw_count, 0);
    EXPECT_EQ(at(160, 100), UNTOUCHED);
}

TEST_F(SceneCreation, MeshesGrowTheDrawLists)
{
    Scene scene;
    scene_create(&scene);
    mesh_create(&scene, 10, 5, 0x107, texture.data());  // only the low byte of the kind is kept
    mesh_create(&scene, 20, 7, 1, nullptr);
    EXPECT_EQ(scene.object_count, 2);
    EXPECT_EQ(scene.total_faces, 30);
    EXPECT_EQ(scene.total_vertices, 12);
    EXPECT_EQ(scene.draw_list.size(), 30u);
    EXPECT_EQ(scene.draw_scratch.size(), 30u);
    const Object3D* first = scene.objects[0];
    EXPECT_EQ(first->render_kind, 7);
    EXPECT_EQ(first->texture, texture.data());
    EXPECT_EQ(first->vertices.size(), 5u);
    EXPECT_EQ(first->faces.size(), 10u);
    EXPECT_EQ(first->position_track.key_count, 0);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(first->rotation.m[i], i % 4 == 0 ? 1.0f : 0.0f);
        EXPECT_EQ(first->local_axes.m[i], i % 4 == 0 ? 1.0f : 0.0f);
    }

    // A light and a system of 4 particles need 1 + (1 + 4) more items.
    light_create(&scene, 0, 0, 0, 2);
    particle_system_create(&scene, 4, {0, 0, 0}, {0, 0, 0}, {1, 1, 1}, 1.0f, 0, true);
    EXPECT_EQ(scene.draw_list.size(), 36u);
    EXPECT_EQ(scene.draw_scratch.size(), 36u);
}

TEST_F(SceneCreation, TheProductionSphere)
{
    Scene scene;
    scene_create(&scene);
    make_sphere(&scene, 20, 150, 1, texture.data());
    const Object3D* o = scene.objects[0];
    EXPECT_EQ(o->vertex_count, 400);
    EXPECT_EQ(o->face_count, 722);
    EXPECT_EQ(scene.draw_list.size(), 722u);
    // Row 0 is the top pole, row 19 the bottom one; column 19 repeats column 0.
    EXPECT_FLOAT_EQ(o->vertices[0].y, 150.0f);
    EXPECT_NEAR(o->vertices[5].x, 0.0f, 1e-4);
    EXPECT_FLOAT_EQ(o->vertices[19 * 20 + 3].y, -150.0f);
    EXPECT_NEAR(o->vertices[20 + 19].x, o->vertices[20].x, 1e-4);
    // Vertex (row 10, column 5): theta = 10 pi/19, phi = 5 * 2 pi/19.
    EXPECT_NEAR(o->vertices[10 * 20 + 5].x, 150 * 0.99658449 * -0.08257935, 1e-3);
    EXPECT_NEAR(o->vertices[10 * 20 + 5].y, 150 * -0.08257935, 1e-3);

    // First quad: (A, B, C) = (0, 20, 1) with u(1) = trunc(13.473684) = 13, v(1) = trunc(12.8) = 12.
    const Face& f0 = o->faces[0];
    EXPECT_EQ(f0.a, 0);
    EXPECT_EQ(f0.b, 20);
    EXPECT_EQ(f0.c, 1);
    EXPECT_EQ(f0.ua, 0);
    EXPECT_EQ(f0.va, 0);
    EXPECT_EQ(f0.vb, 12);
    EXPECT_EQ(f0.uc, 13);
    const Face& f1 = o->faces[1];  // (C, B, D) = (1, 20, 21)
    EXPECT_EQ(f1.a, 1);
    EXPECT_EQ(f1.b, 20);
    EXPECT_EQ(f1.c, 21);
    EXPECT_EQ(f1.ua, 13);
    EXPECT_EQ(f1.vc, 12);
    // The seam quad of row 0 (j = 18) joins column 18 to column 0 with u running to 256.
    const Face& seam = o->faces[36];
    EXPECT_EQ(seam.a, 18);
    EXPECT_EQ(seam.b, 38);
    EXPECT_EQ(seam.c, 0);
    EXPECT_EQ(seam.ua, 242);  // trunc(18 * 13.473684) = trunc(242.53)
    EXPECT_EQ(seam.uc, 256);
    EXPECT_EQ(o->faces[37].c, 20);
    EXPECT_EQ(o->faces[37].uc, 256);
    // The last row of faces reaches v = trunc(19 * 12.8) = 243.
    EXPECT_EQ(o->faces[721].vc, 243);
}

TEST_F(SceneCreation, SmallestSphereAndRefusedOnes)
{
    Scene scene;
    scene_create(&scene);
    make_sphere(&scene, 2, 10, 1, texture.data());
    const Object3D* o = scene.objects[0];
    EXPECT_EQ(o->vertex_count, 4);
    ASSERT_EQ(o->face_count, 2);
    EXPECT_EQ(o->faces[0].a, 0);
    EXPECT_EQ(o->faces[0].b, 2);
    EXPECT_EQ(o->faces[0].c, 0);
    EXPECT_EQ(o->faces[1].a, 0);
    EXPECT_EQ(o->faces[1].b, 2);
    EXPECT_EQ(o->faces[1].c, 2);

    support_intercept_exit();
    for (int32_t n : {1, 0, -3}) {
        try {
            make_sphere(&scene, n, 10, 1, texture.data());
            ADD_FAILURE() << "sphere of " << n << " rows accepted";
        } catch (const ProcessExited& e) {
            EXPECT_EQ(e.code, 1);
        }
    }
    EXPECT_EQ(scene.object_count, 1);
}

}  // namespace
