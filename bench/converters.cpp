// Each frame converter on a full 320 x 200 frame, side by side with SDL
// doing the same conversion (SDL_ConvertPixels; for the doubled modes a
// scaled blit into a surface of twice the size) in the same run.
#include <benchmark/benchmark.h>
#include <SDL.h>

#include <cstring>
#include <vector>

#include "display/convert.h"
#include "display/display.h"

namespace {

constexpr int width = 320, height = 200;

const std::vector<uint32_t>& frame()
{
    static std::vector<uint32_t> pixels = [] {
        std::vector<uint32_t> p(width * height);
        for (int i = 0; i < width * height; ++i)
            p[i] = static_cast<uint32_t>(i * 2654435761u);
        return p;
    }();
    return pixels;
}

// Our path: one converter call per row into lines of pitch bytes.
template <void (*convert)(uint8_t*, const uint32_t*, int32_t)>
void ours(benchmark::State& state, int pitch, int lines_per_row)
{
    std::vector<uint8_t> surface(static_cast<size_t>(pitch) * height * lines_per_row);
    surface_pitch = pitch;
    const uint32_t* source = frame().data();
    for (auto _ : state) {
        uint8_t* line = surface.data();
        for (int y = 0; y < height; ++y, line += lines_per_row * pitch)
            convert(line, source + y * width, width * 4);
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
}

void ours_32(benchmark::State& state)
{
    std::vector<uint8_t> surface(static_cast<size_t>(width) * 4 * height);
    for (auto _ : state) {
        convert_rows_32(surface.data(), width * 4, frame().data(), width, height);
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
}

void sdl_convert(benchmark::State& state, Uint32 format, int bytes_per_pixel)
{
    std::vector<uint8_t> surface(static_cast<size_t>(width) * bytes_per_pixel * height);
    for (auto _ : state) {
        SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_ARGB8888, frame().data(), width * 4, format,
                          surface.data(), width * bytes_per_pixel);
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
}

void sdl_doubled(benchmark::State& state, Uint32 format)
{
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(frame().data()), width,
                                                             height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 2 * width, 2 * height, 16, format);
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    for (auto _ : state) {
        SDL_BlitScaled(source, nullptr, target, nullptr);
        benchmark::DoNotOptimize(target->pixels);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(target);
    SDL_FreeSurface(source);
}

void BM_ours_32(benchmark::State& s) { ours_32(s); }
void BM_sdl_32(benchmark::State& s) { sdl_convert(s, SDL_PIXELFORMAT_ARGB8888, 4); }
void BM_ours_24(benchmark::State& s) { ours<convert_row_24>(s, width * 3, 1); }
void BM_sdl_24(benchmark::State& s) { sdl_convert(s, SDL_PIXELFORMAT_BGR24, 3); }
void BM_ours_555(benchmark::State& s) { ours<convert_row_555>(s, width * 2, 1); }
void BM_sdl_555(benchmark::State& s) { sdl_convert(s, SDL_PIXELFORMAT_RGB555, 2); }
void BM_ours_565(benchmark::State& s) { ours<convert_row_565>(s, width * 2, 1); }
void BM_sdl_565(benchmark::State& s) { sdl_convert(s, SDL_PIXELFORMAT_RGB565, 2); }
void BM_ours_555_double(benchmark::State& s) { ours<convert_row_555_double>(s, width * 4, 2); }
void BM_sdl_555_double(benchmark::State& s) { sdl_doubled(s, SDL_PIXELFORMAT_RGB555); }
void BM_ours_565_double(benchmark::State& s) { ours<convert_row_565_double>(s, width * 4, 2); }
void BM_sdl_565_double(benchmark::State& s) { sdl_doubled(s, SDL_PIXELFORMAT_RGB565); }

}  // namespace

BENCHMARK(BM_ours_32);
BENCHMARK(BM_sdl_32);
BENCHMARK(BM_ours_24);
BENCHMARK(BM_sdl_24);
BENCHMARK(BM_ours_555);
BENCHMARK(BM_sdl_555);
BENCHMARK(BM_ours_565);
BENCHMARK(BM_sdl_565);
BENCHMARK(BM_ours_555_double);
BENCHMARK(BM_sdl_555_double);
BENCHMARK(BM_ours_565_double);
BENCHMARK(BM_sdl_565_double);
