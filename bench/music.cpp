// Offline rendering speed of the sound service: seconds of music rendered per
// second of real time, for a written 8-channel module at the normal playback
// rate and at the stop sequence's lowest rate (the same output frames, mixed
// at 17.6 times the rate, so that 1/17.6 of the song passes).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/sound.h"
#include "s3m_writer.h"

namespace {

// Eight channels, speed 6, tempo 125, four patterns: a note every two rows on
// every channel, each channel its own sample and octave.
std::vector<uint8_t> bench_module()
{
    S3mModule module;
    module.name = "bench";
    module.channel_count = 8;
    module.orders = {0, 1, 2, 3};
    for (int s = 0; s < 8; ++s) {
        S3mSample sample;
        int period = 16 + 8 * s;
        for (int i = 0; i < 4096; ++i)
            sample.data.push_back(static_cast<int8_t>((i % period) * 200 / period - 100));
        sample.loop = true;
        sample.loop_start = 0;
        sample.loop_end = 4096;
        module.samples.push_back(sample);
    }
    module.patterns.resize(4);
    for (int p = 0; p < 4; ++p)
        for (int row = 0; row < S3M_ROWS; row += 2)
            for (int c = 0; c < 8; ++c)
                module.patterns[p].cells[row][c] =
                    s3m_cell(s3m_note(3 + c % 3, (row + p + c) % 12), static_cast<uint8_t>(c + 1), 48);
    std::vector<uint8_t> bytes;
    std::string error;
    s3m_write(module, bytes, error);
    return bytes;
}

void render_seconds(benchmark::State& state, uint32_t rate)
{
    std::vector<uint8_t> bytes = bench_module();
    clock_use_virtual(0);
    sound_init(SOUND_DEVICE_OFFLINE, 44100);
    uint32_t handle = sound_music_load(bytes.data(), bytes.size());
    if (handle == 0) {
        state.SkipWithError("module refused");
        return;
    }
    sound_start();
    sound_music_play(handle);
    sound_set_rate(handle, rate);
    uint64_t ns = 0;
    for (auto _ : state) {
        ns += 1000000000u;
        clock_virtual_set_ns(ns);  // renders one second
    }
    // Seconds of music per second of real time.
    state.counters["x_real_time"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    sound_free();
    clock_use_live();
}

void BM_OfflineOneSecond(benchmark::State& state) { render_seconds(state, 44100); }
void BM_OfflineOneSecondAt2500(benchmark::State& state) { render_seconds(state, 2500); }

}  // namespace

BENCHMARK(BM_OfflineOneSecond)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OfflineOneSecondAt2500)->Unit(benchmark::kMillisecond);
