#include "runtime/timeline_steps.h"

#include <cstdio>

int timeline_step = 0;

namespace {

const char* timeline_end_name(TimelineEnd end)
{
    return end == TimelineEnd::order ? "order" : end == TimelineEnd::row ? "row" : "zoom_wrap";
}

void timeline_print_string(const char* text)
{
    if (text)
        std::printf("\"%s\"", text);
    else
        std::printf("null");
}

void timeline_print_beat(const TimelineBeat& beat)
{
    if (!beat.table) {
        std::printf("null");
        return;
    }
    std::printf("{\"table\": \"%s\", \"restart\": ", beat.table);
    if (beat.restart_max == 0)
        std::printf("\"switch\"");
    else
        std::printf("[1, %d]", beat.restart_max);
    std::printf(", \"values\": [");
    for (int r = 0; r < 64; ++r)
        std::printf("%s%d", r ? ", " : "", beat.rows[r]);
    std::printf("], \"rows\": [");
    bool first = true;
    for (int r = 0; r < 64; ++r) {
        if (!timeline_beat_at(beat, r))
            continue;
        std::printf("%s%d", first ? "" : ", ", r);
        first = false;
    }
    std::printf("]}");
}

}  // namespace

void timeline_print_json()
{
    std::printf("{\"zoom_cycle_ticks\": %d, \"steps\": [\n", timeline_zoom_cycle);
    for (const TimelineStep& s : timeline_steps) {
        std::printf("  {\"step\": %d, \"scene\": ", s.number);
        timeline_print_string(s.scene);
        std::printf(", \"words\": ");
        timeline_print_string(s.words);
        std::printf(", \"end\": \"%s\", \"mark\": %u, \"first_order\": %u, \"beat\": ", timeline_end_name(s.end),
                    s.mark, timeline_first_order(s.number));
        timeline_print_beat(s.beat);
        std::printf("}%s\n", s.number < timeline_step_count ? "," : "");
    }
    std::printf("]}\n");
}
