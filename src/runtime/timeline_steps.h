// The timeline as data: the fourteen steps in their order, what each draws and
// the music position that ends it. demo_main takes every end mark from here,
// and so do the content generator (the song's sections and the orders that
// sing words), vivur-inspect (the end-mark lines), the benchmarks (the orders
// their scenes are timed at) and `vivur --timeline`, which prints the table as
// JSON for the scripts and tests.
#pragma once
#include <cstdint>

#include "effects/scene_tables.h"

// How a step's loop ends; every loop tests its end after presenting a frame.
enum class TimelineEnd {
    order,      // the first poll at order `mark` or later
    row,        // the first poll at row `mark` or later, in whatever order plays
    zoom_wrap,  // the zoom's own rule: its factor wraps, or a whole cycle passes
};

// The rows where a step's scene restarts its beat, from one of its row tables.
struct TimelineBeat {
    const char* table = nullptr;    // the row table's name; nullptr when the step does not beat
    const int32_t* rows = nullptr;  // its 64 values, indexed by the row
    int restart_max = 0;            // values 1..restart_max restart the beat; 0: rows whose value
                                    // differs from the row before (the flicker's background switch)
};

struct TimelineStep {
    int number;          // 1..14, the trace's step column
    const char* scene;   // the scene routine drawn each frame, or the picture shown
    const char* words;   // the words routine drawn over it, or nullptr
    TimelineEnd end;
    uint32_t mark;       // the order or row of the end mark; 0 for zoom_wrap
    TimelineBeat beat;
};

inline constexpr TimelineStep timeline_steps[] = {
    {1, "intro_image", nullptr, TimelineEnd::order, 1, {}},
    {2, "zoom_image", nullptr, TimelineEnd::order, 2, {}},
    {3, "zoom_image", nullptr, TimelineEnd::row, 43, {}},
    {4, "zoom_image", nullptr, TimelineEnd::zoom_wrap, 0, {}},
    {5, "intro_image", nullptr, TimelineEnd::order, 3, {}},
    {6, "draw_warp_scene", "draw_words_a", TimelineEnd::order, 5, {}},
    {7, "draw_warp_scene", "draw_words_b", TimelineEnd::order, 6, {}},
    {8, "draw_flicker_scene", nullptr, TimelineEnd::order, 8, {"flicker_rows", flicker_rows, 0}},
    {9, "draw_pulse_scene_a", nullptr, TimelineEnd::order, 10, {"pulse_rows_a", pulse_rows_a, 2}},
    {10, "draw_pulse_scene_b", nullptr, TimelineEnd::order, 11, {"pulse_rows_b", pulse_rows_b, 1}},
    {11, "draw_feedback_scene", nullptr, TimelineEnd::order, 13, {}},
    {12, "draw_blur_scene_a", "draw_words_a", TimelineEnd::order, 15, {"blur_rows_a", blur_rows_a, 2}},
    {13, "draw_blur_scene_b", "draw_words_b", TimelineEnd::order, 16, {"blur_rows_b", blur_rows_b, 2}},
    {14, "closing_image", "draw_closing_words", TimelineEnd::row, 30, {}},
};

constexpr int timeline_step_count = sizeof timeline_steps / sizeof timeline_steps[0];
constexpr int32_t timeline_zoom_cycle = 4000;  // timer units of one zoom cycle (one second)

extern int timeline_step;  // 1..14 while a timeline loop runs, 0 otherwise (trace column)

// The step numbered `number` (1..timeline_step_count).
constexpr const TimelineStep& timeline_step_info(int number) { return timeline_steps[number - 1]; }

// Whether a polled position meets the end mark of an order or row step;
// false for the zoom's wrap, which its loop decides itself.
constexpr bool timeline_mark_met(const TimelineStep& step, uint32_t order, uint32_t row)
{
    if (step.end == TimelineEnd::order)
        return order >= step.mark;
    if (step.end == TimelineEnd::row)
        return row >= step.mark;
    return false;
}

// The order a step starts in when the music plays straight through: the end
// mark of the nearest earlier step that ends on an order, 0 for none.
constexpr uint32_t timeline_first_order(int number)
{
    for (int n = number - 1; n >= 1; --n)
        if (timeline_step_info(n).end == TimelineEnd::order)
            return timeline_step_info(n).mark;
    return 0;
}

// The step that plays row 0 of an order when the music plays straight
// through: the first that ends on an order mark above it, or that ends on a
// row or the wrap and starts in it. The last step plays every order from its
// first on.
constexpr int timeline_step_at_order(uint32_t order)
{
    for (const TimelineStep& s : timeline_steps) {
        uint32_t first = timeline_first_order(s.number);
        bool last = s.number == timeline_step_count;
        if (s.end == TimelineEnd::order ? first <= order && order < s.mark : order == first || (last && order > first))
            return s.number;
    }
    return 0;
}

// The last order a step plays in when the music plays straight through: one
// before its order mark; for a step that ends on a row or the wrap, the
// order it starts in.
constexpr uint32_t timeline_last_order(int number)
{
    const TimelineStep& s = timeline_step_info(number);
    return s.end == TimelineEnd::order ? s.mark - 1 : timeline_first_order(number);
}

// Whether the beat restarts on row (0..63) of a step's beat table.
constexpr bool timeline_beat_at(const TimelineBeat& beat, int row)
{
    if (!beat.rows)
        return false;
    if (beat.restart_max == 0)
        return beat.rows[row] != beat.rows[(row + 63) % 64];
    return beat.rows[row] >= 1 && beat.rows[row] <= beat.restart_max;
}

// Prints the table as one JSON document on standard output (`vivur --timeline`).
void timeline_print_json();
