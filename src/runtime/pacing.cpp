#include "runtime/pacing.h"

#include <cstdio>

#include "platform/files.h"
#include "platform/clock.h"
#include "runtime/capture.h"
#include "platform/process.h"
#include "runtime/music.h"
#include "runtime/options.h"
#include "core/timer.h"
#include "core/fatal.h"
#include "runtime/timeline_steps.h"

int64_t pacing_frame = 0;

namespace {

int64_t pacing_fps_num = 60, pacing_fps_den = 1;  // the run's frame rate
FILE* trace_file = nullptr;  // the open --trace file; nullptr before the first frame and after the end
char trace_buffer[1 << 16];  // its output buffer, so writing a line never allocates

// Registered with the process end: flushes and closes the trace.
void pacing_trace_finish()
{
    if (!trace_file)
        return;
    std::fclose(trace_file);
    trace_file = nullptr;
}

// Opens the trace and writes its header the first time a frame is counted.
void pacing_trace_open()
{
    trace_file = files_fopen(run_options.trace.c_str(), "wb");
    if (!trace_file)
        report_error("cannot create trace file %s", run_options.trace.c_str());
    std::setvbuf(trace_file, trace_buffer, _IOFBF, sizeof trace_buffer);
    process_on_exit(pacing_trace_finish);
    std::fputs(run_options.trace_clock ? "frame,timer_ticks,order,row,step,clock_ms\n"
                                       : "frame,timer_ticks,order,row,step\n",
               trace_file);
}

}  // namespace

void pacing_set_rate(int64_t fps_num, int64_t fps_den)
{
    pacing_fps_num = fps_num;
    pacing_fps_den = fps_den;
}

void pacing_frame_shown(const uint32_t* frame)
{
    if (capture_active())
        capture_take_frame(frame);
    if (!clock_is_virtual())
        return;
    // (frame + 1) / fps seconds, rounded to the nearest nanosecond.
    unsigned __int128 ns = (unsigned __int128)(pacing_frame + 1) * uint64_t(pacing_fps_den) * 1000000000u;
    uint64_t num = uint64_t(pacing_fps_num);
    clock_virtual_set_ns(static_cast<uint64_t>((ns + num / 2) / num));
}

void pacing_frame_polled()
{
    if (!run_options.trace.empty()) {
        if (!trace_file)
            pacing_trace_open();
        std::fprintf(trace_file, "%lld,%d,%u,%u,", static_cast<long long>(pacing_frame), timer_ticks(), music_order,
                     music_row);
        if (timeline_step != 0)
            std::fprintf(trace_file, "%d", timeline_step);
        // --trace-clock: the millisecond clock reading (the monotonic clock
        // truncated to 32 bits, live) as the line is written, right after the poll.
        if (run_options.trace_clock)
            std::fprintf(trace_file, ",%u", clock_milliseconds());
        std::fputc('\n', trace_file);
    }
    ++pacing_frame;
    if (run_options.frames >= 0 && pacing_frame >= run_options.frames)
        shutdown();
    music_check_looping();
}
