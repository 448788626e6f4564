// The module: it reaches every end mark of the timeline at the intended order and
// row, never clips and never falls silent before the end, and its accents sit on
// the rows the words and the scenes' beat tables mark. Which orders sing and
// beat comes from the timeline's table of steps.
#include <gtest/gtest.h>

#include <libopenmpt/libopenmpt.h>

#include <cmath>
#include <string_view>
#include <vector>

#include "song.h"

namespace {

// The orders whose section (the step that plays their row 0) draws `routine`,
// as its scene or its words.
std::vector<int> orders_drawing(std::string_view routine)
{
    std::vector<int> orders;
    for (int o = 0; o < song_order_count; ++o) {
        const TimelineStep& s = timeline_step_info(timeline_step_at_order(static_cast<uint32_t>(o)));
        if (s.scene == routine || (s.words && s.words == routine))
            orders.push_back(o);
    }
    return orders;
}

// Rows where a note (not a cut) starts in a channel of a pattern.
std::vector<int> note_rows(const S3mPattern& p, int channel, int instrument)
{
    std::vector<int> rows;
    for (int r = 0; r < S3M_ROWS; ++r) {
        const S3mCell& c = p.cells[r][channel];
        if (c.note < S3M_NOTE_CUT && c.instrument == instrument)
            rows.push_back(r);
    }
    return rows;
}

TEST(Song, LeadSingsEachNewSyllable)
{
    S3mModule m = song_compose();
    // One pattern for each order up to the one the last step starts in.
    ASSERT_EQ(m.patterns.size(), timeline_first_order(timeline_step_count) + 1);
    // New words of the main table's first half (rows 0..63) and second half
    // (64..127), read off the word table by hand; blanks are not sung.
    const std::vector<int> first_half = {0, 3, 15, 17, 19, 21, 23, 25, 27, 29, 31, 35, 47, 51};
    const std::vector<int> second_half = {0, 3, 11, 13, 15, 19, 27, 29, 31, 35, 38, 39, 41, 43, 45};
    const std::vector<int> first_orders = orders_drawing("draw_words_a"), second_orders = orders_drawing("draw_words_b");
    const std::vector<int> closing_orders = orders_drawing("draw_closing_words");
    ASSERT_FALSE(first_orders.empty());
    ASSERT_FALSE(second_orders.empty());
    ASSERT_EQ(closing_orders.size(), 1u);
    for (int order : first_orders)
        EXPECT_EQ(note_rows(m.patterns[m.orders[order]], SONG_LEAD, SONG_I_LEAD), first_half) << order;
    for (int order : second_orders)
        EXPECT_EQ(note_rows(m.patterns[m.orders[order]], SONG_LEAD, SONG_I_LEAD), second_half) << order;
    // The closing words NOU KNUL GE FE LI CI TEERD start on rows 0, 4, 7, 8, 10, 12, 14.
    EXPECT_EQ(note_rows(m.patterns[m.orders[closing_orders[0]]], SONG_LEAD, SONG_I_LEAD),
              (std::vector<int>{0, 4, 7, 8, 10, 12, 14}));
    // The lead rests while a blank word shows: row 10 of the first half is cut.
    EXPECT_EQ(m.patterns[m.orders[first_orders[0]]].cells[10][SONG_LEAD].note, S3M_NOTE_CUT);
    // Outside the word orders the lead is silent.
    int silent = 0;
    for (int order = 0; order < song_order_count; ++order) {
        if (timeline_step_info(timeline_step_at_order(order)).words)
            continue;
        EXPECT_TRUE(note_rows(m.patterns[m.orders[order]], SONG_LEAD, SONG_I_LEAD).empty()) << order;
        ++silent;
    }
    EXPECT_GT(silent, 0);
}

// Rows of a pattern where an accent starts: a kick, snare, clap, stab or crash.
std::vector<int> accent_rows(const S3mPattern& p)
{
    std::vector<int> rows;
    for (int r = 0; r < S3M_ROWS; ++r) {
        bool hit = false;
        for (int instrument : {SONG_I_KICK, SONG_I_SNARE, SONG_I_CLAP, SONG_I_STAB, SONG_I_CRASH})
            for (int channel = 0; channel < SONG_CHANNELS; ++channel) {
                const S3mCell& c = p.cells[r][channel];
                hit = hit || (c.note < S3M_NOTE_CUT && c.instrument == instrument);
            }
        if (hit)
            rows.push_back(r);
    }
    return rows;
}

TEST(Song, AccentsFallExactlyOnTheRowsWhereTheScenesBeat)
{
    S3mModule m = song_compose();
    // Read off the tables by hand: where each scene restarts its beat (the flicker
    // scene: where its background switches). The second pulse restarts on 1 only,
    // so its 2 at row 38 gets no hit; the blur takes 2 as well (row 38 of order 15).
    const std::vector<int> flicker = {4, 10, 14, 18, 20, 26, 30, 32, 36, 42, 46, 52};
    const std::vector<int> pulse_a = {0, 4, 16, 18, 20, 22, 24, 26, 28, 30, 32, 36, 48, 52};
    const std::vector<int> pulse_b = {0, 4, 12, 14, 16, 20, 28, 30, 32, 36, 39, 41, 43, 45};
    const std::vector<int> blur_a = {0, 3, 15, 17, 19, 21, 23, 25, 27, 29, 31, 35, 47, 51, 63};
    const std::vector<int> blur_b = {3, 11, 13, 15, 19, 27, 29, 31, 35, 38, 39, 41, 43, 45};
    const std::pair<std::string_view, const std::vector<int>*> scenes[] = {
        {"draw_flicker_scene", &flicker}, {"draw_pulse_scene_a", &pulse_a}, {"draw_pulse_scene_b", &pulse_b},
        {"draw_blur_scene_a", &blur_a},   {"draw_blur_scene_b", &blur_b}};
    for (const auto& [scene, rows] : scenes) {
        ASSERT_FALSE(orders_drawing(scene).empty()) << scene;
        for (int order : orders_drawing(scene))
            EXPECT_EQ(accent_rows(m.patterns[m.orders[order]]), *rows) << scene << ", order " << order;
    }
}

TEST(Song, BeatSectionsHitWithKicksSnareRollsAndStabs)
{
    S3mModule m = song_compose();
    // Flicker: a kick and a chord stab on every switch.
    const std::vector<int> switches = {4, 10, 14, 18, 20, 26, 30, 32, 36, 42, 46, 52};
    for (int order : orders_drawing("draw_flicker_scene")) {
        const S3mPattern& p = m.patterns[m.orders[order]];
        EXPECT_EQ(note_rows(p, SONG_CHORD, SONG_I_STAB), switches) << order;
        EXPECT_EQ(note_rows(p, SONG_KICK, SONG_I_KICK), switches) << order;
    }
    // Pulse: kicks on the single marks and under the roll's beats, a snare roll
    // over the run of every other row.
    for (int order : orders_drawing("draw_pulse_scene_a")) {
        const S3mPattern& p = m.patterns[m.orders[order]];
        EXPECT_EQ(note_rows(p, SONG_KICK, SONG_I_KICK), (std::vector<int>{0, 4, 16, 20, 24, 28, 32, 36, 48, 52}))
            << order;
        EXPECT_EQ(note_rows(p, SONG_SNARE, SONG_I_SNARE), (std::vector<int>{16, 18, 20, 22, 24, 26, 28, 30}))
            << order;
    }
    // Blur: kick and clap together on the single marks, the roll over 15 .. 31.
    const std::vector<int> blur_a = orders_drawing("draw_blur_scene_a"), blur_b = orders_drawing("draw_blur_scene_b");
    ASSERT_GE(blur_a.size(), 2u);
    ASSERT_FALSE(blur_b.empty());
    const S3mPattern& p13 = m.patterns[m.orders[blur_a[0]]];
    EXPECT_EQ(note_rows(p13, SONG_KICK, SONG_I_KICK), (std::vector<int>{0, 3, 35, 47, 51, 63}));
    EXPECT_EQ(note_rows(p13, SONG_SNARE, SONG_I_CLAP), (std::vector<int>{0, 3, 35, 47, 51, 63}));
    EXPECT_EQ(note_rows(p13, SONG_SNARE, SONG_I_SNARE), (std::vector<int>{15, 17, 19, 21, 23, 25, 27, 29, 31}));
    // A hit with a mark on the very next row is cut short (S, C3) so that mark is
    // heard: row 38 before 39 in the second blur, row 63 of the first blur order
    // before row 0 of the next; row 63 of the last first-blur order is not, row 0
    // of the second blur being unmarked.
    auto cut = [&](int order, int row) {
        const S3mCell& c = m.patterns[m.orders[order]].cells[row][SONG_KICK];
        return c.effect == s3m_effect('S') && c.parameter == 0xC3;
    };
    EXPECT_TRUE(cut(blur_b[0], 38));
    EXPECT_TRUE(cut(blur_a[0], 63));
    EXPECT_FALSE(cut(blur_a.back(), 63));
    EXPECT_FALSE(cut(blur_a[0], 0));
    // The blur's weight is its pad and bass, struck on every mark (and where the
    // harmony changes, rows 16, 32 and 48) and cut four ticks into each row
    // before a mark, so the moment before a hit is quiet.
    const std::vector<int> struck = {0, 3, 15, 16, 17, 19, 21, 23, 25, 27, 29, 31, 32, 35, 47, 48, 51, 63};
    EXPECT_EQ(note_rows(p13, SONG_CHORD, SONG_I_PAD), struck);
    EXPECT_EQ(note_rows(p13, SONG_BASS, SONG_I_BASS), struck);
    for (int row : {2, 14, 16, 30, 34, 62}) {
        const S3mCell& c = p13.cells[row][SONG_CHORD];
        EXPECT_TRUE(c.effect == s3m_effect('S') && c.parameter == 0xC4) << row;
    }
    EXPECT_EQ(p13.cells[3][SONG_CHORD].effect, 0) << "row 4 is no mark";
}

TEST(Song, EightRowsASecondSoTheZoomCycleKeepsTheBeat)
{
    // Speed 6 at tempo 120: a row is 6 x 2.5 / 120 = 0.125 s, eight rows the
    // intro zoom's cycle of 4000 timer units. The header says so.
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(song_bytes(bytes, error)) << error;
    ASSERT_GT(bytes.size(), 0x33u);
    EXPECT_EQ(bytes[0x31], 6);
    EXPECT_EQ(bytes[0x32], 120);
    EXPECT_EQ(timeline_zoom_cycle, 4000);
    EXPECT_DOUBLE_EQ(8 * bytes[0x31] * 2.5 / bytes[0x32], 1.0);
}

// Plays the module through libopenmpt and keeps, for every end mark, the time at
// which the position first reached it; also the peak and the quietest stretch.
struct Playback {
    std::vector<double> mark_time;  // seconds, -1 when never reached
    double peak = 0;                // largest sample magnitude (1.0 = full scale)
    double quietest = 1e9;          // smallest RMS of a quarter second before the end
};

// The timeline's end marks: order >= value, or (for rows) row >= value in any order.
struct Mark {
    int order;  // -1: a row mark
    int row;
};

Playback play(const std::vector<uint8_t>& bytes, const std::vector<Mark>& marks, double end_seconds)
{
    Playback out;
    out.mark_time.assign(marks.size(), -1.0);
    openmpt_module* mod = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr, nullptr,
                                                             nullptr, nullptr, nullptr, nullptr);
    if (!mod)
        return out;
    const int rate = 44100, chunk = 441;  // 10 ms slices
    std::vector<float> buffer(chunk * 2);
    long frames = 0;
    size_t next = 0;
    double energy = 0;
    int window = 0;
    while (frames < (long)(end_seconds * rate)) {
        size_t got = openmpt_module_read_interleaved_float_stereo(mod, rate, chunk, buffer.data());
        if (got == 0)
            break;
        for (size_t i = 0; i < got * 2; ++i) {
            out.peak = std::max(out.peak, (double)std::fabs(buffer[i]));
            energy += buffer[i] * buffer[i];
        }
        frames += got;
        if (++window == 25) {
            out.quietest = std::min(out.quietest, std::sqrt(energy / (25.0 * chunk * 2)));
            energy = 0;
            window = 0;
        }
        int order = openmpt_module_get_current_order(mod), row = openmpt_module_get_current_row(mod);
        // Marks are met one after another, as the timeline's loops do.
        while (next < marks.size()) {
            const Mark& m = marks[next];
            bool reached = m.order >= 0 ? (m.row == 0 ? order >= m.order : order == m.order && row == m.row)
                                        : row >= m.row;
            if (!reached)
                break;
            out.mark_time[next++] = (double)frames / rate;
        }
    }
    openmpt_module_destroy(mod);
    return out;
}

