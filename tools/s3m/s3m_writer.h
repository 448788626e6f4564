// Writes Scream Tracker 3 modules (S3M) from plain records: header, order list,
// 8-bit samples with loops and packed 64-row patterns. The content generator
// composes the production's music with it; the music tests write their modules.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Order-list entries with a meaning of their own.
constexpr uint8_t S3M_ORDER_SKIP = 254;  // "+++" marker: skipped in play, keeps its index
constexpr uint8_t S3M_ORDER_END = 255;   // end of the song

// Cell values meaning "nothing here".
constexpr uint8_t S3M_NO_NOTE = 255;
constexpr uint8_t S3M_NOTE_CUT = 254;
constexpr uint8_t S3M_NO_VOLUME = 255;

// Where the fields of the module header lie (offsets into the file), shared by
// the writer and vivur-inspect's reader.
constexpr size_t S3M_TITLE = 0x00;          // the title, zero-padded
constexpr size_t S3M_TITLE_BYTES = 28;
constexpr size_t S3M_ORDER_COUNT = 0x20;    // u16: entries of the order list
constexpr size_t S3M_SAMPLE_COUNT = 0x22;   // u16
constexpr size_t S3M_PATTERN_COUNT = 0x24;  // u16
constexpr size_t S3M_SIGNATURE = 0x2C;      // "SCRM"
constexpr size_t S3M_HEADER_BYTES = 0x60;   // the order list follows the header

constexpr int S3M_ROWS = 64;          // rows per pattern
constexpr int S3M_MAX_CHANNELS = 16;  // sample channels: 8 left, 8 right

// One cell of a pattern.
struct S3mCell {
    uint8_t note = S3M_NO_NOTE;      // s3m_note(octave, semitone), S3M_NOTE_CUT or S3M_NO_NOTE
    uint8_t instrument = 0;          // 1-based sample number; 0 = none
    uint8_t volume = S3M_NO_VOLUME;  // 0..64; S3M_NO_VOLUME = none
    uint8_t effect = 0;              // s3m_effect('A'..'Z'); 0 = none
    uint8_t parameter = 0;           // effect parameter
};

// 64 rows of up to S3M_MAX_CHANNELS cells; channels beyond the module's count are ignored.
struct S3mPattern {
    S3mCell cells[S3M_ROWS][S3M_MAX_CHANNELS];
};

// An 8-bit sample (signed PCM; the writer stores it unsigned as the format wants).
struct S3mSample {
    std::string name;            // up to 27 characters shown by trackers
    std::string file_name;       // up to 12 characters
    std::vector<int8_t> data;    // the sample points
    bool loop = false;           // loops from loop_start to loop_end (exclusive)
    uint32_t loop_start = 0;
    uint32_t loop_end = 0;
    uint8_t volume = 64;         // default volume 0..64
    uint32_t c2_speed = 8363;    // playback rate of C-4; 8363 plays C-4 at the recorded pitch
};

struct S3mModule {
    std::string name;            // song name, up to 27 characters
    int channel_count = 4;       // 1..16, alternately left and right
    uint8_t initial_speed = 6;   // ticks per row
    uint8_t initial_tempo = 125; // ticks per second times 2/5 (row time = speed x 2.5 / tempo s)
    uint8_t global_volume = 64;  // 0..64
    uint8_t master_volume = 48;  // 16..127, stored with the stereo bit set
    std::vector<uint8_t> orders; // pattern numbers, S3M_ORDER_SKIP and S3M_ORDER_END as given
    std::vector<S3mSample> samples;
    std::vector<S3mPattern> patterns;
};

// Note byte for octave 0..9 and semitone 0..11 (C = 0).
constexpr uint8_t s3m_note(int octave, int semitone)
{
    return static_cast<uint8_t>((octave << 4) | semitone);
}
// Effect number of an effect letter: 'A' speed, 'B' jump to order, 'C' break
// to row (parameter decimal-coded, as s3m_bcd gives), 'T' tempo, ...
constexpr uint8_t s3m_effect(char letter) { return static_cast<uint8_t>(letter - 'A' + 1); }
// Decimal-coded parameter: s3m_bcd(32) is 0x32.
constexpr uint8_t s3m_bcd(int value) { return static_cast<uint8_t>((value / 10) << 4 | value % 10); }

// Shorthand for a cell (used by the content generator and the tests).
S3mCell s3m_cell(uint8_t note, uint8_t instrument, uint8_t volume = S3M_NO_VOLUME,
                 uint8_t effect = 0, uint8_t parameter = 0);

// Writes module as S3M bytes into out. Returns false with a message in error
// when the module cannot be expressed (too many channels, a sample loop out of
// range, an order naming a missing pattern, or a file too large for the
// format's 16-byte paragraph pointers).
bool s3m_write(const S3mModule& module, std::vector<uint8_t>& out, std::string& error);

// s3m_write, then stores the bytes in the file at path.
bool s3m_save(const S3mModule& module, const std::string& path, std::string& error);
