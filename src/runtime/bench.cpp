#include "runtime/bench.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/frame.h"
#include "effects/blend.h"
#include "effects/blur.h"
#include "effects/feedback.h"
#include "effects/flicker.h"
#include "effects/pulse.h"
#include "effects/warp.h"
#include "effects/words.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "core/music_position.h"
#include "runtime/options.h"
#include "core/timer.h"
#include "runtime/startup.h"
#include "runtime/timeline.h"
#include "runtime/timeline_steps.h"

namespace {

constexpr int bench_frames = 600;        // frames timed per routine
constexpr int bench_sample_frames = 10;  // consecutive frames per timed sample
constexpr uint64_t bench_start_ns = 100ull * 1000000000u;  // routines run 100 s into the run

struct BenchResult {
    const char* scene;
    double min_ms, median_ms, p99_ms;
};

// One per-frame routine, the timeline step that draws it and the music row
// it is timed on; the order is the one the step starts in.
struct BenchRoutine {
    const char* scene;
    int step;
    uint32_t row;
    void (*draw)();
};

const BenchRoutine bench_routines[] = {
    {"zoom", 3, 10, [] { zoom_image(frame_buffer, intro_image, 0.37f); }},
    {"warp", 6, 20, [] { draw_warp_scene(frame_buffer); }},
    {"words", 6, 27, [] { draw_words_a(frame_buffer); }},  // "BOMMEL", the longest word
    {"flicker", 8, 5, [] { draw_flicker_scene(); }},
    {"pulse", 9, 4, [] { draw_pulse_scene_a(frame_buffer); }},
    {"feedback", 11, 0, [] { draw_feedback_scene(frame_buffer); }},
    {"blur", 12, 0, [] { draw_blur_scene_a(frame_buffer); }},
};

double elapsed_ms(uint64_t since_ns)
{
    return (clock_real_ns() - since_ns) * 1e-6;
}

// Times bench_frames calls of work, each at the next 1/60 s of virtual
// time, in samples of bench_sample_frames consecutive frames: the time per
// frame of each sample. A sample is long enough for a coarse clock (a
// browser's ticks in tenths of a millisecond) to measure it.
BenchResult bench_measure(const char* scene, void (*work)())
{
    std::vector<double> times;
    times.reserve(bench_frames / bench_sample_frames);
    for (int k = 0; k < bench_frames; k += bench_sample_frames) {
        uint64_t spent = 0;
        for (int i = k; i < k + bench_sample_frames; ++i) {
            clock_virtual_set_ns(bench_start_ns + uint64_t(i) * 1000000000u / 60);
            uint64_t start = clock_real_ns();
            work();
            spent += clock_real_ns() - start;
        }
        times.push_back(spent * 1e-6 / bench_sample_frames);
    }
    std::sort(times.begin(), times.end());
    return {scene, times.front(), times[times.size() / 2], times[(times.size() * 99) / 100]};
}

uint32_t bench_copy_target[64000];
constexpr int bench_copies = 100;  // copies per timed sample: one copy is below a coarse clock's tick

void bench_frame_copies()
{
    for (int i = 0; i < bench_copies; ++i) {
        std::memcpy(bench_copy_target, frame_buffer, 256000);
        // The compiler must take every copy as read, so none of them is dropped.
        asm volatile("" : : "r"(bench_copy_target) : "memory");
    }
}

// The ratio of a scene's median to the frame copy's, or 0 when the copy measured nothing.
double bench_ratio(double median_ms, double copy_ms) { return copy_ms > 0 ? median_ms / copy_ms : 0; }

}  // namespace

void bench_main(char* line)
{
    // The entry has chosen the bench's backends: the music renders offline
    // on the virtual clock, with no window and no device.
    uint64_t start = clock_real_ns();
    startup(line);
    frame_allocate(320, 200);
    timeline_prepare();
    double preparation_ms = elapsed_ms(start);
    scroll_start_time = timer_ticks();

    std::vector<BenchResult> results;
    BenchResult copy = bench_measure("frame copy", bench_frame_copies);
    copy.median_ms /= bench_copies;
    for (const BenchRoutine& r : bench_routines) {
        music_order = timeline_first_order(r.step);
        music_row = r.row;
        results.push_back(bench_measure(r.scene, r.draw));
    }
    if (run_options.json) {
        std::printf("{\"frame_copy_ms\": %.6f, \"preparation_ms\": %.3f, \"scenes\": [", copy.median_ms, preparation_ms);
        for (size_t i = 0; i < results.size(); ++i) {
            const BenchResult& r = results[i];
            std::printf("%s{\"scene\": \"%s\", \"min_ms\": %.6f, \"median_ms\": %.6f, \"p99_ms\": %.6f, \"ratio_to_frame_copy\": %.2f}",
                        i ? ", " : "", r.scene, r.min_ms, r.median_ms, r.p99_ms, bench_ratio(r.median_ms, copy.median_ms));
        }
        std::printf("]}\n");
    } else {
        std::printf("preparation: %.1f ms (start-up to first frame, without the window)\n", preparation_ms);
        std::printf("frame copy (memcpy of 256000 bytes): %.4f ms median\n\n", copy.median_ms);
        std::printf("%-10s %10s %10s %10s %14s\n", "scene", "min ms", "median ms", "p99 ms", "x frame copy");
        for (const BenchResult& r : results)
            std::printf("%-10s %10.4f %10.4f %10.4f %14.1f\n", r.scene, r.min_ms, r.median_ms, r.p99_ms,
                        bench_ratio(r.median_ms, copy.median_ms));
    }
    process_exit(0);
}