TEST(Song, ReachesEveryEndMarkOnTimeWithoutClippingOrSilence)
{
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(song_bytes(bytes, error)) << error;
    // The loops' end marks in timeline order (the zoom's wrap follows the
    // timer, not the music); expected time = (64 order + row) x the row's
    // length, a row mark met in the order its step starts in. A row is speed
    // ticks of 2.5 / tempo s, of which the player renders whole sound frames:
    // 918 of the 918.75 at 44100 Hz and tempo 120.
    const S3mModule m = song_compose();
    const double row_seconds = m.initial_speed * std::floor(44100 * 2.5 / m.initial_tempo) / 44100;
    std::vector<Mark> marks;
    std::vector<double> expected;
    for (const TimelineStep& s : timeline_steps) {
        if (s.end == TimelineEnd::zoom_wrap)
            continue;
        const bool row = s.end == TimelineEnd::row;
        marks.push_back(row ? Mark{-1, int(s.mark)} : Mark{int(s.mark), 0});
        expected.push_back((64.0 * (row ? timeline_first_order(s.number) : s.mark) + (row ? s.mark : 0)) *
                           row_seconds);
    }
    ASSERT_GT(marks.size(), 1u);
    Playback p = play(bytes, marks, expected.back() + 0.5);
    for (size_t i = 0; i < marks.size(); ++i)
        EXPECT_NEAR(p.mark_time[i], expected[i], 0.03) << "mark " << i;
    EXPECT_LT(p.peak, 0.95);
    EXPECT_GT(p.peak, 0.3);
    // No quarter second before the end is near silence (-50 dBFS RMS).
    EXPECT_GT(p.quietest, 0.0032);
}

}  // namespace
