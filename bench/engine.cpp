// Speed of the 3D engine: the radial-blur scene's sphere rendered into a
// cleared frame, and the textured rasterizer on triangles of three sizes.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/frame.h"
#include "effects/blend.h"
#include "engine3d/create.h"
#include "engine3d/pipeline.h"
#include "engine3d/raster.h"
#include "engine3d/tables.h"

namespace {

struct Setup {
    Setup()
    {
        init_blend_tables();
        engine_tables_init();
        frame_allocate(320, 200);
        texture.resize(65536);
        for (uint32_t i = 0; i < 65536; ++i)
            texture[i] = (i * 2654435761u) & 0xFFFFFFu;
    }
    std::vector<uint32_t> texture;
};

Setup& setup()
{
    static Setup s;
    return s;
}

// The sphere of 20 rows, radius 150, kind 1, turning a little every frame;
// each iteration clears the frame (fill_buffer) and renders.
void BM_render_sphere(benchmark::State& state)
{
    Setup& s = setup();
    Scene scene;
    scene_create(&scene);
    make_sphere(&scene, 20, 150, 1, s.texture.data());
    float angle = 0;
    for (auto _ : state) {
        object_set_angles(scene.objects[0], angle, angle * 0.7f, 0);
        angle += 1.3f;
        fill_buffer(frame_buffer, 0);
        render_scene(&scene, frame_buffer);
        benchmark::DoNotOptimize(frame_buffer[32160]);
    }
    state.counters["faces_drawn"] = scene.draw_count;
}
BENCHMARK(BM_render_sphere);

// A right triangle with legs of n pixels: n (n + 1) / 2 pixels drawn.
void BM_textured_triangle(benchmark::State& state)
{
    Setup& s = setup();
    int32_t n = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        draw_textured_triangle(0, 0, n, 0, 0, n, 0, 0, 255, 17, 30, 255, s.texture.data(),
                               frame_buffer);
        benchmark::DoNotOptimize(frame_buffer[0]);
    }
    state.counters["pixels"] = benchmark::Counter(static_cast<double>(n) * (n + 1) / 2,
                                                  benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_textured_triangle)->Arg(10)->Arg(50)->Arg(200);

}  // namespace
