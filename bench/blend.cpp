// Speed of the whole-frame blending primitives on the 320 x 200 frame.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/frame.h"
#include "effects/blend.h"

namespace {

struct Setup {
    Setup()
    {
        init_blend_tables();
        frame_allocate(320, 200);
        init_zoom();
        image.resize(64000);
        for (int i = 0; i < 64000; ++i)
            image[i] = (i * 2654435761u) & 0xFFFFFFu;
    }
    std::vector<uint32_t> image;
};

Setup& setup()
{
    static Setup s;
    return s;
}

void BM_zoom_image(benchmark::State& state)
{
    Setup& s = setup();
    float a = 0.37f;
    for (auto _ : state) {
        zoom_image(frame_buffer, s.image.data(), a);
        benchmark::DoNotOptimize(frame_buffer[0]);
    }
}
BENCHMARK(BM_zoom_image);

void BM_shade_buffer(benchmark::State& state)
{
    setup();
    for (auto _ : state) {
        shade_buffer(frame_buffer, 100);
        benchmark::DoNotOptimize(frame_buffer[0]);
    }
}
BENCHMARK(BM_shade_buffer);

void BM_blit_add_scaled_64x64_to_128x128(benchmark::State& state)
{
    Setup& s = setup();
    for (auto _ : state) {
        blit_add_scaled(96, 36, 128, 128, 64, 64, s.image.data(), frame_buffer);
        benchmark::DoNotOptimize(frame_buffer[0]);
    }
}
BENCHMARK(BM_blit_add_scaled_64x64_to_128x128);

}  // namespace
