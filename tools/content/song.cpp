// The composition. A minor throughout (Am F C G), lifting to C major for the
// close; a row is a sixteenth note at 120 beats a minute (speed 6, tempo 120:
// 0.125 s a row, eight rows a second, so the intro zoom's one-second cycle
// restarts on every other beat).
//
// Each order plays under the timeline step that starts it (the production's
// table of steps says which): the intro picture (pad and arpeggio), the zoom
// (drums enter, a roll builds), the words over the warp (full groove, lead on
// every new syllable), flicker (kicks and chord stabs where the background
// switches), pulse (kicks and snare rolls on the pulse rows), breakdown under
// the scroller, blur with words (kicks, claps and rolls on the blur rows,
// which are also the syllables), closing (the closing words sung, a C major
// chord ringing on).
//
// Where a scene beats, the drums follow its rows alone: every row that restarts
// the scene's beat gets a hit and no other row does, while the hats, the bass
// and the pad run on underneath, quieter than the hits.
#include "song.h"

#include <algorithm>
#include <string_view>

#include "effects/scene_tables.h"
#include "synth.h"

namespace {

// Semitones.
enum { C = 0, Cs, D, Ds, E, F, Fs, G, Gs, A, As, B };

// A pitch: octave and semitone.
struct Pitch {
    int octave, semitone;
};

uint8_t note(Pitch p) { return s3m_note(p.octave, p.semitone); }
Pitch up(Pitch p, int semitones)
{
    int v = p.octave * 12 + p.semitone + semitones;
    return {v / 12, v % 12};
}

// A chord: bass root, three pad voices, four arpeggio tones.
struct Chord {
    Pitch bass;
    Pitch pad[3];
    Pitch arp[4];
};

const Chord chord_am{{2, A}, {{3, A}, {4, C}, {4, E}}, {{4, A}, {5, C}, {5, E}, {5, A}}};
const Chord chord_f{{2, F}, {{3, A}, {4, C}, {4, F}}, {{4, F}, {4, A}, {5, C}, {5, F}}};
const Chord chord_c{{3, C}, {{3, G}, {4, C}, {4, E}}, {{4, G}, {5, C}, {5, E}, {5, G}}};
const Chord chord_g{{2, G}, {{3, G}, {3, B}, {4, D}}, {{4, G}, {4, B}, {5, D}, {5, G}}};
const Chord chord_c_high{{2, C}, {{4, C}, {4, E}, {4, G}}, {{5, C}, {5, E}, {5, G}, {6, C}}};

// The timeline step that plays row 0 of an order: the order's section.
const TimelineStep& section(int order) { return timeline_step_info(timeline_step_at_order(order)); }

// Whether an order's section draws the scene routine `scene`.
bool section_draws(int order, std::string_view scene) { return section(order).scene == scene; }

// Which word table an order sings, if any: 0 none, 1 rows 0..63 (the words
// of draw_words_a), 2 rows 64..127 (draw_words_b).
int word_half(int order)
{
    const char* words = section(order).words;
    if (words && words == std::string_view("draw_words_a"))
        return 1;
    if (words && words == std::string_view("draw_words_b"))
        return 2;
    return 0;
}

// The harmony at a row of an order.
const Chord& chord_at(int order, int row)
{
    if (timeline_step_at_order(order) == timeline_step_count)
        return row < 7 ? chord_f : row < 14 ? chord_g : chord_c_high;
    int bar = row / 16;
    if (word_half(order) == 2) {
        // The second half of the song ends its phrase on A minor.
        if (bar == 2)
            return row < 40 ? chord_c : chord_g;
        if (bar == 3)
            return chord_am;
    }
    const Chord* bars[4] = {&chord_am, &chord_f, &chord_c, &chord_g};
    return *bars[bar];
}

// The lead's pitch for each new syllable, in order of appearance.
const Pitch melody_a[] = {{5, E}, {5, A}, {6, C}, {5, A}, {5, F}, {5, A}, {6, C},
                          {5, A}, {5, G}, {5, F}, {5, E}, {5, G}, {5, D}, {5, B}};
const Pitch melody_b[] = {{5, E}, {5, A}, {5, G}, {5, E}, {6, C}, {5, A}, {6, C}, {5, A},
                          {5, G}, {5, E}, {5, D}, {5, E}, {5, G}, {5, B}, {5, A}};
const Pitch melody_close[] = {{5, A}, {6, C}, {5, B}, {5, G}, {5, B}, {6, D}, {6, C}};

// The blank words of the lists: the lead is silent while they show.
constexpr int blank_main_word = 10;
constexpr int blank_closing_word = 7;

// Module and pattern being written.
struct Writer {
    S3mPattern* pattern;  // the pattern of the order being composed
    int order;            // its order number
};

void put(Writer& w, int row, int channel, uint8_t n, uint8_t instrument, uint8_t volume, uint8_t effect = 0,
         uint8_t parameter = 0)
{
    if (row < 0 || row >= S3M_ROWS)
        return;
    S3mCell& c = w.pattern->cells[row][channel];
    c.note = n;
    c.instrument = instrument;
    c.volume = volume;
    if (effect) {
        c.effect = effect;
        c.parameter = parameter;
    }
}

void set_volume(Writer& w, int row, int channel, uint8_t volume)
{
    if (row >= 0 && row < S3M_ROWS)
        w.pattern->cells[row][channel].volume = volume;
}

void set_effect(Writer& w, int row, int channel, char letter, uint8_t parameter)
{
    if (row >= 0 && row < S3M_ROWS) {
        w.pattern->cells[row][channel].effect = s3m_effect(letter);
        w.pattern->cells[row][channel].parameter = parameter;
    }
}

void drum(Writer& w, int row, int channel, int instrument, int volume)
{
    put(w, row, channel, s3m_note(4, C), (uint8_t)instrument, (uint8_t)volume);
}

// Pad chords held from each change of harmony; volume scales the voices.
void pad(Writer& w, int volume)
{
    const Chord* last = nullptr;
    for (int row = 0; row < S3M_ROWS; ++row) {
        const Chord& ch = chord_at(w.order, row);
        if (&ch != last)
            for (int v = 0; v < 3; ++v)
                put(w, row, SONG_CHORD + v, note(ch.pad[v]), SONG_I_PAD, (uint8_t)volume);
        last = &ch;
    }
}

// Bass: one long note per change of harmony (calm), or octave eighths (groove).
void bass(Writer& w, bool groove, int volume)
{
    const Chord* last = nullptr;
    for (int row = 0; row < S3M_ROWS; ++row) {
        const Chord& ch = chord_at(w.order, row);
        if (groove && row % 2 == 0)
            put(w, row, SONG_BASS, note(row % 4 == 2 ? up(ch.bass, 12) : ch.bass), SONG_I_BASS,
                (uint8_t)(row % 4 == 0 ? volume : volume - 8));
        else if (!groove && &ch != last)
            put(w, row, SONG_BASS, note(ch.bass), SONG_I_BASS, (uint8_t)volume);
        last = &ch;
    }
}

// A sixteenth-note arpeggio up and down the chord tones, from row `from`.
void arpeggio(Writer& w, int from, int volume)
{
    const int shape[8] = {0, 1, 2, 3, 2, 1, 2, 1};
    for (int row = from; row < S3M_ROWS; ++row) {
        const Chord& ch = chord_at(w.order, row);
        put(w, row, SONG_ARP, note(ch.arp[shape[row % 8]]), SONG_I_PLUCK, (uint8_t)(volume - (row % 2) * 6));
    }
}

// Closed hats on the off-beat eighths, with soft sixteenths in between when busy.
void hats(Writer& w, bool busy, int volume)
{
    for (int row = 0; row < S3M_ROWS; ++row) {
        if (row % 4 == 2)
            drum(w, row, SONG_HAT, SONG_I_CLOSED_HAT, volume);
        else if (busy && row % 2 == 1)
            drum(w, row, SONG_HAT, SONG_I_CLOSED_HAT, volume / 2);
    }
}

void four_on_the_floor(Writer& w, int volume)
{
    for (int row = 0; row < S3M_ROWS; row += 4)
        drum(w, row, SONG_KICK, SONG_I_KICK, volume);
}

void backbeat(Writer& w, int volume)
{
    for (int row = 4; row < S3M_ROWS; row += 8)
        drum(w, row, SONG_SNARE, SONG_I_CLAP, volume);
}

void open_hats(Writer& w, int volume)
{
    for (int row = 2; row < S3M_ROWS; row += 4)
        drum(w, row, SONG_CYMBAL, SONG_I_OPEN_HAT, volume);
}

void crash(Writer& w, int row) { drum(w, row, SONG_CYMBAL, SONG_I_CRASH, 40); }

// The rows of an order where its scene restarts a beat: where the pulse and
// blur scenes restart (value 1, and 2 where that variant takes it) and where the
// flicker scene switches its background. Empty for the other orders.
struct BeatMarks {
    bool row[S3M_ROWS] = {};
};

BeatMarks beat_marks(int order)
{
    BeatMarks m;
    for (int r = 0; r < S3M_ROWS; ++r)
        m.row[r] = timeline_beat_at(section(order).beat, r);
    return m;
}

bool marked(const BeatMarks& m, int r) { return r >= 0 && r < S3M_ROWS && m.row[r]; }

// Pad chords and bass held at full strength under a beating scene, gated to
// its marks: every voice is cut four ticks into the row before a mark (the 30
// ms before the mark fall after that) and struck again on the mark with the
// chord of that row, so the sustain gives the section its weight while each
// mark still jumps out of a quiet moment. A change of harmony strikes too.
void gated_sustain(Writer& w, const BeatMarks& m, int pad_volume, int bass_volume)
{
    const Chord* last = nullptr;
    for (int row = 0; row < S3M_ROWS; ++row) {
        const Chord& ch = chord_at(w.order, row);
        if (&ch != last || marked(m, row)) {
            for (int v = 0; v < 3; ++v)
                put(w, row, SONG_CHORD + v, note(ch.pad[v]), SONG_I_PAD, (uint8_t)pad_volume);
            put(w, row, SONG_BASS, note(ch.bass), SONG_I_BASS, (uint8_t)bass_volume);
        }
        bool next = row + 1 < S3M_ROWS ? marked(m, row + 1) : beat_marks(w.order + 1).row[0];
        if (next) {
            for (int v = 0; v < 3; ++v)
                set_effect(w, row, SONG_CHORD + v, 'S', 0xC4);
            set_effect(w, row, SONG_BASS, 'S', 0xC4);
        }
        last = &ch;
    }
}

// Hits on the marks: a mark in a run of every other row is a snare of a rising
// roll, with a kick under those that fall on a beat (a run that ends on a beat
// lands with a single hit); any other mark is a kick, with a clap when `clap`.
void beat_hits(Writer& w, const BeatMarks& m, bool clap)
{
    int roll = 0;
    for (int r = 0; r < S3M_ROWS; ++r) {
        if (!marked(m, r)) {
            if (!marked(m, r + 1))
                roll = 0;
            continue;
        }
        bool leads_on = marked(m, r + 2) && !marked(m, r + 1);
        bool ends_run = marked(m, r - 2) && !marked(m, r - 1);
        if (leads_on || (ends_run && r % 4 != 0)) {
            drum(w, r, SONG_SNARE, SONG_I_SNARE, std::min(64, 56 + 2 * roll));
            if (r % 4 == 0)
                drum(w, r, SONG_KICK, SONG_I_KICK, 48);
            ++roll;
        } else {
            drum(w, r, SONG_KICK, SONG_I_KICK, 64);
            if (clap)
                drum(w, r, SONG_SNARE, SONG_I_CLAP, 64);
        }
        // A mark right on the next row (in this order or the next) would be lost
        // in this hit's tail: cut it after three ticks.
        bool next = r + 1 < S3M_ROWS ? marked(m, r + 1) : beat_marks(w.order + 1).row[0];
        if (next) {
            set_effect(w, r, SONG_KICK, 'S', 0xC3);
            set_effect(w, r, SONG_SNARE, 'S', 0xC3);
        }
    }
}

// A lead line: a note on each row in rows, held until the next one or until a
// row in `rests`, with vibrato on held notes; an echo three rows later if asked.
// With `accent`, each note falls to a quarter of its volume over the three rows
// after it starts, so every syllable is a hit of its own over the groove.
void lead_line(Writer& w, const std::vector<int>& rows, const Pitch* melody, const std::vector<int>& rests,
               int volume, bool echo, bool accent = false)
{
    for (size_t i = 0; i < rows.size(); ++i) {
        int start = rows[i];
        put(w, start, SONG_LEAD, note(melody[i]), SONG_I_LEAD, (uint8_t)volume);
        int end = i + 1 < rows.size() ? rows[i + 1] : S3M_ROWS;
        for (int rest : rests)
            if (rest > start && rest < end)
                end = rest;
        if (end < S3M_ROWS && (i + 1 >= rows.size() || end != rows[i + 1]))
            put(w, end, SONG_LEAD, S3M_NOTE_CUT, 0, S3M_NO_VOLUME);
        for (int r = start + 2; r < end; ++r)
            set_effect(w, r, SONG_LEAD, 'H', 0x52);
        for (int r = start + 1; accent && r < end; ++r)
            set_volume(w, r, SONG_LEAD, (uint8_t)(volume * (r - start == 1 ? 45 : r - start == 2 ? 32 : 25) / 100));
        if (echo) {
            put(w, start + 3, SONG_ECHO, note(melody[i]), SONG_I_LEAD, (uint8_t)(volume / (accent ? 5 : 3)));
            if (end + 3 < S3M_ROWS && (i + 1 >= rows.size() || end != rows[i + 1]))
                put(w, end + 3, SONG_ECHO, S3M_NOTE_CUT, 0, S3M_NO_VOLUME);
        }
    }
}

// The rows where a new syllable appears in the main word table (half 1: entries
// 0..63, half 2: 64..127), and the rows where a blank word begins.
void syllable_rows(int half, std::vector<int>& rows, std::vector<int>& rests)
{
    const int base = half == 1 ? 0 : 64;
    for (int r = 0; r < S3M_ROWS; ++r) {
        int word = MainWordTable[base + r];
        // The row before row 0 shows the other half's last word, which is blank.
        int before = r == 0 ? blank_main_word : MainWordTable[base + r - 1];
        if (word == before)
            continue;
        if (word == blank_main_word)
            rests.push_back(r);
        else
            rows.push_back(r);
    }
}

void compose_order(Writer& w)
{
    const int o = w.order;
    if (section(o).number == 1) {
        // Intro: the pad swells in, the arpeggio joins in the second bar.
        pad(w, 18);
        for (int row = 2; row < 16; row += 2)
            for (int v = 0; v < 3; ++v)
                set_volume(w, row, SONG_CHORD + v, (uint8_t)(18 + row * 14 / 16));
        bass(w, false, 30);
        set_volume(w, 16, SONG_BASS, 30);
        arpeggio(w, 16, 26);
        // Place the channels in the stereo field (S8x: 0 left .. F right).
        const uint8_t pans[SONG_CHANNELS] = {0x7, 0x6, 0xA, 0x5, 0x8, 0x3, 0x7, 0xC, 0x7, 0x4, 0xB};
        for (int ch = 0; ch < SONG_CHANNELS; ++ch)
            set_effect(w, 0, ch, 'S', (uint8_t)(0x80 | pans[ch]));
    } else if (section_draws(o, "zoom_image")) {
        // The zoom: drums enter and build to the words; the roll in the order
        // before them.
        const bool roll = word_half(o + 1) != 0;
        pad(w, 28);
        arpeggio(w, 0, 28);
        four_on_the_floor(w, roll ? 54 : 44);
        hats(w, roll, 22);
        bass(w, roll, 40);
        if (roll) {
            for (int row = 12; row < 48; row += 8)
                drum(w, row, SONG_SNARE, SONG_I_CLAP, 40);
            for (int row = 48; row < 64; row += row < 56 ? 2 : 1)
                drum(w, row, SONG_SNARE, SONG_I_SNARE, 28 + (row - 48) * 2);
        }
    } else if (word_half(o)) {
        // The words: the full groove under the singing lead; with the blur the
        // drums follow the blur scene's beat rows, and so does the lead, whose
        // syllables fall on them.
        const bool blur = section(o).beat.table != nullptr;
        if (blur) {
            // The kick leaves the floor and follows the sphere's bursts; the
            // weight of the biggest section comes from the gated pad and bass.
            const BeatMarks marks = beat_marks(o);
            gated_sustain(w, marks, 46, 56);
            hats(w, true, 16);
            open_hats(w, 12);
            beat_hits(w, marks, true);
        } else {
            pad(w, 22);
            four_on_the_floor(w, 64);
            hats(w, true, 24);
            bass(w, true, 46);
            backbeat(w, 50);
        }
        std::vector<int> rows, rests;
        syllable_rows(word_half(o), rows, rests);
        lead_line(w, rows, word_half(o) == 1 ? melody_a : melody_b, rests, blur ? 46 : 42, blur, blur);
        if (!word_half(o - 1))
            crash(w, 0);
    } else if (section_draws(o, "draw_flicker_scene")) {
        // Flicker: chord stabs where the background switches.
        hats(w, true, 16);
        bass(w, true, 34);
        const BeatMarks marks = beat_marks(o);
        for (int row = 0; row < S3M_ROWS; ++row) {
            if (!marks.row[row])
                continue;
            const Chord& ch = chord_at(o, row);
            for (int v = 0; v < 3; ++v)
                put(w, row, SONG_CHORD + v, note(up(ch.pad[v], 12)), SONG_I_STAB, 44);
            drum(w, row, SONG_KICK, SONG_I_KICK, 64);
        }
        arpeggio(w, 0, 14);
    } else if (section_draws(o, "draw_pulse_scene_a") || section_draws(o, "draw_pulse_scene_b")) {
        // Pulse: kicks where the object swells, snare rolls where it throbs.
        pad(w, 16);
        hats(w, true, 16);
        bass(w, true, 32);
        beat_hits(w, beat_marks(o), false);
        if (!section_draws(o - 1, "draw_pulse_scene_a"))
            crash(w, 0);
    } else if (section_draws(o, "draw_feedback_scene")) {
        // Breakdown under the scroller; the kick returns in its last order.
        pad(w, 30);
        arpeggio(w, 0, 30);
        bass(w, false, 36);
        for (int row = 2; row < S3M_ROWS; row += 8)
            drum(w, row, SONG_HAT, SONG_I_CLOSED_HAT, 16);
        if (o == (int)timeline_last_order(section(o).number)) {
            for (int row = 32; row < 64; row += 4)
                drum(w, row, SONG_KICK, SONG_I_KICK, 40 + (row - 32) / 2);
            for (int row = 48; row < 64; row += row < 56 ? 2 : 1)
                drum(w, row, SONG_SNARE, SONG_I_SNARE, 28 + (row - 48) * 2);
        }
    } else {
        // Closing: the closing words sung over F and G, then C major rings on.
        std::vector<int> rows, rests;
        for (int r = 0; r < S3M_ROWS; ++r) {
            int before = r == 0 ? blank_closing_word : ClosingWordTable[r - 1];
            if (ClosingWordTable[r] != before && r < 62)
                (ClosingWordTable[r] == blank_closing_word ? rests : rows).push_back(r);
        }
        lead_line(w, rows, melody_close, {}, 44, true);
        pad(w, 30);
        put(w, 14, SONG_ARP, note(chord_c_high.arp[0]), SONG_I_PAD, 30);
        bass(w, false, 44);
        for (int row = 0; row < 14; row += 4)
            drum(w, row, SONG_KICK, SONG_I_KICK, 48);
        drum(w, 14, SONG_KICK, SONG_I_KICK, 64);
        crash(w, 14);
        hats(w, false, 18);
        for (int row = 16; row < S3M_ROWS; ++row)
            w.pattern->cells[row][SONG_HAT] = S3mCell{};
        // The chord fades slowly: still sounding well past row 30.
        for (int row = 18; row < S3M_ROWS; row += 2) {
            uint8_t v = (uint8_t)std::max(4, 30 - (row - 16) * 24 / 48);
            for (int ch = SONG_CHORD; ch < SONG_CHORD + 3; ++ch)
                set_volume(w, row, ch, v);
            set_volume(w, row, SONG_ARP, v);
            set_volume(w, row, SONG_BASS, (uint8_t)std::max(6, 44 - (row - 16) * 36 / 48));
            set_volume(w, row, SONG_LEAD, (uint8_t)std::max(0, 44 - (row - 16) * 44 / 40));
        }
    }
}

}  // namespace

S3mModule song_compose()
{
    S3mModule m;
    m.name = "wuntje";
    m.channel_count = SONG_CHANNELS;
    m.initial_speed = 6;
    m.initial_tempo = 120;
    m.global_volume = 64;
    m.master_volume = 48;
    m.samples = {synth_kick(), synth_snare(), synth_closed_hat(), synth_open_hat(), synth_clap(), synth_crash(),
                 synth_bass(), synth_pad(), synth_stab(), synth_lead(), synth_pluck()};
    m.patterns.resize(song_order_count);
    for (int o = 0; o < song_order_count; ++o) {
        Writer w{&m.patterns[o], o};
        compose_order(w);
        m.orders.push_back((uint8_t)o);
    }
    m.orders.push_back(S3M_ORDER_END);
    return m;
}

bool song_bytes(std::vector<uint8_t>& out, std::string& error)
{
    return s3m_write(song_compose(), out, error);
}
