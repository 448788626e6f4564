// The timeline's table of steps: its helpers on hand-made steps, and the
// properties every table must have for the loops to play one after another.
#include <gtest/gtest.h>

#include "runtime/timeline_steps.h"

namespace {

TEST(TimelineSteps, MarksAreMetAtOrPastTheirOrderOrRow)
{
    const TimelineStep order{1, "a", nullptr, TimelineEnd::order, 5, {}};
    EXPECT_FALSE(timeline_mark_met(order, 4, 63));
    EXPECT_TRUE(timeline_mark_met(order, 5, 0));
    EXPECT_TRUE(timeline_mark_met(order, 9, 0));
    const TimelineStep row{1, "a", nullptr, TimelineEnd::row, 30, {}};
    EXPECT_FALSE(timeline_mark_met(row, 99, 29));
    EXPECT_TRUE(timeline_mark_met(row, 0, 30));
    // The zoom's wrap is the loop's own test: no position ever meets it.
    const TimelineStep wrap{1, "a", nullptr, TimelineEnd::zoom_wrap, 0, {}};
    EXPECT_FALSE(timeline_mark_met(wrap, 0xFFFFFFFFu, 0xFFFFFFFFu));
}

TEST(TimelineSteps, BeatRowsFollowTheRestartValuesOrTheSwitches)
{
    int32_t rows[64] = {};
    rows[3] = 1;
    rows[4] = 2;
    rows[5] = 3;
    rows[63] = 1;  // differs from row 0: row 0 is a switch
    const TimelineBeat up_to_two{"t", rows, 2}, only_one{"t", rows, 1}, switches{"t", rows, 0};
    const TimelineBeat none{};
    for (int r = 0; r < 64; ++r) {
        EXPECT_EQ(timeline_beat_at(up_to_two, r), r == 3 || r == 4 || r == 63) << r;
        EXPECT_EQ(timeline_beat_at(only_one, r), r == 3 || r == 63) << r;
        EXPECT_EQ(timeline_beat_at(switches, r), r == 0 || r == 3 || r == 4 || r == 5 || r == 6 || r == 63) << r;
        EXPECT_FALSE(timeline_beat_at(none, r)) << r;
    }
}

// Numbered in order, order marks rising (a lower mark than an earlier one
// would end its step on its first frame), one zoom wrap at most and after
// a step of the same scene, and the run ending on a row mark in an order of its own.
TEST(TimelineSteps, TheTableIsPlayableInOrder)
{
    uint32_t last_order_mark = 0;
    int wraps = 0;
    for (int n = 1; n <= timeline_step_count; ++n) {
        const TimelineStep& s = timeline_step_info(n);
        EXPECT_EQ(s.number, n);
        ASSERT_NE(s.scene, nullptr) << n;
        if (s.end == TimelineEnd::order) {
            EXPECT_GT(s.mark, last_order_mark) << n;
            last_order_mark = s.mark;
        }
        if (s.end == TimelineEnd::zoom_wrap) {
            ++wraps;
            ASSERT_GT(n, 1);
            EXPECT_STREQ(timeline_step_info(n - 1).scene, s.scene) << n;
        }
        if (s.beat.table) {
            EXPECT_NE(s.beat.rows, nullptr) << n;
            EXPECT_GE(s.beat.restart_max, 0) << n;
        }
    }
    EXPECT_LE(wraps, 1);
    EXPECT_EQ(timeline_step_info(timeline_step_count).end, TimelineEnd::row);
}

// Every order up to the last step's first is played, at row 0, by a step
// that starts at or before it and whose order mark lies past it; the steps
// found never go back.
TEST(TimelineSteps, EachOrderBelongsToTheStepThatPlaysItsStart)
{
    const uint32_t last = timeline_first_order(timeline_step_count);
    int previous = 0;
    for (uint32_t o = 0; o <= last + 2; ++o) {
        int n = timeline_step_at_order(o);
        ASSERT_GE(n, 1) << o;
        const TimelineStep& s = timeline_step_info(n);
        EXPECT_LE(timeline_first_order(n), o) << o;
        if (s.end == TimelineEnd::order) {
            EXPECT_LE(o, timeline_last_order(n)) << o;
        } else if (n != timeline_step_count) {
            EXPECT_EQ(o, timeline_first_order(n)) << o;
        }
        EXPECT_GE(n, previous) << o;
        previous = n;
    }
    EXPECT_EQ(timeline_step_at_order(last), timeline_step_count);
    EXPECT_EQ(timeline_first_order(1), 0u);
}

}  // namespace
