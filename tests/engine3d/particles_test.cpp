#include "engine3d/create.h"
#include "engine3d/particles.h"
#include "engine3d/pipeline.h"
#include "engine_test.h"
#include "platform/clock.h"
#include "core/random.h"
#include "core/timer.h"

namespace {

struct Particles : EngineTest {
    void SetUp() override
    {
        EngineTest::SetUp();
        clock_use_virtual(0);
        timer_start();
        clock_virtual_set_ns(1000000000ull);  // timer_ticks = 4000
        scene_create(&scene);
        camera_set_position(scene.camera, 0, 0, -512);  // identity view
    }
    void TearDown() override
    {
        clock_use_live();
        EngineTest::TearDown();
    }
    Scene scene;
};

TEST_F(Particles, AgesMoveFadeAndRestart)
{
    ParticleSystem* s = particle_system_create(&scene, 4, {10, 20, 30}, {0, 2, 0}, {0, 0, 0}, 1.0f, 0, false);
    s->started = 1;
    for (int32_t i = 0; i < 4; ++i)
        s->start_positions[i] = {10, 20, 30};
    s->velocities[0] = {1, 2, 3};
    s->birth_times[0] = 0;     // age exactly the lifetime: still moves
    s->birth_times[1] = 8000;  // born in the future: age 0
    s->birth_times[2] = -1;    // age 1.00025: restarts
    s->positions[2] = {7, 7, 7};
    s->velocities[3] = {2, 4, 6};
    s->birth_times[3] = 2000;  // age 0.5
    particle_system_update(s);
    // start + v t - (gravity / 2) t^2 with t = 1: (11, 21, 33), intensity 128 - 127.
    EXPECT_FLOAT_EQ(s->positions[0].x, 11);
    EXPECT_FLOAT_EQ(s->positions[0].y, 21);
    EXPECT_FLOAT_EQ(s->positions[0].z, 33);
    EXPECT_EQ(s->intensities[0], 1);
    EXPECT_FLOAT_EQ(s->positions[1].y, 20);
    EXPECT_EQ(s->intensities[1], 128);
    EXPECT_FLOAT_EQ(s->positions[2].x, 7);  // unchanged until the next update
    EXPECT_FLOAT_EQ(s->birth_times[2], 4000);
    // t = 0.5: (10 + 1, 20 + 2 - 0.25, 30 + 3); intensity 128 - trunc(63.5) = 65.
    EXPECT_FLOAT_EQ(s->positions[3].x, 11);
    EXPECT_FLOAT_EQ(s->positions[3].y, 21.75f);
    EXPECT_FLOAT_EQ(s->positions[3].z, 33);
    EXPECT_EQ(s->intensities[3], 65);
}

TEST_F(Particles, FirstUpdateTurnsOffsetsIntoBirthTimes)
{
    ParticleSystem* s = particle_system_create(&scene, 1, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 1.0f, 0, false);
    s->birth_times[0] = 1000;  // offset b: starts at age 1 - 1000 / 4000 = 0.75
    particle_system_update(s);
    EXPECT_EQ(s->started, 1);
    EXPECT_FLOAT_EQ(s->birth_times[0], 1000);  // 1000 + 4000 - 1 * 4000
    EXPECT_EQ(s->intensities[0], 33);          // 128 - trunc(0.75 * 127)
}

TEST_F(Particles, CreationStaggersBirthsOverOneLifetime)
{
    ParticleSystem* s = particle_system_create(&scene, 4, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 2.0f, 0, false);
    // Offsets 0, 2000, 4000, 6000: ages 2, 1.5, 1, 0.5 at the first update.
    particle_system_update(s);
    EXPECT_EQ(s->intensities[0], 1);   // 128 - trunc(2 * 63.5)
    EXPECT_EQ(s->intensities[1], 33);  // 128 - trunc(95.25)
    EXPECT_EQ(s->intensities[2], 65);
    EXPECT_EQ(s->intensities[3], 97);  // 128 - trunc(31.75)
}

TEST_F(Particles, RespawnDrawsVelocityFromTheSharedSequence)
{
    ParticleSystem* s = particle_system_create(&scene, 1, {5, 6, 7}, {0, 0, 0}, {100, 200, 50}, 1.0f, 0, false);
    random_seed = 1;  // next draws: 41, 18467, 6334 -> 0.41, 0.67, 0.34
    clock_virtual_set_ns(2000000000ull);
    particle_respawn(s, 0);
    EXPECT_FLOAT_EQ(s->velocities[0].x, -9);  // 0.41 * 100 - 50
    EXPECT_FLOAT_EQ(s->velocities[0].y, 34);  // 0.67 * 200 - 100
    EXPECT_FLOAT_EQ(s->velocities[0].z, -8);  // 0.34 * 50 - 25
    EXPECT_FLOAT_EQ(s->start_positions[0].z, 7);
    EXPECT_FLOAT_EQ(s->birth_times[0], 8000);
}

TEST_F(Particles, StillSystemStaysAtTheEmitter)
{
    ParticleSystem* s = particle_system_create(&scene, 5, {1, 2, 3}, {0, 0, 0}, {0, 0, 0}, 0.5f, 0, false);
    for (uint64_t ms = 1000; ms < 4000; ms += 170) {
        clock_virtual_set_ns(ms * 1000000ull);
        particle_system_update(s);
        for (const Vector3& p : s->positions) {
            EXPECT_FLOAT_EQ(p.x, 1);
            EXPECT_FLOAT_EQ(p.y, 2);
            EXPECT_FLOAT_EQ(p.z, 3);
        }
    }
}

TEST_F(Particles, NearThingsInTheDrawList)
{
    // At camera depth 0.5 a light is listed with key 0; a particle is not.
    Light* light = light_create(&scene, 0, 0, -511.5f, 0);
    ParticleSystem* s = particle_system_create(&scene, 2, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 1.0f, 0, true);
    s->started = 1;
    s->birth_times = {4000, 4000};
    s->start_positions[0] = {0, 0, -511.5f};
    s->start_positions[1] = {0, 0, -500};  // depth 12
    frame_buffer[0] = 0;
    render_scene(&scene, frame_buffer);
    ASSERT_EQ(scene.draw_count, 3);
    EXPECT_EQ(scene.draw_list[0].item, light);
    EXPECT_EQ(scene.draw_list[0].depth, 0u);
    EXPECT_EQ(scene.draw_list[1].kind, DRAW_EMITTER);  // depth 512: key -1536
    EXPECT_EQ(scene.draw_list[1].depth, static_cast<uint32_t>(-1536));
    EXPECT_EQ(scene.draw_list[2].kind, DRAW_PARTICLE);
    EXPECT_EQ(scene.draw_list[2].index, 1);
    EXPECT_EQ(scene.draw_list[2].depth, static_cast<uint32_t>(-36));
    EXPECT_EQ(s->screen_x, 160);
    EXPECT_EQ(s->screen_y, 100);
}

TEST_F(Particles, LightFlareIsCentredAndSizedByDistance)
{
    clear(0);
    light_create(&scene, 0, 0, -312, 0);  // 200 units in front: 100 x 83 pixels at (110, 58)
    render_scene(&scene, frame_buffer);
    // Row 41 of the sprite reads glow row trunc(41 * 256 / 83) = 126, column
    // 50 reads (50 * 167772) >> 16 = 127: the white core.
    EXPECT_EQ(at(160, 99), 0xFFFFFFu);
    for (int32_t y = 0; y < 200; ++y)
        for (int32_t x = 0; x < 320; ++x)
            if (x < 110 || x >= 210 || y < 58 || y >= 141) {
                ASSERT_EQ(at(x, y), 0u) << x << "," << y;
            }
    EXPECT_TRUE(spare_untouched());
}

TEST_F(Particles, ParticleSpriteIsShadedByIntensity)
{
    clear(0);
    ParticleSystem* s = particle_system_create(&scene, 1, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 1.0f, 0, false);
    s->started = 1;
    s->birth_times[0] = 4000;  // age 0: intensity 128, ShadeTable's identity row
    render_scene(&scene, frame_buffer);
    // Screen (160, 100); 3 x 2.5 pixels at (trunc(158.5), trunc(98.75)) = (158, 98).
    EXPECT_EQ(at(159, 99), 0xFFFFFFu);
    EXPECT_EQ(at(158, 99), 0x666666u);
    EXPECT_EQ(at(158, 98), 0x242424u);
    EXPECT_EQ(at(160, 100), 0x242424u);
    EXPECT_EQ(at(157, 99), 0u);
    EXPECT_EQ(at(161, 99), 0u);
    EXPECT_EQ(at(159, 101), 0u);
}

TEST_F(Particles, ShadedSpriteClipsAndSaturates)
{
    uint32_t pixels[9];
    for (uint32_t i = 0; i < 9; ++i)
        pixels[i] = 0x010101u * (i + 1);
    FlareImage image = {3, 3, pixels};
    clear(0);
    // Left edge at x = -1: image columns 1 and 2 land on frame columns 0 and 1.
    draw_shaded_sprite(-1, 0, 3, 3, &image, frame_buffer, 127);
    EXPECT_EQ(at(0, 0), 0x020202u);
    EXPECT_EQ(at(1, 0), 0x030303u);
    EXPECT_EQ(at(2, 0), 0u);
    EXPECT_EQ(at(0, 2), 0x080808u);
    EXPECT_EQ(at(0, 3), 0u);
    EXPECT_EQ(at(319, 0), 0u);  // nothing wrapped to the previous row's end

    // Red 200 + 100 saturates to 255, green 10 + 100 = 110, blue 0 + 100; the fourth byte stays.
    uint32_t hundred[9];
    for (uint32_t& p : hundred)
        p = 0x646464u;
    image.pixels = hundred;
    frame_buffer[320 * 50 + 50] = 0xABC80A00u;
    draw_shaded_sprite(50, 50, 3, 3, &image, frame_buffer, 127 + 256);  // the row is taken mod 256
    EXPECT_EQ(at(50, 50), 0xABFF6E64u);
    // Row 64 halves 255 to 128.
    uint32_t full[9];
    for (uint32_t& p : full)
        p = 0xFFFFFFu;
    image.pixels = full;
    draw_shaded_sprite(100, 100, 3, 3, &image, frame_buffer, 64);
    EXPECT_EQ(at(101, 101), 0x808080u);
    // Entirely outside, or of zero size: nothing.
    draw_shaded_sprite(-4, 10, 3, 3, &image, frame_buffer, 127);
    draw_shaded_sprite(10, 10, 0, 3, &image, frame_buffer, 127);
    draw_shaded_sprite(321, 10, 3, 3, &image, frame_buffer, 127);
    EXPECT_EQ(at(10, 10), 0u);
    EXPECT_EQ(at(0, 10), 0u);
    // Bottom and right edges clip.
    draw_shaded_sprite(318, 198, 3, 3, &image, frame_buffer, 127);
    EXPECT_EQ(at(319, 199), 0xFFFFFFu);
    EXPECT_TRUE(spare_untouched());
}

}  // namespace
