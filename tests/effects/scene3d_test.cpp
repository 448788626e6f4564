// The pulse and blur scenes' timing, on small scenes built in the test.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/frame.h"
#include "effects/blend.h"
#include "effects/blur.h"
#include "effects/pulse.h"
#include "engine3d/create.h"
#include "engine3d/pipeline.h"
#include "platform/clock.h"
#include "core/music_position.h"
#include "core/timer.h"

namespace {

// Moves the virtual clock so that timer_ticks() reads t (t grows within a test).
void set_ticks(int32_t t) { clock_virtual_set_ns(static_cast<uint64_t>(t) * 250000u); }

struct Scenes3D : testing::Test {
    void SetUp() override
    {
        init_blend_tables();
        frame_allocate(320, 200);
        clock_use_virtual(1000);
        timer_start();
        texture.assign(65536, 0x00808080u);
    }
    void TearDown() override
    {
        clock_use_live();
        frame_free();
    }
    std::vector<uint32_t> texture;
    std::unique_ptr<Scene> drawn, reference;
};

// Two one-face objects; object 0's reference corners are (10, 20, 30), (-4, 0, 8), (0, 6, -2).
void make_pulse_scenes(std::unique_ptr<Scene>& drawn, std::unique_ptr<Scene>& reference, uint32_t* texture)
{
    drawn = std::make_unique<Scene>();
    reference = std::make_unique<Scene>();
    for (Scene* s : {drawn.get(), reference.get()}) {
        scene_create(s);
        for (int i = 0; i < 2; ++i) {
            mesh_create(s, 1, 3, 1, texture);
            s->objects[i]->vertices = {{10, 20, 30}, {-4, 0, 8}, {0, 6, -2}};
            s->objects[i]->faces[0] = {0, 1, 2, 0, 0, 255, 0, 0, 255};
        }
    }
    pulse_scene = drawn.get();
    pulse_reference = reference.get();
    pulse_camera_origin = {7, -3, 400};
    pulse_start = 0;
}

void expect_scale(float s)
{
    const Object3D* o = pulse_scene->objects[0];
    EXPECT_FLOAT_EQ(o->vertices[0].x, 10 * s);
    EXPECT_FLOAT_EQ(o->vertices[0].y, 20 * s);
    EXPECT_FLOAT_EQ(o->vertices[1].z, 8 * s);
    EXPECT_FLOAT_EQ(o->vertices[2].z, -2 * s);
    EXPECT_FLOAT_EQ(pulse_scene->objects[1]->vertices[0].x, 10);  // only object 0 pulses
}

TEST_F(Scenes3D, PulseScaleDecaysWithinAQuarterSecond)
{
    make_pulse_scenes(drawn, reference, texture.data());
    set_ticks(4000);
    music_row = 1;  // 0 in both tables: no restart yet
    draw_pulse_scene_a(frame_buffer);
    expect_scale(1);  // more than 1000 units after the start value 0
    // The camera circles about the loaded position: (7 + 100 cos 2.4, -3 + 100 sin 3.556, 400).
    EXPECT_FLOAT_EQ(pulse_scene->camera->position.x, -66.739372f);
    EXPECT_FLOAT_EQ(pulse_scene->camera->position.y, -43.264751f);
    EXPECT_FLOAT_EQ(pulse_scene->camera->position.z, 400);

    music_row = 64 + 4;  // a marked row (& 63 = 4)
    draw_pulse_scene_a(frame_buffer);
    EXPECT_EQ(pulse_start, 4000);
    expect_scale(2);

    music_row = 5;
    set_ticks(4500);
    draw_pulse_scene_a(frame_buffer);
    expect_scale(1.5f);
    set_ticks(4996);  // the timer moves in steps of 4 units (one millisecond)
    draw_pulse_scene_b(frame_buffer);  // the pulse carries on into variant b
    expect_scale(1.004f);
    set_ticks(5000);
    draw_pulse_scene_b(frame_buffer);
    expect_scale(1);
}

TEST_F(Scenes3D, PulseRestartValuesPerVariant)
{
    make_pulse_scenes(drawn, reference, texture.data());
    set_ticks(8000);
    music_row = 38;  // value 2 in the second table
    draw_pulse_scene_b(frame_buffer);
    EXPECT_EQ(pulse_start, 0);
    expect_scale(1);
    music_row = 39;  // value 1
    draw_pulse_scene_b(frame_buffer);
    EXPECT_EQ(pulse_start, 8000);
    music_row = 18;  // value 1 in the first table
    set_ticks(9000);
    draw_pulse_scene_a(frame_buffer);
    EXPECT_EQ(pulse_start, 9000);
}

TEST_F(Scenes3D, BlurScene)
{
    Scene scene;
    scene_create(&scene);
    make_sphere(&scene, 20, 150, 1, texture.data());
    blur_scene = &scene;
    blur_start = 0;

    set_ticks(4000);
    music_row = 1;  // 0: no restart, long after the start value
    draw_blur_scene_a(frame_buffer);
    // Angles: 50 sin(0.4) + 40, 38 cos(0.28) + 35.48, 30 sin(0.3524) + 38.68.
    EXPECT_FLOAT_EQ(scene.objects[0]->angles.x, 59.470917f);
    EXPECT_FLOAT_EQ(scene.objects[0]->angles.y, 72.000107f);
    EXPECT_FLOAT_EQ(scene.objects[0]->angles.z, 49.034538f);
    // s = 0.023873: column 0 lies 160 * s * 256 = 977.8 toward the centre, row 0 611.2.
    EXPECT_EQ(blur_columns[0], 977);
    EXPECT_EQ(blur_rows[0], 611);
    EXPECT_EQ(frame_buffer[100 * 320 + 160] & 0xFFFFFF, 0x808080u);  // the sphere covers the centre

    music_row = 38;  // value 2 restarts the beat in the second variant too
    draw_blur_scene_b(frame_buffer);
    EXPECT_EQ(blur_start, 4000);
    EXPECT_EQ(blur_columns[0], 1955);  // s = 0.047746
    EXPECT_EQ(blur_rows[0], 1222);
    music_row = 40;
    set_ticks(4500);
    draw_blur_scene_b(frame_buffer);
    EXPECT_EQ(blur_columns[0], 1466);  // s = 1.5 * 0.023873
    set_ticks(5000);
    draw_blur_scene_a(frame_buffer);
    EXPECT_EQ(blur_columns[0], 977);
}

}  // namespace
