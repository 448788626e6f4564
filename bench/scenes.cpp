// Milliseconds per frame of each scene's per-frame routine at fixed times and
// rows. With the generated vivur.pak found (working directory, VIVUR_PAK_DIR,
// or the build folder above this program) the scenes use the real content;
// otherwise they use pictures and meshes made here, and say so in the label.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/frame.h"
#include "effects/blend.h"
#include "effects/blur.h"
#include "effects/feedback.h"
#include "effects/flicker.h"
#include "effects/pulse.h"
#include "effects/warp.h"
#include "effects/words.h"
#include "engine3d/create.h"
#include "engine3d/tables.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "resources/pak.h"
#include "core/music_position.h"
#include "core/timer.h"
#include "runtime/timeline.h"
#include "runtime/timeline_steps.h"

namespace {

// Assets the scenes load; all must be in the archive to use it.
const char* const scene_assets[] = {"atg7.jpg", "mulmap.jpg", "font.jpg", "norm.jpg", "norm2.jpg", "heet.jpg",
                                    "zwart.jpg", "mooier.jpg", "19.3ds", "scroll.jpg", "vlak.3ds", "marb2.jpg"};

// A picture of hashed colours, different per seed.
uint32_t* noise_picture(int32_t pixels, uint32_t seed)
{
    uint32_t* p = new uint32_t[pixels];
    for (int32_t i = 0; i < pixels; ++i)
        p[i] = ((uint32_t(i) + seed) * 2654435761u >> 7) & 0x00FFFFFFu;
    return p;
}

// The directory holding a complete vivur.pak, or "".
std::string find_content()
{
    std::vector<std::string> dirs = {"."};
    if (const char* env = std::getenv("VIVUR_PAK_DIR"))
        dirs.push_back(env);
    dirs.push_back(files_executable_dir() + "/..");
    for (const std::string& dir : dirs)
        if (access((dir + "/vivur.pak").c_str(), R_OK) == 0)
            return dir;
    return "";
}

// Prepares every scene once, from the archive when it is complete.
struct Setup {
    Setup()
    {
        init_blend_tables();
        engine_tables_init();
        frame_allocate(320, 200);
        clock_use_virtual(0);
        timer_start();
        std::string dir = find_content();
        if (!dir.empty() && chdir(dir.c_str()) == 0) {
            pak_mount("vivur.pak");
            real = true;
            for (const char* name : scene_assets)
                real = real && pak_find(pak_directory.entries, name) >= 0;
        }
        if (real) {
            timeline_prepare_scenes();
        } else {
            made_here();
        }
        // Every routine runs at 100 seconds into the run, ten into the scroller.
        clock_virtual_set_ns(100ull * 1000000000u);
        scroll_start_time = timer_ticks() - 40000;
    }

    // Stand-ins: noise pictures, a radial light map and two spheres for the
    // scenes that would load 3DS files.
    void made_here()
    {
        warp_texture = noise_picture(65536, 1);
        std::vector<uint32_t> map(64000, 0x00FF0000u);
        warp_build_light(map.data());
        words_font = noise_picture(32 * 832, 2);
        for (int i = 0; i < main_word_count; ++i)
            std::snprintf(main_words[i], word_buffer_size, "%s", MainWordList[i]);
        flicker_images[0] = noise_picture(64000, 3);
        flicker_images[1] = noise_picture(64000, 4);
        flicker_overlay = noise_picture(64000, 5);
        flicker_work = new uint32_t[64000];
        uint32_t* texture = noise_picture(65536, 6);
        pulse_scene = new Scene;
        pulse_reference = new Scene;
        for (Scene* s : {pulse_scene, pulse_reference}) {
            scene_create(s);
            make_sphere(s, 20, 120, 1, texture);
            make_sphere(s, 12, 200, 1, texture);
        }
        pulse_camera_origin = pulse_scene->camera->position;
        feedback_scene = new Scene;
        scene_create(feedback_scene);
        make_sphere(feedback_scene, 20, 150, 1, texture);
        make_sphere(feedback_scene, 8, 250, 1, texture);
        feedback_texture = new uint32_t[65536];
        scroll_image = noise_picture(2000 * 40, 7);
        scroll_band = new uint32_t[320 * 40];
        blur_texture = texture;
        blur_scene = new Scene;
        scene_create(blur_scene);
        make_sphere(blur_scene, 20, 150, 1, texture);
    }
    bool real = false;
};

Setup& setup(benchmark::State& state)
{
    static Setup s;
    state.SetLabel(s.real ? "vivur.pak" : "made-up content");
    return s;
}

// Runs draw once per iteration on row `row` of the order the timeline step
// `step` (the one that draws it) starts in.
template <typename Draw>
void run(benchmark::State& state, int step, uint32_t row, Draw draw)
{
    setup(state);
    music_order = timeline_first_order(step);
    music_row = row;
    for (auto _ : state) {
        draw();
        benchmark::DoNotOptimize(frame_buffer[0]);
    }
}

void BM_warp(benchmark::State& state) { run(state, 6, 20, [] { draw_warp_scene(frame_buffer); }); }
BENCHMARK(BM_warp)->Unit(benchmark::kMillisecond);

// Row 27: "BOMMEL", the longest word.
void BM_words(benchmark::State& state) { run(state, 6, 27, [] { draw_words_a(frame_buffer); }); }
BENCHMARK(BM_words)->Unit(benchmark::kMillisecond);

void BM_flicker(benchmark::State& state) { run(state, 8, 5, [] { draw_flicker_scene(); }); }
BENCHMARK(BM_flicker)->Unit(benchmark::kMillisecond);

// Row 4 restarts the pulse: the object at twice its size.
void BM_pulse(benchmark::State& state) { run(state, 9, 4, [] { draw_pulse_scene_a(frame_buffer); }); }
BENCHMARK(BM_pulse)->Unit(benchmark::kMillisecond);

void BM_feedback(benchmark::State& state) { run(state, 11, 0, [] { draw_feedback_scene(frame_buffer); }); }
BENCHMARK(BM_feedback)->Unit(benchmark::kMillisecond);

// Row 0 restarts the beat: the longest streaks.
void BM_blur(benchmark::State& state) { run(state, 12, 0, [] { draw_blur_scene_a(frame_buffer); }); }
BENCHMARK(BM_blur)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {
// The blur alone, at the beat's longest streaks.
void BM_radial_blur(benchmark::State& state)
{
    setup(state);
    for (auto _ : state) {
        radial_blur(frame_buffer, 160, 100, 0.047746f, 0.047746f);
        benchmark::DoNotOptimize(frame_buffer[0]);
    }
}
BENCHMARK(BM_radial_blur)->Unit(benchmark::kMillisecond);
}  // namespace
